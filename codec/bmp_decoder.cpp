#include "codec/bmp_decoder.h"

#include "image/little_endian.h"

#include <QVector>

#include <algorithm>
#include <bit>

namespace kovra::codec {

using image::ReadLe16;
using image::ReadLe32;
using image::ReadLeI32;

namespace {

enum Compression : quint32 { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, Jpeg = 4, Png = 5, AlphaBitFields = 6 };
// OS/2 2.x headers give 3 and 4 other meanings.
enum Os2Compression : quint32 { Os2Huffman = 3, Os2Rle24 = 4 };

// A run code of two bytes paints at most 255 pixels. Real files also end
// rows early and jump over pixels, leaving margins unpainted: a picture may
// hold eight times what its runs alone could paint, and no more.
constexpr double kRunLengthPixelsPerByte = 255.0 / 2 * 8;

constexpr qint64 kFileHeaderSize = 14;

// One colour channel described by a bit mask, scaled to 0..255.
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    quint32 max = 0;

    explicit Channel(quint32 m = 0)
        : mask(m)
    {
        if (m == 0)
            return;
        shift = std::countr_zero(m);
        max = m >> shift;
        // A mask with gaps is read as if its top bits were contiguous.
        if ((quint64(max) & (quint64(max) + 1)) != 0)
            max = quint32((quint64(1) << (32 - std::countl_zero(max))) - 1);
    }
    int value(quint32 pixel) const
    {
        if (max == 0)
            return 0;
        const quint64 v = (pixel & mask) >> shift;
        return int((v * 255 + max / 2) / max);
    }
};

struct DibHeader {
    qint64 headerSize = 0;
    qint64 width = 0;
    qint64 height = 0; // always positive; topDown tells the row order
    bool topDown = false;
    int bpp = 0;
    quint32 compression = Rgb;
    quint32 masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    quint32 colourCount = 0;
    int paletteEntrySize = 4;
    qint64 masksAfterHeader = 0; // bytes of masks following a 40-byte header
    bool os2 = false;            // an OS/2 2.x header (16 or 64 bytes)
};

// OS/2 2.x headers are 64 bytes long, or 16 when they end after the depth
// (the Windows ones are 40, 52, 56, 108 and 124 bytes long).
bool isOs2Header(qint64 size) { return size == 16 || size == 64; }

QString readHeader(const uchar* d, qint64 size, DibHeader& h)
{
    if (size < 4)
        return QStringLiteral("truncated BMP data (no information header)");
    h.headerSize = ReadLe32(d);
    if (h.headerSize == 12) {
        if (size < 12)
            return QStringLiteral("truncated BMP data (information header cut short)");
        h.width = ReadLe16(d + 4);
        h.height = ReadLe16(d + 6);
        h.bpp = ReadLe16(d + 10);
        h.paletteEntrySize = 3;
        return {};
    }
    if ((h.headerSize < 40 && !isOs2Header(h.headerSize)) || h.headerSize > 4096)
        return QStringLiteral("unsupported BMP information header (%1 bytes)").arg(h.headerSize);
    if (size < h.headerSize)
        return QStringLiteral("truncated BMP data (information header cut short)");
    if (h.headerSize < 40) {
        // The short OS/2 2.x header: the fields it leaves out are zero.
        uchar full[40] = {};
        std::copy(d, d + h.headerSize, full);
        h.os2 = true;
        h.width = ReadLeI32(full + 4);
        h.height = ReadLeI32(full + 8);
        h.bpp = ReadLe16(full + 14);
        h.compression = ReadLe32(full + 16);
        h.colourCount = ReadLe32(full + 32);
        return {};
    }
    h.os2 = isOs2Header(h.headerSize);
    h.width = ReadLeI32(d + 4);
    const qint64 rawHeight = ReadLeI32(d + 8);
    h.topDown = rawHeight < 0;
    h.height = rawHeight < 0 ? -rawHeight : rawHeight;
    h.bpp = ReadLe16(d + 14);
    h.compression = ReadLe32(d + 16);
    h.colourCount = ReadLe32(d + 32);
    if (!h.os2 && (h.compression == BitFields || h.compression == AlphaBitFields)) {
        const qint64 maskCount = h.compression == AlphaBitFields ? 4 : 3;
        if (h.headerSize >= 40 + 4 * maskCount) {
            for (int i = 0; i < maskCount; ++i)
                h.masks[i] = ReadLe32(d + 40 + 4 * i);
        } else {
            if (size < 40 + 4 * maskCount)
                return QStringLiteral("truncated BMP data (colour masks missing)");
            for (int i = 0; i < maskCount; ++i)
                h.masks[i] = ReadLe32(d + 40 + 4 * i);
            h.masksAfterHeader = 4 * maskCount;
        }
        // V4 and V5 headers carry an alpha mask too.
        if (maskCount == 3 && h.headerSize >= 56)
            h.masks[3] = ReadLe32(d + 52);
    }
    return {};
}

bool validBpp(int bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32; }

QRgb paletteColour(const QVector<QRgb>& palette, quint32 index)
{
    return index < quint32(palette.size()) ? palette[int(index)] : qRgb(0, 0, 0);
}

// Run-length data into an index per pixel (top row first); pixels the runs
// skip stay transparent.
QString decodeRle(const uchar* p, qint64 size, const DibHeader& h, const QVector<QRgb>& palette, QImage& image)
{
    const bool four = h.compression == Rle4;
    image.fill(0); // transparent
    qint64 x = 0, y = 0; // y counts from the bottom, as the file does
    qint64 i = 0;
    const auto put = [&](quint32 index) {
        if (x < h.width && y < h.height)
            reinterpret_cast<QRgb*>(image.scanLine(int(h.height - 1 - y)))[x] = paletteColour(palette, index);
        ++x;
    };
    while (true) {
        if (i + 2 > size)
            return QStringLiteral("truncated BMP data (run-length data ends before its end mark)");
        const uchar count = p[i];
        const uchar value = p[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k)
                put(four ? ((k & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            return {};
        } else if (value == 2) { // delta
            if (i + 2 > size)
                return QStringLiteral("truncated BMP data (run-length data ends before its end mark)");
            x += p[i];
            y += p[i + 1];
            i += 2;
        } else { // absolute run of `value` pixels, padded to 16 bits
            const qint64 bytes = four ? (value + 1) / 2 : value;
            const qint64 padded = (bytes + 1) & ~qint64(1);
            if (i + padded > size)
                return QStringLiteral("truncated BMP data (run-length data ends before its end mark)");
            for (int k = 0; k < value; ++k)
                put(four ? ((k & 1) ? (p[i + k / 2] & 0x0F) : (p[i + k / 2] >> 4)) : p[i + k]);
            i += padded;
        }
        if (y >= h.height)
            return {}; // past the last row: nothing more can be drawn
    }
}

void decodeRows(const uchar* p, const DibHeader& h, const QVector<QRgb>& palette, bool useAlpha, QImage& image)
{
    const qint64 stride = ((h.width * h.bpp + 31) / 32) * 4;
    const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), alpha(h.masks[3]);
    for (qint64 fileRow = 0; fileRow < h.height; ++fileRow) {
        const uchar* src = p + fileRow * stride;
        const int y = int(h.topDown ? fileRow : h.height - 1 - fileRow);
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        switch (h.bpp) {
        case 1:
            for (qint64 x = 0; x < h.width; ++x)
                dst[x] = paletteColour(palette, (src[x >> 3] >> (7 - (x & 7))) & 1);
            break;
        case 4:
            for (qint64 x = 0; x < h.width; ++x)
                dst[x] = paletteColour(palette, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
            break;
        case 8:
            for (qint64 x = 0; x < h.width; ++x)
                dst[x] = paletteColour(palette, src[x]);
            break;
        case 24:
            for (qint64 x = 0; x < h.width; ++x)
                dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
            break;
        default: { // 16 and 32 bits through the masks
            for (qint64 x = 0; x < h.width; ++x) {
                const quint32 v = h.bpp == 16 ? ReadLe16(src + 2 * x) : ReadLe32(src + 4 * x);
                dst[x] = qRgba(red.value(v), green.value(v), blue.value(v), useAlpha ? alpha.value(v) : 255);
            }
            break;
        }
        }
    }
}

// Files whose alpha channel is all zero mean "no alpha": show them opaque.
bool anyAlpha(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) != 0)
                return true;
    }
    return false;
}

