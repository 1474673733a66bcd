#include "link/machine_link.h"

namespace kovra::link {

MachineLink::MachineLink(SerialChannel& channel, LinkView& view, image::DrawingBoard& previewBoard, LinkTimers timers)
    : m_channel(channel)
    , m_writer(channel, timers.transfer)
    , m_frames(m_writer)
    , m_connection(channel, m_frames, view, timers.retry, timers.verify, timers.portCheck)
    , m_replies(view, m_connection, m_writer, previewBoard, timers.runTime)
    , m_parameters(m_frames, view)
{
    m_channel.setOnDataArrived([this](quint8 byte) { m_replies.HandleReplyByte(byte); });
}

MachineLink::~MachineLink()
{
    m_channel.setOnDataArrived(nullptr);
}

} // namespace kovra::link
