#pragma once
// The text-engraving font as the font dialog holds it, how it is stored in
// the configuration file (section "Front") and how it is realised as a QFont.

#include <QColor>
#include <QFont>
#include <QString>

namespace kovra::shell {

class ConfigFile;

// The font dialog's own values. The colour can be picked in the dialog but
// nothing draws with it: engraved text is always black.
struct FontDialog {
    QString faceName; // empty until the user confirms a font
    int size = 0;     // points
    bool bold = false;
    bool italic = false;
    bool strikeout = false;
    bool underline = false;
    QColor colour = Qt::black;

    bool operator==(const FontDialog&) const = default;
};

// Reads Name (default: the dialog's current face name), Size (default 20),
// Bold, Tilt, Strikethrough, Underline (default 0; on exactly when the stored
// text is "1").
void LoadFontSettings(const ConfigFile& config, FontDialog& dialog);
// Writes the six keys in that order; false when any write failed.
bool SaveFontSettings(ConfigFile& config, const FontDialog& dialog);

// The face every control falls back on.
QString DefaultFaceName();
// A face name that is empty or 32 characters or longer is not usable by a
// control and becomes the default face.
QString ControlFaceName(const QString& faceName);

// Character height in pixels for a size in points at dpi (negative: the
// height without internal leading), and back.
int PointsToHeight(int points, double dpi);
int HeightToPoints(int height, double dpi);

// A font with the character height in pixels, with fallbacks so that the
// program's own default face renders Chinese the same way on every machine.
QFont MakeFont(const QString& faceName, int pixelHeight, bool bold = false, bool italic = false,
               bool underline = false, bool strikeout = false);
// The dialog's font as the controls realise it at dpi.
QFont RealiseFont(const FontDialog& dialog, double dpi);

} // namespace kovra::shell
