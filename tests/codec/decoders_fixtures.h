#pragma once
// Small picture files written by hand for the decoder and bitmap tests.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QVector>
#include <QtEndian>

#include <functional>

namespace kovra::test {

// Distinct colours for palette entries: entry i of every palette the tests write.
inline QRgb rainbow(int i) { return qRgb((i * 37) & 0xFF, (i * 91 + 40) & 0xFF, (i * 13 + 200) & 0xFF); }

inline QVector<QRgb> rainbowPalette(int n)
{
    QVector<QRgb> p;
    for (int i = 0; i < n; ++i)
        p.append(rainbow(i));
    return p;
}

class ByteWriter {
public:
    ByteWriter& u8(int v)
    {
        m_bytes.append(char(uchar(v)));
        return *this;
    }
    ByteWriter& u16(int v)
    {
        u8(v & 0xFF);
        return u8((v >> 8) & 0xFF);
    }
    ByteWriter& u32(quint32 v)
    {
        u16(int(v & 0xFFFF));
        return u16(int(v >> 16));
    }
    ByteWriter& i32(qint32 v) { return u32(quint32(v)); }
    ByteWriter& bytes(const QByteArray& b)
    {
        m_bytes.append(b);
        return *this;
    }
    ByteWriter& zeros(int n)
    {
        m_bytes.append(QByteArray(n, '\0'));
        return *this;
    }
    QByteArray& data() { return m_bytes; }
    int size() const { return int(m_bytes.size()); }

private:
    QByteArray m_bytes;
};

// What goes into a hand-made BMP file.
struct BmpSpec {
    int width = 1;
    int height = 1;
    int bpp = 24;
    int headerSize = 40;       // 12 (core), 40, 108 (V4), 124 (V5)
    quint32 compression = 0;
    bool topDown = false;
    QVector<QRgb> palette;     // written as 3-byte entries for a core header
    QVector<quint32> masks;    // red, green, blue[, alpha]: in the V4/V5 header or after a 40-byte one
    quint32 colourCount = 0;
    // Raw value of pixel (x, y), y from the top: an index, a 16/32-bit word, or 0xRRGGBB.
    std::function<quint32(int, int)> pixel;
    QByteArray rleData;        // replaces the rows when compression is 1 or 2
    QByteArray trailer;        // appended after the rows (an icon's AND mask)
    bool iconDib = false;      // no file header, height doubled
};

inline QByteArray bmpRows(const BmpSpec& s)
{
    const int stride = ((s.width * s.bpp + 31) / 32) * 4;
    QByteArray rows;
    for (int fileRow = 0; fileRow < s.height; ++fileRow) {
        const int y = s.topDown ? fileRow : s.height - 1 - fileRow;
        QByteArray row(stride, '\0');
        auto* r = reinterpret_cast<uchar*>(row.data());
        for (int x = 0; x < s.width; ++x) {
            const quint32 v = s.pixel ? s.pixel(x, y) : 0;
            switch (s.bpp) {
            case 1: r[x / 8] |= uchar((v & 1) << (7 - x % 8)); break;
            case 4: r[x / 2] |= uchar((v & 15) << (x % 2 ? 0 : 4)); break;
            case 8: r[x] = uchar(v); break;
            case 16: qToLittleEndian<quint16>(quint16(v), r + 2 * x); break;
            case 24:
                r[3 * x] = uchar(v);
                r[3 * x + 1] = uchar(v >> 8);
                r[3 * x + 2] = uchar(v >> 16);
                break;
            case 32: qToLittleEndian<quint32>(v, r + 4 * x); break;
            default: break; // depths no decoder knows: rows stay zero
            }
        }
        rows.append(row);
    }
    return rows;
}

inline QByteArray makeBmp(const BmpSpec& s)
{
    ByteWriter info;
    const int height = s.iconDib ? s.height * 2 : (s.topDown ? -s.height : s.height);
    if (s.headerSize == 12) {
        info.u32(12).u16(s.width).u16(height).u16(1).u16(s.bpp);
    } else {
        const QByteArray pixels = s.rleData.isEmpty() ? bmpRows(s) : s.rleData;
        info.u32(quint32(s.headerSize)).i32(s.width).i32(height).u16(1).u16(s.bpp).u32(s.compression);
        info.u32(quint32(pixels.size())).i32(2835).i32(2835).u32(s.colourCount).u32(0);
        if (s.headerSize >= 108) {
            for (int i = 0; i < 4; ++i)
                info.u32(i < s.masks.size() ? s.masks[i] : 0);
            info.zeros(s.headerSize - 56);
        } else if (!s.masks.isEmpty()) {
            for (quint32 m : s.masks)
                info.u32(m);
        }
    }
    for (QRgb c : s.palette) {
        info.u8(qBlue(c)).u8(qGreen(c)).u8(qRed(c));
        if (s.headerSize != 12)
            info.u8(0);
    }
    const QByteArray pixels = s.rleData.isEmpty() ? bmpRows(s) : s.rleData;
    if (s.iconDib)
        return info.data() + pixels + s.trailer;
    ByteWriter file;
    const int offset = 14 + info.size();
    file.u8('B').u8('M').u32(quint32(offset + pixels.size())).u32(0).u32(quint32(offset));
    return file.data() + info.data() + pixels + s.trailer;
}

// A PCX file: pixel(x, y) gives an index (8 bits; up to 4 bits in 1 to 4
// planes of 1 bit, plane p holding bit p), 0/1 (mono) or 0xRRGGBB (3 planes).
// palette: the 256 colours after the rows (8 bits), or the header's 16
// (fewer than 8 bits in all).
inline QByteArray makePcx(int width, int height, int bpp, int planes, int version,
                          const std::function<quint32(int, int)>& pixel, const QVector<QRgb>& palette = {},
                          int bytesPerLine = -1)
{
    if (bytesPerLine < 0)
        bytesPerLine = ((width * bpp + 15) / 16) * 2;
    ByteWriter w;
    w.u8(0x0A).u8(version).u8(1).u8(bpp).u16(0).u16(0).u16(width - 1).u16(height - 1).u16(72).u16(72);
    for (int i = 0; i < 16; ++i) {
        const QRgb c = bpp * planes < 8 && i < palette.size() ? palette[i] : qRgb(0, 0, 0);
        w.u8(qRed(c)).u8(qGreen(c)).u8(qBlue(c));
    }
    w.u8(0).u8(planes).u16(bytesPerLine).u16(1).zeros(58);
    for (int y = 0; y < height; ++y) {
        QByteArray line;
        for (int p = 0; p < planes; ++p) {
            QByteArray plane(bytesPerLine, '\0');
            for (int x = 0; x < width && x * bpp / 8 < bytesPerLine; ++x) {
                const quint32 v = pixel(x, y);
                if (bpp < 8) {
                    const quint32 bits = bpp == 1 ? (v >> p) & 1 : v & ((1u << bpp) - 1);
                    const int shift = 8 - bpp - (x * bpp) % 8;
                    plane[x * bpp / 8] = char(uchar(plane[x * bpp / 8]) | (bits << shift));
                } else {
                    plane[x] = char(planes == 3 ? (v >> (16 - 8 * p)) & 0xFF : v);
                }
            }
            line.append(plane);
        }
        // Runs of equal bytes, and a run of one for bytes that look like counts.
        for (int i = 0; i < line.size();) {
            int run = 1;
            while (i + run < line.size() && run < 63 && line[i + run] == line[i])
                ++run;
            const uchar v = uchar(line[i]);
            if (run > 1 || (v & 0xC0) == 0xC0)
                w.u8(0xC0 | run);
            w.u8(v);
            i += run;
        }
    }
    if (bpp == 8 && planes == 1) {
        w.u8(0x0C);
        for (int i = 0; i < 256; ++i) {
            const QRgb c = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
            w.u8(qRed(c)).u8(qGreen(c)).u8(qBlue(c));
        }
    }
    return w.data();
}

// An icon or cursor file from (width byte, colour-count byte, picture bytes) entries.
struct IconEntry {
    int widthByte;
    int colourCount;
    QByteArray picture;
};

inline QByteArray makeIcon(const QVector<IconEntry>& entries, int type = 1)
{
    ByteWriter w;
    w.u16(0).u16(type).u16(int(entries.size()));
    quint32 offset = 6 + 16 * quint32(entries.size());
    for (const IconEntry& e : entries) {
        w.u8(e.widthByte).u8(e.widthByte).u8(e.colourCount).u8(0).u16(1).u16(32);
        w.u32(quint32(e.picture.size())).u32(offset);
        offset += quint32(e.picture.size());
    }
    for (const IconEntry& e : entries)
        w.bytes(e.picture);
    return w.data();
}

// An icon's bitmap: width × width, 4 bits, pixels all palette entry 1 of
// `colour`; the AND mask marks the pixels for which transparent(x, y) holds.
inline QByteArray makeIconDib(int size, QRgb colour, const std::function<bool(int, int)>& transparent = {})
{
    BmpSpec s;
    s.width = s.height = size;
    s.bpp = 4;
    s.palette = QVector<QRgb>(16, qRgb(0, 0, 0));
    s.palette[1] = colour;
    s.pixel = [](int, int) { return 1u; };
    s.iconDib = true;
    const int maskStride = ((size + 31) / 32) * 4;
    QByteArray mask;
    for (int fileRow = 0; fileRow < size; ++fileRow) {
        const int y = size - 1 - fileRow;
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < size; ++x)
            if (transparent && transparent(x, y))
                row[x / 8] = char(uchar(row[x / 8]) | (0x80 >> (x % 8)));
        mask.append(row);
    }
    s.trailer = mask;
    return makeBmp(s);
}

// QImage's own writer, for PNG, JPEG and BMP test files.
inline QByteArray encodeWithQt(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

} // namespace kovra::test
