#pragma once
// The machine link put together: the outbound writer, the command frames,
// the connection scan, the picture transfer, the reply handler and the
// machine parameters, wired to one serial channel, reporting what happens
// through events(). The composition root owns the channel and the timers and
// passes them in. The timers start stopped; this link binds their ticks.

#include "link/command_frames.h"
#include "link/connection_manager.h"
#include "link/link_events.h"
#include "link/machine_parameters.h"
#include "link/picture_transfer.h"
#include "link/port_writer.h"
#include "link/reply_handler.h"
#include "link/serial_channel.h"
#include "platform/timer.h"

namespace kovra::link {

struct LinkTimers {
    platform::Timer& retry;      // RetryTimer
    platform::Timer& verify;     // VerifyTimer
    platform::Timer& portCheck;  // PortCheckTimer
    platform::Timer& output;     // the quiet gaps between writes (after a jog)
    platform::Timer& transfer;   // the picture's own: its wait and the watch over its bytes
};

class MachineLink {
public:
    // Takes the channel's DataArrived (to HandleReplyByte), BytesWritten and
    // Closed (to the writer) sinks; LineEvent is left free. clock: the
    // picture transfer's steady clock (a real one when not given).
    MachineLink(SerialChannel& channel, LinkTimers timers, PictureTransfer::Clock clock = {});
    ~MachineLink();
    MachineLink(const MachineLink&) = delete;
    MachineLink& operator=(const MachineLink&) = delete;

    LinkEvents& events() { return m_events; }
    SerialChannel& channel() { return m_channel; }
    PortWriter& writer() { return m_writer; }
    CommandFrames& frames() { return m_frames; }
    ConnectionManager& connection() { return m_connection; }
    PictureTransfer& picture() { return m_picture; }
    ReplyHandler& replies() { return m_replies; }
    MachineParameters& parameters() { return m_parameters; }

private:
    LinkEvents m_events;
    SerialChannel& m_channel;
    PortWriter m_writer;
    CommandFrames m_frames;
    ConnectionManager m_connection;
    PictureTransfer m_picture;
    ReplyHandler m_replies;
    MachineParameters m_parameters;
};

} // namespace kovra::link
