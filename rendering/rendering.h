#pragma once
// Every rendering the user can choose from: the two of the effect window's
// first design (black and white, and its own error diffusion) and nine more,
// seven error diffusions with their published kernels and two ordered
// ditherings. Each turns a tuned fitted picture into black and white dots.

#include "rendering/tuning.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

namespace kovra::rendering {

enum class Rendering {
    BlackWhite,     // nearest colour, with the tuning's threshold
    Dither,         // the effect window's own diffusion (tone: blue component)
    FloydSteinberg, // the diffusions below spread the error of the luminance,
    Jarvis,         // in a serpentine scan
    Stucki,
    Atkinson,
    Burkes,
    Sierra,
    SierraLite,
    Bayer,     // ordered, 8 × 8 matrix
    BlueNoise, // ordered, 64 × 64 blue-noise mask
};

inline constexpr int RenderingCount = 11;
inline constexpr std::array<Rendering, RenderingCount> AllRenderings{
    Rendering::BlackWhite, Rendering::Dither, Rendering::FloydSteinberg, Rendering::Jarvis,
    Rendering::Stucki, Rendering::Atkinson, Rendering::Burkes, Rendering::Sierra,
    Rendering::SierraLite, Rendering::Bayer, Rendering::BlueNoise,
};

// The name on the command line and in the settings file ("bw", "dither",
// "floyd-steinberg", ...).
QString RenderingName(Rendering rendering);
// The name people read, in English (the window shows it translated, with
// "kovra::rendering" as the translation context).
QString RenderingLabel(Rendering rendering);
// The rendering of a name, exactly as RenderingName gives it.
std::optional<Rendering> RenderingFromName(QStringView name);
// All names in the order of AllRenderings.
QStringList RenderingNames();

// The grey level the diffusions and the ordered ditherings read: the
// luminance of an RGB colour (a grey keeps its own level).
inline int Luminance(QRgb c) { return (77 * qRed(c) + 150 * qGreen(c) + 29 * qBlue(c) + 128) >> 8; }

// rendering of tuned (a FitSize square, RGB32; the tuning already applied to
// the picture inside place) as black and white, RGB32, of tuned's size. The
// new renderings work inside place only and leave the margins white; black
// and white and the dither read the whole square as they always have (their
// margins come out white as the fitted margins are). threshold is the
// tuning's black-and-white threshold.
QImage RenderPicture(Rendering rendering, const QImage& tuned, const QRect& place,
                     int threshold = Tuning::NeutralThreshold);
// Every rendering, in the order of AllRenderings, into images: those already
// there are drawn into again when they are of the right size and not shared
// (fresh picture-sized images cost page faults that take as long as a
// rendering). The luminance is taken once for all of them.
void RenderAllPictures(const QImage& tuned, const QRect& place, int threshold, std::vector<QImage>& images);

} // namespace kovra::rendering
