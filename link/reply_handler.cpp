#include "link/reply_handler.h"

namespace kovra::link {

ReplyHandler::ReplyHandler(LinkView& view, ConnectionManager& connection, PortWriter& writer,
                           image::DrawingBoard& previewBoard, platform::Timer& runTimeTimer)
    : m_view(view)
    , m_connection(connection)
    , m_writer(writer)
    , m_previewBoard(previewBoard)
    , m_runTimeTimer(runTimeTimer)
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
        m_view.AppendLogLine(texts::FirmwareVersionPrefix + QString::number(p1));
        if (p1 > m_supportedFirmwareVersion)
            m_view.ShowMessageBox(texts::FirmwareWarning, texts::FirmwareWarningTitle);
        break;
    case PositionY:
        m_reportedY = value;
        // The machine counts columns from 1; column 0 falls off the board.
        m_previewBoard.SetBoardPixel(m_reportedY - 1, m_reportedX, image::ColourRef(255, 0, 0));
        m_view.SetYEdit(QString::number(m_reportedY));
        break;
    case PositionX:
        m_reportedX = value;
        m_view.SetXEdit(QString::number(m_reportedX));
        break;
    case ImageRequest:
        sendPicture();
        break;
    case CarveFinished:
        m_view.AppendLogLine(texts::CarvedFinish);
        m_runTimeTimer.setPeriod(0);
        m_view.ResetLocationControls();
        break;
    case MotorStatus:
        if (p1 == 0)
            m_view.AppendLogLine(texts::MotorPowerMissing);
        else if (p1 == 1)
            m_view.AppendLogLine(texts::InitializationBanner);
        break;
    case ValueReport:
        m_view.AppendLogLine(QString::number(value));
        break;
    case BurnTimeReport:
        // Mirrors the machine's setting; nothing is sent back.
        m_view.SetBurnTime(value);
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
    PictureWrite callbacks;
    callbacks.begin = [this] { m_view.AppendLogText(texts::SendingNewImage); };
    if (!picture.isEmpty())
        callbacks.progress = [this](qint64 written, qint64 total) { m_view.ShowTransferProgress(written, total); };
    const bool showsProgress = !picture.isEmpty();
    const qint64 total = picture.size();
    callbacks.done = [this, showsProgress, total](bool ok, qint64 written) {
        if (showsProgress)
            m_view.HideTransferProgress();
        if (!ok) {
            // Not "Sending Complete !": the machine did not get the picture.
            m_view.AppendLogText(texts::SendingFailed.arg(written).arg(total));
            return;
        }
        m_view.AppendLogText(texts::SendingComplete);
        m_view.EnableMachineControls();
    };
    m_writer.WritePicture(picture, std::move(callbacks));
}

} // namespace kovra::link
