#pragma once
// Shared by the fuzz targets: a smaller pixel budget than the program's, so a
// header that claims a huge picture is refused before memory runs out, and a
// check that a decoder's answer is consistent.

#include "codec/picture_loader.h"

#include <QByteArrayView>

#include <cstdint>
#include <cstdlib>

namespace kovra::fuzz {

inline codec::DecodeOptions fuzzOptions(const uint8_t* data, size_t size)
{
    codec::DecodeOptions options;
    options.maxPixels = 4 * 1024 * 1024;
    options.ignoreChecksums = true;
    // Odd lengths also try the reduced-scale path.
    if (size % 2)
        options.minSize = QSize(int(data[0] % 64) + 1, int(data[size - 1] % 64) + 1);
    return options;
}

inline QByteArrayView bytesOf(const uint8_t* data, size_t size)
{
    return QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A decoder answers with a whole picture or a reason, nothing in between.
inline void checkAnswer(const codec::LoadedPicture& p, const codec::DecodeOptions& options)
{
    if (p.ok()) {
        const QSize fitted = codec::FittedPictureSize(p.width, p.height, options.minSize);
        if (p.width <= 0 || p.height <= 0 || p.image.width() > p.width || p.image.height() > p.height
            || p.image.width() < fitted.width() || p.image.height() < fitted.height() || !p.error.isEmpty())
            std::abort();
        // Touch every pixel the way the program's drawing does.
        const QImage flat = codec::FlattenOverWhite(p.image);
        if (flat.format() != QImage::Format_RGB32 || flat.size() != p.image.size())
            std::abort();
    } else if (p.error.isEmpty() || p.width != 0 || p.height != 0) {
        std::abort();
    }
}

} // namespace kovra::fuzz
