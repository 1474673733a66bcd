#pragma once
// Everything the program writes to the machine passes here, in order. A
// write goes straight to the port when nothing waits; behind a quiet gap (the
// pause after a jog) or a turn (the picture) it waits its place. The window's
// thread never blocks: gaps run on a timer.

#include "link/serial_channel.h"
#include "platform/timer.h"

#include <QByteArray>

#include <deque>
#include <functional>

namespace kovra::link {

// A stretch of output one party has to itself: its turn comes in order, and
// until it ends the turn every later write waits, so nothing reaches the port
// in the middle of it.
struct OutputTurn {
    std::function<void()> started;               // the turn has come
    std::function<void(qint64 count)> bytesLeft; // bytes left the output buffer during the turn
    std::function<void()> lost;                  // the port closed before or during the turn: it is over
};

class PortWriter {
public:
    // gapTimer: a stopped timer used only by this writer, for the quiet gaps.
    PortWriter(SerialChannel& channel, platform::Timer& gapTimer);
    ~PortWriter();
    PortWriter(const PortWriter&) = delete;
    PortWriter& operator=(const PortWriter&) = delete;

    // Direct to the channel when nothing waits; queued otherwise. false when
    // the port is closed.
    bool SendBytes(const QByteArray& bytes);
    bool SendBytes(quint8 byte) { return SendBytes(QByteArray(1, char(byte))); }

    // A quiet gap of ms after what was written so far: writes asked for
    // meanwhile wait their turn behind it.
    void PauseOutput(int ms);

    // Queues a turn. Its holder writes to the channel itself and ends it with
    // EndTurn; lastWord (if any) runs once the writer is free again but before
    // what waited behind the turn goes out.
    void TakeTurn(OutputTurn turn);
    void EndTurn(const std::function<void()>& lastWord = {});

    bool Busy() const { return m_state != State::Idle; }
    int QueuedCount() const { return int(m_queue.size()); }

private:
    enum class State { Idle, Gap, Turn };
    struct Item {
        QByteArray bytes;
        int gapMs = 0;      // a pause, not a write
        bool turn = false;  // a turn, not a write
        OutputTurn holder;
    };

    void startNext();
    void onGapEnd();
    void abort();

    SerialChannel& m_channel;
    platform::Timer& m_timer;
    std::deque<Item> m_queue;
    State m_state = State::Idle;
    OutputTurn m_holder;
};

} // namespace kovra::link
