#pragma once
// BMP files: 1, 4, 8, 16, 24 and 32 bits, BI_BITFIELDS masks, RLE4 and RLE8,
// bottom-up and top-down rows, core, information, V4 and V5 headers.

#include "codec/decoded_picture.h"

namespace kovra::codec {

// The decoded picture (Format_RGB32, or Format_ARGB32 when it has transparency)
// and its true size, or the reason it cannot be read.
LoadedPicture DecodeBmp(QByteArrayView data, const DecodeOptions& options = {});

// A device-independent bitmap as stored inside an icon or cursor: an
// information header whose height counts the colour rows and the AND mask
// together, the colour table, the colour rows, then the one-bit AND mask
// (1 = transparent).
LoadedPicture DecodeIconDib(QByteArrayView dib, const DecodeOptions& options = {});

} // namespace kovra::codec
