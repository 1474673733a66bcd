#pragma once
// The machine's replies: four-byte frames FF code p1 p2 assembled from the
// received bytes one at a time (a 0xFF always starts a new frame), each acted
// on by its code. Values wider than a byte come as p1 * 100 + p2. It only
// parses and dispatches: the handshake answer goes to the connection, the
// picture request to the picture transfer, everything else out as an event.

#include "link/connection_manager.h"
#include "link/link_events.h"
#include "link/picture_transfer.h"
#include "link/reply_assembler.h"

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
    ReplyHandler(LinkEvents& events, ConnectionManager& connection, PictureTransfer& picture);

    // Bound to the channel's DataArrived.
    void HandleReplyByte(quint8 byte);

    int ReportedX() const { return m_reportedX; }
    int ReportedY() const { return m_reportedY; }
    // The last FirmwareVersion reported; 0 until the machine says.
    int ReportedFirmwareVersion() const { return m_firmwareVersion; }
    int SupportedFirmwareVersion() const { return m_supportedFirmwareVersion; }
    void SetSupportedFirmwareVersion(int version) { m_supportedFirmwareVersion = version; }

private:
    void DispatchReply(const ReplyFrame& frame);

    LinkEvents& m_events;
    ConnectionManager& m_connection;
    PictureTransfer& m_picture;

    ReplyAssembler m_assembler;
    int m_reportedX = 0;
    int m_reportedY = 0;
    int m_supportedFirmwareVersion = 1;
    int m_firmwareVersion = 0;
};

} // namespace kovra::link
