#include "codec/ico_decoder.h"

#include "codec/bmp_decoder.h"
#include "codec/png_decoder.h"
#include "image/little_endian.h"

#include <algorithm>

namespace kovra::codec {

using image::ReadLe16;
using image::ReadLe32;

namespace {

constexpr qint64 kDirectoryHeader = 6;
constexpr qint64 kEntrySize = 16;

} // namespace

int ChooseIconEntry(QByteArrayView data)
{
    const auto* d = reinterpret_cast<const uchar*>(data.data());
    if (data.size() < kDirectoryHeader)
        return -1;
    const int count = ReadLe16(d + 4);
    if (count == 0 || data.size() < kDirectoryHeader + kEntrySize * count)
        return -1;
    for (int i = 0; i < count; ++i) {
        const uchar* e = d + kDirectoryHeader + kEntrySize * i;
        if (e[0] == 32 && e[2] >= 16)
            return i;
    }
    return count - 1;
}

LoadedPicture DecodeIcon(QByteArrayView data, const DecodeOptions& options)
{
    const auto* d = reinterpret_cast<const uchar*>(data.data());
    const qint64 size = data.size();
    if (size < kDirectoryHeader || ReadLe16(d) != 0 || (ReadLe16(d + 2) != 1 && ReadLe16(d + 2) != 2))
        return PictureError(QStringLiteral("not an icon or cursor file"));
    const int count = ReadLe16(d + 4);
    if (count == 0)
        return PictureError(QStringLiteral("the icon holds no pictures"));
    const int chosen = ChooseIconEntry(data);
    if (chosen < 0)
        return PictureError(QStringLiteral("truncated icon data (the directory of %1 entries is cut short)").arg(count));

    const uchar* e = d + kDirectoryHeader + kEntrySize * chosen;
    const qint64 offset = ReadLe32(e + 12);
    if (offset < kDirectoryHeader + kEntrySize * count || offset >= size)
        return PictureError(QStringLiteral("inconsistent icon data (picture %1 lies outside the file)").arg(chosen + 1));
    // The length the directory gives is a hint, not a law: writers get it
    // wrong both ways, and the picture's own header says what it needs. It
    // may read on to the end of the file; its decoder says what is missing.
    const qint64 available = size - offset;
    const QByteArrayView picture(d + offset, available);
    static const uchar kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (available >= 8 && std::equal(kPngSignature, kPngSignature + 8, d + offset))
        return DecodePng(picture, options);
    return DecodeIconDib(picture, options);
}

} // namespace kovra::codec
