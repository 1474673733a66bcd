#include "rendering/black_white.h"

#include "rendering/reused_image.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kovra::rendering {

void BlackWhiteRow(const QRgb* in, QRgb* out, int width, int darkSum)
{
    int x = 0;
#ifdef __SSE2__
    // Four pixels at a time: their bytes widened to 16 bits, blue + green
    // and red summed by a multiply-add (alpha weighs 0), the pairs added by
    // a second one; light where the sum is above the dark limit.
    const __m128i zero = _mm_setzero_si128();
    const __m128i colourWeights = _mm_set_epi16(0, 1, 1, 1, 0, 1, 1, 1);
    const __m128i ones = _mm_set1_epi16(1);
    const __m128i darkLimit = _mm_set1_epi32(darkSum);
    const __m128i alpha = _mm_set1_epi32(int(0xFF000000u));
    for (; x + 4 <= width; x += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
        const __m128i low = _mm_madd_epi16(_mm_unpacklo_epi8(pixels, zero), colourWeights);
        const __m128i high = _mm_madd_epi16(_mm_unpackhi_epi8(pixels, zero), colourWeights);
        const __m128i sums = _mm_madd_epi16(_mm_packs_epi32(low, high), ones);
        const __m128i light = _mm_cmpgt_epi32(sums, darkLimit);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_or_si128(light, alpha));
    }
#endif
    for (; x < width; ++x) {
        const QRgb c = in[x];
        const int sum = int(((c >> 16) & 0xff) + ((c >> 8) & 0xff) + (c & 0xff));
        // All ones when light: white; else only the alpha byte: black.
        const quint32 light = quint32((darkSum - sum) >> 31);
        out[x] = 0xFF000000u | (light & 0x00FFFFFFu);
    }
}

QImage RenderBlackWhite(const QImage& fitted, int darkSum)
{
    if (fitted.isNull())
        return QImage();
    const QImage src = AsRgb32(fitted);
    const int w = src.width();
    const int h = src.height();
    QImage out(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        BlackWhiteRow(reinterpret_cast<const QRgb*>(src.constScanLine(y)), reinterpret_cast<QRgb*>(out.scanLine(y)), w,
                      darkSum);
    return out;
}

} // namespace kovra::rendering
