#pragma once
// GIF through giflib: the first frame on the logical screen, its transparent
// colour kept as alpha.

#include "codec/decoded_picture.h"

namespace kovra::codec {

// The decoded picture (Format_RGB32, or Format_ARGB32 when it has transparency)
// and its true size, or the reason it cannot be read.
LoadedPicture DecodeGif(QByteArrayView data, const DecodeOptions& options = {});

} // namespace kovra::codec
