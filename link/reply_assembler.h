#pragma once
// Reply assembly: the machine's four-byte frames FF code p1 p2, put together
// from the received bytes one at a time. Bytes in, frames out, nothing else:
// what a frame means is the reply handler's business.

#include <QtGlobal>

#include <array>
#include <optional>

namespace kovra::link {

struct ReplyFrame {
    quint8 code = 0;
    quint8 p1 = 0;
    quint8 p2 = 0;
    // Values wider than a byte travel as p1 * 100 + p2.
    int value() const { return p1 * 100 + p2; }
    friend bool operator==(const ReplyFrame&, const ReplyFrame&) = default;
};

class ReplyAssembler {
public:
    // The frame this byte completes, if any. A 0xFF always begins a new
    // frame, so a partial frame is dropped and the stream resynchronises on
    // the next start marker; four bytes without the marker are dropped as
    // one unit.
    std::optional<ReplyFrame> push(quint8 byte);

private:
    std::array<quint8, 4> m_bytes{};
    int m_count = 0;
};

} // namespace kovra::link
