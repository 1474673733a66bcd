#include "image/png_decoder.h"

#include <QtEndian>

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace kovra::image {

namespace {

// Everything the libpng callbacks and the error jump touch lives here, so no
// C++ object is created between setjmp and a longjmp.
struct PngJob {
    const uchar* data = nullptr;
    qint64 size = 0;
    qint64 at = 0;
    bool ranOut = false;
    char message[256] = {};
    DecodeOptions options;
    QImage image;
    std::vector<png_bytep> rows;
    QString error;
    int width = 0;
    int height = 0;
};

void readData(png_structp png, png_bytep out, png_size_t length)
{
    auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
    if (qint64(length) > job->size - job->at) {
        job->ranOut = true;
        png_error(png, "the data ends early");
    }
    std::memcpy(out, job->data + job->at, length);
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

// The IHDR's size against the limits and against what the data could hold.
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

// Checked before libpng starts: the size runs on the IHDR itself, before
// libpng reads on and might first stumble over what follows it.
QString checkHeader(const uchar* d, qint64 size, const DecodeOptions& options)
{
    if (size >= 26 && std::memcmp(d + 12, "IHDR", 4) == 0) {
        if (QString e = checkPictureHeader(d, size, options); !e.isEmpty())
            return e;
    }
    // libpng allocates a chunk's stated length before reading it: every
    // chunk must fit in the data first.
    for (qint64 at = 8; at + 8 <= size;) {
        const qint64 length = qFromBigEndian<quint32>(d + at);
        const bool end = std::memcmp(d + at + 4, "IEND", 4) == 0;
        if (length > size - at - 12) {
            if (end)
                break; // only the end mark is short: the pixels are all there
            return QStringLiteral("truncated PNG data (a chunk of %1 bytes, %2 left)")
                .arg(length)
                .arg(qMax<qint64>(0, size - at - 12));
        }
        if (end)
            break;
        at += length + 12;
    }
    return {};
}

// Returns false with job.error set, or true with job.image filled.
bool readPng(PngJob& job)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, onError, onWarning);
    if (!png) {
        job.error = QStringLiteral("the PNG decoder could not start");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        job.error = QStringLiteral("the PNG decoder could not start");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        if (job.ranOut || std::strstr(job.message, "Not enough image data"))
            job.error = QStringLiteral("truncated PNG data");
        else
            job.error = QStringLiteral("corrupted PNG data (%1)").arg(QString::fromLatin1(job.message));
        job.image = QImage();
        return false;
    }
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
    const int colourType = png_get_color_type(png, info);
    const int bitsPerPixel = png_get_channels(png, info) * png_get_bit_depth(png, info);
    job.error = CheckPictureSize(width, height, job.options);
    if (job.error.isEmpty() && !plausibleFromData(width, height, bitsPerPixel, job.size))
        job.error = QStringLiteral("truncated PNG data (%1 x %2 pixels cannot come from %3 bytes)")
                        .arg(width)
                        .arg(height)
                        .arg(job.size);
    if (!job.error.isEmpty()) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }

    const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, info, PNG_INFO_tRNS);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    // Rows straight into QImage's 0xAARRGGBB words.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    png_set_bgr(png);
    if (!alpha)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
#else
    if (alpha)
        png_set_swap_alpha(png);
    else
        png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
#endif
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != png_size_t(width) * 4)
        png_error(png, "unexpected row layout");

    job.image = QImage(int(width), int(height), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (job.image.isNull()) {
        png_destroy_read_struct(&png, &info, nullptr);
        job.error = QStringLiteral("not enough memory for the picture (%1 x %2 pixels)").arg(width).arg(height);
        return false;
    }
    job.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        job.rows[y] = job.image.scanLine(int(y));
    png_read_image(png, job.rows.data());
    // What follows the pixels (text, the end mark) is not needed.
    png_destroy_read_struct(&png, &info, nullptr);
    job.width = int(width);
    job.height = int(height);
    return true;
}

} // namespace

LoadedPicture DecodePng(QByteArrayView data, const DecodeOptions& options)
{
    if (data.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(data.data()), 0, 8) != 0)
        return PictureError(QStringLiteral("not a PNG file"));
    const auto* d = reinterpret_cast<const uchar*>(data.data());
    if (QString e = checkHeader(d, data.size(), options); !e.isEmpty())
        return PictureError(e);
    PngJob job;
    job.data = reinterpret_cast<const uchar*>(data.data());
    job.size = data.size();
    job.options = options;
    if (!readPng(job))
        return PictureError(job.error);
    LoadedPicture out;
    out.image = std::move(job.image);
    out.width = job.width;
    out.height = job.height;
    return out;
}

} // namespace kovra::image
