#pragma once
// JPEG through libjpeg; with options.minSize it decodes at the smallest DCT
// scale that still covers the fitted size. An EXIF orientation is applied, so
// a portrait photo stands upright.

#include "codec/decoded_picture.h"

class QIODevice;

namespace kovra::codec {

// The decoded picture (Format_RGB32, or Format_ARGB32 when it has transparency)
// and its true size, or the reason it cannot be read.
LoadedPicture DecodeJpeg(QByteArrayView data, const DecodeOptions& options = {});
// The same from device (a file: it seeks to look at the end), read from its
// position to its end a piece at a time, so a big photo's bytes are never
// all in memory at once.
LoadedPicture DecodeJpeg(QIODevice& device, const DecodeOptions& options = {});

} // namespace kovra::codec
