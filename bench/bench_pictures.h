#pragma once
// Pictures the benchmarks drop.

#include <QImage>
#include <QRandomGenerator>

#include <algorithm>

namespace kovra::bench {

// Gradients with noise on top, so neither format can compress it to nothing.
inline QImage detailedPicture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(12345);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int noise = int(rng.bounded(48)) - 24;
            const int r = std::clamp(x * 255 / w + noise, 0, 255);
            const int g = std::clamp(y * 255 / h + noise, 0, 255);
            const int b = std::clamp(((x + y) * 255 / (w + h) + ((x / 64 + y / 64) % 2) * 60) + noise, 0, 255);
            line[x] = qRgb(r, g, b);
        }
    }
    return img;
}

} // namespace kovra::bench
