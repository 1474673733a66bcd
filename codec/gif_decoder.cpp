#include "codec/gif_decoder.h"

#include <gif_lib.h>

#include <cstring>
#include <vector>

namespace kovra::codec {

namespace {

struct GifSource {
    const uchar* data = nullptr;
    qint64 size = 0;
    qint64 at = 0;
    bool ranOut = false;
};

int readData(GifFileType* gif, GifByteType* out, int length)
{
    auto* src = static_cast<GifSource*>(gif->UserData);
    const qint64 n = qMax<qint64>(0, qMin<qint64>(length, src->size - src->at));
    if (n < length)
        src->ranOut = true;
    std::memcpy(out, src->data + src->at, size_t(n));
    src->at += n;
    return int(n);
}

// LZW codes are 3 to 12 bits long and stand for at most 4096 pixels each:
// with the table's build-up, no GIF gives more than some 2560 pixels a byte.
constexpr double kLzwPixelsPerByte = 2560;

// giflib's error codes, in words that say what is wrong with the file.
QString gifError(int code, const GifSource& source)
{
    if (source.ranOut)
        return QStringLiteral("truncated GIF data");
    switch (code) {
    case D_GIF_ERR_READ_FAILED:
        // giflib reports an LZW code size past 8 bits as a failed read.
        if (source.at > 0 && source.data[source.at - 1] > 8)
            return QStringLiteral("corrupted GIF data (LZW code size %1, at most 8)").arg(source.data[source.at - 1]);
        return QStringLiteral("corrupted GIF data (unreadable)");
    case D_GIF_ERR_NO_SCRN_DSCR: return QStringLiteral("corrupted GIF data (no screen descriptor)");
    case D_GIF_ERR_NO_IMAG_DSCR: return QStringLiteral("corrupted GIF data (no image descriptor)");
    case D_GIF_ERR_NO_COLOR_MAP: return QStringLiteral("corrupted GIF data (no colour table)");
    case D_GIF_ERR_WRONG_RECORD: return QStringLiteral("corrupted GIF data (unknown block type)");
    case D_GIF_ERR_DATA_TOO_BIG: return QStringLiteral("corrupted GIF data (more pixels than the frame holds)");
    case D_GIF_ERR_NOT_ENOUGH_MEM: return QStringLiteral("not enough memory for the GIF decoder");
    case D_GIF_ERR_IMAGE_DEFECT: return QStringLiteral("corrupted GIF data (bad LZW codes)");
    case D_GIF_ERR_EOF_TOO_SOON:
        return QStringLiteral("truncated GIF data (the frame's codes end before its last pixel)");
    default: break;
    }
    const char* text = GifErrorString(code);
    return QStringLiteral("corrupted GIF data (%1)").arg(QString::fromLatin1(text ? text : "unknown error"));
}

struct GifCloser {
    GifFileType* gif;
    ~GifCloser()
    {
        int ignored = 0;
        DGifCloseFile(gif, &ignored);
    }
};

// Skips an extension's data blocks; a graphic control block names the
// transparent colour of the frame that follows.
bool readExtension(GifFileType* gif, int& transparent)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
        return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
        GraphicsControlBlock control;
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
            transparent = control.TransparentColor;
    }
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            return false;
    }
    return true;
}

// Reads up to the first frame's descriptor, noting its transparent colour;
// an error text when there is none.
QString findFirstFrame(GifFileType* gif, const GifSource& source, int& transparent)
{
    while (true) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            return gifError(gif->Error, source);
        if (type == TERMINATE_RECORD_TYPE)
            return QStringLiteral("the GIF file holds no picture");
        if (type == EXTENSION_RECORD_TYPE) {
            if (!readExtension(gif, transparent))
                return gifError(gif->Error, source);
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            return QStringLiteral("corrupted GIF data (unknown block)");
        if (DGifGetImageDesc(gif) == GIF_ERROR)
            return gifError(gif->Error, source);
        return {};
    }
}

