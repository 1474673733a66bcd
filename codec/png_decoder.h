#pragma once
// PNG through libpng, every colour type and bit depth. Rows are read one at a
// time: with options.minSize a picture larger than its fitted size is shrunk
// by a whole factor as its rows arrive (box averages, transparency laid over
// white first), so memory follows the picture's width, not its area.
// Interlaced pictures are decoded whole. An eXIf orientation is applied.

#include "codec/decoded_picture.h"

class QIODevice;

namespace kovra::codec {

// The decoded picture (Format_RGB32, or Format_ARGB32 when an interlaced one
// has transparency) and its true size, or the reason it cannot be read.
LoadedPicture DecodePng(QByteArrayView data, const DecodeOptions& options = {});
// The same from device, read from its position to its end a piece at a time.
LoadedPicture DecodePng(QIODevice& device, const DecodeOptions& options = {});

} // namespace kovra::codec
