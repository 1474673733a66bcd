#include "image/gif_decoder.h"

#include <gif_lib.h>

#include <cstring>
#include <vector>

namespace kovra::image {

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

QString gifError(int code, const GifSource& source)
{
    if (source.ranOut || code == D_GIF_ERR_READ_FAILED || code == D_GIF_ERR_EOF_TOO_SOON)
        return QStringLiteral("truncated GIF data");
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
    while (true) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) == GIF_ERROR)
            return PictureError(gifError(gif->Error, source));
        if (type == TERMINATE_RECORD_TYPE)
            return PictureError(QStringLiteral("the GIF file holds no picture"));
        if (type == EXTENSION_RECORD_TYPE) {
            if (!readExtension(gif, transparent))
                return PictureError(gifError(gif->Error, source));
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            return PictureError(QStringLiteral("corrupted GIF data (unknown block)"));
        if (DGifGetImageDesc(gif) == GIF_ERROR)
            return PictureError(gifError(gif->Error, source));
        break;
    }

    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (!map || map->ColorCount <= 0 || !map->Colors)
        return PictureError(QStringLiteral("corrupted GIF data (no colour table)"));
    if (frame.Width <= 0 || frame.Height <= 0 || frame.Left < 0 || frame.Top < 0)
        return PictureError(QStringLiteral("corrupted GIF data (frame of %1 x %2 pixels)").arg(frame.Width).arg(frame.Height));
    // The picture is the logical screen, grown when the first frame reaches past it.
    const qint64 width = qMax<qint64>(gif->SWidth, qint64(frame.Left) + frame.Width);
    const qint64 height = qMax<qint64>(gif->SHeight, qint64(frame.Top) + frame.Height);
    if (QString e = CheckPictureSize(width, height, options); !e.isEmpty())
        return PictureError(e);

    QImage image(int(width), int(height), QImage::Format_ARGB32);
    if (image.isNull())
        return PictureError(QStringLiteral("not enough memory for the picture (%1 x %2 pixels)").arg(width).arg(height));
    image.fill(0); // uncovered screen is transparent
    std::vector<QRgb> colours(256, qRgb(0, 0, 0));
    for (int i = 0; i < qMin(map->ColorCount, 256); ++i)
        colours[size_t(i)] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
    if (transparent >= 0 && transparent < 256)
        colours[size_t(transparent)] = 0;

    std::vector<GifPixelType> line(size_t(frame.Width));
    const auto drawRow = [&](int row) {
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(frame.Top + row)) + frame.Left;
        for (int x = 0; x < frame.Width; ++x)
            dst[x] = colours[line[size_t(x)]];
    };
    if (frame.Interlace) {
        static const int kStart[4] = {0, 4, 2, 1};
        static const int kStep[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass) {
            for (int row = kStart[pass]; row < frame.Height; row += kStep[pass]) {
                if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR)
                    return PictureError(gifError(gif->Error, source));
                drawRow(row);
            }
        }
    } else {
        for (int row = 0; row < frame.Height; ++row) {
            if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR)
                return PictureError(gifError(gif->Error, source));
            drawRow(row);
        }
    }

    LoadedPicture out;
    out.image = std::move(image);
    out.width = int(width);
    out.height = int(height);
    return out;
}

} // namespace kovra::image
