#pragma once
// JPEG through libjpeg; with options.minSize it decodes at the smallest DCT
// scale that still covers the fitted size. An EXIF orientation is applied, so
// a portrait photo stands upright.

#include "codec/decoded_picture.h"

namespace kovra::codec {

// The decoded picture (Format_RGB32, or Format_ARGB32 when it has transparency)
// and its true size, or the reason it cannot be read.
LoadedPicture DecodeJpeg(QByteArrayView data, const DecodeOptions& options = {});

} // namespace kovra::codec
