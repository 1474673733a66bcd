#pragma once
// The machine's replies: four-byte frames FF code p1 p2 assembled from the
// received bytes one at a time (a 0xFF always starts a new frame), each acted
// on by its code. Values wider than a byte come as p1 * 100 + p2.
//
// Owns EngraveBuffer, the 32768-byte picture the machine receives when it
// answers BeginImage with ImageRequest; the job's encoder fills it through
// SetEngraveBuffer.

#include "image/drawing_board.h"
#include "link/connection_manager.h"
#include "link/link_events.h"
#include "link/port_writer.h"
#include "link/reply_assembler.h"

#include <QByteArray>

namespace kovra::link {

enum ReplyCode : int {
    HandshakeAck = 1,
    FirmwareVersion = 2,
    PositionY = 3,
    PositionX = 4,
    ImageRequest = 5,
    CarveFinished = 6,
    MotorStatus = 7,
    ValueReport = 8,
    BurnTimeReport = 10,
};

class ReplyHandler {
public:
    ReplyHandler(LinkEvents& events, ConnectionManager& connection, PortWriter& writer,
                 image::DrawingBoard& previewBoard);

    // Bound to the channel's DataArrived.
    void HandleReplyByte(quint8 byte);

    void SetEngraveBuffer(const QByteArray& buffer) { m_engraveBuffer = buffer; }
    const QByteArray& EngraveBuffer() const { return m_engraveBuffer; }

    int ReportedX() const { return m_reportedX; }
    int ReportedY() const { return m_reportedY; }
    // The last FirmwareVersion reported; 0 until the machine says.
    int ReportedFirmwareVersion() const { return m_firmwareVersion; }
    int SupportedFirmwareVersion() const { return m_supportedFirmwareVersion; }
    void SetSupportedFirmwareVersion(int version) { m_supportedFirmwareVersion = version; }

private:
    void DispatchReply(const ReplyFrame& frame);
    void sendPicture();

    LinkEvents& m_events;
    ConnectionManager& m_connection;
    PortWriter& m_writer;
    image::DrawingBoard& m_previewBoard;

    ReplyAssembler m_assembler;
    int m_reportedX = 0;
    int m_reportedY = 0;
    int m_supportedFirmwareVersion = 1;
    int m_firmwareVersion = 0;
    QByteArray m_engraveBuffer;
};

} // namespace kovra::link
