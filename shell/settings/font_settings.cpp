#include "shell/settings/font_settings.h"

#include "shell/settings/config_file.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kovra::shell {

namespace {

const QString FontSection = QStringLiteral("Front");

// Glyphs of a few thousand pixels are already far beyond the 512-dot board;
// a stored size beyond that is clamped rather than handed to the rasteriser.
constexpr int MaxPixelHeight = 4096;

bool flagOn(const QString& text)
{
    return text == QLatin1String("1");
}

QString flagText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

void LoadFontSettings(const ConfigFile& config, FontDialog& dialog)
{
    dialog.faceName = config.Read(FontSection, QStringLiteral("Name"), dialog.faceName);
    dialog.size = DecimalTextToInt(config.Read(FontSection, QStringLiteral("Size"), QStringLiteral("20")));
    const QString off = QStringLiteral("0");
    dialog.bold = flagOn(config.Read(FontSection, QStringLiteral("Bold"), off));
    dialog.italic = flagOn(config.Read(FontSection, QStringLiteral("Tilt"), off));
    dialog.strikeout = flagOn(config.Read(FontSection, QStringLiteral("Strikethrough"), off));
    dialog.underline = flagOn(config.Read(FontSection, QStringLiteral("Underline"), off));
}

bool SaveFontSettings(ConfigFile& config, const FontDialog& dialog)
{
    bool ok = config.Write(FontSection, QStringLiteral("Name"), dialog.faceName);
    ok = config.Write(FontSection, QStringLiteral("Size"), QString::number(dialog.size)) && ok;
    ok = config.Write(FontSection, QStringLiteral("Bold"), flagText(dialog.bold)) && ok;
    ok = config.Write(FontSection, QStringLiteral("Tilt"), flagText(dialog.italic)) && ok;
    ok = config.Write(FontSection, QStringLiteral("Strikethrough"), flagText(dialog.strikeout)) && ok;
    ok = config.Write(FontSection, QStringLiteral("Underline"), flagText(dialog.underline)) && ok;
    return ok;
}

QString DefaultFaceName()
{
    return QStringLiteral("宋体");
}

QString ControlFaceName(const QString& faceName)
{
    if (faceName.isEmpty() || faceName.size() >= 32)
        return DefaultFaceName();
    return faceName;
}

int PointsToHeight(int points, double dpi)
{
    const double height = std::clamp(static_cast<double>(points) * dpi / 72.0, -1e9, 1e9);
    return -static_cast<int>(std::lround(height));
}

int HeightToPoints(int height, double dpi)
{
    if (dpi <= 0)
        return 0;
    return static_cast<int>(std::lround(std::abs(static_cast<double>(height)) * 72.0 / dpi));
}

QFont MakeFont(const QString& faceName, int pixelHeight, bool bold, bool italic, bool underline, bool strikeout)
{
    QFont font;
    QStringList families{faceName};
    // The default face is a Windows font most machines here do not have: name
    // its usual stand-ins so Chinese text looks alike everywhere.
    if (faceName == DefaultFaceName() || faceName.compare(QLatin1String("SimSun"), Qt::CaseInsensitive) == 0)
        families << QStringLiteral("SimSun") << QStringLiteral("Noto Serif CJK SC") << QStringLiteral("Noto Sans CJK SC");
    font.setFamilies(families);
    // Height 0 asks for the face's default size.
    if (pixelHeight != 0)
        font.setPixelSize(std::clamp(std::abs(pixelHeight), 1, MaxPixelHeight));
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeout);
    return font;
}

QFont RealiseFont(const FontDialog& dialog, double dpi)
{
    // Computed in double so that a huge stored size cannot overflow.
    const double height = std::min(std::abs(static_cast<double>(dialog.size)) * dpi / 72.0, double(MaxPixelHeight));
    return MakeFont(ControlFaceName(dialog.faceName), static_cast<int>(std::lround(height)), dialog.bold,
                    dialog.italic, dialog.underline, dialog.strikeout);
}

} // namespace kovra::shell
