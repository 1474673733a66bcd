#pragma once
// LoadPicture: decodes a picture file or its bytes into a drawable QImage.
// The format is chosen by the leading bytes alone, never by the file name:
// BMP, JPEG, PNG, icon, cursor, GIF and PCX. Decoders trust no size in the
// file: truncated, inconsistent or hostile data fails with a one-line reason.

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

namespace kovra::image {

struct LoadedPicture {
    QImage image;      // Format_RGB32, transparency already over white; null on failure
    int width = 0;     // the picture's true pixel size, from the same decoder (0,0 on failure)
    int height = 0;
    QString error;     // a clear one-line reason when image is null
    bool ok() const { return !image.isNull(); }
};

class DecodeRowObserver;

// Pictures wider or taller than this are refused.
inline constexpr int kMaxPictureSide = 20000;

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
// As above, reporting decoded rows to observer where the format allows it.
LoadedPicture LoadPicture(const QString& path, QSize minSize, DecodeRowObserver* observer);

// Told by a decoder that fills its picture top to bottom (JPEG, PNG) as rows
// become final, so that work on them can start before the decode ends. Both
// calls come from the decoding thread.
class DecodeRowObserver {
public:
    virtual ~DecodeRowObserver() = default;
    // rows 0 .. rows - 1 of image (its final size; trueWidth × trueHeight is
    // the picture's own size) are final. Read the rows through
    // image.constBits(); never copy image, or the decoder's next write
    // detaches it.
    virtual void rowsDecoded(const QImage& image, int trueWidth, int trueHeight, int rows) = 0;
    // The decode ends, complete or not, after at least one rowsDecoded call;
    // the image may be freed once this returns.
    virtual void decodeEnded(bool complete) = 0;
};

// The formats LoadPicture tells apart by their leading bytes.
// PcxMono: one bit per pixel, in one plane (black and white) or in up to four
// (EGA colours); PcxPalette16: 2 or 4 bits per pixel (CGA and 16 colours).
enum class PictureFormat { Unknown, Bmp, Jpeg, Png, Icon, Cursor, Gif, Pcx256, PcxMono, PcxPalette16 };
PictureFormat SniffPictureFormat(QByteArrayView bytes);

// What one decoder may do; LoadPicture uses the defaults, the fuzz targets a
// smaller pixel budget.
struct DecodeOptions {
    QSize minSize;
    int maxSide = kMaxPictureSide;
    qint64 maxPixels = qint64(kMaxPictureSide) * kMaxPictureSide;
    // Fuzzing only: read PNG chunks whose checksums are wrong, so mutated
    // inputs reach the decoder instead of stopping at the first CRC.
    bool ignoreChecksums = false;
    // Decoders that can report rows as they finish them do so here.
    DecodeRowObserver* rowObserver = nullptr;
};

// The size a width × height picture takes when fitted (aspect kept, truncated,
// never enlarged) into box; the picture's own size when box is not valid.
QSize FittedPictureSize(int width, int height, QSize box);
// An error text when a width × height picture may not be decoded, else empty.
QString CheckPictureSize(qint64 width, qint64 height, const DecodeOptions& options);
// Pictures up to this many pixels (16 MB as RGB32) may be as large as they
// say whatever their data; larger ones must be backed by their data.
inline constexpr qint64 kPixelsWithoutBacking = qint64(1) << 22;
// An error text when a width × height picture is larger than bytes of data
// in a coding that describes at most pixelsPerByte pixels a byte could give
// (beyond kPixelsWithoutBacking), else empty. format names the coding.
QString CheckPictureData(qint64 width, qint64 height, qint64 bytes, double pixelsPerByte, const char* format);
// A failed LoadedPicture with the reason.
LoadedPicture PictureError(const QString& reason);
// The decoded picture of the stored size width x height, turned upright for
// its EXIF orientation (sides traded where it turns a quarter).
LoadedPicture UprightPicture(const QImage& stored, int orientation, int width, int height);
// Composites transparent pixels over white and returns Format_RGB32.
QImage FlattenOverWhite(QImage image);
// The same for one row of width non-premultiplied ARGB32 pixels, in place;
// every pixel comes out opaque.
void FlattenRowOverWhite(QRgb* row, qsizetype width);

} // namespace kovra::image
