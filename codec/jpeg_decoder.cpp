#include "codec/jpeg_decoder.h"

#include "codec/orientation.h"

#include <csetjmp>
#include <cstdio>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <type_traits>
#include <vector>

#include <QIODevice>

#include <jerror.h>
#include <jpeglib.h>

namespace kovra::codec {

namespace {

// A hostile progressive file can hold thousands of tiny scans; real ones have a dozen.
constexpr int kMaxScans = 500;

// Huffman coding spends at least one bit on every 8 × 8 block of every
// component (the code of its DC difference). Arithmetic coding can spend
// less; it is rare, and a file that claims more than 512 blocks a byte is
// taken for what it almost surely is, a header over nothing.
constexpr double kHuffmanBlocksPerByte = 8;
constexpr double kArithmeticBlocksPerByte = 512;

struct JpegJob : RowReportingDecode {
    jpeg_error_mgr errors{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
    bool tooManyScans = false;
    bool endAdded = false;     // the file lacked its end marker; one was added
    bool scanCutShort = false; // a scan's data ended before its pixels did
    std::vector<JSAMPLE> cmykRow;
};

// The job rides in the library's client data (jpeg_create_decompress keeps it).
JpegJob* jobOf(j_common_ptr cinfo) { return static_cast<JpegJob*>(cinfo->client_data); }

void onErrorExit(j_common_ptr cinfo)
{
    JpegJob* job = jobOf(cinfo);
    (*cinfo->err->format_message)(cinfo, job->message);
    std::longjmp(job->jump, 1);
}

// Warnings are not printed. A scan whose data stops early (at the end of
// the data or at a marker) is noted, because the library then fills the
// rest of the picture with grey and calls it a success.
void onEmitMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && (cinfo->err->msg_code == JWRN_JPEG_EOF || cinfo->err->msg_code == JWRN_HIT_MARKER))
        jobOf(cinfo)->scanCutShort = true;
}

// Called as the library works through the scans and rows: a decode no
// longer wanted ends here.
void onProgress(j_common_ptr cinfo)
{
    auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    JpegJob* job = jobOf(cinfo);
    if (dinfo->input_scan_number > kMaxScans) {
        job->tooManyScans = true;
        std::longjmp(job->jump, 1);
    }
    if (job->options.stopped()) {
        job->stopped = true;
        std::longjmp(job->jump, 1);
    }
}

// The smallest DCT scale whose output still covers the fitted size. Only
// 1/8, 2/8, 4/8 and 8/8 are tried: the library has fast (SIMD) inverse
// transforms for those alone, and a plain C 7/8 decode of a small picture
// costs more than the full-size one.
void chooseScale(jpeg_decompress_struct& cinfo, const DecodeOptions& options, int orientation)
{
    if (!options.minSize.isValid())
        return;
    // Fitted upright, the size the stored rows must cover turned back.
    const bool swap = OrientationSwapsSides(orientation);
    const int w = int(cinfo.image_width), h = int(cinfo.image_height);
    QSize fitted = FittedPictureSize(swap ? h : w, swap ? w : h, options.minSize);
    if (swap)
        fitted.transpose();
    for (unsigned n : {1u, 2u, 4u, 8u}) {
        cinfo.scale_num = n;
        cinfo.scale_denom = 8;
        jpeg_calc_output_dimensions(&cinfo);
        if (int(cinfo.output_width) >= fitted.width() && int(cinfo.output_height) >= fitted.height())
            return;
    }
}

// The orientation of the first APP1 block that holds EXIF data.
int exifOrientation(const jpeg_decompress_struct& cinfo)
{
    static const char kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1 && m->data_length > 6 && std::memcmp(m->data, kExif, 6) == 0)
            return ExifOrientation(QByteArrayView(m->data + 6, qsizetype(m->data_length - 6)));
    }
    return 1;
}

// An error text when the header's picture is more than the data could hold.
QString checkData(const jpeg_decompress_struct& cinfo, qint64 size)
{
    double blocks = 0;
    for (int i = 0; i < cinfo.num_components; ++i)
        blocks += double(cinfo.comp_info[i].width_in_blocks) * double(cinfo.comp_info[i].height_in_blocks);
    if (blocks <= 0)
        return {};
    const double pixels = double(cinfo.image_width) * double(cinfo.image_height);
    const double blocksPerByte = cinfo.arith_code ? kArithmeticBlocksPerByte : kHuffmanBlocksPerByte;
    return CheckPictureData(cinfo.image_width, cinfo.image_height, size, blocksPerByte * pixels / blocks, "JPEG");
}

