#include "job/job_progress.h"

#include "job/engrave_encoder.h"
#include "link/link_events.h"

#include <QElapsedTimer>

#include <algorithm>
#include <bit>
#include <cmath>
#include <memory>

namespace kovra::job {

using Phase = JobProgressState::Phase;

JobProgress::JobProgress(link::LinkEvents& link, JobEvents& job, RateStore* store, Clock clock)
    : m_store(store)
    , m_clock(std::move(clock))
{
    if (!m_clock) {
        auto timer = std::make_shared<QElapsedTimer>();
        timer->start();
        m_clock = [timer] { return timer->elapsed(); };
    }
    using L = link::LinkEvents;
    connect(&job, &JobEvents::pictureAnnounced, this, [this](const QByteArray& raster) { m_announced = raster; });
    connect(&link, &L::pictureSent, this, [this](bool ok, qint64, qint64 total) { pictureSent(ok, total); });
    connect(&link, &L::burnTimeReported, this, [this](int t) { m_burnTime = t; emit changed(); });
    connect(&link, &L::burnTimeSent, this, [this](int t) { m_burnTime = t; emit changed(); });
    connect(&link, &L::rowReported, this, [this](int row) { rowReported(row); });
    connect(&link, &L::positionReported, this, [this](int row, int column) { positionReported(row, column); });
    connect(&link, &L::carvingFinished, this, [this] { finished(); });
    connect(&link, &L::connectionBroken, this, [this] {
        if (m_phase != Phase::NoPicture)
            setPhase(Phase::Broken);
    });
    connect(&job, &JobEvents::carvingStarted, this, [this] {
        if (m_phase == Phase::NoPicture)
            return;
        // After the last row the machine begins again at the first.
        if (m_phase == Phase::Finished)
            moveTo(0);
        setPhase(Phase::Engraving);
    });
    connect(&job, &JobEvents::carvingPaused, this, [this] {
        if (m_phase == Phase::Engraving)
            setPhase(Phase::Paused);
    });
    connect(&job, &JobEvents::recarved, this, [this] {
        if (m_phase == Phase::NoPicture)
            return;
        moveTo(0);
        setPhase(Phase::Engraving);
    });
    connect(&job, &JobEvents::restarted, this, [this] {
        if (m_phase == Phase::NoPicture)
            return;
        moveTo(0);
        setPhase(Phase::Ready);
    });
    // The machine moves 15 rows: dots skipped are passed, not burned.
    connect(&job, &JobEvents::rowsSkipped, this, [this] { m_rebase = true; });
    connect(&job, &JobEvents::runClockChanged, this, [this] {
        if (m_phase == Phase::Engraving)
            emit changed();
    });
}

void JobProgress::pictureSent(bool ok, qint64 total)
{
    if (!ok || total != EngraveBufferSize || m_announced.size() != EngraveBufferSize)
        return;
    m_raster = m_announced;
    qint64 dots = 0;
    const auto* bytes = reinterpret_cast<const uchar*>(m_raster.constData());
    for (int row = 0; row < EngraveSide; ++row) {
        m_rowStart[size_t(row)] = dots;
        for (int i = 0; i < EngraveRowBytes; ++i)
            dots += std::popcount(bytes[row * EngraveRowBytes + i]);
    }
    m_rowStart[EngraveSide] = dots;
    // A new picture is a new job: nothing measured yet.
    m_passed = 0;
    m_row = -1;
    m_measuredDots = 0;
    m_activeMs = 0;
    m_activeSince = -1;
    m_rebase = false;
    m_phase = Phase::NoPicture;
    setPhase(Phase::Ready);
    emit changed();
}

void JobProgress::setPhase(Phase phase)
{
    if (phase == m_phase)
        return;
    const qint64 now = m_clock();
    if (m_phase == Phase::Engraving && m_activeSince >= 0) {
        m_activeMs += now - m_activeSince;
        m_activeSince = -1;
    }
    if (phase == Phase::Engraving)
        m_activeSince = now;
    m_phase = phase;
    emit changed();
}

qint64 JobProgress::dotsBefore(int row, int column) const
{
    // Dots of the rows above, then those of this row left of column.
    row = std::clamp(row, 0, EngraveSide);
    if (row == EngraveSide || column <= 0)
        return m_rowStart[size_t(row)];
    column = std::min(column, EngraveSide);
    const auto* line = reinterpret_cast<const uchar*>(m_raster.constData()) + row * EngraveRowBytes;
    qint64 dots = m_rowStart[size_t(row)];
    const int whole = column / 8;
    for (int i = 0; i < whole; ++i)
        dots += std::popcount(line[i]);
    if (const int rest = column % 8)
        dots += std::popcount(uchar(line[whole] & (0xFF00u >> rest)));
    return dots;
}

void JobProgress::rowReported(int row)
{
    // X comes before every dot; only a new row moves the count (a skip
    // reports the row it lands on and nothing else).
    if (m_phase == Phase::NoPicture || row == m_row)
        return;
    m_row = row;
    moveTo(dotsBefore(row, 0));
}

void JobProgress::positionReported(int row, int column)
{
    if (m_phase == Phase::NoPicture)
        return;
    m_row = row;
    // The machine counts columns from 1: the dot at column - 1 is done.
    moveTo(dotsBefore(row, column));
}

void JobProgress::moveTo(qint64 passed)
{
    if (m_phase == Phase::Engraving) {
        if (!m_rebase && passed > m_passed)
            m_measuredDots += passed - m_passed;
        m_rebase = false;
    }
    if (passed == m_passed)
        return;
    m_passed = passed;
    emit changed();
}

void JobProgress::finished()
{
    if (m_phase == Phase::NoPicture)
        return;
    m_rebase = true; // the rows after the last reported dot were not timed
    moveTo(m_rowStart[EngraveSide]);
    setPhase(Phase::Finished);
    if (m_store && m_burnTime > 0)
        if (const std::optional<double> rate = measuredRate())
            m_store->LearnRate(m_burnTime, *rate);
}

qint64 JobProgress::activeMs() const
{
    return m_activeMs + (m_activeSince >= 0 ? m_clock() - m_activeSince : 0);
}

std::optional<double> JobProgress::measuredRate() const
{
    const qint64 ms = activeMs();
    if (ms < MinMeasureMs || m_measuredDots <= 0)
        return std::nullopt;
    return m_measuredDots * 1000.0 / double(ms);
}

JobProgressState JobProgress::State() const
{
    JobProgressState s;
    s.phase = m_phase;
    if (m_phase == Phase::NoPicture)
        return s;
    s.dots = m_rowStart[EngraveSide];
    s.passed = std::clamp<qint64>(m_passed, 0, s.dots);
    s.percent = s.dots > 0 ? int(s.passed * 100 / s.dots) : 100;
    s.activeSeconds = int(activeMs() / 1000);
    if (m_phase == Phase::Finished) {
        s.secondsLeft = 0;
        return s;
    }
    std::optional<double> rate = measuredRate();
    if (!rate && m_store && m_burnTime > 0) {
        rate = m_store->LearnedRate(m_burnTime);
        s.learned = rate.has_value();
    }
    if (rate && *rate > 0)
        s.secondsLeft = int(std::ceil(double(s.dots - s.passed) / *rate));
    return s;
}

} // namespace kovra::job
