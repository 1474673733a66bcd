#pragma once
// The picture the machine is given when it asks for it, and its way out.
//
// Owns EngraveBuffer, the 32768-byte picture; the job's encoder replaces it
// on every SendImageButton press. On the machine's ImageRequest the picture
// as it is then takes its turn on the port: a 5 ms wait, the whole picture in
// one write, its progress, and its end: sent once every byte has left the
// port's buffers, failed when the port closes before.

#include "link/link_events.h"
#include "link/port_writer.h"
#include "link/serial_channel.h"
#include "platform/timer.h"

#include <QByteArray>

namespace kovra::link {

class PictureTransfer {
public:
    static constexpr int kRequestDelayMs = 5;
    // How often the driver's output queue is looked at once the bytes have
    // left the program.
    static constexpr int kDrainPollMs = 2;
    // The longest wait for the driver's output queue to empty.
    static constexpr int kDrainLimitMs = 3000;

    enum class Phase {
        Idle,      // no picture on its way
        Waiting,   // the machine's moment after its request
        Writing,   // bytes are leaving the program
        Draining,  // all bytes handed on; the driver still holds some
    };
    struct Progress {
        Phase phase = Phase::Idle;
        qint64 written = 0;  // bytes out of the port so far
        qint64 total = 0;
    };

    // timer: a stopped timer used only for the transfer (the wait and the
    // watch over the driver's queue).
    PictureTransfer(SerialChannel& channel, PortWriter& writer, LinkEvents& events, platform::Timer& timer);
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
    void check();
    void onLost(quint64 id, qint64 total);
    void finish(bool ok);

    SerialChannel& m_channel;
    PortWriter& m_writer;
    LinkEvents& m_events;
    platform::Timer& m_timer;

    QByteArray m_engraveBuffer;

    // The picture on its way.
    quint64 m_requests = 0;   // requests so far; each turn knows its own number
    quint64 m_current = 0;
    Phase m_phase = Phase::Idle;
    QByteArray m_picture;
    qint64 m_ahead = 0;       // bytes of earlier writes still ahead of the picture
    qint64 m_leftPort = 0;    // bytes reported written since the picture went out
    qint64 m_written = 0;
    int m_drainTicks = 0;
};

} // namespace kovra::link
