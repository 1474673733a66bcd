#include "link/port_writer.h"

namespace kovra::link {

PortWriter::PortWriter(SerialChannel& channel, platform::Timer& transferTimer)
    : m_channel(channel)
    , m_timer(transferTimer)
{
    m_timer.setOnTick([this] { onTick(); });
    m_channel.setOnBytesWritten([this](qint64 n) { onBytesWritten(n); });
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
    m_queue.push_back(Item{bytes, false, {}});
    return true;
}

void PortWriter::WritePicture(const QByteArray& picture, PictureWrite callbacks)
{
    m_queue.push_back(Item{picture, true, std::move(callbacks)});
    if (m_state == State::Idle)
        startNext();
}

void PortWriter::PauseOutput(int ms)
{
    if (ms <= 0)
        return;
    m_queue.push_back(Item{{}, false, {}, ms});
    if (m_state == State::Idle)
        startNext();
}

void PortWriter::startNext()
{
    while (m_state == State::Idle && !m_queue.empty()) {
        Item item = std::move(m_queue.front());
        m_queue.pop_front();
        if (item.gapMs > 0) {
            m_state = State::Gap;
            m_timer.setPeriod(item.gapMs);
            return;
        }
        if (!item.picture) {
            m_channel.SendBytes(item.bytes);
            continue;
        }
        // The machine wants a moment after its request; the wait runs on the
        // timer so the window keeps working, and the picture keeps its place.
        m_current = std::move(item);
        m_state = State::Waiting;
        m_timer.setPeriod(kPictureDelayMs);
    }
}

void PortWriter::onTick()
{
    if (m_state == State::Gap) {
        m_timer.setPeriod(0);
        m_state = State::Idle;
        startNext();
        return;
    }
    if (m_state == State::Waiting) {
        m_timer.setPeriod(0);
        if (m_current.callbacks.begin)
            m_current.callbacks.begin();
        if (m_state != State::Waiting)
            return; // aborted from inside begin
        const qint64 total = m_current.bytes.size();
        if (total == 0) {
            finish(true);
            return;
        }
        // Bytes of earlier small writes may still sit in the output buffer;
        // their bytesWritten reports come first.
        m_ahead = m_channel.BytesToWrite();
        m_leftPort = 0;
        m_written = 0;
        m_state = State::Writing;
        if (m_current.callbacks.progress)
            m_current.callbacks.progress(0, total);
        if (m_state != State::Writing)
            return;
        if (!m_channel.SendBytes(m_current.bytes))
            finish(false);
        return;
    }
    if (m_state == State::Draining) {
        ++m_drainTicks;
        checkDrained();
        return;
    }
    m_timer.setPeriod(0);
}

void PortWriter::onBytesWritten(qint64 count)
{
    if (m_state != State::Writing)
        return;
    m_leftPort += count;
    const qint64 total = m_current.bytes.size();
    const qint64 written = qBound<qint64>(0, m_leftPort - m_ahead, total);
    if (written != m_written) {
        m_written = written;
        if (m_current.callbacks.progress)
            m_current.callbacks.progress(m_written, total);
        if (m_state != State::Writing)
            return;
    }
    if (m_written == total && m_channel.BytesToWrite() == 0) {
        m_state = State::Draining;
        m_drainTicks = 0;
        checkDrained();
    }
}

void PortWriter::checkDrained()
{
    // Like tcdrain, without blocking: wait until the driver has sent what it
    // holds, where the system can tell, but never forever.
    const qint64 queued = m_channel.OutputQueued();
    if (queued <= 0 || m_drainTicks * kDrainPollMs >= kDrainLimitMs) {
        m_timer.setPeriod(0);
        finish(true);
        return;
    }
    m_timer.setPeriod(kDrainPollMs);
}

void PortWriter::finish(bool ok)
{
    m_timer.setPeriod(0);
    m_state = State::Idle;
    Item done = std::move(m_current);
    m_current = Item{};
    const qint64 written = ok ? done.bytes.size() : m_written;
    if (done.callbacks.done)
        done.callbacks.done(ok, written);
    startNext();
}

void PortWriter::abort()
{
    // The port closed: the picture cannot finish, and what waited behind it
    // was meant for that port, not for the next one a scan opens.
    if (m_state == State::Idle && m_queue.empty())
        return;
    std::deque<Item> dropped;
    dropped.swap(m_queue);
    if (m_state == State::Gap) {
        m_timer.setPeriod(0);
        m_state = State::Idle;
    } else if (m_state != State::Idle) {
        finish(false);
    }
    for (Item& item : dropped) {
        if (item.picture && item.callbacks.done)
            item.callbacks.done(false, 0);
    }
}

} // namespace kovra::link
