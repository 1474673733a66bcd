#include "rendering/rendering.h"

#include "rendering/black_white.h"
#include "rendering/blue_noise.h"
#include "rendering/dither.h"
#include "rendering/reused_image.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace kovra::rendering {

namespace {

const QRgb kBlack = 0xFF000000u;
const QRgb kWhite = 0xFFFFFFFFu;

struct Names {
    Rendering rendering;
    const char* name;
    // Marked for translation: the window shows it in the user's language.
    const char* label;
};

constexpr Names kNames[RenderingCount] = {
    {Rendering::BlackWhite, "bw", QT_TRANSLATE_NOOP("kovra::rendering", "Black and white")},
    {Rendering::Dither, "dither", QT_TRANSLATE_NOOP("kovra::rendering", "Diffusion")},
    {Rendering::FloydSteinberg, "floyd-steinberg", QT_TRANSLATE_NOOP("kovra::rendering", "Floyd-Steinberg")},
    {Rendering::Jarvis, "jarvis", QT_TRANSLATE_NOOP("kovra::rendering", "Jarvis")},
    {Rendering::Stucki, "stucki", QT_TRANSLATE_NOOP("kovra::rendering", "Stucki")},
    {Rendering::Atkinson, "atkinson", QT_TRANSLATE_NOOP("kovra::rendering", "Atkinson")},
    {Rendering::Burkes, "burkes", QT_TRANSLATE_NOOP("kovra::rendering", "Burkes")},
    {Rendering::Sierra, "sierra", QT_TRANSLATE_NOOP("kovra::rendering", "Sierra")},
    {Rendering::SierraLite, "sierra-lite", QT_TRANSLATE_NOOP("kovra::rendering", "Sierra Lite")},
    {Rendering::Bayer, "bayer", QT_TRANSLATE_NOOP("kovra::rendering", "Bayer 8 x 8")},
    {Rendering::BlueNoise, "blue-noise", QT_TRANSLATE_NOOP("kovra::rendering", "Blue noise")},
};

const Names& namesOf(Rendering rendering)
{
    for (const Names& n : kNames)
        if (n.rendering == rendering)
            return n;
    return kNames[0];
}

// One weight of a diffusion kernel: the share weight / divisor of a dot's
// error goes dx columns ahead (in the scan's direction) and dy rows down.
struct Tap {
    int dx, dy, weight;
};

template <size_t N>
struct Kernel {
    int divisor;
    Tap taps[N];

    // The weight of the tap dx ahead on the same row, 0 when there is none.
    constexpr int ahead(int dx) const
    {
        for (const Tap& t : taps)
            if (t.dy == 0 && t.dx == dx)
                return t.weight;
        return 0;
    }
};

// The published kernels. Atkinson's weights add up to 6 of its 8: a quarter
// of each error is dropped on purpose, which lightens highlights and deepens
// shadows.
constexpr Kernel<4> kFloydSteinberg{16, {{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}};
constexpr Kernel<12> kJarvis{48, {{1, 0, 7}, {2, 0, 5}, {-2, 1, 3}, {-1, 1, 5}, {0, 1, 7}, {1, 1, 5}, {2, 1, 3},
                                  {-2, 2, 1}, {-1, 2, 3}, {0, 2, 5}, {1, 2, 3}, {2, 2, 1}}};
constexpr Kernel<12> kStucki{42, {{1, 0, 8}, {2, 0, 4}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2},
                                  {-2, 2, 1}, {-1, 2, 2}, {0, 2, 4}, {1, 2, 2}, {2, 2, 1}}};
constexpr Kernel<6> kAtkinson{8, {{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}}};
constexpr Kernel<7> kBurkes{32, {{1, 0, 8}, {2, 0, 4}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2}}};
constexpr Kernel<10> kSierra{32, {{1, 0, 5}, {2, 0, 3}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 5}, {1, 1, 4}, {2, 1, 2},
                                  {-1, 2, 2}, {0, 2, 3}, {1, 2, 2}}};
constexpr Kernel<3> kSierraLite{4, {{1, 0, 2}, {-1, 1, 1}, {0, 1, 1}}};

// Rows of error the kernels reach (this one and two below), each with two
// columns of room on either side so that no tap needs a bounds test.
constexpr int kPad = 2;
constexpr int kErrorRows = 3;

