#include "job/raster_png.h"

#include "job/engrave_encoder.h"

#include <QImage>
#include <QImageWriter>

#include <cstring>

namespace kovra::job {

bool WriteRasterPng(const QByteArray& raster, const QString& path, QString& error)
{
    if (raster.size() != EngraveBufferSize) {
        error = QStringLiteral("no picture to write");
        return false;
    }
    // One bit a dot as the machine has it: bit 1 is colour 1, black.
    QImage img(EngraveSide, EngraveSide, QImage::Format_Mono);
    img.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < EngraveSide; ++y)
        std::memcpy(img.scanLine(y), raster.constData() + y * EngraveRowBytes, EngraveRowBytes);
    QImageWriter writer(path, "png");
    if (!writer.write(img)) {
        error = QStringLiteral("cannot write %1: %2").arg(path, writer.errorString());
        return false;
    }
    return true;
}

QByteArray ReadRasterPng(const QString& path)
{
    const QImage img(path);
    if (img.width() != EngraveSide || img.height() != EngraveSide)
        return QByteArray();
    return EncodeEngravePicture(img);
}

} // namespace kovra::job
