#include "rendering/fitting.h"

#include "image/drawing_board.h"
#include "rendering/reused_image.h"

#include <cmath>

namespace kovra::rendering {

namespace {
int trunc(double v) { return int(std::trunc(v)); }
} // namespace

QRect FitPlacement(int w, int h)
{
    if (w <= 0 || h <= 0)
        return QRect();
    const double s = FitSize;
    if (w > FitSize || h > FitSize) {
        if (w > h) {
            const double scaled = s * h / w;
            return QRect(0, trunc(s / 2 - scaled / 2), FitSize, trunc(scaled));
        }
        const double scaled = s * w / h;
        return QRect(trunc(s / 2 - scaled / 2), 0, trunc(scaled), FitSize);
    }
    return QRect(trunc(s / 2 - double(w) / 2), trunc(s / 2 - double(h) / 2), w, h);
}

QImage FitPicture(const QImage& image, int trueWidth, int trueHeight, QImage reuse)
{
    QImage square = ReuseOrAllocate(std::move(reuse), FitSize, FitSize, QImage::Format_RGB32);
    square.fill(Qt::white);
    const QRect place = FitPlacement(trueWidth, trueHeight);
    // A picture thinner than one fitted pixel has an empty placement and draws nothing.
    if (!image.isNull() && !place.isEmpty())
        image::DrawPictureInto(square, image, place);
    return square;
}

} // namespace kovra::rendering