// Levels and errors are whole numbers of sixteenths of a grey level: exact
// enough, and integer steps keep the chain from one dot to the next short.
constexpr int kUnit = 16;
constexpr int kMidGrey = 128 * kUnit;
constexpr int kFullWhite = 255 * kUnit;
// A share weight / divisor of an error is (error × Weight) >> 16.
constexpr int kWeightShift = 16;
constexpr int fixedWeight(int weight, int divisor)
{
    return (weight * (1 << kWeightShift) + divisor / 2) / divisor;
}

// The level a diffusion starts from for each luminance, in kUnit steps.
using ToneCurve = std::array<int, 256>;

// The luminance of the picture inside place, a byte per pixel, row by row:
// made once for all the renderings that read it.
struct LuminancePlane {
    LuminancePlane(const QImage& tuned, const QRect& place)
        : width(place.width())
        , levels(size_t(place.width()) * size_t(place.height()))
    {
        quint8* out = levels.data();
        for (int y = place.top(); y <= place.bottom(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(tuned.constScanLine(y)) + place.left();
            for (int x = 0; x < width; ++x)
                *out++ = quint8(Luminance(line[x]));
        }
    }
    const quint8* row(int y) const { return levels.data() + size_t(y) * size_t(width); }

    int width;
    std::vector<quint8> levels;
};

// Row y of the plane in kUnit steps, through curve when there is one.
void levelRow(const LuminancePlane& plane, int y, const ToneCurve* curve, int* out)
{
    const quint8* in = plane.row(y);
    if (curve) {
        for (int x = 0; x < plane.width; ++x)
            out[x] = (*curve)[in[x]];
    } else {
        for (int x = 0; x < plane.width; ++x)
            out[x] = in[x] * kUnit;
    }
}

// The error of the dot at x going to the rows below: one statement per tap,
// fixed at compile time.
template <const auto& K, int Step, size_t... I>
inline void spreadBelow(int err, int* below1, int* below2, int x, std::index_sequence<I...>)
{
    (
        [&] {
            constexpr Tap t = K.taps[I];
            constexpr int weight = fixedWeight(t.weight, K.divisor);
            if constexpr (t.dy == 1)
                below1[x + Step * t.dx] += (err * weight) >> kWeightShift;
            else if constexpr (t.dy == 2)
                below2[x + Step * t.dx] += (err * weight) >> kWeightShift;
        }(),
        ...);
}

// One row, scanned in the direction Step. The error going ahead on the same
// row is carried in two registers, so a dot waits only for its left
// neighbour's arithmetic, never for a store and a load.
template <const auto& K, int Step>
void diffuseRow(const int* levels, const int* here, int* below1, int* below2, QRgb* line, int w)
{
    constexpr int ahead1 = fixedWeight(K.ahead(1), K.divisor);
    constexpr int ahead2 = fixedWeight(K.ahead(2), K.divisor);
    int carry1 = 0;
    int carry2 = 0;
    int x = Step > 0 ? 0 : w - 1;
    for (int i = 0; i < w; ++i, x += Step) {
        const int v = levels[x] + here[x] + carry1;
        const bool black = v < kMidGrey;
        line[x] = black ? kBlack : kWhite;
        const int err = black ? v : v - kFullWhite;
        carry1 = carry2 + ((err * ahead1) >> kWeightShift);
        carry2 = (err * ahead2) >> kWeightShift;
        spreadBelow<K, Step>(err, below1, below2, x, std::make_index_sequence<std::size(K.taps)>{});
    }
}

// Error diffusion of the luminance inside place, rows alternately left to
// right and right to left; a dot is black when its level with the error it
// received is below mid-grey. Errors that would leave place are dropped.
template <const auto& K>
void diffuse(const LuminancePlane& plane, const QRect& place, QImage& out, const ToneCurve* curve = nullptr)
{
    const int w = place.width();
    const int stride = w + 2 * kPad;
    std::vector<int> errors(size_t(kErrorRows * stride), 0);
    std::vector<int> levels(static_cast<size_t>(w));
    int* rows[kErrorRows];
    for (int r = 0; r < kErrorRows; ++r)
        rows[r] = errors.data() + r * stride + kPad;

    for (int y = 0; y < place.height(); ++y) {
        levelRow(plane, y, curve, levels.data());
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(place.top() + y)) + place.left();
        if (y % 2 == 0)
            diffuseRow<K, 1>(levels.data(), rows[0], rows[1], rows[2], line, w);
        else
            diffuseRow<K, -1>(levels.data(), rows[0], rows[1], rows[2], line, w);
        // The row just done becomes the lowest, empty again; what ran past
        // the edges into the padding is never read, so it is dropped.
        std::fill_n(rows[0] - kPad, stride, 0);
        std::rotate(rows, rows + 1, rows + kErrorRows);
    }
}