void makeOpaque(QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] |= 0xFF000000u;
    }
}

// The header's coding against what this program reads; an error text, or
// empty when the pixels can be decoded.
QString checkCoding(const DibHeader& h, bool icon)
{
    // Codings this program does not read, named for what they are.
    if (h.os2 && h.compression == Os2Huffman)
        return QStringLiteral("unsupported BMP compression (OS/2 Huffman coding)");
    if (h.os2 && h.compression == Os2Rle24)
        return QStringLiteral("unsupported BMP compression (OS/2 24-bit run-length coding)");
    if (!h.os2 && h.compression == Jpeg)
        return QStringLiteral("unsupported BMP compression (4: the file holds a JPEG picture)");
    if (!h.os2 && h.compression == Png)
        return QStringLiteral("unsupported BMP compression (5: the file holds a PNG picture)");
    if (!validBpp(h.bpp))
        return QStringLiteral("unsupported BMP colour depth (%1 bits per pixel)").arg(h.bpp);
    switch (h.compression) {
    case Rgb: break;
    case Rle8:
        if (h.bpp != 8)
            return QStringLiteral("inconsistent BMP data (8-bit run-length coding at %1 bits)").arg(h.bpp);
        break;
    case Rle4:
        if (h.bpp != 4)
            return QStringLiteral("inconsistent BMP data (4-bit run-length coding at %1 bits)").arg(h.bpp);
        break;
    case BitFields:
    case AlphaBitFields:
        if (h.bpp != 16 && h.bpp != 32)
            return QStringLiteral("inconsistent BMP data (colour masks at %1 bits)").arg(h.bpp);
        break;
    default: return QStringLiteral("unsupported BMP compression (type %1)").arg(h.compression);
    }
    if ((h.compression == Rle8 || h.compression == Rle4) && (h.topDown || icon))
        return QStringLiteral("inconsistent BMP data (top-down run-length rows)");
    return {};
}

