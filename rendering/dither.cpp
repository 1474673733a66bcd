#include "rendering/dither.h"

#include "image/drawing_board.h"
#include "rendering/fitting.h"
#include "rendering/reused_image.h"

#include <QPainter>

#include <algorithm>

#include <vector>

namespace kovra::rendering {

namespace {

// err * 3 / 8 + a and err / 4 + a, truncated toward zero, then stored in 16
// bits. Both sums are exact in double, and integer division truncates toward
// zero as well, so the integer forms below give the same values without a
// floating-point round trip per dot.
inline qint16 spreadThreeEighths(int err, int a) { return qint16((3 * err + 8 * a) / 8); }
inline qint16 spreadQuarter(int err, int a) { return qint16((err + 4 * a) / 4); }

} // namespace

DitherDiffusion::DitherDiffusion(QImage buffer)
    : m_dots(ReuseOrAllocate(std::move(buffer), FitSize, FitSize, QImage::Format_ARGB32_Premultiplied))
    , m_current(FitSize, 0)
    , m_below(FitSize, 0)
{
    // Row 0 never gets a dot.
    std::fill_n(reinterpret_cast<QRgb*>(m_dots.scanLine(0)), FitSize, QRgb(0));
    m_rowsDone = 1;
}

namespace {

// Fitted pixel x of a row as the diffusion reads it: its tone, light greys
// counted as white.
inline int toneOf(QRgb pixel)
{
    const int t = int(pixel & 0xff); // blue
    return t < ToneWhiteFrom ? t : 255;
}

} // namespace

void DitherDiffusion::feedRow(const QRgb* line)
{
    if (m_rowsFed++ > 0) {
        diffuseRow(line);
        return;
    }
    // Fitted row r fills A[r - 1]: element c is the tone of pixel c + 1;
    // pixel 490 lies outside and reads 0.
    for (int x = 1; x < FitSize; ++x)
        m_current[x - 1] = qint16(toneOf(line[x]));
    m_current[FitSize - 1] = 0;
}

void DitherDiffusion::finish()
{
    // Fitted row 490 lies outside the picture: tone 0 throughout.
    diffuseRow(nullptr);
}

namespace {

// One step of the diffusion at column x: p is A[y - 1][x - 1] with the
// error spread to it from the left, up the value A[y - 1][x] had before,
// bl A[y][x - 1] with the error from above left, fresh A[y][x] as filled.
// Returns A[y - 1][x] with this error; bl becomes A[y][x] with it.
inline int diffuseStep(int p, int up, int& bl, int fresh, qint16* below, QRgb* dot)
{
    // Written with masks, not branches (the compiler turns a plain
    // condition into a jump): whether a tone turns into a dot is as good as
    // random, and a missed guess costs more than the work.
    const int light = (DitherThreshold - p) >> 31; // all ones when p > 128
    const int err = p - (light & 255);
    *dot = ~quint32(light) & 0xFF000000u;
    *below = spreadThreeEighths(err, bl);
    bl = spreadQuarter(err, fresh);
    return spreadThreeEighths(err, up);
}

} // namespace

void DitherDiffusion::diffuseRow(const QRgb* next)
{
    const int y = m_rowsDone;
    const qint16* row = m_current.data(); // A[y - 1], read once per element
    qint16* below = m_below.data();       // A[y], made here from next's tones
    auto* line = reinterpret_cast<QRgb*>(m_dots.scanLine(y));
    // Column 0 never gets a dot.
    line[0] = 0;
    // A[y][x] starts as the tone of fitted pixel x + 1 of the next row;
    // pixel 490 lies outside and reads 0.
    constexpr int last = FitSize - 1;
    // A row of pure white (255 up to its last pixel, which lies outside)
    // makes no dot and no error, so A[y] stays as filled: the white margin
    // above a wide picture, and white parts, cost one look.
    if (std::all_of(row, row + last, [](qint16 v) { return v == 255; })) {
        std::fill_n(line + 1, last, QRgb(0));
        for (int x = 0; x < last; ++x)
            below[x] = qint16(next ? toneOf(next[x + 1]) : 0);
        below[last] = 0;
        m_current.swap(m_below);
        ++m_rowsDone;
        return;
    }
    // p and bl are carried in registers. A[y - 1][x] is not stored back, as
    // nothing reads it after its own dot.
    int p = row[0];
    int bl = next ? toneOf(next[1]) : 0;
    if (next) {
        for (int x = 1; x < last; ++x)
            p = diffuseStep(p, row[x], bl, toneOf(next[x + 1]), below + x - 1, line + x);
    } else {
        for (int x = 1; x < last; ++x)
            p = diffuseStep(p, row[x], bl, 0, below + x - 1, line + x);
    }
    diffuseStep(p, row[last], bl, 0, below + last - 1, line + last);
    below[last] = qint16(bl);
    // A[y] is diffused next.
    m_current.swap(m_below);
    ++m_rowsDone;
}

QImage RenderDitherDots(const QImage& fitted)
{
    const QImage src = AsRgb32(fitted);
    DitherDiffusion diffusion;
    const int w = qMin(src.width(), FitSize);
    const int h = qMin(src.height(), FitSize);
    // A fitted picture smaller than the square reads as tone 0 beyond it.
    std::vector<QRgb> padded(FitSize, 0);
    for (int y = 1; y < FitSize; ++y) {
        if (y < h && w == FitSize) {
            diffusion.feedRow(reinterpret_cast<const QRgb*>(src.constScanLine(y)));
            continue;
        }
        std::fill(padded.begin(), padded.end(), QRgb(0));
        if (y < h)
            std::copy_n(reinterpret_cast<const QRgb*>(src.constScanLine(y)), w, padded.begin());
        diffusion.feedRow(padded.data());
    }
    diffusion.finish();
    return diffusion.takeDots();
}

void DrawDitherDots(image::DrawingBoard& board, const QImage& dots)
{
    if (dots.isNull())
        return;
    // Source-over: transparent pixels leave the board untouched.
    board.Paint([&dots](QPainter& p) { p.drawImage(0, 0, dots); }, dots.rect());
}

} // namespace kovra::rendering
