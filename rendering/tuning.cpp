#include "rendering/tuning.h"

#include <algorithm>
#include <cmath>

namespace kovra::rendering {

bool Tuning::isValid() const
{
    return brightness >= MinBrightness && brightness <= MaxBrightness && contrast >= MinContrast
        && contrast <= MaxContrast && gamma >= MinGamma && gamma <= MaxGamma && threshold >= MinThreshold
        && threshold <= MaxThreshold;
}

ToneTable MakeToneTable(const Tuning& tuning)
{
    ToneTable table{};
    const double shift = tuning.brightness * 255.0 / 100.0;
    const double scale = ((100.0 + tuning.contrast) / 100.0) * ((100.0 + tuning.contrast) / 100.0);
    const double exponent = 1.0 / tuning.gamma;
    for (int level = 0; level < 256; ++level) {
        double v = tuning.invert ? 255 - level : level;
        v += shift;
        v = (v - 127.5) * scale + 127.5;
        v = std::clamp(v, 0.0, 255.0);
        if (tuning.gamma != 1.0)
            v = 255.0 * std::pow(v / 255.0, exponent);
        // Neutral controls leave v a whole number, so rounding gives the level back.
        table[size_t(level)] = quint8(std::clamp(std::lround(v), 0L, 255L));
    }
    return table;
}

QImage TunePicture(const QImage& fitted, const QRect& place, const Tuning& tuning)
{
    QImage out = fitted.format() == QImage::Format_RGB32 ? fitted : fitted.convertToFormat(QImage::Format_RGB32);
    const QRect area = place.intersected(out.rect());
    if (tuning.toneIsNeutral() || area.isEmpty())
        return out;
    const ToneTable table = MakeToneTable(tuning);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = line[x];
            line[x] = qRgb(table[size_t(qRed(c))], table[size_t(qGreen(c))], table[size_t(qBlue(c))]);
        }
    }
    return out;
}

} // namespace kovra::rendering
