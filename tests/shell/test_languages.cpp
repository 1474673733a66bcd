#include "image/drawing_board.h"
#include "platform/paths.h"
#include "shell/settings/config_file.h"
#include "shell/languages.h"
#include "shell/main_window.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QPixmap>
#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace kovra::test {
namespace {

using shell::InterfaceLanguages;
using shell::LanguageCaptions;

QString captionOf(const shell::MainWindow& window, const char* name)
{
    QWidget* control = window.controlNamed(QLatin1String(name));
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return group->title();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    return QStringLiteral("<no control>");
}

QString expected(int language, const char* control)
{
    for (const shell::Caption& caption : LanguageCaptions(language))
        if (qstrcmp(caption.control, control) == 0)
            return QString::fromUtf16(caption.text);
    return QStringLiteral("<no caption>");
}

// The main window with every captioned control showing "design", so a
// caption left alone is told from one that was set.
void showDesignCaptions(shell::MainWindow& window)
{
    for (const shell::Caption& caption : LanguageCaptions(0)) {
        QWidget* control = window.controlNamed(QLatin1String(caption.control));
        if (auto* group = qobject_cast<QGroupBox*>(control))
            group->setTitle(QStringLiteral("design"));
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->setText(QStringLiteral("design"));
        else if (auto* label = qobject_cast<QLabel*>(control))
            label->setText(QStringLiteral("design"));
    }
}

// Each language's prompt is a plain picture of its own grey, easy to tell apart.
QImage prompt(int language)
{
    QImage image(512, 512, QImage::Format_RGB32);
    image.fill(qRgb(40 * language, 40 * language, 40 * language));
    return image;
}

class LanguagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        showDesignCaptions(*m_window);
        m_languages = std::make_unique<InterfaceLanguages>(*m_window, m_board, m_config, prompt);
    }
    void store(const QByteArray& bytes)
    {
        QFile file(m_config.file());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QByteArray contents() const
    {
        QFile file(m_config.file());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QComboBox& combo() { return *m_window->LanguageCombo; }
    void expectLanguage(int language)
    {
        for (const shell::Caption& caption : LanguageCaptions(language))
            EXPECT_EQ(captionOf(*m_window, caption.control), QString::fromUtf16(caption.text)) << caption.control;
        EXPECT_EQ(m_board.picture().pixel(256, 256), prompt(language).pixel(256, 256));
    }

    QTemporaryDir m_dir;
    shell::ConfigFile m_config{m_dir.filePath(QStringLiteral("Config.ini"))};
    image::DrawingBoard m_board{512, 512};
    image::DrawingBoard m_horizontalRuler{558, 14};
    image::DrawingBoard m_verticalRuler{10, 558};
    std::unique_ptr<shell::MainWindow> m_window =
        std::make_unique<shell::MainWindow>(m_board, m_horizontalRuler, m_verticalRuler, QPixmap(10, 10));
    std::unique_ptr<InterfaceLanguages> m_languages;
};

TEST(LanguageNumber, RoundsDownWithTheAllowance)
{
    EXPECT_EQ(shell::LanguageFromText(QStringLiteral("2.9")), 2);
    EXPECT_EQ(shell::LanguageFromText(QStringLiteral("-0.5")), -1);
    EXPECT_EQ(shell::LanguageFromText(QStringLiteral("2.9999999999999")), 3);
    EXPECT_EQ(shell::LanguageFromText(QStringLiteral("2.99999999999")), 2);
    EXPECT_EQ(shell::LanguageFromText(QStringLiteral("-1.00000000000001")), -1);
    EXPECT_EQ(shell::LanguageFromText(QStringLiteral("Deutsch")), 0);
    EXPECT_EQ(shell::LanguageFromText(QStringLiteral("1e400")), INT_MAX);
}

TEST(CaptionTable, EveryLanguageCaptionsTheSameControlsInTheSameOrder)
{
    ASSERT_EQ(LanguageCaptions(0).size(), 31u);
    for (int language = 1; language < shell::LanguageCount; ++language) {
        ASSERT_EQ(LanguageCaptions(language).size(), LanguageCaptions(0).size());
        for (size_t i = 0; i < LanguageCaptions(0).size(); ++i)
            EXPECT_STREQ(LanguageCaptions(language)[i].control, LanguageCaptions(0)[i].control);
    }
    EXPECT_TRUE(LanguageCaptions(-1).empty());
    EXPECT_TRUE(LanguageCaptions(6).empty());
    EXPECT_EQ(shell::LanguageNames(), (QStringList{QStringLiteral("English"), QStringLiteral("简体中文"),
                                                   QStringLiteral("日本語"), QStringLiteral("Francais"),
                                                   QStringLiteral("Italian"), QStringLiteral("Deutsch")}));
}

TEST(CaptionTable, TextsKeepTheirOddities)
{
    EXPECT_EQ(expected(0, "ClearButton"), QStringLiteral("Clear "));
    EXPECT_EQ(expected(0, "FastBackwardButton"), QStringLiteral("      Fast      Backward"));
    EXPECT_EQ(expected(3, "PreviewGroup"), QStringLiteral("Aper?u"));
    EXPECT_EQ(expected(3, "ProgressGroup"), QStringLiteral("Contr?ler le processus de sculpter "));
    EXPECT_EQ(expected(3, "MovementGroup"), QStringLiteral("Faire bouger la zone à sculpter "));
    EXPECT_EQ(expected(2, "UpButton") + expected(2, "DownButton") + expected(2, "LeftButton") + expected(2, "RightButton"),
              QStringLiteral("上下左右"));
    EXPECT_EQ(expected(5, "DownButton"), QStringLiteral("GiWeiterù"));
    EXPECT_EQ(expected(5, "PointRadio"), QStringLiteral("Point Positioning"));
}

TEST_F(LanguagesTest, FirstStartComesUpInEnglishAndStoresOnlyTheLanguage)
{
    EXPECT_EQ(combo().count(), 6);
    m_languages->ApplyStoredLanguage();
    EXPECT_EQ(combo().currentIndex(), 0);
    expectLanguage(0);
    // A new file gets the system's line ends.
    const QByteArray nl = platform::TextFileLineEnd();
    EXPECT_EQ(contents(), "[MainWindow]" + nl + "Language=0" + nl);
}

TEST_F(LanguagesTest, StoredFractionSelectsTheLanguageBelowAndIsWrittenBackWhole)
{
    store("[MainWindow]\nLanguage=2.9\n");
    m_languages->ApplyStoredLanguage();
    EXPECT_EQ(combo().currentIndex(), 2);
    expectLanguage(2);
    EXPECT_EQ(contents(), QByteArray("[MainWindow]\nLanguage=2\n"));
}

TEST_F(LanguagesTest, StoredNumberOutsideTheListSelectsNothingAndKeepsDesignCaptions)
{
    for (const QByteArray& stored : {QByteArray("-0.5"), QByteArray("6"), QByteArray("-1")}) {
        store("[MainWindow]\nLanguage=" + stored + "\n");
        m_board.SetBoardPixel(3, 3, image::ColourRef(255, 0, 0));
        m_languages->ApplyStoredLanguage();
        EXPECT_EQ(combo().currentIndex(), -1) << stored.constData();
        EXPECT_EQ(captionOf(*m_window, "StartButton"), QStringLiteral("design"));
        EXPECT_EQ(captionOf(*m_window, "MessageGroup"), QStringLiteral("design"));
        EXPECT_EQ(m_board.picture().pixel(3, 3), qRgb(255, 0, 0)) << "no block ran, so the board is kept";
        EXPECT_EQ(contents(), QByteArray("[MainWindow]\nLanguage=-1\n"));
    }
}

TEST_F(LanguagesTest, PickingAnItemSwitchesCaptionsErasesTheBoardAndStoresIt)
{
    const QByteArray nl = platform::TextFileLineEnd();
    m_languages->ApplyStoredLanguage();
    m_board.SetBoardPixel(100, 100, image::ColourRef(255, 0, 0));
    combo().setCurrentIndex(5);
    EXPECT_EQ(captionOf(*m_window, "DownButton"), QStringLiteral("GiWeiterù"));
    EXPECT_EQ(captionOf(*m_window, "PointRadio"), QStringLiteral("Point Positioning"));
    EXPECT_EQ(captionOf(*m_window, "MessageGroup"), QStringLiteral("Nachricht"));
    EXPECT_EQ(captionOf(*m_window, "RunTimeLabel"), QStringLiteral("Zeit :"));
    expectLanguage(5);
    EXPECT_EQ(m_board.picture().pixel(100, 100), prompt(5).pixel(100, 100)) << "the drawn dot is gone";
    EXPECT_EQ(contents(), "[MainWindow]" + nl + "Language=5" + nl);

    combo().setCurrentIndex(2);
    expectLanguage(2);
    EXPECT_EQ(contents(), "[MainWindow]" + nl + "Language=2" + nl);
}

TEST_F(LanguagesTest, ReadOnlyFileKeepsTheRunningChoice)
{
    store("[MainWindow]\nLanguage=1\n");
    ASSERT_TRUE(QFile::setPermissions(m_config.file(), QFile::ReadOwner));
    m_languages->ApplyStoredLanguage();
    expectLanguage(1);
    combo().setCurrentIndex(3);
    EXPECT_EQ(combo().currentIndex(), 3);
    expectLanguage(3);
    QFile::setPermissions(m_config.file(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(contents(), QByteArray("[MainWindow]\nLanguage=1\n"));
}

} // namespace
} // namespace kovra::test
