#include "link/reply_handler.h"

namespace kovra::link {

ReplyHandler::ReplyHandler(LinkEvents& events, ConnectionManager& connection, PictureTransfer& picture)
    : m_events(events)
    , m_connection(connection)
    , m_picture(picture)
{
}

void ReplyHandler::HandleReplyByte(quint8 byte)
{
    if (const std::optional<ReplyFrame> frame = m_assembler.push(byte))
        DispatchReply(*frame);
}

void ReplyHandler::DispatchReply(const ReplyFrame& frame)
{
    const int code = frame.code;
    const int p1 = frame.p1;
    const int value = frame.value();

    switch (code) {
    case HandshakeAck:
        m_connection.ConnectionEstablished();
        break;
    case FirmwareVersion:
        m_firmwareVersion = p1;
        emit m_events.firmwareReported(p1);
        if (p1 > m_supportedFirmwareVersion)
            emit m_events.firmwareNewerThanSupported(p1, m_supportedFirmwareVersion);
        break;
    case PositionY:
        m_reportedY = value;
        emit m_events.positionReported(m_reportedX, m_reportedY);
        break;
    case PositionX:
        m_reportedX = value;
        emit m_events.rowReported(m_reportedX);
        break;
    case ImageRequest:
        m_picture.SendRequested();
        break;
    case CarveFinished:
        emit m_events.carvingFinished();
        break;
    case MotorStatus:
        if (p1 == 0 || p1 == 1)
            emit m_events.motorStatusReported(p1);
        break;
    case ValueReport:
        emit m_events.valueReported(value);
        break;
    case BurnTimeReport:
        // Mirrors the machine's setting; nothing is sent back.
        emit m_events.burnTimeReported(value);
        break;
    default:
        break;
    }
}

} // namespace kovra::link
