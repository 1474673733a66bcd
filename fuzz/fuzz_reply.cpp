// libFuzzer target: the reply assembler on arbitrary received bytes. Every
// frame it gives must be one that stands in the stream as FF code p1 p2 with
// no 0xFF among the last three, and every such group must come out, in order.
#include "link/reply_assembler.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using kovra::link::ReplyFrame;
    std::vector<ReplyFrame> expected;
    for (size_t i = 0; i + 3 < size; ++i) {
        if (data[i] == 0xFF && data[i + 1] != 0xFF && data[i + 2] != 0xFF && data[i + 3] != 0xFF) {
            expected.push_back(ReplyFrame{data[i + 1], data[i + 2], data[i + 3]});
            i += 3;
        }
    }
    kovra::link::ReplyAssembler assembler;
    std::vector<ReplyFrame> got;
    for (size_t i = 0; i < size; ++i)
        if (const auto frame = assembler.push(data[i]))
            got.push_back(*frame);
    if (got != expected)
        std::abort();
    return 0;
}
