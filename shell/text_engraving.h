#pragma once
// Engraving typed text: the text font (FontDialog, kept in the configuration
// file), the two mirrored text boxes, placing the text box on the preview
// board and drawing the text into the board's picture. The controls are the
// main window's TextEdit, TextPreviewEdit, TextConfirmButton, FontButton and
// TextRadio.

#include "shell/settings/font_settings.h"

#include <QFont>
#include <QObject>

#include <functional>
#include <optional>

class QPlainTextEdit;
class QWidget;

namespace kovra::image {
class DrawingBoard;
}

namespace kovra::picture {
class ImageEdits;
}

namespace kovra::shell {

class ConfigFile;
class MainWindow;

class TextEngraving : public QObject {
    Q_OBJECT
public:
    // Shows a font dialog initialised with the font; nullopt when cancelled.
    using FontChooser = std::function<std::optional<QFont>(const QFont& initial)>;

    // Without a chooser the system font dialog is shown. Wires the controls:
    // text changes mirror, FontButton chooses the font, TextRadio enters
    // placement mode, TextConfirmButton draws the text through edits.
    TextEngraving(MainWindow& mainWindow, image::DrawingBoard& previewBoard, picture::ImageEdits& edits,
                  ConfigFile& config, FontChooser chooser = {}, QObject* parent = nullptr);

    FontDialog& fontDialog() { return m_fontDialog; }
    const FontDialog& fontDialog() const { return m_fontDialog; }
    // The vertical screen resolution the font sizes are converted with.
    double screenDpi() const;

    // Startup: the font keys of the configuration file into FontDialog.
    void LoadFontSettings();
    // FontDialog's font into the board's text font and TextPreviewEdit.
    void ApplyTextFont();
    // FontButton: the font dialog; on OK the choice is applied and saved.
    void ChooseTextFont();
    // TextRadio click: when it is selected, hide the text box and arm the
    // board's I-beam pointer.
    void EnterTextPlacementMode();
    // Board left button down at board point (x, y), after point positioning
    // has had its turn. Places the text box when the pointer is the I-beam;
    // false (nothing done) otherwise.
    bool PlaceTextBox(int x, int y);
    // TextConfirmButton: the text box's text into the board at its corner.
    void DrawText();

    // The system font dialog, modal.
    static std::optional<QFont> ShowFontDialog(const QFont& initial, QWidget* parent);

private:
    static void mirror(QPlainTextEdit* from, QPlainTextEdit* to);
    void hideTextBox();

    MainWindow& m_window;
    image::DrawingBoard& m_board;
    picture::ImageEdits& m_edits;
    ConfigFile& m_config;
    FontChooser m_chooser;
    FontDialog m_fontDialog;
};

} // namespace kovra::shell
