#include "link/reply_assembler.h"

namespace kovra::link {

std::optional<ReplyFrame> ReplyAssembler::push(quint8 byte)
{
    if (byte == 0xFF)
        m_count = 0;
    m_bytes[size_t(m_count)] = byte;
    if (++m_count < 4)
        return std::nullopt;
    m_count = 0;
    if (m_bytes[0] != 0xFF)
        return std::nullopt;
    return ReplyFrame{m_bytes[1], m_bytes[2], m_bytes[3]};
}

} // namespace kovra::link