// Atkinson's kernel drops a quarter of every error, so on its own it turns
// light greys white and dark greys black. Its input goes through a tone curve
// first, measured once on flat greys of its own rendering, so that every grey
// keeps its share of dots; the texture is the kernel's own.
const ToneCurve& atkinsonCurve()
{
    static const ToneCurve curve = [] {
        // The share of black dots at every level, made non-increasing.
        constexpr int side = 96;
        const QRect patch(0, 0, side, side);
        std::array<double, 256> share{};
        QImage out(side, side, QImage::Format_RGB32);
        for (int level = 0; level < 256; ++level) {
            QImage grey(side, side, QImage::Format_RGB32);
            grey.fill(qRgb(level, level, level));
            diffuse<kAtkinson>(LuminancePlane(grey, patch), patch, out);
            int black = 0;
            for (int y = 0; y < side; ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(out.constScanLine(y));
                black += int(std::count(line, line + side, kBlack));
            }
            share[size_t(level)] = std::min(level > 0 ? share[size_t(level - 1)] : 1.0, double(black) / (side * side));
        }
        // Each level L goes to where the measured share crosses (255 - L) / 255.
        ToneCurve c{};
        int k = 1;
        for (int level = 0; level < 256; ++level) {
            const double want = (255.0 - level) / 255.0;
            while (k < 255 && share[size_t(k)] > want)
                ++k;
            const double above = share[size_t(k - 1)];
            const double below = share[size_t(k)];
            const double t = above > below ? std::clamp((above - want) / (above - below), 0.0, 1.0) : 1.0;
            const double to = level == 0 ? 0.0 : level == 255 ? 255.0 : k - 1 + t;
            c[size_t(level)] = int(std::lround(to * kUnit));
        }
        return c;
    }();
    return curve;
}

// The 8 × 8 Bayer index matrix, built by its recursion: each doubling puts
// the four copies of the smaller matrix in the order 0, 2, 3, 1.
std::array<int, 64> bayerRanks()
{
    std::array<int, 64> m{};
    for (int size = 1; size < 8; size *= 2) {
        std::array<int, 64> next{};
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const int v = 4 * m[size_t(y * 8 + x)];
                next[size_t(y * 8 + x)] = v;
                next[size_t(y * 8 + x + size)] = v + 2;
                next[size_t((y + size) * 8 + x)] = v + 3;
                next[size_t((y + size) * 8 + x + size)] = v + 1;
            }
        }
        m = next;
    }
    return m;
}

// The level below which a cell of rank r (of n) is black, so that a flat
// grey L darkens the share (255 - L) / 255 of the cells, to within 1 / n:
// black when L < (r + 1/2) × 255 / n, which for whole levels is L < this.
int orderedLimit(int rank, int n) { return ((2 * rank + 1) * 255 + 2 * n - 1) / (2 * n); }

// Ordered dithering by a square table of limits (side a power of two),
// tiled over the square from its top-left corner.
void ordered(const LuminancePlane& plane, const QRect& place, QImage& out, const std::vector<quint8>& limits, int side)
{
    const int mask = side - 1;
    for (int y = place.top(); y <= place.bottom(); ++y) {
        const quint8* in = plane.row(y - place.top()) - place.left();
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        const quint8* row = limits.data() + (y & mask) * side;
        for (int x = place.left(); x <= place.right(); ++x)
            line[x] = in[x] < row[x & mask] ? kBlack : kWhite;
    }
}

std::vector<quint8> bayerLimits()
{
    const std::array<int, 64> ranks = bayerRanks();
    std::vector<quint8> limits(ranks.size());
    for (size_t i = 0; i < ranks.size(); ++i)
        limits[i] = quint8(orderedLimit(ranks[i], 64));
    return limits;
}

