#include "image/bmp_writer.h"

#include "image/little_endian.h"

#include <climits>

namespace kovra::image {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

void writeHeaders(uchar* p, const BmpLayout& layout, qint64 pixelOffset, qint64 total)
{
    p[0] = 'B';
    p[1] = 'M';
    WriteLe32(p + 2, quint32(total));
    WriteLe32(p + 10, quint32(pixelOffset));
    WriteLe32(p + 14, kInfoHeaderSize);
    WriteLeI32(p + 18, layout.width);
    WriteLeI32(p + 22, layout.height);
    WriteLe16(p + 26, 1);
    WriteLe16(p + 28, quint16(layout.depth));
    WriteLe32(p + 30, 0); // no compression
    WriteLe32(p + 34, quint32(total - pixelOffset));
    WriteLeI32(p + 38, layout.xPelsPerMeter);
    WriteLeI32(p + 42, layout.yPelsPerMeter);
    WriteLe32(p + 46, layout.coloursUsed);
    uchar* entry = p + kFileHeaderSize + kInfoHeaderSize;
    for (quint32 c : layout.palette) {
        entry[0] = uchar(ColourRefBlue(c));
        entry[1] = uchar(ColourRefGreen(c));
        entry[2] = uchar(ColourRefRed(c));
        entry += 4;
    }
}

} // namespace

int BmpStride(int width, int depth)
{
    return int(((qint64(width) * depth + 31) / 32) * 4);
}

QByteArray WriteBmp(const BmpLayout& layout, const std::function<void(int y, uchar* row)>& fillRow)
{
    if (layout.width <= 0 || layout.height <= 0)
        return {};
    const int stride = BmpStride(layout.width, layout.depth);
    const qint64 pixelOffset = kFileHeaderSize + kInfoHeaderSize + qint64(layout.palette.size()) * 4;
    const qint64 total = pixelOffset + qint64(stride) * layout.height;
    QByteArray out(qsizetype(total), '\0');
    auto* p = reinterpret_cast<uchar*>(out.data());
    writeHeaders(p, layout, pixelOffset, total);
    for (int y = 0; y < layout.height; ++y)
        fillRow(y, p + pixelOffset + qint64(layout.height - 1 - y) * stride);
    return out;
}

QByteArray WriteBmp(const QImage& picture, int depth, qint32 pelsPerMeter)
{
    BmpLayout layout;
    if (depth == 1)
        layout.palette = {ColourRef(0, 0, 0), ColourRef(255, 255, 255)};
    else if (depth == 4)
        layout.palette = StandardColours16();
    else if (depth != 24)
        return {};
    if (picture.isNull())
        return {};
    const QImage src = picture.convertToFormat(QImage::Format_RGB32);
    layout.width = src.width();
    layout.height = src.height();
    layout.depth = depth;
    layout.xPelsPerMeter = layout.yPelsPerMeter = pelsPerMeter;
    layout.coloursUsed = quint32(layout.palette.size());
    return WriteBmp(layout, [&](int y, uchar* row) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < layout.width; ++x) {
            if (depth == 24) {
                row[3 * x] = uchar(qBlue(line[x]));
                row[3 * x + 1] = uchar(qGreen(line[x]));
                row[3 * x + 2] = uchar(qRed(line[x]));
                continue;
            }
            const int index = NearestColourIndex(layout.palette, RgbToColourRef(line[x]));
            if (depth == 4)
                row[x / 2] |= uchar(x % 2 == 0 ? index << 4 : index);
            else if (index == 1)
                row[x / 8] |= uchar(0x80 >> (x % 8));
        }
    });
}

const QVector<quint32>& StandardColours16()
{
    static const QVector<quint32> colours = {
        ColourRef(0, 0, 0),       ColourRef(128, 0, 0),   ColourRef(0, 128, 0),   ColourRef(128, 128, 0),
        ColourRef(0, 0, 128),     ColourRef(128, 0, 128), ColourRef(0, 128, 128), ColourRef(192, 192, 192),
        ColourRef(128, 128, 128), ColourRef(255, 0, 0),   ColourRef(0, 255, 0),   ColourRef(255, 255, 0),
        ColourRef(0, 0, 255),     ColourRef(255, 0, 255), ColourRef(0, 255, 255), ColourRef(255, 255, 255),
    };
    return colours;
}

int NearestColourIndex(const QVector<quint32>& palette, quint32 colour)
{
    int best = 0;
    int bestDistance = INT_MAX;
    const int r = ColourRefRed(colour), g = ColourRefGreen(colour), b = ColourRefBlue(colour);
    for (int i = 0; i < palette.size(); ++i) {
        const int dr = r - ColourRefRed(palette[i]);
        const int dg = g - ColourRefGreen(palette[i]);
        const int db = b - ColourRefBlue(palette[i]);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
            if (d == 0)
                break;
        }
    }
    return best;
}

} // namespace kovra::image
