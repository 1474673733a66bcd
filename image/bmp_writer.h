#pragma once
// BMP files as this program writes them: the boards' captures, the bitmap
// type's saves and the artwork. Uncompressed: a 14-byte file header, a
// 40-byte information header with a positive height, the colour table, then
// the rows bottom row first, each padded to a multiple of 4 bytes. The
// artwork generator compiles this file into itself, so it needs Qt alone.

#include "image/colour_ref.h"

#include <QByteArray>
#include <QImage>
#include <QVector>

#include <functional>

namespace kovra::image {

struct BmpLayout {
    int width = 0;
    int height = 0;
    int depth = 24;            // bits per pixel: 1, 4, 8, 16, 24 or 32
    QVector<quint32> palette;  // the colour table, 0x00BBGGRR, in this order
    qint32 xPelsPerMeter = 0;
    qint32 yPelsPerMeter = 0;
    quint32 coloursUsed = 0;   // the header's colour count; 0 means a full table
};

// Bytes of one stored row: width pixels of depth bits, padded to 4 bytes.
int BmpStride(int width, int depth);

// The file of layout; fillRow(y, row) writes the stored bytes of picture row
// y (counted from the top) into row, which holds BmpStride bytes, all zero.
// Empty for a layout without pixels.
QByteArray WriteBmp(const BmpLayout& layout, const std::function<void(int y, uchar* row)>& fillRow);

// picture at depth 1 (palette black, white), 4 (the 16 standard colours) or
// 24; palette depths take the nearest palette colour of every pixel. Empty
// for another depth or a null picture.
QByteArray WriteBmp(const QImage& picture, int depth, qint32 pelsPerMeter);

// The 16 standard colours that 4- and 8-bit tables begin with (black,
// maroon, green, olive, navy, purple, teal, silver, grey, red, lime, yellow,
// blue, fuchsia, aqua, white).
const QVector<quint32>& StandardColours16();
// The index of the palette entry nearest to colour by squared RGB distance;
// the first of equals wins.
int NearestColourIndex(const QVector<quint32>& palette, quint32 colour);

} // namespace kovra::image
