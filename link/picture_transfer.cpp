#include "link/picture_transfer.h"

#include <QElapsedTimer>

#include <algorithm>

namespace kovra::link {

namespace {

PictureTransfer::Clock steadyClock()
{
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    return [started] { return started->elapsed(); };
}

} // namespace

PictureTransfer::PictureTransfer(SerialChannel& channel, PortWriter& writer, LinkEvents& events,
                                 platform::Timer& timer, int lineBytesPerSecond, Clock clock)
    : m_channel(channel)
    , m_writer(writer)
    , m_events(events)
    , m_timer(timer)
    , m_lineBytesPerSecond(std::max(0, lineBytesPerSecond))
    , m_clock(clock ? std::move(clock) : steadyClock())
{
    m_timer.setOnTick([this] { onTick(); });
}

PictureTransfer::~PictureTransfer()
{
    m_timer.setPeriod(0);
    m_timer.setOnTick(nullptr);
}

void PictureTransfer::SendRequested()
{
    const QByteArray picture = m_engraveBuffer;
    const quint64 id = ++m_requests;
    OutputTurn turn;
    turn.started = [this, picture, id] { start(picture, id); };
    turn.bytesLeft = [this](qint64 count) { onBytesLeft(count); };
    turn.lost = [this, id, total = picture.size()] { onLost(id, total); };
    m_writer.TakeTurn(std::move(turn));
}

void PictureTransfer::start(const QByteArray& picture, quint64 id)
{
    // The machine wants a moment after its request; the wait runs on the
    // timer so the window keeps working, and the picture keeps its place.
    m_current = id;
    m_picture = picture;
    m_written = 0;
    m_phase = Phase::Waiting;
    m_timer.setPeriod(kRequestDelayMs);
}

void PictureTransfer::onTick()
{
    if (m_phase == Phase::Waiting) {
        m_timer.setPeriod(0);
        beginWrite();
    } else if (m_phase == Phase::Writing || m_phase == Phase::Draining) {
        check();
    } else {
        m_timer.setPeriod(0);
    }
}

void PictureTransfer::beginWrite()
{
    const qint64 total = m_picture.size();
    emit m_events.pictureSending(total);
    if (m_phase != Phase::Waiting)
        return; // the port closed under the listeners
    if (total == 0) {
        finish(true);
        return;
    }
    // Bytes of earlier small writes may still sit in the output buffer;
    // their bytesWritten reports come first, and the line carries them first.
    m_ahead = m_channel.BytesToWrite();
    m_leftPort = 0;
    m_handed = 0;
    m_drainSinceMs = -1;
    m_startMs = m_clock();
    m_phase = Phase::Writing;
    emit m_events.pictureProgress(0, total);
    if (m_phase != Phase::Writing)
        return;
    m_timer.setPeriod(kWatchMs);
    if (!m_channel.SendBytes(m_picture)) {
        finish(false);
        return;
    }
    // A channel may report bytes leaving from inside the write.
    if (m_phase == Phase::Writing)
        check();
}

void PictureTransfer::onBytesLeft(qint64 count)
{
    if (m_phase != Phase::Writing)
        return;
    m_leftPort += count;
    m_handed = std::clamp<qint64>(m_leftPort - m_ahead, 0, m_picture.size());
    check();
}

qint64 PictureTransfer::bytesOut(qint64 now) const
{
    if (m_lineBytesPerSecond <= 0)
        return m_handed;
    const qint64 carried = (now - m_startMs) * m_lineBytesPerSecond / 1000 - m_ahead;
    return std::clamp<qint64>(carried, 0, m_handed);
}

void PictureTransfer::check()
{
    const qint64 now = m_clock();
    const qint64 total = m_picture.size();
    const qint64 out = bytesOut(now);
    if (out != m_written) {
        m_written = out;
        emit m_events.pictureProgress(m_written, total);
        if (m_phase != Phase::Writing && m_phase != Phase::Draining)
            return; // the port closed under the listeners
    }
    if (m_phase == Phase::Writing) {
        if (m_handed < total || m_channel.BytesToWrite() > 0)
            return;
        m_phase = Phase::Draining;
    }
    if (m_written < total)
        return; // still on the line
    // Like tcdrain, without blocking: the driver's queue empty, where the
    // system can tell, but a queue that never empties does not hang us.
    if (m_drainSinceMs < 0)
        m_drainSinceMs = now;
    if (m_channel.OutputQueued() > 0 && now - m_drainSinceMs < kDrainLimitMs)
        return;
    finish(true);
}

void PictureTransfer::onLost(quint64 id, qint64 total)
{
    // A request still waiting for its turn never started: nothing left.
    if (id != m_current || m_phase == Phase::Idle) {
        emit m_events.pictureSent(false, 0, total);
        return;
    }
    m_timer.setPeriod(0);
    if (m_phase != Phase::Waiting)
        m_written = bytesOut(m_clock());
    m_phase = Phase::Idle;
    emit m_events.pictureSent(false, m_written, total);
}

void PictureTransfer::finish(bool ok)
{
    m_timer.setPeriod(0);
    m_phase = Phase::Idle;
    const qint64 total = m_picture.size();
    if (ok)
        m_written = total;
    m_writer.EndTurn([&] { emit m_events.pictureSent(ok, m_written, total); });
}

} // namespace kovra::link
