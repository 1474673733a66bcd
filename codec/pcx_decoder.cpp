#include "codec/pcx_decoder.h"

#include "image/little_endian.h"

#include <QVector>

#include <algorithm>

namespace kovra::codec {

using image::ReadLe16;

namespace {

constexpr qint64 kHeaderSize = 128;
constexpr qint64 kPaletteSize = 769; // 0x0C and 256 RGB triples

// The run-length stream: a byte with both top bits set repeats the next byte
// (its low six bits) times; any other byte stands for itself. Runs may cross
// row ends, so one reader serves the whole picture.
class RunReader {
public:
    RunReader(const uchar* p, qint64 size)
        : m_p(p)
        , m_size(size)
    {
    }
    // Fills out with n bytes; false when the data ends first.
    bool read(uchar* out, qint64 n)
    {
        qint64 filled = 0;
        while (filled < n) {
            if (m_count == 0) {
                if (m_at >= m_size)
                    return false;
                const uchar b = m_p[m_at++];
                if ((b & 0xC0) == 0xC0) {
                    if (m_at >= m_size)
                        return false;
                    m_count = b & 0x3F;
                    m_value = m_p[m_at++];
                    continue;
                }
                m_count = 1;
                m_value = b;
            }
            const qint64 take = qMin<qint64>(m_count, n - filled);
            std::fill(out + filled, out + filled + take, m_value);
            filled += take;
            m_count -= int(take);
        }
        return true;
    }

private:
    const uchar* m_p;
    qint64 m_size;
    qint64 m_at = 0;
    int m_count = 0;
    uchar m_value = 0;
};

// The 16 colours a PCX of version 0 or 3 means: those files carry no
// palette of their own.
const QRgb kStandardPalette[16] = {
    qRgb(0, 0, 0),       qRgb(0, 0, 170),     qRgb(0, 170, 0),     qRgb(0, 170, 170),
    qRgb(170, 0, 0),     qRgb(170, 0, 170),   qRgb(170, 85, 0),    qRgb(170, 170, 170),
    qRgb(85, 85, 85),    qRgb(85, 85, 255),   qRgb(85, 255, 85),   qRgb(85, 255, 255),
    qRgb(255, 85, 85),   qRgb(255, 85, 255),  qRgb(255, 255, 85),  qRgb(255, 255, 255),
};

// The header's 16-entry palette (bytes 16-63), or the standard one.
QVector<QRgb> headerPalette(const uchar* d)
{
    const int version = d[1];
    QVector<QRgb> palette(16);
    for (int i = 0; i < 16; ++i)
        palette[i] = version == 0 || version == 3 ? kStandardPalette[i]
                                                  : qRgb(d[16 + 3 * i], d[17 + 3 * i], d[18 + 3 * i]);
    return palette;
}

enum class Layout { Mono, Indexed, Rgb, Planar, Packed, Unsupported };

Layout layoutOf(int bpp, int planes)
{
    if (bpp == 1 && planes == 1)
        return Layout::Mono;
    if (bpp == 8 && planes == 1)
        return Layout::Indexed;
    if (bpp == 8 && planes == 3)
        return Layout::Rgb;
    // EGA: one bit per plane, the planes giving the bits of a palette index.
    if (bpp == 1 && planes >= 2 && planes <= 4)
        return Layout::Planar;
    // CGA (2 bits) and 4-bit pixels packed into one plane.
    if ((bpp == 2 || bpp == 4) && planes == 1)
        return Layout::Packed;
    return Layout::Unsupported;
}

} // namespace

namespace {

// What the 128-byte header says.
struct PcxHeader {
    int bpp = 0;
    int planes = 0;
    Layout layout = Layout::Unsupported;
    qint64 width = 0;
    qint64 height = 0;
    qint64 bytesPerLine = 0; // of each plane
};

// An error text, or empty with header filled.
QString readHeader(const uchar* d, qint64 size, const DecodeOptions& options, PcxHeader& header)
{
    if (size < kHeaderSize)
        return QStringLiteral("truncated PCX data (%1 bytes, the header alone is 128)").arg(size);
    if (d[0] != 0x0A || d[2] != 1)
        return QStringLiteral("not a run-length coded PCX file");
    header.bpp = d[3];
    header.planes = d[65];
    header.layout = layoutOf(header.bpp, header.planes);
    if (header.layout == Layout::Unsupported)
        return QStringLiteral("unsupported PCX layout (%1 bits per pixel in %2 planes)").arg(header.bpp).arg(header.planes);
    header.width = qint64(ReadLe16(d + 8)) - ReadLe16(d + 4) + 1;
    header.height = qint64(ReadLe16(d + 10)) - ReadLe16(d + 6) + 1;
    if (QString e = CheckPictureSize(header.width, header.height, options); !e.isEmpty())
        return e;
    header.bytesPerLine = ReadLe16(d + 66);
    if (header.bytesPerLine * 8 < header.width * header.bpp)
        return QStringLiteral("inconsistent PCX data (%1 bytes per line for %2 pixels)")
            .arg(header.bytesPerLine)
            .arg(header.width);
    return {};
}

// The palette the layout uses, and where the coded rows end (before the
// 256-colour palette at the end of the file); an error text when it is missing.
QString readPalette(const uchar* d, qint64 size, const PcxHeader& header, QVector<QRgb>& palette, qint64& encodedEnd)
{
    encodedEnd = size;
    if (header.layout == Layout::Indexed) {
        if (size < kHeaderSize + kPaletteSize || d[size - kPaletteSize] != 0x0C)
            return QStringLiteral("truncated PCX data (the 256-colour palette at the end is missing)");
        encodedEnd = size - kPaletteSize;
        const uchar* p = d + encodedEnd + 1;
        palette.resize(256);
        for (int i = 0; i < 256; ++i)
            palette[i] = qRgb(p[3 * i], p[3 * i + 1], p[3 * i + 2]);
    } else if (header.layout == Layout::Planar || header.layout == Layout::Packed) {
        palette = headerPalette(d);
    }
    return {};
}

inline int bitAt(const uchar* row, qint64 x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }

// One decoded line of every plane into the picture's row.
void decodeRow(const uchar* line, const PcxHeader& h, const QVector<QRgb>& palette, QRgb* dst)
{
    switch (h.layout) {
    case Layout::Mono:
        for (qint64 x = 0; x < h.width; ++x)
            dst[x] = bitAt(line, x) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        break;
    case Layout::Indexed:
        for (qint64 x = 0; x < h.width; ++x)
            dst[x] = palette[line[x]];
        break;
    case Layout::Rgb: {
        const uchar* r = line;
        const uchar* g = line + h.bytesPerLine;
        const uchar* b = line + 2 * h.bytesPerLine;
        for (qint64 x = 0; x < h.width; ++x)
            dst[x] = qRgb(r[x], g[x], b[x]);
        break;
    }
    case Layout::Planar:
        for (qint64 x = 0; x < h.width; ++x) {
            int index = 0;
            for (int p = 0; p < h.planes; ++p)
                index |= bitAt(line + p * h.bytesPerLine, x) << p;
            dst[x] = palette[index];
        }
        break;
    case Layout::Packed: {
        const int perByte = 8 / h.bpp;
        const int mask = (1 << h.bpp) - 1;
        for (qint64 x = 0; x < h.width; ++x) {
            const int shift = 8 - h.bpp * int(x % perByte + 1);
            dst[x] = palette[(line[x / perByte] >> shift) & mask];
        }
        break;
    }
    case Layout::Unsupported: break;
    }
}

} // namespace

LoadedPicture DecodePcx(QByteArrayView data, const DecodeOptions& options)
{
    const auto* d = reinterpret_cast<const uchar*>(data.data());
    const qint64 size = data.size();
    PcxHeader h;
    if (QString e = readHeader(d, size, options, h); !e.isEmpty())
        return PictureError(e);
    qint64 encodedEnd = size;
    QVector<QRgb> palette;
    if (QString e = readPalette(d, size, h, palette, encodedEnd); !e.isEmpty())
        return PictureError(e);
    // Two coded bytes give at most 63 pixels' bytes: refuse before allocating
    // what the data could never fill.
    const qint64 lineBytes = h.bytesPerLine * h.planes;
    const qint64 encoded = encodedEnd - kHeaderSize;
    if (lineBytes * h.height > encoded * 32 + 64)
        return PictureError(QStringLiteral("truncated PCX data (%1 x %2 pixels from %3 bytes)")
                                .arg(h.width)
                                .arg(h.height)
                                .arg(encoded));

    QImage image(int(h.width), int(h.height), QImage::Format_RGB32);
    if (image.isNull())
        return PictureError(QStringLiteral("not enough memory for the picture (%1 x %2 pixels)").arg(h.width).arg(h.height));
    QByteArray lineBuffer(qsizetype(lineBytes), '\0');
    auto* line = reinterpret_cast<uchar*>(lineBuffer.data());
    RunReader reader(d + kHeaderSize, encoded);
    for (qint64 y = 0; y < h.height; ++y) {
        if (!reader.read(line, lineBytes))
            return PictureError(QStringLiteral("truncated PCX data (row %1 of %2 is cut short)").arg(y + 1).arg(h.height));
        decodeRow(line, h, palette, reinterpret_cast<QRgb*>(image.scanLine(int(y))));
    }
    LoadedPicture out;
    out.image = std::move(image);
    out.width = int(h.width);
    out.height = int(h.height);
    return out;
}

} // namespace kovra::codec
