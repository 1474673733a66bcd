#include "image/row_stretcher.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kovra::image {

bool RowStretcher::handles(QSize source, QSize target)
{
    // Up to six source rows per output row: the weights then never need more than eight rows.
    return !target.isEmpty() && target.width() < source.width() && target.height() < source.height()
        && source.height() <= 6 * qint64(target.height());
}

RowStretcher::RowStretcher(QSize source, QSize target)
    : m_width(target.width())
    , m_columns(makeTaps(source.width(), target.width()))
    , m_rows(makeTaps(source.height(), target.height()))
    , m_sums(size_t(target.width()) * 4)
{
    for (auto& row : m_averaged)
        row.resize(size_t(m_width) * 4);
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

const quint32* RowStretcher::averagedRow(int sourceRow, const uchar* bits, qsizetype stride)
{
    const int slot = sourceRow % Slots;
    if (m_averagedRow[slot] == sourceRow)
        return m_averaged[slot].data();
    m_averagedRow[slot] = sourceRow;
    quint32* out = m_averaged[slot].data();
    const auto* line = reinterpret_cast<const QRgb*>(bits + stride * sourceRow);
    const int* index = m_columns.index.data();
    const quint32* weight = m_columns.weight.data();
    int k = 0;
    for (int x = 0; x < m_width; ++x) {
#ifdef __SSE2__
        // Each channel widened to 32 bits, times the weight (below 2^15, so
        // one 16-bit multiply-add per channel does it).
        const __m128i zero = _mm_setzero_si128();
        __m128i sum = zero;
        for (const int end = m_columns.end[x]; k < end; ++k) {
            const __m128i pixel = _mm_unpacklo_epi16(
                _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(line[index[k]])), zero), zero);
            sum = _mm_add_epi32(sum, _mm_madd_epi16(pixel, _mm_set1_epi32(int(weight[k]))));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), _mm_srli_epi32(sum, 4));
#else
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
#endif
    }
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
#ifdef __SSE2__
    // Per column: blue and red (lanes 0 and 2) and green and alpha (1 and 3)
    // as two pairs of 64-bit products.
    for (int x = 0; x < n; ++x) {
        __m128i br = _mm_setzero_si128();
        __m128i ga = br;
        for (int t = 0; t < taps; ++t) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[t] + 4 * x));
            const __m128i w = _mm_set1_epi32(int(weights[t]));
            br = _mm_add_epi64(br, _mm_mul_epu32(v, w));
            ga = _mm_add_epi64(ga, _mm_mul_epu32(_mm_srli_epi64(v, 32), w));
        }
        // Each sum is below 2^32; its top byte is the channel.
        const quint32 b = quint32(_mm_cvtsi128_si32(br)) >> 24;
        const quint32 r = quint32(_mm_cvtsi128_si32(_mm_srli_si128(br, 8))) >> 24;
        const quint32 g = quint32(_mm_cvtsi128_si32(ga)) >> 24;
        out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
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

} // namespace kovra::image
