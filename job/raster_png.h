#pragma once
// The machine's raster as a picture file: what "kovra render" writes and the
// window saves, a 512 × 512 one-bit PNG, black where a dot is burned.

#include <QByteArray>
#include <QString>

namespace kovra::job {

// The machine's 32768-byte raster as a 512 × 512 one-bit PNG, black where a
// dot is burned. False with a reason when it cannot be written.
bool WriteRasterPng(const QByteArray& raster, const QString& path, QString& error);
// The raster of a picture file written by WriteRasterPng (empty when the
// file is not a 512 × 512 picture).
QByteArray ReadRasterPng(const QString& path);

} // namespace kovra::job
