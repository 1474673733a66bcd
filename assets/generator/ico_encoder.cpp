#include "assets/generator/ico_encoder.h"

#include <QBuffer>

namespace kovra::assets {

namespace {

void put16(QByteArray& out, quint16 v)
{
    out.append(char(v & 0xFF)).append(char(v >> 8));
}

void put32(QByteArray& out, quint32 v)
{
    put16(out, quint16(v & 0xFFFF));
    put16(out, quint16(v >> 16));
}

QByteArray pngOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A device-independent bitmap of twice the height (colour rows, then the
// transparency mask, both bottom row first); the alpha channel does the work,
// so the mask stays clear.
QByteArray dibOf(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int side = image.width();
    const int maskRow = ((side + 31) / 32) * 4;
    QByteArray out;
    put32(out, 40);
    put32(out, quint32(side));
    put32(out, quint32(side * 2));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, quint32(side * side * 4 + maskRow * side));
    for (int i = 0; i < 4; ++i)
        put32(out, 0);
    for (int y = side - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < side; ++x)
            out.append(char(qBlue(row[x]))).append(char(qGreen(row[x]))).append(char(qRed(row[x]))).append(char(qAlpha(row[x])));
    }
    out.append(QByteArray(maskRow * side, '\0'));
    return out;
}

} // namespace

QByteArray EncodeIco(const QList<QImage>& pictures)
{
    QList<QByteArray> images;
    for (const QImage& p : pictures) {
        if (p.isNull() || p.width() != p.height() || p.width() > 256)
            return {};
        images.append(p.width() == 256 ? pngOf(p) : dibOf(p));
    }
    QByteArray out;
    put16(out, 0);
    put16(out, 1);
    put16(out, quint16(images.size()));
    quint32 offset = quint32(6 + 16 * images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int side = pictures[i].width();
        out.append(char(side == 256 ? 0 : side)).append(char(side == 256 ? 0 : side));
        out.append(char(0)).append(char(0));
        put16(out, 1);
        put16(out, 32);
        put32(out, quint32(images[i].size()));
        put32(out, offset);
        offset += quint32(images[i].size());
    }
    for (const QByteArray& image : images)
        out += image;
    return out;
}

} // namespace kovra::assets
