#pragma once
// What every decoder shares: the decoded picture or the reason it cannot be
// read, the limits a decoder works within, and the checks and finishing
// steps they all use. Decoders include this header alone; the picture
// loader above them chooses one by the file's leading bytes.

#include "image/picture_limits.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>

namespace kovra::codec {

struct LoadedPicture {
    QImage image;      // Format_RGB32, transparency already over white; null on failure
    int width = 0;     // the picture's true pixel size, from the same decoder (0,0 on failure)
    int height = 0;
    QString error;     // a clear one-line reason when image is null
    bool ok() const { return !image.isNull(); }
};

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

using image::kMaxPictureSide;

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
    // Set from another thread when the picture is no longer wanted: the
    // decoders that read row by row stop at the next row.
    const std::atomic<bool>* stop = nullptr;
    bool stopped() const { return stop && stop->load(std::memory_order_relaxed); }
};

// What a decoder that reports its rows keeps while it works: its options,
// the picture and its size so far, and whether the observer is still told.
struct RowReportingDecode {
    DecodeOptions options;
    QImage image;
    QString error;
    int width = 0;
    int height = 0;
    int orientation = 1;    // EXIF orientation, applied after the decode
    bool observing = false; // rows were reported to options.rowObserver
    bool stopped = false;   // options.stop was found set

    // Before the image may go away: the observer stops reading it.
    void endObserving(bool complete)
    {
        if (observing)
            options.rowObserver->decodeEnded(complete);
        observing = false;
    }
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
// The reason a decode that was asked to stop gives.
QString StoppedReason();
// The decoded picture of the stored size width x height, turned upright for
// its EXIF orientation (sides traded where it turns a quarter).
LoadedPicture UprightPicture(const QImage& stored, int orientation, int width, int height);
// Composites transparent pixels over white and returns Format_RGB32.
QImage FlattenOverWhite(QImage image);
// The same for one row of width non-premultiplied ARGB32 pixels, in place;
// every pixel comes out opaque.
void FlattenRowOverWhite(QRgb* row, qsizetype width);

} // namespace kovra::codec
