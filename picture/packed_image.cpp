#include "picture/packed_image.h"

#include <QHash>

namespace kovra::picture {

namespace {

constexpr int kMaxPalette = 256;

// The colours of picture, in the order met; empty when there are more than 256.
QList<QRgb> paletteOf(const QImage& picture, QHash<QRgb, int>& index)
{
    QList<QRgb> palette;
    QRgb last = 0;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            // Most pixels repeat the one before them.
            if (line[x] == last && !palette.isEmpty())
                continue;
            last = line[x];
            if (index.contains(last))
                continue;
            if (palette.size() == kMaxPalette)
                return {};
            index.insert(line[x], int(palette.size()));
            palette.append(line[x]);
        }
    }
    return palette;
}

} // namespace

PackedImage::PackedImage(const QImage& picture)
{
    if (picture.isNull())
        return;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    m_size = rgb.size();
    QHash<QRgb, int> index;
    m_palette = paletteOf(rgb, index);
    m_bitsPerPixel = m_palette.isEmpty() ? 32 : m_palette.size() <= 2 ? 1 : 8;
    const int width = m_size.width();
    const int rowBytes = m_bitsPerPixel == 32 ? width * 4 : m_bitsPerPixel == 8 ? width : (width + 7) / 8;
    QByteArray raw(qsizetype(rowBytes) * m_size.height(), '\0');
    for (int y = 0; y < m_size.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        auto* out = reinterpret_cast<uchar*>(raw.data()) + qsizetype(y) * rowBytes;
        if (m_bitsPerPixel == 32) {
            memcpy(out, line, size_t(rowBytes));
            continue;
        }
        QRgb last = line[0];
        int i = index.value(last);
        for (int x = 0; x < width; ++x) {
            if (line[x] != last) {
                last = line[x];
                i = index.value(last);
            }
            if (m_bitsPerPixel == 8)
                out[x] = uchar(i);
            else if (i)
                out[x / 8] |= uchar(0x80 >> (x % 8));
        }
    }
    m_data = qCompress(raw);
}

QImage PackedImage::unpack() const
{
    if (isNull())
        return {};
    const QByteArray raw = qUncompress(m_data);
    const int width = m_size.width();
    const int rowBytes = m_bitsPerPixel == 32 ? width * 4 : m_bitsPerPixel == 8 ? width : (width + 7) / 8;
    if (raw.size() != qsizetype(rowBytes) * m_size.height())
        return {};
    QImage picture(m_size, QImage::Format_RGB32);
    for (int y = 0; y < m_size.height(); ++y) {
        const auto* in = reinterpret_cast<const uchar*>(raw.constData()) + qsizetype(y) * rowBytes;
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        if (m_bitsPerPixel == 32) {
            memcpy(line, in, size_t(rowBytes));
            continue;
        }
        for (int x = 0; x < width; ++x) {
            const int i = m_bitsPerPixel == 8 ? in[x] : (in[x / 8] >> (7 - x % 8)) & 1;
            line[x] = m_palette.value(i);
        }
    }
    return picture;
}

} // namespace kovra::picture
