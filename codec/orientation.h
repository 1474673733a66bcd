#pragma once
// The EXIF orientation of a photo: how the stored rows must be turned or
// mirrored to stand upright. Cameras and phones store a portrait photo as a
// landscape one and say so in this tag; JPEG carries it in its APP1 "Exif"
// block, PNG in its eXIf chunk.

#include <QByteArrayView>
#include <QImage>

namespace kovra::codec {

// The orientation tag (1 to 8) of an EXIF block that starts with its TIFF
// header ("II*\0" or "MM\0*"); 1 (as stored) when there is none or the block
// cannot be read.
int ExifOrientation(QByteArrayView tiff);

// True for the orientations that turn the picture a quarter (5 to 8), so
// that its width and height trade places.
inline bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

// The stored picture turned upright for orientation; unchanged for 1 and for
// values outside 1 to 8. A null image when memory runs out.
QImage ApplyOrientation(const QImage& stored, int orientation);

} // namespace kovra::codec
