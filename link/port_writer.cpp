#include "link/port_writer.h"

namespace kovra::link {

PortWriter::PortWriter(SerialChannel& channel, platform::Timer& gapTimer)
    : m_channel(channel)
    , m_timer(gapTimer)
{
    m_timer.setOnTick([this] { onGapEnd(); });
    m_channel.setOnBytesWritten([this](qint64 count) {
        if (m_state == State::Turn && m_holder.bytesLeft)
            m_holder.bytesLeft(count);
    });
    m_channel.setOnClosed([this] { abort(); });
}

PortWriter::~PortWriter()
{
    m_timer.setPeriod(0);
    m_timer.setOnTick(nullptr);
    m_channel.setOnBytesWritten(nullptr);
    m_channel.setOnClosed(nullptr);
}

bool PortWriter::SendBytes(const QByteArray& bytes)
{
    if (m_state == State::Idle && m_queue.empty())
        return m_channel.SendBytes(bytes);
    if (!m_channel.IsOpen())
        return false;
    m_queue.push_back(Item{bytes, 0, false, {}});
    return true;
}

void PortWriter::PauseOutput(int ms)
{
    if (ms <= 0)
        return;
    m_queue.push_back(Item{{}, ms, false, {}});
    startNext();
}

void PortWriter::TakeTurn(OutputTurn turn)
{
    m_queue.push_back(Item{{}, 0, true, std::move(turn)});
    startNext();
}

void PortWriter::EndTurn(const std::function<void()>& lastWord)
{
    if (m_state != State::Turn)
        return;
    m_state = State::Idle;
    m_holder = {};
    if (lastWord)
        lastWord();
    startNext();
}

void PortWriter::startNext()
{
    // A holder may end its turn from inside started(), which runs this again:
    // the loop looks at the state afresh on every round.
    while (m_state == State::Idle && !m_queue.empty()) {
        Item item = std::move(m_queue.front());
        m_queue.pop_front();
        if (item.gapMs > 0) {
            m_state = State::Gap;
            m_timer.setPeriod(item.gapMs);
        } else if (item.turn) {
            m_state = State::Turn;
            m_holder = std::move(item.holder);
            if (m_holder.started)
                m_holder.started();
        } else {
            m_channel.SendBytes(item.bytes);
        }
    }
}

void PortWriter::onGapEnd()
{
    m_timer.setPeriod(0);
    if (m_state != State::Gap)
        return;
    m_state = State::Idle;
    startNext();
}

void PortWriter::abort()
{
    // The port closed: a turn cannot go on, and what waited was meant for
    // that port, not for the next one a scan opens.
    if (m_state == State::Idle && m_queue.empty())
        return;
    std::deque<Item> dropped;
    dropped.swap(m_queue);
    const State was = m_state;
    m_state = State::Idle;
    m_timer.setPeriod(0);
    OutputTurn holder = std::move(m_holder);
    m_holder = {};
    if (was == State::Turn && holder.lost)
        holder.lost();
    for (Item& item : dropped) {
        if (item.turn && item.holder.lost)
            item.holder.lost();
    }
}

} // namespace kovra::link
