#include "image/tone_effects.h"

#include "image/drawing_board.h"
#include "image/fitting.h"

#include <QPainter>

#include <cmath>
#include <vector>

namespace kovra::image {

namespace {

qint16 spread(double share, qint16 current)
{
    // The sum is truncated toward zero, then stored in 16 bits.
    return qint16(int(std::trunc(share + current)));
}

// The tone table as the diffusion reads it: element [r][c] is the tone of
// fitted pixel (c + 1, r + 1), light greys counted as white.
std::vector<qint16> fillToneArray(const QImage& fitted)
{
    std::vector<qint16> tones(size_t(ToneArraySide) * ToneArraySide, 0);
    // Only the fitted square is read; x or y = 490 lies outside it.
    const int w = qMin(fitted.width(), FitSize);
    const int h = qMin(fitted.height(), FitSize);
    for (int y = 1; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(fitted.constScanLine(y));
        qint16* row = tones.data() + size_t(y - 1) * ToneArraySide;
        for (int x = 1; x < w; ++x) {
            const int t = qBlue(line[x]);
            row[x - 1] = qint16(t < ToneWhiteFrom ? t : 255);
        }
    }
    return tones;
}

} // namespace

QImage RenderBlackWhite(const QImage& fitted)
{
    if (fitted.isNull())
        return QImage();
    const QImage src = fitted.convertToFormat(QImage::Format_RGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const QRgb c = in[x];
            line[x] = qRed(c) + qGreen(c) + qBlue(c) <= BlackWhiteDarkSum ? black : white;
        }
    }
    return out;
}

QImage RenderDitherDots(const QImage& fitted)
{
    const QImage src = fitted.format() == QImage::Format_RGB32 || fitted.format() == QImage::Format_ARGB32
        ? fitted
        : fitted.convertToFormat(QImage::Format_RGB32);
    std::vector<qint16> tones = fillToneArray(src);
    qint16* a = tones.data();
    auto at = [a](int r, int c) -> qint16& { return a[size_t(r) * ToneArraySide + c]; };

    QImage dots(FitSize, FitSize, QImage::Format_ARGB32_Premultiplied);
    dots.fill(Qt::transparent);
    const QRgb dot = qRgb(0, 0, 0);
    for (int y = 1; y < FitSize; ++y) {
        auto* line = reinterpret_cast<QRgb*>(dots.scanLine(y));
        for (int x = 1; x < FitSize; ++x) {
            const int p = at(y - 1, x - 1);
            int err;
            if (p > DitherThreshold) {
                err = p - 255;
            } else {
                line[x] = dot;
                err = p;
            }
            at(y - 1, x) = spread(err * 3.0 / 8, at(y - 1, x));
            at(y, x - 1) = spread(err * 3.0 / 8, at(y, x - 1));
            at(y, x) = spread(err / 4.0, at(y, x));
        }
    }
    return dots;
}

void DrawDitherDots(DrawingBoard& board, const QImage& dots)
{
    if (dots.isNull())
        return;
    // Source-over: transparent pixels leave the board untouched.
    board.Paint([&dots](QPainter& p) { p.drawImage(0, 0, dots); }, dots.rect());
}

} // namespace kovra::image
