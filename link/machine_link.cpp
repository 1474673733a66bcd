#include "link/machine_link.h"

#include "link/serial_settings.h"

namespace kovra::link {

MachineLink::MachineLink(SerialChannel& channel, LinkTimers timers, PictureTransfer::Clock clock)
    : m_channel(channel)
    , m_writer(channel, timers.output)
    , m_frames(m_writer)
    , m_connection(channel, m_frames, m_events, timers.retry, timers.verify, timers.portCheck)
    , m_picture(channel, m_writer, m_events, timers.transfer,
          SerialSettings::ProgramSettings().lineBytesPerSecond(), std::move(clock))
    , m_replies(m_events, m_connection, m_picture)
    , m_parameters(m_frames, m_events)
{
    m_channel.setOnDataArrived([this](quint8 byte) { m_replies.HandleReplyByte(byte); });
}

MachineLink::~MachineLink()
{
    m_channel.setOnDataArrived(nullptr);
}

} // namespace kovra::link
