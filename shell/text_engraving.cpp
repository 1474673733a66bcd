#include "shell/text_engraving.h"

#include "image/drawing_board.h"
#include "shell/widgets/board_widget.h"
#include "image/text_drawing.h"
#include "picture/image_edits.h"
#include "shell/settings/config_file.h"
#include "shell/main_window.h"

#include <QPushButton>
#include <QFontDialog>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

namespace kovra::shell {

namespace {

// The text box always reaches to this board point, wherever it starts.
constexpr int TextBoxCorner = 490;

} // namespace

TextEngraving::TextEngraving(MainWindow& mainWindow, image::DrawingBoard& previewBoard, picture::ImageEdits& edits,
                             ConfigFile& config, FontChooser chooser, QObject* parent)
    : QObject(parent)
    , m_window(mainWindow)
    , m_board(previewBoard)
    , m_edits(edits)
    , m_config(config)
    , m_chooser(std::move(chooser))
{
    if (!m_chooser)
        m_chooser = [this](const QFont& initial) { return ShowFontDialog(initial, &m_window); };
    MainWindow& w = m_window;
    connect(w.TextEdit, &QPlainTextEdit::textChanged, this, [&w] { mirror(w.TextEdit, w.TextPreviewEdit); });
    connect(w.TextPreviewEdit, &QPlainTextEdit::textChanged, this, [&w] { mirror(w.TextPreviewEdit, w.TextEdit); });
    connect(w.FontButton, &QAbstractButton::clicked, this, [this] { ChooseTextFont(); });
    connect(w.TextRadio, &QAbstractButton::clicked, this, [this] { EnterTextPlacementMode(); });
    connect(w.TextConfirmButton, &QAbstractButton::clicked, this, [this] { DrawText(); });
}

double TextEngraving::screenDpi() const
{
    return m_window.TextPreviewEdit->logicalDpiY();
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
    m_window.TextPreviewEdit->setFont(font);
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
    if (!m_window.TextRadio->isChecked())
        return;
    hideTextBox();
    m_board.SetPointer(IBeamPointer);
}

bool TextEngraving::PlaceTextBox(int x, int y)
{
    if (m_board.Pointer() != IBeamPointer)
        return false;
    QPlainTextEdit* box = m_window.TextPreviewEdit;
    box->show();
    box->move(x, y);
    box->resize(std::max(0, TextBoxCorner - x), std::max(0, TextBoxCorner - y));
    m_window.TextConfirmButton->show();
    // A lone auto-exclusive radio button cannot be switched off directly.
    QRadioButton* radio = m_window.TextRadio;
    const bool exclusive = radio->autoExclusive();
    radio->setAutoExclusive(false);
    radio->setChecked(false);
    radio->setAutoExclusive(exclusive);
    m_board.SetPointer(DefaultPointer);
    return true;
}

void TextEngraving::DrawText()
{
    // The box's corner is the text's corner; its text is split the way the
    // platform's edit boxes report it, CR LF between lines.
    const QPlainTextEdit* box = m_window.TextPreviewEdit;
    m_edits.PlaceText(image::WithCrLfBreaks(box->toPlainText()), box->x(), box->y());
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
    m_window.TextPreviewEdit->hide();
    m_window.TextConfirmButton->hide();
}

} // namespace kovra::shell
