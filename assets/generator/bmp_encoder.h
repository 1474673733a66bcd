#pragma once
// BMP files as the program carries them: uncompressed, 14-byte file header,
// 40-byte information header, a colour table for 1- and 4-bit pictures and
// the rows bottom row first, each padded to 4 bytes. Qt's own writer picks
// the depth itself, so the artwork writes its files here.

#include <QByteArray>
#include <QImage>
#include <QList>

namespace kovra::assets {

// The 16 standard colours in their usual order (black, maroon, green, olive,
// navy, purple, teal, silver, grey, red, lime, yellow, blue, fuchsia, aqua, white).
QList<QRgb> StandardPalette16();

// bitsPerPixel 1 (palette black, white), 4 (the 16 standard colours) or 24.
// Palette pictures take the nearest palette colour for every pixel.
// Returns an empty array for any other depth or a null image.
QByteArray EncodeBmp(const QImage& image, int bitsPerPixel);

} // namespace kovra::assets
