#include "shell/languages.h"

#include "image/drawing_board.h"
#include "shell/settings/config_file.h"
#include "shell/main_window.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>

#include <climits>
#include <cmath>

namespace kovra::shell {

namespace {

const QString MainSection = QStringLiteral("MainWindow");
const QString LanguageKey = QStringLiteral("Language");

// Sets a caption only when it differs, so an unchanged control is not laid
// out again.
void setCaption(QObject* control, const QString& text)
{
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        if (group->title() != text)
            group->setTitle(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        if (button->text() != text)
            button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        if (label->text() != text)
            label->setText(text);
    }
}

} // namespace

QStringList LanguageNames()
{
    return {QStringLiteral("English"), QStringLiteral("简体中文"), QStringLiteral("日本語"),
            QStringLiteral("Francais"), QStringLiteral("Italian"), QStringLiteral("Deutsch")};
}

int LanguageFromText(const QString& text)
{
    const double value = DecimalTextToNumber(text);
    if (!(value > double(INT_MIN)))
        return INT_MIN;
    if (!(value < double(INT_MAX)))
        return INT_MAX;
    double whole = std::floor(value);
    if (value - whole >= 1.0 - 0.000000000001)
        whole += 1.0;
    return static_cast<int>(whole);
}

int ReadStoredLanguage(const ConfigFile& config)
{
    return LanguageFromText(config.Read(MainSection, LanguageKey, QStringLiteral("0")));
}

InterfaceLanguages::InterfaceLanguages(MainWindow& mainWindow, image::DrawingBoard& previewBoard, ConfigFile& config,
                                       DropPromptSource dropPrompt, QObject* parent)
    : QObject(parent)
    , m_mainWindow(mainWindow)
    , m_previewBoard(previewBoard)
    , m_config(config)
    , m_dropPrompt(std::move(dropPrompt))
    , m_combo(mainWindow.LanguageCombo)
{
    if (!m_combo)
        return;
    if (m_combo->count() == 0)
        m_combo->addItems(LanguageNames());
    connect(m_combo, &QComboBox::currentIndexChanged, this, [this] { ApplyLanguage(); });
}

int InterfaceLanguages::LanguageIndex() const
{
    return m_combo ? m_combo->currentIndex() : -1;
}

void InterfaceLanguages::ApplyStoredLanguage()
{
    const int stored = ReadStoredLanguage(m_config);
    if (m_combo) {
        // Selecting here must not run ApplyLanguage early: it runs once below.
        const QSignalBlocker blocker(m_combo);
        m_combo->setCurrentIndex(stored >= 0 && stored < m_combo->count() ? stored : -1);
    }
    ApplyLanguage();
}

void InterfaceLanguages::ApplyLanguage()
{
    for (int language = 0; language < LanguageCount; ++language) {
        if (LanguageIndex() != language)
            continue;
        setCaptions(language);
        emit boardAboutToBeReplaced();
        // Rebuilds the board from the prompt alone: whatever was drawn is gone
        // (the working image is kept, so Reload brings the picture back).
        m_previewBoard.SetBackgroundPicture(m_dropPrompt ? m_dropPrompt(language) : QImage());
    }
    // A failed write only means the choice is not remembered.
    m_config.Write(MainSection, LanguageKey, QString::number(LanguageIndex()));
    emit languageApplied(LanguageIndex());
}

void InterfaceLanguages::setCaptions(int language)
{
    for (const Caption& caption : LanguageCaptions(language)) {
        QWidget* control = m_mainWindow.controlNamed(QLatin1String(caption.control));
        if (control)
            setCaption(control, QString::fromUtf16(caption.text));
    }
}

} // namespace kovra::shell
