// libFuzzer target: the gif decoder on arbitrary bytes.
#include "codec/gif_decoder.h"

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const kovra::codec::DecodeOptions options = kovra::fuzz::fuzzOptions(data, size);
    kovra::fuzz::checkAnswer(kovra::codec::DecodeGif(kovra::fuzz::bytesOf(data, size), options), options);
    return 0;
}
