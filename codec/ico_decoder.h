#pragma once
// Icons and cursors: the directory's chosen entry (the first one 32 pixels
// wide whose colour-count byte is 16 or more, else the last), decoded from the
// bitmap with its AND mask or from the PNG stored inside.

#include "codec/decoded_picture.h"

namespace kovra::codec {

// The index of the directory entry an icon or cursor shows, or -1 when the
// directory is missing or cut short.
int ChooseIconEntry(QByteArrayView data);

// The decoded picture (Format_ARGB32, or Format_RGB32) and its true size, or
// the reason it cannot be read. Works for icons and cursors alike.
LoadedPicture DecodeIcon(QByteArrayView data, const DecodeOptions& options = {});

} // namespace kovra::codec
