#include "codec/orientation.h"

#include "image/little_endian.h"

#include <QtEndian>

#include <algorithm>

namespace kovra::codec {

namespace {

constexpr quint16 kOrientationTag = 0x0112;
constexpr quint16 kTypeShort = 3;
constexpr int kEntrySize = 12;

} // namespace

int ExifOrientation(QByteArrayView tiff)
{
    const auto* d = reinterpret_cast<const uchar*>(tiff.data());
    const qint64 size = tiff.size();
    if (size < 8)
        return 1;
    bool little = false;
    if (d[0] == 'I' && d[1] == 'I')
        little = true;
    else if (!(d[0] == 'M' && d[1] == 'M'))
        return 1;
    // A TIFF block says which byte order its numbers are in.
    const auto u16 = [&](qint64 at) { return little ? image::ReadLe16(d + at) : qFromBigEndian<quint16>(d + at); };
    const auto u32 = [&](qint64 at) { return little ? image::ReadLe32(d + at) : qFromBigEndian<quint32>(d + at); };
    if (u16(2) != 42)
        return 1;
    const qint64 ifd = u32(4);
    if (ifd < 8 || ifd + 2 > size)
        return 1;
    const qint64 count = u16(ifd);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 entry = ifd + 2 + i * kEntrySize;
        if (entry + kEntrySize > size)
            return 1;
        if (u16(entry) != kOrientationTag)
            continue;
        if (u16(entry + 2) != kTypeShort || u32(entry + 4) != 1)
            return 1;
        const int value = u16(entry + 8); // a single short sits at the start of the value field
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

QImage ApplyOrientation(const QImage& stored, int orientation)
{
    if (orientation <= 1 || orientation > 8 || stored.isNull())
        return stored;
    switch (orientation) {
    case 2: return stored.mirrored(true, false);
    case 3: return stored.mirrored(true, true);
    case 4: return stored.mirrored(false, true);
    default: break;
    }
    // 5 to 8: a quarter turn, with or without a mirror. Stored pixel
    // (sx, sy) of a w × h picture lands at (dx, dy) of the h × w result:
    //   5: (sy, sx)            6: (h - 1 - sy, sx)
    //   7: (h - 1 - sy, w - 1 - sx)   8: (sy, w - 1 - sx)
    const QImage source = stored.format() == QImage::Format_RGB32 || stored.format() == QImage::Format_ARGB32
        ? stored
        : stored.convertToFormat(QImage::Format_ARGB32);
    const int w = source.width();
    const int h = source.height();
    QImage out(h, w, source.format());
    if (out.isNull() || source.isNull())
        return QImage();
    uchar* bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    const bool flipX = orientation == 6 || orientation == 7; // dx counts from the right
    const bool flipY = orientation == 7 || orientation == 8; // dy counts from the bottom
    // In tiles, so that both pictures are walked through memory in short strides.
    constexpr int kTile = 64;
    for (int sy0 = 0; sy0 < h; sy0 += kTile) {
        for (int sx0 = 0; sx0 < w; sx0 += kTile) {
            for (int sy = sy0; sy < std::min(h, sy0 + kTile); ++sy) {
                const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(sy));
                const int dx = flipX ? h - 1 - sy : sy;
                for (int sx = sx0; sx < std::min(w, sx0 + kTile); ++sx) {
                    const int dy = flipY ? w - 1 - sx : sx;
                    reinterpret_cast<QRgb*>(bits + stride * dy)[dx] = line[sx];
                }
            }
        }
    }
    return out;
}

} // namespace kovra::codec