void cmykToRgb(const JSAMPLE* src, QRgb* dst, JDIMENSION width, bool adobeInverted)
{
    for (JDIMENSION x = 0; x < width; ++x) {
        int c = src[4 * x], m = src[4 * x + 1], y = src[4 * x + 2], k = src[4 * x + 3];
        if (!adobeInverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        dst[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// The reason of a decode that jumped out of the library.
QString failureReason(const JpegJob& job)
{
    if (job.stopped)
        return StoppedReason();
    if (job.tooManyScans)
        return QStringLiteral("corrupted JPEG data (more than %1 scans)").arg(kMaxScans);
    if (job.endAdded || job.scanCutShort)
        return QStringLiteral("truncated JPEG data (%1)").arg(QString::fromLatin1(job.message));
    return QStringLiteral("corrupted JPEG data (%1)").arg(QString::fromLatin1(job.message));
}

// The header read and checked, the output set up; false with job.error set.
bool readHeader(jpeg_decompress_struct& cinfo, JpegJob& job, qint64 size)
{
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
        job.error = job.endAdded ? QStringLiteral("truncated JPEG data (no picture)")
                                 : QStringLiteral("corrupted JPEG data (no picture, only tables)");
        return false;
    }
    job.error = CheckPictureSize(cinfo.image_width, cinfo.image_height, job.options);
    if (job.error.isEmpty())
        job.error = checkData(cinfo, size);
    if (!job.error.isEmpty())
        return false;
    job.orientation = exifOrientation(cinfo);
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
#else
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_ARGB;
#endif
    chooseScale(cinfo, job.options, job.orientation);
    return true;
}

// Every output row into job.image, told to the row observer as it comes;
// false with job.error set when memory is lacking or the data ends early.
bool readRows(jpeg_decompress_struct& cinfo, JpegJob& job)
{
    jpeg_start_decompress(&cinfo);
    const JDIMENSION outWidth = cinfo.output_width;
    const JDIMENSION outHeight = cinfo.output_height;
    job.image = QImage(int(outWidth), int(outHeight), QImage::Format_RGB32);
    if (job.image.isNull()) {
        job.error = QStringLiteral("not enough memory for the picture (%1 x %2 pixels)")
                        .arg(cinfo.image_width)
                        .arg(cinfo.image_height);
        return false;
    }
    const bool cmyk = cinfo.out_color_space == JCS_CMYK;
    if (cmyk)
        job.cmykRow.resize(size_t(outWidth) * 4);
    while (cinfo.output_scanline < outHeight) {
        const int y = int(cinfo.output_scanline);
        JSAMPROW row = cmyk ? job.cmykRow.data() : reinterpret_cast<JSAMPROW>(job.image.scanLine(y));
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            break;
        if (cmyk)
            cmykToRgb(job.cmykRow.data(), reinterpret_cast<QRgb*>(job.image.scanLine(y)), outWidth,
                      cinfo.saw_Adobe_marker);
        // Rows that are not upright yet cannot be fitted as they come.
        if (job.options.rowObserver && job.orientation == 1) {
            job.observing = true;
            job.options.rowObserver->rowsDecoded(job.image, int(cinfo.image_width), int(cinfo.image_height), y + 1);
        }
    }
    const bool complete = cinfo.output_scanline == outHeight;
    job.width = int(cinfo.image_width);
    job.height = int(cinfo.image_height);
    job.endObserving(complete && !job.scanCutShort);
    if (!complete || job.scanCutShort) {
        job.image = QImage();
        job.error = job.endAdded || !complete
            ? QStringLiteral("truncated JPEG data")
            : QStringLiteral("corrupted JPEG data (the data of a scan ends early)");
        return false;
    }
    return true;
}

// A file read a piece at a time into one small buffer, never whole: the
// data that follows the header is the bulk of a big photo. Its bytes are
// followed by an end marker when it lacks one, like the bytes of a file read
// whole, and at its end the library is told so the way its own memory source
// does (a warning and an end marker of its own).
struct DeviceSource {
    static constexpr qint64 kPiece = 64 * 1024;
    jpeg_source_mgr manager{};
    QIODevice* device = nullptr;
    bool endToAdd = false;
    std::vector<JOCTET> buffer;

    void attach(jpeg_decompress_struct& cinfo)
    {
        buffer.resize(size_t(kPiece));
        manager.init_source = [](j_decompress_ptr) {};
        manager.fill_input_buffer = fill;
        manager.skip_input_data = skip;
        manager.resync_to_restart = jpeg_resync_to_restart;
        manager.term_source = [](j_decompress_ptr) {};
        cinfo.src = &manager;
    }
    // The library hands back the manager, the first member.
    static DeviceSource& of(j_decompress_ptr cinfo) { return *reinterpret_cast<DeviceSource*>(cinfo->src); }
    static boolean fill(j_decompress_ptr cinfo)
    {
        static const JOCTET kEnd[2] = {0xFF, JPEG_EOI};
        DeviceSource& source = of(cinfo);
        // A failed read ends the data here; the caller asks the device why.
        const qint64 got = source.device->read(reinterpret_cast<char*>(source.buffer.data()), kPiece);
        if (got > 0) {
            source.manager.next_input_byte = source.buffer.data();
            source.manager.bytes_in_buffer = size_t(got);
            return TRUE;
        }
        if (!source.endToAdd)
            WARNMS(cinfo, JWRN_JPEG_EOF);
        source.endToAdd = false;
        source.manager.next_input_byte = kEnd;
        source.manager.bytes_in_buffer = 2;
        return TRUE;
    }
    static void skip(j_decompress_ptr cinfo, long count)
    {
        jpeg_source_mgr& manager = of(cinfo).manager;
        while (count > long(manager.bytes_in_buffer)) {
            count -= long(manager.bytes_in_buffer);
            fill(cinfo);
        }
        if (count > 0) {
            manager.next_input_byte += count;
            manager.bytes_in_buffer -= size_t(count);
        }
    }
};

static_assert(std::is_standard_layout_v<DeviceSource> && offsetof(DeviceSource, manager) == 0,
              "the library's source manager pointer is the DeviceSource itself");

// Decodes what setSource hands the library (size bytes in all).
template <typename SetSource>
bool readJpeg(JpegJob& job, qint64 size, SetSource setSource)
{
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.client_data = &job;
    cinfo.err = jpeg_std_error(&job.errors);
    job.errors.error_exit = onErrorExit;
    job.errors.emit_message = onEmitMessage;
    if (setjmp(job.jump)) {
        jpeg_destroy_decompress(&cinfo);
        job.endObserving(false);
        job.image = QImage();
        job.error = failureReason(job);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    job.progress.progress_monitor = onProgress;
    cinfo.progress = &job.progress;
    // Whole-image buffers of progressive files stay within the picture budget.
    cinfo.mem->max_memory_to_use = long(qBound<qint64>(64 << 20, job.options.maxPixels * 8, qint64(3) << 30));
    setSource(cinfo);
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    // What follows the last scan is not needed.
    const bool ok = readHeader(cinfo, job, size) && readRows(cinfo, job);
    jpeg_destroy_decompress(&cinfo);
    return ok;
}

} // namespace

LoadedPicture DecodeJpeg(QByteArrayView data, const DecodeOptions& options)
{
    if (data.size() < 4 || uchar(data[0]) != 0xFF || uchar(data[1]) != 0xD8)
        return PictureError(QStringLiteral("not a JPEG file"));
    JpegJob job;
    job.options = options;
    // Without an end marker the library would read past the last scan into
    // nothing and could not tell a complete scan from a cut one; with one
    // added, a cut scan runs into the marker and says so.
    QByteArray ended;
    if (!data.endsWith("\xFF\xD9")) {
        ended = data.toByteArray() + QByteArray("\xFF\xD9", 2);
        data = ended;
        job.endAdded = true;
    }
    const auto* bytes = reinterpret_cast<const uchar*>(data.data());
    const auto fromMemory = [&](jpeg_decompress_struct& cinfo) {
        jpeg_mem_src(&cinfo, bytes, static_cast<unsigned long>(data.size()));
    };
    if (!readJpeg(job, data.size(), fromMemory))
        return PictureError(job.error);
    return UprightPicture(job.image, job.orientation, job.width, job.height);
}

LoadedPicture DecodeJpeg(QIODevice& device, const DecodeOptions& options)
{
    const qint64 start = device.pos();
    const qint64 size = device.size() - start;
    const QByteArray head = device.peek(2);
    if (size < 4 || head.size() < 2 || uchar(head[0]) != 0xFF || uchar(head[1]) != 0xD8)
        return PictureError(QStringLiteral("not a JPEG file"));
    JpegJob job;
    job.options = options;
    if (!device.seek(start + size - 2))
        return PictureError(QStringLiteral("truncated JPEG data"));
    job.endAdded = device.read(2) != QByteArrayView("\xFF\xD9");
    if (!device.seek(start))
        return PictureError(QStringLiteral("truncated JPEG data"));
    DeviceSource source;
    source.device = &device;
    source.endToAdd = job.endAdded;
    const auto fromDevice = [&](jpeg_decompress_struct& cinfo) { source.attach(cinfo); };
    if (!readJpeg(job, size + (job.endAdded ? 2 : 0), fromDevice))
        return PictureError(job.error);
    return UprightPicture(job.image, job.orientation, job.width, job.height);
}

} // namespace kovra::codec
