// libFuzzer target: the jpeg decoder on arbitrary bytes, from memory or (for
// every third length) read from a device a piece at a time.
#include "codec/jpeg_decoder.h"

#include "fuzz/fuzz_support.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const kovra::codec::DecodeOptions options = kovra::fuzz::fuzzOptions(data, size);
    if (size % 3 == 0) {
        QByteArray bytes = kovra::fuzz::bytesOf(data, size).toByteArray();
        QBuffer device(&bytes);
        device.open(QIODevice::ReadOnly);
        kovra::fuzz::checkAnswer(kovra::codec::DecodeJpeg(device, options), options);
        return 0;
    }
    kovra::fuzz::checkAnswer(kovra::codec::DecodeJpeg(kovra::fuzz::bytesOf(data, size), options), options);
    return 0;
}
