#include "link/reply_handler.h"

namespace kovra::link {

ReplyHandler::ReplyHandler(LinkEvents& events, ConnectionManager& connection, PortWriter& writer,
                           image::DrawingBoard& previewBoard)
    : m_events(events)
    , m_connection(connection)
    , m_writer(writer)
    , m_previewBoard(previewBoard)
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
        // The machine counts columns from 1; column 0 falls off the board.
        m_previewBoard.SetBoardPixel(m_reportedY - 1, m_reportedX, image::ColourRef(255, 0, 0));
        emit m_events.positionReported(m_reportedX, m_reportedY);
        break;
    case PositionX:
        m_reportedX = value;
        emit m_events.rowReported(m_reportedX);
        break;
    case ImageRequest:
        sendPicture();
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

void ReplyHandler::sendPicture()
{
    // The picture as it is now: preparing a new one meanwhile does not
    // change what this request gets.
    const QByteArray picture = m_engraveBuffer;
    const qint64 total = picture.size();
    PictureWrite callbacks;
    callbacks.begin = [this, total] { emit m_events.pictureSending(total); };
    if (total > 0)
        callbacks.progress = [this](qint64 written, qint64 all) { emit m_events.pictureProgress(written, all); };
    callbacks.done = [this, total](bool ok, qint64 written) { emit m_events.pictureSent(ok, written, total); };
    m_writer.WritePicture(picture, std::move(callbacks));
}

} // namespace kovra::link
