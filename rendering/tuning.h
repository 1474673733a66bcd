#pragma once
// The user's tone controls: brightness, contrast, gamma and invert act on the
// fitted picture's own pixels before any rendering; the threshold moves the
// black-and-white rendering's dark limit. Every control has a neutral value,
// and with all of them neutral the picture is left exactly as it was.

#include <QImage>
#include <QRect>

#include <array>

namespace kovra::rendering {

struct Tuning {
    static constexpr int MinBrightness = -100, MaxBrightness = 100;
    static constexpr int MinContrast = -100, MaxContrast = 100;
    static constexpr double MinGamma = 0.2, MaxGamma = 5.0;
    static constexpr int MinThreshold = 0, MaxThreshold = 255;
    // The threshold that gives the plain nearest-colour rule.
    static constexpr int NeutralThreshold = 128;

    int brightness = 0;   // shifts every level by brightness × 2.55
    int contrast = 0;     // scales levels about mid-grey by ((100 + contrast) / 100)²
    double gamma = 1.0;   // above 1 lightens the mid-tones: level' = 255 × (level / 255)^(1 / gamma)
    bool invert = false;  // the negative, taken before the other three
    int threshold = NeutralThreshold; // black and white: dark when the grey level is below it

    // Brightness, contrast, gamma and invert all neutral (the threshold aside).
    bool toneIsNeutral() const { return brightness == 0 && contrast == 0 && gamma == 1.0 && !invert; }
    bool isNeutral() const { return toneIsNeutral() && threshold == NeutralThreshold; }
    // Every value inside its range.
    bool isValid() const;
    bool operator==(const Tuning&) const = default;
};

// The black-and-white dark limit for a threshold: a pixel is dark when
// R + G + B is at most this, that is when its grey level (R + G + B) / 3,
// rounded to the nearest whole level, is below the threshold. The neutral
// threshold gives 382, the nearer-of-black-and-white rule.
constexpr int DarkSumForThreshold(int threshold) { return 3 * threshold - 2; }

// The level each of R, G and B takes under the tone controls.
using ToneTable = std::array<quint8, 256>;
ToneTable MakeToneTable(const Tuning& tuning);

// fitted (RGB32) with the tone controls applied to the pixels inside place
// only: the margins around a picture that does not fill the square stay as
// they are. With neutral tone controls this is fitted itself, shared.
QImage TunePicture(const QImage& fitted, const QRect& place, const Tuning& tuning);

} // namespace kovra::rendering
