#include "shell/text_engraving.h"

#include "image/drawing_board.h"
#include "image/text_drawing.h"
#include "shell/config_file.h"

#include <QAbstractButton>
#include <QFontDialog>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace kovra::shell {

namespace {

// The text box always reaches to this board point, wherever it starts.
constexpr int TextBoxCorner = 490;

} // namespace

TextEngraving::TextEngraving(QWidget& mainWindow, image::DrawingBoard& previewBoard, ConfigFile& config,
                             FontChooser chooser, QObject* parent)
    : QObject(parent)
    , m_mainWindow(mainWindow)
    , m_board(previewBoard)
    , m_config(config)
    , m_chooser(std::move(chooser))
    , m_textEdit(mainWindow.findChild<QPlainTextEdit*>(QStringLiteral("TextEdit")))
    , m_previewEdit(mainWindow.findChild<QPlainTextEdit*>(QStringLiteral("TextPreviewEdit")))
    , m_confirmButton(mainWindow.findChild<QAbstractButton*>(QStringLiteral("TextConfirmButton")))
    , m_textRadio(mainWindow.findChild<QRadioButton*>(QStringLiteral("TextRadio")))
{
    if (!m_chooser)
        m_chooser = [this](const QFont& initial) { return ShowFontDialog(initial, &m_mainWindow); };
    if (m_textEdit && m_previewEdit) {
        connect(m_textEdit, &QPlainTextEdit::textChanged, this, [this] { mirror(m_textEdit, m_previewEdit); });
        connect(m_previewEdit, &QPlainTextEdit::textChanged, this, [this] { mirror(m_previewEdit, m_textEdit); });
    }
    if (auto* fontButton = mainWindow.findChild<QAbstractButton*>(QStringLiteral("FontButton")))
        connect(fontButton, &QAbstractButton::clicked, this, [this] { ChooseTextFont(); });
    if (m_textRadio)
        connect(m_textRadio, &QAbstractButton::clicked, this, [this] { EnterTextPlacementMode(); });
    if (m_confirmButton)
        connect(m_confirmButton, &QAbstractButton::clicked, this, [this] { DrawText(); });
}

double TextEngraving::screenDpi() const
{
    if (m_previewEdit)
        return m_previewEdit->logicalDpiY();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->logicalDotsPerInchY();
    return 96.0;
}

void TextEngraving::LoadFontSettings()
{
    shell::LoadFontSettings(m_config, m_fontDialog);
}

void TextEngraving::ApplyTextFont()
{
    const QFont font = RealiseFont(m_fontDialog, screenDpi());
    // Text already on the board keeps the font it was drawn in.
    m_board.SetTextFont(font);
    if (m_previewEdit)
        m_previewEdit->setFont(font);
}

void TextEngraving::ChooseTextFont()
{
    const double dpi = screenDpi();
    QFont initial;
    if (!m_fontDialog.faceName.isEmpty())
        initial.setFamily(m_fontDialog.faceName);
    if (m_fontDialog.size != 0) {
        // The dialog offers the size that the realised height stands for.
        const int height = std::abs(PointsToHeight(m_fontDialog.size, dpi));
        if (height > 0)
            initial.setPointSizeF(height * 72.0 / dpi);
    }
    initial.setWeight(m_fontDialog.bold ? QFont::Bold : QFont::Normal);
    initial.setItalic(m_fontDialog.italic);
    initial.setStrikeOut(m_fontDialog.strikeout);
    initial.setUnderline(m_fontDialog.underline);

    const std::optional<QFont> chosen = m_chooser(initial);
    if (!chosen)
        return;

    const int height = chosen->pixelSize() > 0 ? chosen->pixelSize()
                                               : static_cast<int>(std::lround(chosen->pointSizeF() * dpi / 72.0));
    m_fontDialog.faceName = chosen->family();
    m_fontDialog.size = HeightToPoints(height, dpi);
    m_fontDialog.bold = chosen->weight() >= QFont::Bold;
    m_fontDialog.italic = chosen->italic();
    m_fontDialog.strikeout = chosen->strikeOut();
    m_fontDialog.underline = chosen->underline();
    ApplyTextFont();
    // A failed write only means the font is not remembered.
    SaveFontSettings(m_config, m_fontDialog);
}

void TextEngraving::EnterTextPlacementMode()
{
    if (!m_textRadio || !m_textRadio->isChecked())
        return;
    hideTextBox();
    m_board.SetPointer(image::IBeamPointer);
}

bool TextEngraving::PlaceTextBox(int x, int y)
{
    if (m_board.Pointer() != image::IBeamPointer)
        return false;
    if (m_previewEdit) {
        m_previewEdit->show();
        m_previewEdit->move(x, y);
        m_previewEdit->resize(std::max(0, TextBoxCorner - x), std::max(0, TextBoxCorner - y));
    }
    if (m_confirmButton)
        m_confirmButton->show();
    if (m_textRadio) {
        // A lone auto-exclusive radio button cannot be switched off directly.
        const bool exclusive = m_textRadio->autoExclusive();
        m_textRadio->setAutoExclusive(false);
        m_textRadio->setChecked(false);
        m_textRadio->setAutoExclusive(exclusive);
    }
    m_board.SetPointer(image::DefaultPointer);
    return true;
}

void TextEngraving::DrawText()
{
    if (m_previewEdit) {
        // The box's corner is the text's corner; its text is split the way the
        // platform's edit boxes report it, CR LF between lines.
        image::DrawTextLines(m_board, image::WithCrLfBreaks(m_previewEdit->toPlainText()), m_previewEdit->x(),
                             m_previewEdit->y());
    }
    hideTextBox();
}

std::optional<QFont> TextEngraving::ShowFontDialog(const QFont& initial, QWidget* parent)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return font;
}

void TextEngraving::mirror(QPlainTextEdit* from, QPlainTextEdit* to)
{
    // Setting the other box fires its own change, which finds both equal.
    const QString text = from->toPlainText();
    if (to->toPlainText() != text)
        to->setPlainText(text);
}

void TextEngraving::hideTextBox()
{
    if (m_previewEdit)
        m_previewEdit->hide();
    if (m_confirmButton)
        m_confirmButton->hide();
}

} // namespace kovra::shell