// Uncompressed 16- and 32-bit rows, and masks left all zero, read as 5-5-5
// and 8-8-8; an icon's 32-bit rows carry alpha.
void setDefaultMasks(DibHeader& h, bool icon)
{
    if (h.compression != Rgb && (h.masks[0] != 0 || h.masks[1] != 0 || h.masks[2] != 0))
        return;
    if (h.bpp == 16) {
        h.masks[0] = 0x7C00;
        h.masks[1] = 0x03E0;
        h.masks[2] = 0x001F;
    } else if (h.bpp == 32) {
        h.masks[0] = 0xFF0000;
        h.masks[1] = 0x00FF00;
        h.masks[2] = 0x0000FF;
    }
    if (h.compression == Rgb)
        h.masks[3] = icon && h.bpp == 32 ? 0xFF000000u : 0;
}

// Where the colour table and the rows lie.
struct DibLayout {
    qint64 stride = 0;      // bytes of one stored row
    bool rle = false;
    qint64 needed = 0;      // bytes the rows take at least
    qint64 pixelOffset = 0; // where the rows start, relative to the header
};

// The colour table into palette and the rows' place into layout; an error
// text when the data is cut short.
QString readColourTable(const uchar* d, qint64 size, const DibHeader& h, QVector<QRgb>& palette, DibLayout& layout)
{
    // Only palette depths use the table; the others may carry an optional
    // one that is skipped.
    qint64 entries = 0;
    if (h.bpp <= 8) {
        entries = qint64(1) << h.bpp;
        if (h.colourCount > 0 && h.colourCount < quint32(entries))
            entries = h.colourCount;
    } else if (h.colourCount <= 256) {
        entries = h.colourCount;
    }
    const qint64 paletteStart = h.headerSize + h.masksAfterHeader;
    qint64 paletteEnd = paletteStart + entries * h.paletteEntrySize;
    qint64& pixelOffset = layout.pixelOffset;
    // Where the rows start ends the colour table: files (OS/2 ones above all)
    // store only the colours they use, fewer than the depth allows.
    if (h.bpp <= 8 && pixelOffset >= paletteStart + h.paletteEntrySize && pixelOffset < paletteEnd
        && pixelOffset + layout.needed <= size) {
        entries = (pixelOffset - paletteStart) / h.paletteEntrySize;
        paletteEnd = paletteStart + entries * h.paletteEntrySize;
    }
    if (paletteEnd > size)
        return QStringLiteral("truncated BMP data (colour table cut short)");
    if (h.bpp <= 8) {
        palette.resize(int(entries));
        for (int i = 0; i < palette.size(); ++i) {
            const uchar* e = d + paletteStart + qint64(i) * h.paletteEntrySize;
            palette[i] = qRgb(e[2], e[1], e[0]);
        }
    }
    if (pixelOffset < paletteEnd || pixelOffset >= size || pixelOffset + layout.needed > size)
        pixelOffset = paletteEnd; // a missing or wrong offset: rows follow the table
    if (pixelOffset + layout.needed > size)
        return QStringLiteral("truncated BMP data (the rows need %1 bytes, %2 are there)")
            .arg(layout.needed)
            .arg(qMax<qint64>(0, size - pixelOffset));
    if (layout.rle)
        return CheckPictureData(h.width, h.height, size - pixelOffset, kRunLengthPixelsPerByte, "BMP");
    return {};
}

