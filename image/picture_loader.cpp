#include "image/picture_loader.h"

#include "image/bmp_decoder.h"
#include "image/gif_decoder.h"
#include "image/ico_decoder.h"
#include "image/jpeg_decoder.h"
#include "image/orientation.h"
#include "image/pcx_decoder.h"
#include "image/png_decoder.h"

#include <QFile>
#include <QFileInfo>

namespace kovra::image {

namespace {

// Whole files are read into memory; nothing this program can draw is bigger.
constexpr qint64 kMaxFileBytes = qint64(1) << 31;

quint16 u16At(QByteArrayView b, int at) { return quint16(uchar(b[at]) | (uchar(b[at + 1]) << 8)); }

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
    if (at(0) == 0 && at(1) == 0 && at(3) == 0 && (at(2) == 1 || at(2) == 2) && u16At(b, 4) != 0)
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

QSize FittedPictureSize(int width, int height, QSize box)
{
    if (!box.isValid() || width <= 0 || height <= 0 || (width <= box.width() && height <= box.height()))
        return QSize(qMax(width, 0), qMax(height, 0));
    // Same arithmetic as the fitting itself: (S × h / w) in double, truncated.
    if (qint64(width) * box.height() >= qint64(height) * box.width())
        return QSize(box.width(), qMax(1, int(double(box.width()) * height / width)));
    return QSize(qMax(1, int(double(box.height()) * width / height)), box.height());
}

QString CheckPictureSize(qint64 width, qint64 height, const DecodeOptions& options)
{
    if (width <= 0 || height <= 0)
        return QStringLiteral("the picture has no pixels (%1 x %2)").arg(width).arg(height);
    if (width > options.maxSide || height > options.maxSide)
        return QStringLiteral("picture too large (%1 x %2 pixels, limit %3 x %3)")
            .arg(width)
            .arg(height)
            .arg(options.maxSide);
    if (width * height > options.maxPixels)
        return QStringLiteral("picture too large (%1 x %2 pixels, limit %3 pixels)")
            .arg(width)
            .arg(height)
            .arg(options.maxPixels);
    return {};
}

QString CheckPictureData(qint64 width, qint64 height, qint64 bytes, double pixelsPerByte, const char* format)
{
    const double pixels = double(width) * double(height);
    if (pixels <= double(kPixelsWithoutBacking) + double(qMax<qint64>(bytes, 0)) * pixelsPerByte)
        return {};
    return QStringLiteral("truncated %1 data (%2 x %3 pixels cannot come from %4 bytes)")
        .arg(QLatin1String(format))
        .arg(width)
        .arg(height)
        .arg(bytes);
}

LoadedPicture PictureError(const QString& reason)
{
    LoadedPicture out;
    out.error = reason;
    return out;
}

LoadedPicture UprightPicture(const QImage& stored, int orientation, int width, int height)
{
    LoadedPicture out;
    out.image = ApplyOrientation(stored, orientation);
    if (out.image.isNull())
        return PictureError(QStringLiteral("not enough memory for the picture (%1 x %2 pixels)").arg(width).arg(height));
    const bool swap = OrientationSwapsSides(orientation);
    out.width = swap ? height : width;
    out.height = swap ? width : height;
    return out;
}

QImage FlattenOverWhite(QImage image)
{
    if (image.isNull())
        return image;
    if (!image.hasAlphaChannel())
        return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    if (image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    for (int y = 0; y < image.height(); ++y)
        FlattenRowOverWhite(reinterpret_cast<QRgb*>(image.scanLine(y)), image.width());
    image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

void FlattenRowOverWhite(QRgb* row, qsizetype width)
{
    for (qsizetype x = 0; x < width; ++x) {
        const QRgb c = row[x];
        const int a = qAlpha(c);
        if (a == 255)
            continue;
        // c over white: c * a + 255 * (255 - a), rounded.
        const auto over = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
        row[x] = qRgb(over(qRed(c)), over(qGreen(c)), over(qBlue(c)));
    }
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
    return LoadPicture(path, minSize, nullptr);
}

LoadedPicture LoadPicture(const QString& path, QSize minSize, DecodeRowObserver* observer)
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
    DecodeOptions options;
    options.minSize = minSize;
    options.rowObserver = observer;
    // A PNG is read a piece at a time: with its rows shrunk as they come, a
    // huge picture never needs its whole file in memory either.
    if (SniffPictureFormat(file.peek(8)) == PictureFormat::Png) {
        LoadedPicture png = DecodePng(file, options);
        if (file.error() != QFileDevice::NoError)
            return PictureError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return finish(std::move(png));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return PictureError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return loadBytes(bytes, options);
}

} // namespace kovra::image
