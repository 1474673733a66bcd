#pragma once
// A picture kept small and exact: its colours in a table and one index a
// pixel (one bit where it has two colours, a byte up to 256, else the colour
// itself), compressed. A board of black and white dots takes a few KB, one
// with grey edges or text some tens of KB; unpacked it is the same picture,
// pixel for pixel.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>

namespace kovra::picture {

class PackedImage {
public:
    PackedImage() = default;
    // picture in any format; kept as its RGB32 colours.
    explicit PackedImage(const QImage& picture);

    // The picture again, Format_RGB32; null for a null picture.
    QImage unpack() const;
    bool isNull() const { return m_size.isEmpty(); }
    // Bytes held, for the history's own accounting.
    qsizetype bytes() const { return m_data.size() + m_palette.size() * qsizetype(sizeof(QRgb)); }

private:
    QSize m_size;
    QList<QRgb> m_palette; // empty: the colours themselves are stored
    int m_bitsPerPixel = 0;
    QByteArray m_data;     // compressed rows
};

} // namespace kovra::picture