// The frame's colours by index, the transparent one cleared.
std::vector<QRgb> frameColours(const GifFileType* gif, const GifSource& source, int transparent)
{
    std::vector<QRgb> colours(256, qRgb(0, 0, 0));
    const ColorMapObject* map = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
    if (map && map->ColorCount > 0 && map->Colors) {
        for (int i = 0; i < qMin(map->ColorCount, 256); ++i)
            colours[size_t(i)] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
    } else {
        // No colour table at all: the indices are shown as evenly spaced
        // greys, black to white over the range the LZW code size allows (the
        // last byte giflib read).
        const int codeSize = source.at > 0 ? qBound(1, int(source.data[source.at - 1]), 8) : 8;
        const int levels = 1 << codeSize;
        for (int i = 0; i < levels; ++i)
            colours[size_t(i)] = qRgb(i * 255 / (levels - 1), i * 255 / (levels - 1), i * 255 / (levels - 1));
    }
    if (transparent >= 0 && transparent < 256)
        colours[size_t(transparent)] = 0;
    return colours;
}

// The frame's rows into image at the frame's place, interlaced ones in their
// four passes; false when the data breaks off.
bool readFrame(GifFileType* gif, const std::vector<QRgb>& colours, QImage& image)
{
    const GifImageDesc& frame = gif->Image;
    std::vector<GifPixelType> line(size_t(frame.Width));
    const auto readRow = [&](int row) {
        if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR)
            return false;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(frame.Top + row)) + frame.Left;
        for (int x = 0; x < frame.Width; ++x)
            dst[x] = colours[line[size_t(x)]];
        return true;
    };
    if (!frame.Interlace) {
        for (int row = 0; row < frame.Height; ++row)
            if (!readRow(row))
                return false;
        return true;
    }
    static const int kStart[4] = {0, 4, 2, 1};
    static const int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int row = kStart[pass]; row < frame.Height; row += kStep[pass])
            if (!readRow(row))
                return false;
    return true;
}

} // namespace

LoadedPicture DecodeGif(QByteArrayView data, const DecodeOptions& options)
{
    GifSource source{reinterpret_cast<const uchar*>(data.data()), data.size(), 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, readData, &error);
    if (!gif)
        return PictureError(error == D_GIF_ERR_NOT_GIF_FILE ? QStringLiteral("not a GIF file") : gifError(error, source));
    GifCloser closer{gif};

    int transparent = NO_TRANSPARENT_COLOR;
    if (QString e = findFirstFrame(gif, source, transparent); !e.isEmpty())
        return PictureError(e);
    const GifImageDesc& frame = gif->Image;
    if (frame.Width <= 0 || frame.Height <= 0 || frame.Left < 0 || frame.Top < 0)
        return PictureError(
            QStringLiteral("corrupted GIF data (the frame has no pixels: %1 x %2)").arg(frame.Width).arg(frame.Height));
    // The picture is the logical screen, grown when the first frame reaches past it.
    const qint64 width = qMax<qint64>(gif->SWidth, qint64(frame.Left) + frame.Width);
    const qint64 height = qMax<qint64>(gif->SHeight, qint64(frame.Top) + frame.Height);
    if (QString e = CheckPictureSize(width, height, options); !e.isEmpty())
        return PictureError(e);
    if (QString e = CheckPictureData(width, height, source.size, kLzwPixelsPerByte, "GIF"); !e.isEmpty())
        return PictureError(e);

    const std::vector<QRgb> colours = frameColours(gif, source, transparent);
    QImage image(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull())
        return PictureError(QStringLiteral("not enough memory for the picture (%1 x %2 pixels)").arg(width).arg(height));
    image.fill(0); // uncovered screen is transparent
    if (!readFrame(gif, colours, image))
        return PictureError(gifError(gif->Error, source));

    LoadedPicture out;
    out.image = std::move(image);
    out.width = int(width);
    out.height = int(height);
    return out;
}

} // namespace kovra::codec
