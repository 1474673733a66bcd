#include "rendering/row_stretcher.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif

namespace kovra::rendering {

bool RowStretcher::handles(QSize source, QSize target)
{
    // Up to six source pixels per output pixel: the weights then never need
    // more than eight rows, and a row of at least eight pixels holds every
    // column's window.
    return !target.isEmpty() && target.width() < source.width() && target.height() < source.height()
        && source.width() <= 6 * qint64(target.width()) && source.height() <= 6 * qint64(target.height())
        && source.width() >= 8;
}

RowStretcher::RowStretcher(QSize source, QSize target)
    : m_width(target.width())
    , m_columns(makeTaps(source.width(), target.width()))
    , m_rows(makeTaps(source.height(), target.height()))
    , m_sums(size_t(target.width()) * 4)
{
    for (auto& row : m_averaged)
        row.resize(size_t(m_width) * 4);
    for (int x = 0; x < m_width; ++x)
        m_columnTaps = qMax(m_columnTaps, m_columns.end[x] - m_columns.begin(x));
    m_columnTaps += m_columnTaps % 2;
    m_columnStart.resize(size_t(m_width));
    m_columnWeight.assign(size_t(m_width) * m_columnTaps * 4, 0);
    for (int x = 0; x < m_width; ++x) {
        const int begin = m_columns.begin(x);
        const int end = m_columns.end[x];
        // The window ends inside the row; a tiny row falls back below.
        const int start = qMax(0, qMin(m_columns.index[begin], source.width() - m_columnTaps));
        m_columnStart[x] = start;
        qint16* groups = m_columnWeight.data() + size_t(x) * m_columnTaps * 4;
        for (int k = begin; k < end; ++k) {
            const int t = m_columns.index[k] - start; // repeated last pixels add up
            for (int lane = t % 2; lane < 8; lane += 2)
                groups[(t / 2) * 8 + lane] = qint16(groups[(t / 2) * 8 + lane] + int(m_columns.weight[k]));
        }
    }
}

// Output i starts at source position i × s / d in 16.16 fixed point. Each
// source step weighs c = 2^14 × d / s (rounded up); the first source pixel
// weighs c times the part of it that lies inside, the following ones c each,
// and the last one what is left of 2^14.
RowStretcher::Taps RowStretcher::makeTaps(int source, int target)
{
    Taps taps;
    const qint64 step = (qint64(source) << 16) / target;
    const int c = ((target << 14) + source - 1) / source;
    for (int i = 0; i < target; ++i) {
        const qint64 at = step * i;
        int from = int(at >> 16);
        const int firstWeight = int(((0x10000 - (at & 0xffff)) * c) >> 16);
        // The weights never reach past the last source pixel; should the
        // rounding ever say otherwise, the last one is repeated.
        auto add = [&](int weight) {
            taps.index.push_back(qMin(from++, source - 1));
            taps.weight.push_back(quint32(weight));
        };
        add(firstWeight);
        int rest = (1 << 14) - firstWeight;
        for (; rest > c; rest -= c)
            add(c);
        add(rest);
        taps.end.push_back(int(taps.index.size()));
    }
    return taps;
}


#ifdef __SSE2__
namespace {

// Per column, taps consecutive source pixels two at a time: both pixels'
// bytes interleaved and widened to 16 bits (b0 b1 g0 g1 r0 r1 a0 a1), one
// multiply-add by their weights gives four 32-bit channel sums.
template <int Taps>
void averagePairs(const QRgb* line, const int* start, const qint16* weight, int taps, int width, quint32* out)
{
    const int n = Taps > 0 ? Taps : taps;
    const __m128i zero = _mm_setzero_si128();
    for (int x = 0; x < width; ++x, weight += 4 * n) {
        const QRgb* pixel = line + start[x];
        __m128i sum = zero;
        for (int t = 0; t < n; t += 2) {
            const __m128i two = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pixel + t));
            const __m128i bytes = _mm_unpacklo_epi8(two, _mm_srli_si128(two, 4));
            const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weight + 4 * t));
            sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_unpacklo_epi8(bytes, zero), w));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), _mm_srli_epi32(sum, 4));
    }
}

} // namespace
#endif

