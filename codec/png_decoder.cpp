#include "codec/png_decoder.h"

#include "codec/orientation.h"

#include <QIODevice>
#include <QtEndian>

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace kovra::codec {

namespace {

constexpr qint64 kSignatureSize = 8;
// Reduction factors stay small enough for 32-bit sums of 8-bit channels.
constexpr int kMaxReduction = 1024;

// Everything the libpng callbacks and the error jump touch lives here, so no
// C++ object is created between setjmp and a longjmp.
struct PngJob : RowReportingDecode {
    // The bytes: a block of memory, or a device read piece by piece.
    const uchar* data = nullptr;
    QIODevice* device = nullptr;
    qint64 size = 0;
    qint64 at = 0;
    bool ranOut = false;
    // Where the next chunk's length and type are read.
    qint64 nextChunk = kSignatureSize;
    bool chunkTooLong = false;
    char message[256] = {};

    std::vector<png_bytep> rows; // interlaced pictures: every row of the image
    std::vector<QRgb> row;       // reduced pictures: one decoded row
    std::vector<quint32> sums;   // reduced pictures: b, g, r sums of one output row
};

// libpng reads every chunk's length and type with one 8-byte read at the
// chunk's start, before it allocates the chunk's data: a chunk longer than
// what is left of the file is refused there. Only the end mark may be short;
// the pixels are all there by then.
void checkChunkHeader(png_structp png, PngJob& job, const uchar* header)
{
    const qint64 length = qFromBigEndian<quint32>(header);
    const bool end = std::memcmp(header + 4, "IEND", 4) == 0;
    if (!end && length > job.size - job.at - 12) {
        job.chunkTooLong = true;
        std::snprintf(job.message, sizeof job.message, "a chunk of %lld bytes, %lld left", static_cast<long long>(length),
                      static_cast<long long>(qMax<qint64>(0, job.size - job.at - 12)));
        png_longjmp(png, 1);
    }
    job.nextChunk = job.at + 12 + length;
}

void readData(png_structp png, png_bytep out, png_size_t length)
{
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (qint64(length) > job->size - job->at) {
        job->ranOut = true;
        png_error(png, "the data ends early");
    }
    if (job->device) {
        if (job->device->read(reinterpret_cast<char*>(out), qint64(length)) != qint64(length)) {
            job->ranOut = true;
            png_error(png, "the file could not be read to its end");
        }
    } else {
        std::memcpy(out, job->data + job->at, length);
    }
    const bool chunkHeader = job->at == job->nextChunk && length == 8;
    if (chunkHeader)
        checkChunkHeader(png, *job, out);
    job->at += qint64(length);
}

void onError(png_structp png, png_const_charp message)
{
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    std::strncpy(job->message, message ? message : "", sizeof job->message - 1);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Deflate turns two bits into at most 258 bytes: a picture needing more
// bytes than that could never come from this much data.
bool plausibleFromData(qint64 width, qint64 height, int bitsPerPixel, qint64 dataSize)
{
    const qint64 bytes = (width * height / 8) * bitsPerPixel;
    return bytes <= dataSize * 1032 + 4096;
}

// The IHDR's size against the limits and against what the data could hold,
// checked before libpng starts, which might first stumble over what follows.
QString checkPictureHeader(const uchar* d, qint64 size, const DecodeOptions& options)
{
    const qint64 width = qFromBigEndian<quint32>(d + 16);
    const qint64 height = qFromBigEndian<quint32>(d + 20);
    const int depth = d[24];
    const int channels = d[25] == 2 ? 3 : d[25] == 4 ? 2 : d[25] == 6 ? 4 : 1;
    if (QString e = CheckPictureSize(width, height, options); !e.isEmpty())
        return e;
    if (depth > 0 && depth <= 16 && !plausibleFromData(width, height, depth * channels, size))
        return QStringLiteral("truncated PNG data (%1 x %2 pixels cannot come from %3 bytes)")
            .arg(width)
            .arg(height)
            .arg(size);
    return {};
}

// The largest whole factor the rows may be shrunk by as they arrive: the
// reduced picture still covers the size it will be fitted to.
int reductionFactor(int width, int height, const PngJob& job)
{
    if (!job.options.minSize.isValid())
        return 1;
    const bool swap = OrientationSwapsSides(job.orientation);
    QSize fitted = FittedPictureSize(swap ? height : width, swap ? width : height, job.options.minSize);
    if (swap)
        fitted.transpose();
    if (fitted.isEmpty())
        return 1;
    return qBound(1, qMin(width / fitted.width(), height / fitted.height()), kMaxReduction);
}

// Adds one decoded row to the sums of its output row, k pixels to a column,
// the last column taking what is left. Channels: 1 (8-bit grey), 3 (8-bit
// RGB, as stored in the file) or 4 (QImage words, flattened and opaque).
template <int Channels>
void addRow(const uchar* src, int width, int k, quint32* sums)
{
    for (int x = 0; x < width; x += k, sums += 3) {
        const int end = qMin(width, x + k);
        quint32 b = 0, g = 0, r = 0;
        for (int i = x; i < end; ++i) {
            if constexpr (Channels == 1) {
                b += src[i];
            } else if constexpr (Channels == 3) {
                r += src[3 * i];
                g += src[3 * i + 1];
                b += src[3 * i + 2];
            } else {
                const QRgb p = reinterpret_cast<const QRgb*>(src)[i];
                b += p & 0xFF;
                g += (p >> 8) & 0xFF;
                r += (p >> 16) & 0xFF;
            }
        }
        if constexpr (Channels == 1)
            g = r = b;
        sums[0] += b;
        sums[1] += g;
        sums[2] += r;
    }
}

// The averages of the sums into one output row of rows source rows.
void emitRow(const quint32* sums, int width, int k, int rows, QRgb* out)
{
    const int outWidth = (width + k - 1) / k;
    for (int x = 0; x < outWidth; ++x, sums += 3) {
        const quint32 n = quint32(qMin(k, width - x * k)) * quint32(rows);
        out[x] = qRgb(int((sums[2] + n / 2) / n), int((sums[1] + n / 2) / n), int((sums[0] + n / 2) / n));
    }
}

void reportRows(PngJob& job, int rows)
{
    if (!job.options.rowObserver || job.orientation != 1)
        return;
    job.observing = true;
    job.options.rowObserver->rowsDecoded(job.image, job.width, job.height, rows);
}

// A decode no longer wanted ends at its next row.
void checkStop(png_structp png, PngJob& job)
{
    if (!job.options.stopped())
        return;
    job.stopped = true;
    png_error(png, "stopped");
}

// How the rows are read: whole or shrunk k times, and as what.
struct RowLayout {
    bool alpha = false;
    bool interlaced = false;
    int k = 1;           // the whole factor rows are shrunk by
    bool rawRgb = false; // rows summed as the file holds them (8-bit RGB or grey)
    bool rawGrey = false;
    int channels = 4;    // bytes per pixel of a read row
};

// The reading set up to the picture's header; false with job.error set when
// its size may not be decoded (the reader is then left to the caller).
bool readHeader(png_structp png, png_infop info, PngJob& job)
{
    png_set_read_fn(png, &job, readData);
    png_set_chunk_malloc_max(png, 8 * 1024 * 1024);
    if (job.options.ignoreChecksums) {
        png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#ifdef PNG_IGNORE_ADLER32
        png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
    }
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int bitsPerPixel = png_get_channels(png, info) * png_get_bit_depth(png, info);
    job.error = CheckPictureSize(width, height, job.options);
    if (job.error.isEmpty() && !plausibleFromData(width, height, bitsPerPixel, job.size))
        job.error = QStringLiteral("truncated PNG data (%1 x %2 pixels cannot come from %3 bytes)")
                        .arg(width)
                        .arg(height)
                        .arg(job.size);
    if (!job.error.isEmpty())
        return false;
#ifdef PNG_eXIf_SUPPORTED
    png_uint_32 exifSize = 0;
    png_bytep exif = nullptr;
    if (png_get_eXIf_1(png, info, &exifSize, &exif) && exif)
        job.orientation = ExifOrientation(QByteArrayView(exif, qsizetype(exifSize)));
#endif
    job.width = int(width);
    job.height = int(height);
    return true;
}

// Interlaced rows come in seven passes over the whole picture: those
// pictures are decoded whole. The others are read row by row, shrunk as
// they come when the picture is to be fitted smaller, transparency laid
// over white at once.
RowLayout chooseLayout(png_structp png, png_infop info, const PngJob& job)
{
    const int colourType = png_get_color_type(png, info);
    const bool eightBits = png_get_bit_depth(png, info) == 8;
    RowLayout layout;
    layout.alpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    layout.interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    layout.k = layout.interlaced ? 1 : reductionFactor(job.width, job.height, job);
    // Rows to be shrunk from opaque 8-bit RGB or grey are summed as the file
    // holds them; every other layout is widened to QImage's words first.
    const bool summedRaw = layout.k > 1 && !layout.alpha && eightBits;
    layout.rawRgb = summedRaw && colourType == PNG_COLOR_TYPE_RGB;
    layout.rawGrey = summedRaw && colourType == PNG_COLOR_TYPE_GRAY;
    layout.channels = layout.rawRgb ? 3 : layout.rawGrey ? 1 : 4;
    return layout;
}

// The libpng transforms that give rows of layout.
void setTransforms(png_structp png, png_infop info, const RowLayout& layout, png_uint_32 width)
{
    if (layout.channels == 4) {
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        // Rows straight into QImage's 0xAARRGGBB words.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        png_set_bgr(png);
        if (!layout.alpha)
            png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
#else
        if (layout.alpha)
            png_set_swap_alpha(png);
        else
            png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
#endif
    }
    if (layout.interlaced)
        png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != png_size_t(width) * png_size_t(layout.channels))
        png_error(png, "unexpected row layout");
}

void readWholeRows(png_structp png, PngJob& job, const RowLayout& layout)
{
    for (int y = 0; y < job.height; ++y) {
        checkStop(png, job);
        auto* line = reinterpret_cast<QRgb*>(job.image.scanLine(y));
        png_read_row(png, reinterpret_cast<png_bytep>(line), nullptr);
        if (layout.alpha)
            FlattenRowOverWhite(line, job.width);
        reportRows(job, y + 1);
    }
}

void readShrunkRows(png_structp png, PngJob& job, const RowLayout& layout)
{
    const int k = layout.k;
    job.row.resize(size_t(job.width));
    job.sums.assign(size_t(job.image.width()) * 3, 0);
    for (int y = 0; y < job.height; ++y) {
        checkStop(png, job);
        png_read_row(png, reinterpret_cast<png_bytep>(job.row.data()), nullptr);
        const auto* bytes = reinterpret_cast<const uchar*>(job.row.data());
        if (layout.rawRgb) {
            addRow<3>(bytes, job.width, k, job.sums.data());
        } else if (layout.rawGrey) {
            addRow<1>(bytes, job.width, k, job.sums.data());
        } else {
            if (layout.alpha)
                FlattenRowOverWhite(job.row.data(), job.width);
            addRow<4>(bytes, job.width, k, job.sums.data());
        }
        const int rowsIn = y % k + 1;
        if (rowsIn == k || y == job.height - 1) {
            const int outY = y / k;
            emitRow(job.sums.data(), job.width, k, rowsIn, reinterpret_cast<QRgb*>(job.image.scanLine(outY)));
            std::fill(job.sums.begin(), job.sums.end(), 0u);
            reportRows(job, outY + 1);
        }
    }
}

// The picture's rows into job.image; false when memory for it is lacking.
bool readRows(png_structp png, png_infop info, PngJob& job)
{
    const RowLayout layout = chooseLayout(png, info, job);
    const auto width = png_uint_32(job.width);
    setTransforms(png, info, layout, width);
    const int outWidth = (job.width + layout.k - 1) / layout.k;
    const int outHeight = (job.height + layout.k - 1) / layout.k;
    const bool keepsAlpha = layout.interlaced && layout.alpha;
    job.image = QImage(outWidth, outHeight, keepsAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (job.image.isNull())
        return false;
    if (layout.interlaced) {
        job.rows.resize(size_t(job.height));
        for (int y = 0; y < job.height; ++y)
            job.rows[size_t(y)] = job.image.scanLine(y);
        png_read_image(png, job.rows.data());
    } else if (layout.k == 1) {
        readWholeRows(png, job, layout);
    } else {
        readShrunkRows(png, job, layout);
    }
    return true;
}

// The reason of a decode that jumped out of libpng.
QString failureReason(const PngJob& job)
{
    if (job.stopped)
        return StoppedReason();
    if (job.chunkTooLong)
        return QStringLiteral("truncated PNG data (%1)").arg(QString::fromLatin1(job.message));
    if (job.ranOut || std::strstr(job.message, "Not enough image data"))
        return QStringLiteral("truncated PNG data");
    return QStringLiteral("corrupted PNG data (%1)").arg(QString::fromLatin1(job.message));
}

// Returns false with job.error set, or true with job.image filled.
bool readPng(PngJob& job)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        job.error = QStringLiteral("the PNG decoder could not start");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        job.endObserving(false);
        job.error = failureReason(job);
        job.image = QImage();
        return false;
    }
    if (!readHeader(png, info, job)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    if (!readRows(png, info, job)) {
        png_destroy_read_struct(&png, &info, nullptr);
        job.error = QStringLiteral("not enough memory for the picture (%1 x %2 pixels)").arg(job.width).arg(job.height);
        return false;
    }
    // What follows the pixels (text, the end mark) is not needed.
    png_destroy_read_struct(&png, &info, nullptr);
    job.endObserving(true);
    return true;
}

LoadedPicture decode(PngJob& job, const uchar* head, qint64 headSize)
{
    if (headSize < kSignatureSize || png_sig_cmp(head, 0, kSignatureSize) != 0)
        return PictureError(QStringLiteral("not a PNG file"));
    if (headSize >= 26 && std::memcmp(head + 12, "IHDR", 4) == 0) {
        if (QString e = checkPictureHeader(head, job.size, job.options); !e.isEmpty())
            return PictureError(e);
    }
    if (!readPng(job))
        return PictureError(job.error);
    return UprightPicture(job.image, job.orientation, job.width, job.height);
}

} // namespace

LoadedPicture DecodePng(QByteArrayView data, const DecodeOptions& options)
{
    PngJob job;
    job.data = reinterpret_cast<const uchar*>(data.data());
    job.size = data.size();
    job.options = options;
    return decode(job, job.data, job.size);
}

LoadedPicture DecodePng(QIODevice& device, const DecodeOptions& options)
{
    PngJob job;
    job.device = &device;
    job.size = device.size() - device.pos();
    job.options = options;
    const QByteArray head = device.peek(26);
    return decode(job, reinterpret_cast<const uchar*>(head.constData()), head.size());
}

} // namespace kovra::codec
