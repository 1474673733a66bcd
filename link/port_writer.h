#pragma once
// Everything the program writes to the machine passes here, in order. A
// picture write waits its 5 ms, goes out without blocking the window, reports
// progress, and counts as done only once its last byte has left the port;
// until then later writes wait in the outbound queue so nothing reaches the
// port in the middle of the picture.

#include "link/serial_channel.h"
#include "platform/timer.h"

#include <QByteArray>

#include <deque>
#include <functional>

namespace kovra::link {

struct PictureWrite {
    std::function<void()> begin;                                  // after the wait, before the write
    std::function<void(qint64 written, qint64 total)> progress;   // (0,total) .. (total,total)
    std::function<void(bool ok, qint64 written)> done;            // ok: every byte left the port
};

class PortWriter {
public:
    static constexpr int kPictureDelayMs = 5;
    static constexpr int kDrainPollMs = 2;
    // The longest wait for the driver's output queue to empty.
    static constexpr int kDrainLimitMs = 3000;

    // transferTimer: a stopped timer used only by this writer (the 5 ms wait
    // and the polling of the driver's queue).
    PortWriter(SerialChannel& channel, platform::Timer& transferTimer);
    ~PortWriter();
    PortWriter(const PortWriter&) = delete;
    PortWriter& operator=(const PortWriter&) = delete;

    // Direct to the channel when nothing waits; queued behind a picture
    // otherwise. false when the port is closed.
    bool SendBytes(const QByteArray& bytes);
    bool SendBytes(quint8 byte) { return SendBytes(QByteArray(1, char(byte))); }

    // A quiet gap of ms after what was written so far: writes asked for
    // meanwhile wait their turn behind it. The window keeps working.
    void PauseOutput(int ms);

    // Queues a picture; an empty one writes nothing and is done at once
    // after the wait.
    void WritePicture(const QByteArray& picture, PictureWrite callbacks);

    bool Busy() const { return m_state != State::Idle; }
    int QueuedCount() const { return int(m_queue.size()); }

private:
    enum class State { Idle, Waiting, Writing, Draining, Gap };
    struct Item {
        QByteArray bytes;
        bool picture = false;
        PictureWrite callbacks;
        int gapMs = 0; // a pause, not a write
    };

    void startNext();
    void onTick();
    void onBytesWritten(qint64 count);
    void checkDrained();
    void finish(bool ok);
    void abort();

    SerialChannel& m_channel;
    platform::Timer& m_timer;
    std::deque<Item> m_queue;
    State m_state = State::Idle;
    Item m_current;
    qint64 m_ahead = 0;      // bytes of earlier writes still ahead of the picture
    qint64 m_leftPort = 0;   // bytes reported written since the picture went out
    qint64 m_written = 0;
    int m_drainTicks = 0;
};

} // namespace kovra::link
