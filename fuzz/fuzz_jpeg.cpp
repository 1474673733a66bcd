// libFuzzer target: the jpeg decoder on arbitrary bytes.
#include "image/jpeg_decoder.h"

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const kovra::image::DecodeOptions options = kovra::fuzz::fuzzOptions(data, size);
    kovra::fuzz::checkAnswer(kovra::image::DecodeJpeg(kovra::fuzz::bytesOf(data, size), options), options);
    return 0;
}
