#pragma once
// Pictures the rendering and picture tests share.

#include <QImage>
#include <QRandomGenerator>

namespace kovra::test {

// Smooth gradients with noise and a few hard edges, so that averaging,
// thresholds and the diffusion all have something to do.
inline QImage testPicture(int w, int h, quint32 seed)
{
    QImage img(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int noise = int(rng.bounded(80)) - 40;
            const int edge = ((x / 37 + y / 23) % 3) * 50;
            img.setPixel(x, y, qRgb(qBound(0, x * 255 / w + noise, 255), qBound(0, y * 255 / h + edge - 50, 255),
                                    qBound(0, (x + y) * 255 / (w + h) + noise + edge - 40, 255)));
        }
    return img;
}

} // namespace kovra::test
