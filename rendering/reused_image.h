#pragma once
// Picture-sized buffers drawn into again: a fresh one costs page faults that
// take as long as a rendering itself.

#include <QImage>

namespace kovra::rendering {

// image when it is a width × height picture of format that no other QImage
// shares (so writing to it copies nothing), else a new one.
inline QImage ReuseOrAllocate(QImage image, int width, int height, QImage::Format format)
{
    if (image.width() == width && image.height() == height && image.format() == format && image.isDetached())
        return image;
    return QImage(width, height, format);
}

// The image as RGB32 (or ARGB32, read the same way), converted only when it is neither.
inline QImage AsRgb32(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace kovra::rendering