// The pixels into image; transparent tells whether any is not opaque.
QString decodePixels(const uchar* d, qint64 size, const DibHeader& h, const QVector<QRgb>& palette,
                     const DibLayout& layout, QImage& image, bool& transparent)
{
    transparent = layout.rle;
    if (layout.rle)
        return decodeRle(d + layout.pixelOffset, size - layout.pixelOffset, h, palette, image);
    const bool useAlpha = h.masks[3] != 0;
    decodeRows(d + layout.pixelOffset, h, palette, useAlpha, image);
    transparent = useAlpha && anyAlpha(image);
    if (useAlpha && !transparent)
        makeOpaque(image);
    return {};
}

// An icon's AND mask, which follows the colour rows: 1 = transparent.
QString applyAndMask(const uchar* d, qint64 size, const DibHeader& h, const DibLayout& layout, QImage& image)
{
    const qint64 maskStride = ((h.width + 31) / 32) * 4;
    const qint64 maskStart = layout.pixelOffset + layout.stride * h.height;
    if (maskStart + maskStride * (h.height - 1) + (h.width + 7) / 8 > size)
        return QStringLiteral("truncated icon data (the AND mask is cut short)");
    for (qint64 fileRow = 0; fileRow < h.height; ++fileRow) {
        const uchar* mask = d + maskStart + fileRow * maskStride;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(h.height - 1 - fileRow)));
        for (qint64 x = 0; x < h.width; ++x)
            if ((mask[x >> 3] >> (7 - (x & 7))) & 1)
                line[x] = 0;
    }
    return {};
}

// Decodes a DIB: d points at its information header. pixelOffset is where the
// rows start, relative to d, or -1 for "right after the colour table". In an
// icon the height counts the colour rows and the AND mask together.
LoadedPicture decodeDib(const uchar* d, qint64 size, qint64 pixelOffset, bool icon, const DecodeOptions& options)
{
    DibHeader h;
    if (QString e = readHeader(d, size, h); !e.isEmpty())
        return PictureError(e);
    if (icon) {
        h.height /= 2;
        h.topDown = false;
    }
    if (QString e = checkCoding(h, icon); !e.isEmpty())
        return PictureError(e);
    if (QString e = CheckPictureSize(h.width, h.height, options); !e.isEmpty())
        return PictureError(e);
    setDefaultMasks(h, icon);

    DibLayout layout;
    layout.stride = ((h.width * h.bpp + 31) / 32) * 4;
    layout.rle = h.compression == Rle8 || h.compression == Rle4;
    layout.needed = layout.rle ? 2 : layout.stride * (h.height - 1) + (h.width * h.bpp + 7) / 8;
    layout.pixelOffset = pixelOffset;
    QVector<QRgb> palette;
    if (QString e = readColourTable(d, size, h, palette, layout); !e.isEmpty())
        return PictureError(e);

    QImage image(int(h.width), int(h.height), QImage::Format_ARGB32);
    if (image.isNull())
        return PictureError(QStringLiteral("not enough memory for the picture (%1 x %2 pixels)").arg(h.width).arg(h.height));
    bool transparent = false;
    if (QString e = decodePixels(d, size, h, palette, layout, image, transparent); !e.isEmpty())
        return PictureError(e);
    if (icon && !transparent) {
        if (QString e = applyAndMask(d, size, h, layout, image); !e.isEmpty())
            return PictureError(e);
        transparent = true;
    }

    LoadedPicture out;
    out.width = int(h.width);
    out.height = int(h.height);
    if (!transparent)
        image.reinterpretAsFormat(QImage::Format_RGB32);
    out.image = std::move(image);
    return out;
}

} // namespace

LoadedPicture DecodeBmp(QByteArrayView data, const DecodeOptions& options)
{
    const auto* d = reinterpret_cast<const uchar*>(data.data());
    const qint64 size = data.size();
    if (size < kFileHeaderSize + 4)
        return PictureError(QStringLiteral("truncated BMP data (%1 bytes)").arg(size));
    if (d[0] != 'B' || d[1] != 'M')
        return PictureError(QStringLiteral("not a BMP file"));
    const qint64 offset = qint64(ReadLe32(d + 10)) - kFileHeaderSize;
    return decodeDib(d + kFileHeaderSize, size - kFileHeaderSize, offset, false, options);
}

LoadedPicture DecodeIconDib(QByteArrayView dib, const DecodeOptions& options)
{
    return decodeDib(reinterpret_cast<const uchar*>(dib.data()), dib.size(), -1, true, options);
}

} // namespace kovra::codec