std::vector<quint8> blueNoiseLimits()
{
    const BlueNoiseMask& mask = SharedBlueNoiseMask();
    constexpr int side = BlueNoiseMask::Side;
    std::vector<quint8> limits(BlueNoiseMask::Cells);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            limits[size_t(y * side + x)] = quint8(orderedLimit(mask.rank(x, y), BlueNoiseMask::Cells));
    return limits;
}

// rendering of src (RGB32) into out (src's size, RGB32, not shared). plane:
// the luminance inside area, needed by all but the first two.
void renderInto(Rendering rendering, const QImage& src, const QRect& area, int threshold,
                const LuminancePlane* plane, QImage& out)
{
    const int w = src.width();
    if (rendering == Rendering::BlackWhite) {
        for (int y = 0; y < src.height(); ++y)
            BlackWhiteRow(reinterpret_cast<const QRgb*>(src.constScanLine(y)), reinterpret_cast<QRgb*>(out.scanLine(y)),
                          w, DarkSumForThreshold(threshold));
        return;
    }
    if (rendering == Rendering::Dither) {
        // The dots over white, as the diffusion draws them on its white board.
        const QImage dots = RenderDitherDots(src);
        for (int y = 0; y < src.height(); ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(dots.constScanLine(y));
            auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < w; ++x)
                line[x] = qAlpha(in[x]) ? kBlack : kWhite;
        }
        return;
    }

    out.fill(kWhite);
    if (area.isEmpty() || !plane)
        return;
    switch (rendering) {
    case Rendering::FloydSteinberg: diffuse<kFloydSteinberg>(*plane, area, out); break;
    case Rendering::Jarvis: diffuse<kJarvis>(*plane, area, out); break;
    case Rendering::Stucki: diffuse<kStucki>(*plane, area, out); break;
    case Rendering::Atkinson: diffuse<kAtkinson>(*plane, area, out, &atkinsonCurve()); break;
    case Rendering::Burkes: diffuse<kBurkes>(*plane, area, out); break;
    case Rendering::Sierra: diffuse<kSierra>(*plane, area, out); break;
    case Rendering::SierraLite: diffuse<kSierraLite>(*plane, area, out); break;
    case Rendering::Bayer: ordered(*plane, area, out, bayerLimits(), 8); break;
    case Rendering::BlueNoise: ordered(*plane, area, out, blueNoiseLimits(), BlueNoiseMask::Side); break;
    case Rendering::BlackWhite:
    case Rendering::Dither: break;
    }
}

QImage asRgb32(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QString RenderingName(Rendering rendering) { return QString::fromLatin1(namesOf(rendering).name); }
QString RenderingLabel(Rendering rendering) { return QString::fromLatin1(namesOf(rendering).label); }

std::optional<Rendering> RenderingFromName(QStringView name)
{
    for (const Names& n : kNames)
        if (name == QLatin1String(n.name))
            return n.rendering;
    return std::nullopt;
}

QStringList RenderingNames()
{
    QStringList names;
    for (Rendering r : AllRenderings)
        names << RenderingName(r);
    return names;
}

QImage RenderPicture(Rendering rendering, const QImage& tuned, const QRect& place, int threshold)
{
    if (tuned.isNull())
        return QImage();
    const QImage src = asRgb32(tuned);
    const QRect area = place.intersected(src.rect());
    std::optional<LuminancePlane> plane;
    if (rendering != Rendering::BlackWhite && rendering != Rendering::Dither && !area.isEmpty())
        plane.emplace(src, area);
    QImage out(src.size(), QImage::Format_RGB32);
    renderInto(rendering, src, area, threshold, plane ? &*plane : nullptr, out);
    return out;
}

void RenderAllPictures(const QImage& tuned, const QRect& place, int threshold, std::vector<QImage>& images)
{
    images.resize(AllRenderings.size());
    if (tuned.isNull()) {
        std::fill(images.begin(), images.end(), QImage());
        return;
    }
    const QImage src = asRgb32(tuned);
    const QRect area = place.intersected(src.rect());
    std::optional<LuminancePlane> plane;
    if (!area.isEmpty())
        plane.emplace(src, area);
    for (size_t i = 0; i < AllRenderings.size(); ++i) {
        images[i] = ReuseOrAllocate(std::move(images[i]), src.width(), src.height(), QImage::Format_RGB32);
        renderInto(AllRenderings[i], src, area, threshold, plane ? &*plane : nullptr, images[i]);
    }
}

} // namespace kovra::rendering
