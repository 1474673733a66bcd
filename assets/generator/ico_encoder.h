#pragma once
// Windows icon files (.ico) for the program's executable, its Start-menu
// entry and its installer: each size as an uncompressed 32-bit picture with
// alpha, which every reader takes (the installer's tools among them), except
// 256 x 256, which is stored as PNG as Windows expects.

#include <QByteArray>
#include <QImage>
#include <QList>

namespace kovra::assets {

// pictures: square, at most 256 pixels a side. Empty for anything else.
QByteArray EncodeIco(const QList<QImage>& pictures);

} // namespace kovra::assets
