#include "codec/picture_loader.h"

#include "codec/bmp_decoder.h"
#include "codec/decoded_picture.h"
#include "codec/gif_decoder.h"
#include "codec/ico_decoder.h"
#include "codec/jpeg_decoder.h"
#include "codec/pcx_decoder.h"
#include "codec/png_decoder.h"
#include "image/little_endian.h"

#include <QFile>
#include <QFileInfo>

namespace kovra::codec {

namespace {

// Whole files are read into memory; nothing this program can draw is bigger.
constexpr qint64 kMaxFileBytes = qint64(1) << 31;

} // namespace

PictureFormat SniffPictureFormat(QByteArrayView b)
{
    if (b.size() < 8)
        return PictureFormat::Unknown;
    const auto at = [&](int i) { return uchar(b[i]); };
    if (at(0) == 0x42 && at(1) == 0x4D)
        return PictureFormat::Bmp;
    if (at(0) == 0xFF && at(1) == 0xD8)
        return PictureFormat::Jpeg;
    if (at(0) == 0x89 && at(1) == 0x50 && at(2) == 0x4E && at(3) == 0x47)
        return PictureFormat::Png;
    const quint16 imageCount = image::ReadLe16(reinterpret_cast<const uchar*>(b.data()) + 4);
    if (at(0) == 0 && at(1) == 0 && at(3) == 0 && (at(2) == 1 || at(2) == 2) && imageCount != 0)
        return at(2) == 1 ? PictureFormat::Icon : PictureFormat::Cursor;
    if (at(0) == 0x47 && at(1) == 0x49 && at(2) == 0x46 && at(3) == 0x38 && (at(4) == 0x37 || at(4) == 0x39)
        && at(5) == 0x61)
        return PictureFormat::Gif;
    // PCX of any version up to 5: version 3 and 5 monochrome files are alike.
    if (at(0) == 0x0A && at(2) == 1 && at(1) <= 5) {
        if (at(3) == 8)
            return PictureFormat::Pcx256;
        if (at(3) == 1)
            return PictureFormat::PcxMono;
        if (at(3) == 2 || at(3) == 4)
            return PictureFormat::PcxPalette16;
    }
    return PictureFormat::Unknown;
}

namespace {

// A decoder's answer as LoadPicture gives it: a reason on failure, the
// picture over white on success.
LoadedPicture finish(LoadedPicture out)
{
    if (!out.ok())
        return PictureError(out.error.isEmpty() ? QStringLiteral("the picture could not be decoded") : out.error);
    out.image = FlattenOverWhite(std::move(out.image));
    if (out.image.isNull())
        return PictureError(QStringLiteral("not enough memory for the picture (%1 x %2 pixels)")
                                .arg(out.width)
                                .arg(out.height));
    return out;
}

LoadedPicture loadBytes(const QByteArray& bytes, const DecodeOptions& options)
{
    const QByteArrayView data(bytes);
    if (data.size() < 8)
        return PictureError(
            QStringLiteral("not a picture this program can read (only %1 bytes of data)").arg(data.size()));

    switch (SniffPictureFormat(data)) {
    case PictureFormat::Bmp: return finish(DecodeBmp(data, options));
    case PictureFormat::Jpeg: return finish(DecodeJpeg(data, options));
    case PictureFormat::Png: return finish(DecodePng(data, options));
    case PictureFormat::Icon:
    case PictureFormat::Cursor: return finish(DecodeIcon(data, options));
    case PictureFormat::Gif: return finish(DecodeGif(data, options));
    case PictureFormat::Pcx256:
    case PictureFormat::PcxMono:
    case PictureFormat::PcxPalette16: return finish(DecodePcx(data, options));
    case PictureFormat::Unknown: break;
    }
    return PictureError(QStringLiteral("not a picture this program can read (unknown leading bytes)"));
}

} // namespace

LoadedPicture LoadPicture(const QByteArray& bytes, QSize minSize)
{
    DecodeOptions options;
    options.minSize = minSize;
    return loadBytes(bytes, options);
}

LoadedPicture LoadPicture(const QString& path, QSize minSize)
{
    DecodeOptions options;
    options.minSize = minSize;
    return LoadPicture(path, options);
}

LoadedPicture LoadPicture(const QString& path, const DecodeOptions& options)
{
    if (path.isEmpty())
        return PictureError(QStringLiteral("no picture file was given"));
    // Several dropped files arrive as their paths, each followed by "\r\n".
    if (path.contains(QLatin1Char('\r')) || path.contains(QLatin1Char('\n')))
        return PictureError(QStringLiteral("not one file name: the text names several files"));
    const QFileInfo info(path);
    if (info.isDir())
        return PictureError(QStringLiteral("cannot read %1: it is a folder").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return PictureError(QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
    if (file.size() > kMaxFileBytes)
        return PictureError(QStringLiteral("cannot read %1: the file is too large (%2 bytes)").arg(path).arg(file.size()));
    // A PNG or a JPEG is read a piece at a time: with its rows shrunk as
    // they come, a huge picture never needs its whole file in memory either.
    const PictureFormat format = SniffPictureFormat(file.peek(8));
    if (format == PictureFormat::Png || format == PictureFormat::Jpeg) {
        LoadedPicture picture = format == PictureFormat::Png ? DecodePng(file, options) : DecodeJpeg(file, options);
        if (file.error() != QFileDevice::NoError)
            return PictureError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return finish(std::move(picture));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return PictureError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return loadBytes(bytes, options);
}

} // namespace kovra::codec