#ifdef __SSE2__
namespace {

// The vertical sum of one output row over taps averaged rows: per column,
// blue and red (lanes 0 and 2) and green and alpha (1 and 3) as two pairs of
// 64-bit products. Each sum stays below 2^32 and its top byte is the channel.
template <int Taps>
void sumRows(const quint32* const* rows, const quint32* weights, int taps, int width, QRgb* out)
{
    const int n = Taps > 0 ? Taps : taps;
    __m128i w[8];
    for (int t = 0; t < n; ++t)
        w[t] = _mm_set1_epi32(int(weights[t]));
    for (int x = 0; x < width; ++x) {
        __m128i br = _mm_setzero_si128();
        __m128i ga = br;
        for (int t = 0; t < n; ++t) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[t] + 4 * x));
            br = _mm_add_epi64(br, _mm_mul_epu32(v, w[t]));
            ga = _mm_add_epi64(ga, _mm_mul_epu32(_mm_srli_epi64(v, 32), w[t]));
        }
        __m128i bgra = _mm_srli_epi32(_mm_or_si128(br, _mm_slli_epi64(ga, 32)), 24);
        bgra = _mm_packs_epi32(bgra, bgra);
        bgra = _mm_packus_epi16(bgra, bgra);
        out[x] = quint32(_mm_cvtsi128_si32(bgra)) | 0xFF000000u;
    }
}

#if defined(__GNUC__) && defined(__x86_64__)
#define KOVRA_X86_DISPATCH 1
// The same sum with SSE4.1's 32-bit multiply, one instruction per tap and
// column, for the processors that have it (nearly all).
template <int Taps>
__attribute__((target("sse4.1"))) void sumRowsSse41(const quint32* const* rows, const quint32* weights, int taps,
                                                     int width, QRgb* out)
{
    const int n = Taps > 0 ? Taps : taps;
    __m128i w[8];
    for (int t = 0; t < n; ++t)
        w[t] = _mm_set1_epi32(int(weights[t]));
    for (int x = 0; x < width; ++x) {
        __m128i bgra = _mm_mullo_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[0] + 4 * x)), w[0]);
        for (int t = 1; t < n; ++t)
            bgra = _mm_add_epi32(
                bgra, _mm_mullo_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[t] + 4 * x)), w[t]));
        bgra = _mm_srli_epi32(bgra, 24);
        bgra = _mm_packs_epi32(bgra, bgra);
        bgra = _mm_packus_epi16(bgra, bgra);
        out[x] = quint32(_mm_cvtsi128_si32(bgra)) | 0xFF000000u;
    }
}

bool hasSse41()
{
    static const bool has = __builtin_cpu_supports("sse4.1");
    return has;
}

// AVX2 does two output columns per instruction, each in its 128-bit half
// exactly as the SSE code does one.
bool hasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

template <int Taps>
__attribute__((target("avx2"))) void averagePairsAvx2(const QRgb* line, const int* start, const qint16* weight,
                                                        int taps, int width, quint32* out)
{
    const int n = Taps > 0 ? Taps : taps;
    const __m256i zero = _mm256_setzero_si256();
    int x = 0;
    for (; x + 2 <= width; x += 2, weight += 8 * n) {
        const QRgb* left = line + start[x];
        const QRgb* right = line + start[x + 1];
        __m256i sum = zero;
        for (int t = 0; t < n; t += 2) {
            const __m256i two = _mm256_inserti128_si256(
                _mm256_castsi128_si256(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(left + t))),
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(right + t)), 1);
            const __m256i bytes = _mm256_unpacklo_epi8(two, _mm256_srli_si256(two, 4));
            const __m256i w = _mm256_inserti128_si256(
                _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(weight + 4 * t))),
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(weight + 4 * n + 4 * t)), 1);
            sum = _mm256_add_epi32(sum, _mm256_madd_epi16(_mm256_unpacklo_epi8(bytes, zero), w));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * x), _mm256_srli_epi32(sum, 4));
    }
    if (x < width)
        averagePairs<Taps>(line, start + x, weight, taps, width - x, out + 4 * x);
}

template <int Taps>
__attribute__((target("avx2"))) void sumRowsAvx2(const quint32* const* rows, const quint32* weights, int taps,
                                                   int width, QRgb* out)
{
    const int n = Taps > 0 ? Taps : taps;
    __m256i w[8];
    for (int t = 0; t < n; ++t)
        w[t] = _mm256_set1_epi32(int(weights[t]));
    int x = 0;
    for (; x + 2 <= width; x += 2) {
        __m256i bgra = _mm256_mullo_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[0] + 4 * x)), w[0]);
        for (int t = 1; t < n; ++t)
            bgra = _mm256_add_epi32(
                bgra, _mm256_mullo_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[t] + 4 * x)), w[t]));
        bgra = _mm256_srli_epi32(bgra, 24);
        bgra = _mm256_packs_epi32(bgra, bgra);
        bgra = _mm256_packus_epi16(bgra, bgra);
        out[x] = quint32(_mm_cvtsi128_si32(_mm256_castsi256_si128(bgra))) | 0xFF000000u;
        out[x + 1] = quint32(_mm_cvtsi128_si32(_mm256_extracti128_si256(bgra, 1))) | 0xFF000000u;
    }
    if (x < width) {
        const quint32* rest[8];
        for (int t = 0; t < n; ++t)
            rest[t] = rows[t] + 4 * x;
        sumRowsSse41<Taps>(rest, weights, taps, width - x, out + x);
    }
}
#endif

} // namespace
#endif

