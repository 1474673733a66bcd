#include "codec/decoded_picture.h"

#include "codec/orientation.h"

namespace kovra::codec {

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

QString StoppedReason()
{
    return QStringLiteral("the picture is no longer wanted");
}

} // namespace kovra::codec
