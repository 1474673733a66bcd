#include "assets/generator/bmp_encoder.h"

#include <QtEndian>

#include <limits>

namespace kovra::assets {

namespace {

void put16(QByteArray& out, int pos, quint16 v)
{
    qToLittleEndian(v, out.data() + pos);
}

void put32(QByteArray& out, int pos, quint32 v)
{
    qToLittleEndian(v, out.data() + pos);
}

int nearestIndex(QRgb c, const QList<QRgb>& palette)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < palette.size(); ++i) {
        const int dr = qRed(c) - qRed(palette[i]);
        const int dg = qGreen(c) - qGreen(palette[i]);
        const int db = qBlue(c) - qBlue(palette[i]);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

} // namespace

QList<QRgb> StandardPalette16()
{
    return {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
}

QByteArray EncodeBmp(const QImage& image, int bitsPerPixel)
{
    QList<QRgb> palette;
    if (bitsPerPixel == 1)
        palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    else if (bitsPerPixel == 4)
        palette = StandardPalette16();
    else if (bitsPerPixel != 24)
        return {};
    if (image.isNull())
        return {};

    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    const int w = src.width();
    const int h = src.height();
    const int rowBytes = ((w * bitsPerPixel + 31) / 32) * 4;
    const int paletteBytes = int(palette.size()) * 4;
    const int dataOffset = 14 + 40 + paletteBytes;
    QByteArray out(dataOffset + rowBytes * h, '\0');

    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, quint32(out.size()));
    put32(out, 10, quint32(dataOffset));
    put32(out, 14, 40);
    put32(out, 18, quint32(w));
    put32(out, 22, quint32(h));
    put16(out, 26, 1);
    put16(out, 28, quint16(bitsPerPixel));
    put32(out, 34, quint32(rowBytes * h));
    put32(out, 38, 3780); // 96 dots per inch
    put32(out, 42, 3780);
    put32(out, 46, quint32(palette.size()));

    for (int i = 0; i < palette.size(); ++i) {
        char* entry = out.data() + 54 + i * 4;
        entry[0] = char(qBlue(palette[i]));
        entry[1] = char(qGreen(palette[i]));
        entry[2] = char(qRed(palette[i]));
    }

    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* row = reinterpret_cast<uchar*>(out.data() + dataOffset + (h - 1 - y) * rowBytes);
        for (int x = 0; x < w; ++x) {
            if (bitsPerPixel == 24) {
                row[x * 3] = uchar(qBlue(line[x]));
                row[x * 3 + 1] = uchar(qGreen(line[x]));
                row[x * 3 + 2] = uchar(qRed(line[x]));
            } else if (bitsPerPixel == 4) {
                const int index = nearestIndex(line[x], palette);
                row[x / 2] |= uchar((x % 2 == 0) ? index << 4 : index);
            } else if (nearestIndex(line[x], palette) == 1) {
                row[x / 8] |= uchar(0x80 >> (x % 8));
            }
        }
    }
    return out;
}

} // namespace kovra::assets