const quint32* RowStretcher::averagedRow(int sourceRow, const uchar* bits, qsizetype stride)
{
    const int slot = sourceRow % Slots;
    if (m_averagedRow[slot] == sourceRow)
        return m_averaged[slot].data();
    m_averagedRow[slot] = sourceRow;
    quint32* out = m_averaged[slot].data();
    const auto* line = reinterpret_cast<const QRgb*>(bits + stride * sourceRow);
#ifdef KOVRA_X86_DISPATCH
    if (hasAvx2()) {
        const int* start = m_columnStart.data();
        const qint16* weight = m_columnWeight.data();
        switch (m_columnTaps) {
        case 2: averagePairsAvx2<2>(line, start, weight, m_columnTaps, m_width, out); break;
        case 4: averagePairsAvx2<4>(line, start, weight, m_columnTaps, m_width, out); break;
        default: averagePairsAvx2<0>(line, start, weight, m_columnTaps, m_width, out); break;
        }
        return out;
    }
#endif
#ifdef __SSE2__
    switch (m_columnTaps) {
    case 2: averagePairs<2>(line, m_columnStart.data(), m_columnWeight.data(), m_columnTaps, m_width, out); break;
    case 4: averagePairs<4>(line, m_columnStart.data(), m_columnWeight.data(), m_columnTaps, m_width, out); break;
    default: averagePairs<0>(line, m_columnStart.data(), m_columnWeight.data(), m_columnTaps, m_width, out); break;
    }
#else
    const int* index = m_columns.index.data();
    const quint32* weight = m_columns.weight.data();
    int k = 0;
    for (int x = 0; x < m_width; ++x) {
        quint32 r = 0, g = 0, b = 0;
        for (const int end = m_columns.end[x]; k < end; ++k) {
            const QRgb p = line[index[k]];
            const quint32 w = weight[k];
            r += ((p >> 16) & 0xff) * w;
            g += ((p >> 8) & 0xff) * w;
            b += (p & 0xff) * w;
        }
        out[4 * x] = b >> 4;
        out[4 * x + 1] = g >> 4;
        out[4 * x + 2] = r >> 4;
        out[4 * x + 3] = 0;
    }
#endif
    return out;
}


void RowStretcher::stretchRow(int y, const uchar* bits, qsizetype stride, QRgb* out)
{
    // The sums stay below 2^32: at most 255 × 2^14 / 16 × 2^14.
    const int begin = m_rows.begin(y);
    const int end = m_rows.end[y];
    const int n = m_width;
    const quint32* rows[Slots];
    quint32 weights[Slots];
    int taps = 0;
    for (int k = begin; k < end; ++k) {
        rows[taps] = averagedRow(m_rows.index[k], bits, stride);
        weights[taps++] = m_rows.weight[k];
    }
#ifdef KOVRA_X86_DISPATCH
    if (hasAvx2()) {
        switch (taps) {
        case 2: sumRowsAvx2<2>(rows, weights, taps, n, out); return;
        case 3: sumRowsAvx2<3>(rows, weights, taps, n, out); return;
        case 4: sumRowsAvx2<4>(rows, weights, taps, n, out); return;
        default: sumRowsAvx2<0>(rows, weights, taps, n, out); return;
        }
    }
    if (hasSse41()) {
        switch (taps) {
        case 2: sumRowsSse41<2>(rows, weights, taps, n, out); return;
        case 3: sumRowsSse41<3>(rows, weights, taps, n, out); return;
        case 4: sumRowsSse41<4>(rows, weights, taps, n, out); return;
        default: sumRowsSse41<0>(rows, weights, taps, n, out); return;
        }
    }
#endif
#ifdef __SSE2__
    switch (taps) {
    case 2: sumRows<2>(rows, weights, taps, n, out); break;
    case 3: sumRows<3>(rows, weights, taps, n, out); break;
    case 4: sumRows<4>(rows, weights, taps, n, out); break;
    default: sumRows<0>(rows, weights, taps, n, out); break;
    }
#else
    quint32* sums = m_sums.data();
    std::fill(sums, sums + 4 * n, 0u);
    for (int t = 0; t < taps; ++t)
        for (int i = 0; i < 4 * n; ++i)
            sums[i] += rows[t][i] * weights[t];
    for (int x = 0; x < n; ++x)
        out[x] = qRgb(int(sums[4 * x + 2] >> 24), int(sums[4 * x + 1] >> 24), int(sums[4 * x] >> 24));
#endif
}

} // namespace kovra::rendering
