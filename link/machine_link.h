#pragma once
// The machine link put together: the outbound writer, the command frames,
// the connection scan, the reply handler and the machine parameters, wired
// to one serial channel, reporting what happens through events(). The
// composition root owns the channel, the preview board and the timers and
// passes them in. The timers start stopped; this link binds their ticks.

#include "image/drawing_board.h"
#include "link/command_frames.h"
#include "link/connection_manager.h"
#include "link/link_events.h"
#include "link/machine_parameters.h"
#include "link/port_writer.h"
#include "link/reply_handler.h"
#include "link/serial_channel.h"
#include "platform/timer.h"

namespace kovra::link {

struct LinkTimers {
    platform::Timer& retry;      // RetryTimer
    platform::Timer& verify;     // VerifyTimer
    platform::Timer& portCheck;  // PortCheckTimer
    platform::Timer& transfer;   // the picture write's own timer
};

class MachineLink {
public:
    // Takes the channel's DataArrived (to HandleReplyByte), BytesWritten and
    // Closed (to the writer) sinks; LineEvent is left free.
    MachineLink(SerialChannel& channel, image::DrawingBoard& previewBoard, LinkTimers timers);
    ~MachineLink();
    MachineLink(const MachineLink&) = delete;
    MachineLink& operator=(const MachineLink&) = delete;

    LinkEvents& events() { return m_events; }
    SerialChannel& channel() { return m_channel; }
    PortWriter& writer() { return m_writer; }
    CommandFrames& frames() { return m_frames; }
    ConnectionManager& connection() { return m_connection; }
    ReplyHandler& replies() { return m_replies; }
    MachineParameters& parameters() { return m_parameters; }

private:
    LinkEvents m_events;
    SerialChannel& m_channel;
    PortWriter m_writer;
    CommandFrames m_frames;
    ConnectionManager m_connection;
    ReplyHandler m_replies;
    MachineParameters m_parameters;
};

} // namespace kovra::link
