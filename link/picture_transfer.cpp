#include "link/picture_transfer.h"

namespace kovra::link {

PictureTransfer::PictureTransfer(SerialChannel& channel, PortWriter& writer, LinkEvents& events,
                                 platform::Timer& timer)
    : m_channel(channel)
    , m_writer(writer)
    , m_events(events)
    , m_timer(timer)
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
    } else if (m_phase == Phase::Draining) {
        ++m_drainTicks;
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
    // their bytesWritten reports come first.
    m_ahead = m_channel.BytesToWrite();
    m_leftPort = 0;
    m_phase = Phase::Writing;
    emit m_events.pictureProgress(0, total);
    if (m_phase != Phase::Writing)
        return;
    if (!m_channel.SendBytes(m_picture))
        finish(false);
}

void PictureTransfer::onBytesLeft(qint64 count)
{
    if (m_phase != Phase::Writing)
        return;
    m_leftPort += count;
    const qint64 total = m_picture.size();
    const qint64 written = qBound<qint64>(0, m_leftPort - m_ahead, total);
    if (written != m_written) {
        m_written = written;
        emit m_events.pictureProgress(m_written, total);
        if (m_phase != Phase::Writing)
            return;
    }
    if (m_written == total && m_channel.BytesToWrite() == 0) {
        m_phase = Phase::Draining;
        m_drainTicks = 0;
        check();
    }
}

void PictureTransfer::check()
{
    // Like tcdrain, without blocking: wait until the driver has sent what it
    // holds, where the system can tell, but never forever.
    const qint64 queued = m_channel.OutputQueued();
    if (queued <= 0 || m_drainTicks * kDrainPollMs >= kDrainLimitMs) {
        finish(true);
        return;
    }
    m_timer.setPeriod(kDrainPollMs);
}

void PictureTransfer::onLost(quint64 id, qint64 total)
{
    // A request still waiting for its turn never started: nothing left.
    if (id != m_current || m_phase == Phase::Idle) {
        emit m_events.pictureSent(false, 0, total);
        return;
    }
    m_timer.setPeriod(0);
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
