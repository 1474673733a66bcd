#pragma once
// The picture the machine is given when it asks for it, and its way out.
//
// Owns EngraveBuffer, the 32768-byte picture; the job's encoder replaces it
// whenever the user sends a new picture. On the machine's ImageRequest the picture
// as it is then takes its turn on the port: a 5 ms wait, the whole picture in
// one write, its progress, and its end.
//
// A picture is sent once the machine could have it all: the system has taken
// every byte, its driver holds none of them any more, and the line has had
// the time to carry them (at 57600 baud, 5.7 s; a driver, or a pseudo-
// terminal, takes bytes long before they are on the line). A port that closes
// before fails the transfer, and the bytes reported are those the line could
// have carried, not those the system had taken.

#include "link/link_events.h"
#include "link/port_writer.h"
#include "link/serial_channel.h"
#include "platform/timer.h"

#include <QByteArray>

#include <functional>

namespace kovra::link {

class PictureTransfer {
public:
    static constexpr int kRequestDelayMs = 5;
    // How often the transfer is looked at while it goes: the progress, the
    // line's time and the driver's output queue.
    static constexpr int kWatchMs = 10;
    // The longest wait for the driver's output queue to empty once the line
    // has had the time to carry every byte.
    static constexpr int kDrainLimitMs = 3000;

    // Milliseconds on a steady clock.
    using Clock = std::function<qint64()>;

    enum class Phase {
        Idle,      // no picture on its way
        Waiting,   // the machine's moment after its request
        Writing,   // bytes are leaving the program
        Draining,  // all bytes handed on; the line or the driver still has some
    };
    struct Progress {
        Phase phase = Phase::Idle;
        qint64 written = 0;  // bytes out of the port so far
        qint64 total = 0;
    };

    // timer: a stopped timer used only for the transfer (the wait and the
    // watch). lineBytesPerSecond: what the line carries (0: no limit).
    // clock: a steady clock in ms, a real one when not given.
    PictureTransfer(SerialChannel& channel, PortWriter& writer, LinkEvents& events, platform::Timer& timer,
                    int lineBytesPerSecond, Clock clock = {});
    ~PictureTransfer();
    PictureTransfer(const PictureTransfer&) = delete;
    PictureTransfer& operator=(const PictureTransfer&) = delete;

    void SetEngraveBuffer(const QByteArray& buffer) { m_engraveBuffer = buffer; }
    const QByteArray& EngraveBuffer() const { return m_engraveBuffer; }

    // The machine's ImageRequest: the picture as it is now goes out in its
    // turn; preparing a new one meanwhile does not change what this request
    // gets. Two requests send it twice, one after the other.
    void SendRequested();

    Progress CurrentProgress() const { return {m_phase, m_written, m_picture.size()}; }

private:
    void start(const QByteArray& picture, quint64 id);
    void onTick();
    void beginWrite();
    void onBytesLeft(qint64 count);
    qint64 bytesOut(qint64 now) const;
    void check();
    void onLost(quint64 id, qint64 total);
    void finish(bool ok);

    SerialChannel& m_channel;
    PortWriter& m_writer;
    LinkEvents& m_events;
    platform::Timer& m_timer;
    int m_lineBytesPerSecond;
    Clock m_clock;

    QByteArray m_engraveBuffer;

    // The picture on its way.
    quint64 m_requests = 0;   // requests so far; each turn knows its own number
    quint64 m_current = 0;
    Phase m_phase = Phase::Idle;
    QByteArray m_picture;
    qint64 m_ahead = 0;       // bytes of earlier writes still ahead of the picture
    qint64 m_leftPort = 0;    // bytes the system took since the picture went out
    qint64 m_handed = 0;      // of them, the picture's
    qint64 m_written = 0;     // bytes out of the port, as far as one can tell
    qint64 m_startMs = 0;     // the write began
    qint64 m_drainSinceMs = -1;
};

} // namespace kovra::link
