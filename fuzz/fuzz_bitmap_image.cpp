// libFuzzer target: the bitmap type's BMP loader, and every operation on what it accepts.
#include "image/bitmap_image.h"
#include "image/bmp_writer.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using kovra::image::BitmapImage;
    BitmapImage img;
    if (!img.LoadFromBmp(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)))) {
        if (!img.isEmpty() || img.lastError().isEmpty())
            std::abort();
        return 0;
    }
    if (qint64(img.stride()) * img.height() != img.bits().size())
        std::abort();
    // Bounded by the input: the rows had to be there.
    BitmapImage again;
    if (!again.LoadFromBmp(img.SaveToBmp()) || again.bits() != img.bits() || again.palette() != img.palette())
        std::abort();
    for (int depth : {1, 4, 8, 16, 24, 32}) {
        const BitmapImage converted = img.ConvertToDepth(depth);
        if (converted.width() != img.width() || converted.height() != img.height())
            std::abort();
    }
    const BitmapImage turned = img.RotateClockwise();
    const BitmapImage mirrored = img.Mirror(true, true);
    if (turned.width() != img.height() || mirrored.bits().size() != img.bits().size())
        std::abort();
    const int x = img.width() - 1, y = img.height() - 1;
    const auto before = img.GetPixel(x, y);
    if (!before || !img.SetPixel(x, y, *before))
        std::abort();
    // A palette image stores the nearest entry (an index past the table reads as black).
    const quint32 expected = img.depth() <= 8
        ? img.palette()[kovra::image::NearestColourIndex(img.palette(), *before)]
        : *before;
    if (img.GetPixel(x, y) != expected)
        std::abort();
    if (img.ToQImage().size() != QSize(img.width(), img.height()))
        std::abort();
    return 0;
}
