#pragma once
// LoadPicture: decodes a picture file or its bytes into a drawable QImage.
// The format is chosen by the leading bytes alone, never by the file name:
// BMP, JPEG, PNG, icon, cursor, GIF and PCX. Decoders trust no size in the
// file: truncated, inconsistent or hostile data fails with a one-line reason.

#include "codec/decoded_picture.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace kovra::codec {

// minSize: when valid and the picture is larger, the decoder may decode at a
// reduced scale (JPEG does, by DCT scaling; PNG, by shrinking its rows by a
// whole factor as they are decoded) as long as the returned image,
// stretched to the fitted size (the picture scaled, aspect kept, to fit inside
// minSize), loses nothing: image width >= fitted width and image height >=
// fitted height. width/height always stay the picture's true size, upright
// (an EXIF orientation that turns the picture trades them).
LoadedPicture LoadPicture(const QByteArray& bytes, QSize minSize = QSize());
// As above from a file; error names why the file could not be read.
LoadedPicture LoadPicture(const QString& path, QSize minSize = QSize());
// As above with the decoder's options (the size, a row observer, a stop
// flag); the limits stay the program's.
LoadedPicture LoadPicture(const QString& path, const DecodeOptions& options);

// The formats LoadPicture tells apart by their leading bytes.
// PcxMono: one bit per pixel, in one plane (black and white) or in up to four
// (EGA colours); PcxPalette16: 2 or 4 bits per pixel (CGA and 16 colours).
enum class PictureFormat { Unknown, Bmp, Jpeg, Png, Icon, Cursor, Gif, Pcx256, PcxMono, PcxPalette16 };
PictureFormat SniffPictureFormat(QByteArrayView bytes);

} // namespace kovra::codec
