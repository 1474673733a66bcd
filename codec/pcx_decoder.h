#pragma once
// PCX: 8 bits per pixel with the trailing 256-colour palette (or 3 planes of
// true colour), monochrome, and the 4- and 16-colour layouts (EGA planes, CGA
// and 4-bit pixels) with the palette in the header.

#include "codec/decoded_picture.h"

namespace kovra::codec {

// The decoded picture (Format_RGB32, or Format_ARGB32 when it has transparency)
// and its true size, or the reason it cannot be read.
LoadedPicture DecodePcx(QByteArrayView data, const DecodeOptions& options = {});

} // namespace kovra::codec
