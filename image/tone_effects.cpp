#include "image/tone_effects.h"

#include "image/drawing_board.h"
#include "image/fitting.h"

#include <QPainter>

#include <vector>

namespace kovra::image {

namespace {

// err * 3 / 8 + a and err / 4 + a, truncated toward zero, then stored in 16
// bits. Both sums are exact in double, and integer division truncates toward
// zero as well, so the integer forms below give the same values without a
// floating-point round trip per dot.
inline qint16 spreadThreeEighths(int err, int a) { return qint16((3 * err + 8 * a) / 8); }
inline qint16 spreadQuarter(int err, int a) { return qint16((err + 4 * a) / 4); }

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

QImage asRgb32(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage RenderBlackWhite(const QImage& fitted)
{
    if (fitted.isNull())
        return QImage();
    const QImage src = asRgb32(fitted);
    const int w = src.width();
    const int h = src.height();
    QImage out(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb c = in[x];
            const bool dark = int(qRed(c) + qGreen(c) + qBlue(c)) <= BlackWhiteDarkSum;
            line[x] = dark ? 0xFF000000u : 0xFFFFFFFFu;
        }
    }
    return out;
}

QImage RenderDitherDots(const QImage& fitted)
{
    std::vector<qint16> tones = fillToneArray(asRgb32(fitted));
    QImage dots(FitSize, FitSize, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < FitSize; ++y) {
        qint16* row = tones.data() + size_t(qMax(y - 1, 0)) * ToneArraySide; // A[y - 1]
        qint16* below = row + ToneArraySide;                                 // A[y]
        auto* line = reinterpret_cast<QRgb*>(dots.scanLine(y));
        // Row 0 and column 0 never get a dot: transparent.
        line[0] = 0;
        if (y == 0) {
            std::fill(line, line + FitSize, QRgb(0));
            continue;
        }
        // p is the value just spread to the right and bl the one just spread
        // below right: both are carried in registers, not read back.
        int p = row[0];
        int bl = below[0];
        for (int x = 1; x < FitSize; ++x) {
            // Written without branches: whether a tone turns into a dot is
            // as good as random, and a missed guess costs more than the work.
            const bool dark = p <= DitherThreshold;
            const int err = dark ? p : p - 255;
            line[x] = dark ? 0xFF000000u : 0u;
            const qint16 right = spreadThreeEighths(err, row[x]);
            row[x] = right;
            below[x - 1] = spreadThreeEighths(err, bl);
            bl = spreadQuarter(err, below[x]);
            p = right;
        }
        below[FitSize - 1] = qint16(bl);
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
