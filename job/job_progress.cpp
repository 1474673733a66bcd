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
    wireLink(link);
    wireJob(job);
}

void JobProgress::wireLink(link::LinkEvents& link)
{
    using L = link::LinkEvents;
    connect(&link, &L::pictureSending, this, [this] { m_transferring = true; });
    connect(&link, &L::pictureSent, this, [this](bool ok, qint64, qint64 total) { pictureSent(ok, total); });
    connect(&link, &L::burnTimeReported, this, [this](int t) { m_burnTime = t; notify(); });
    connect(&link, &L::burnTimeSent, this, [this](int t) { m_burnTime = t; notify(); });
    connect(&link, &L::rowReported, this, [this](int row) { rowReported(row); });
    connect(&link, &L::positionReported, this, [this](int row, int column) { positionReported(row, column); });
    connect(&link, &L::carvingFinished, this, [this] { finished(); });
    connect(&link, &L::connectionBroken, this, [this] { connectionBroken(); });
    connect(&link, &L::connected, this, [this] { reconnected(); });
}

void JobProgress::wireJob(JobEvents& job)
{
    connect(&job, &JobEvents::pictureAnnounced, this, [this](const QByteArray& raster) { m_announced = raster; });
    connect(&job, &JobEvents::carvingStarted, this, [this] { started(); });
    connect(&job, &JobEvents::carvingPaused, this, [this] {
        m_mayRunAlone = false;
        if (m_phase == Phase::Engraving)
            setPhase(Phase::Paused);
    });
    connect(&job, &JobEvents::recarved, this, [this] { recarved(); });
    connect(&job, &JobEvents::restarted, this, [this] {
        // The machine goes back to the first row and waits for Start.
        if (m_phase == Phase::Broken && m_afterBreak != Phase::PictureLost)
            m_afterBreak = Phase::Ready;
        if (m_phase == Phase::NoPicture || m_phase == Phase::PictureLost || m_phase == Phase::Broken)
            return;
        m_mayRunAlone = false;
        m_rewindFrom = -1;
        m_reportedRow = -1;
        m_skipsAhead = 0;
        moveTo(0);
        setPhase(Phase::Ready);
        newMeasurement();
    });
    // Before Start (or after the end) the machine reports the row a skip
    // lands on; other reports then come from positioning the laser.
    connect(&job, &JobEvents::rowsSkipped, this, [this] {
        if (m_phase == Phase::Ready || m_phase == Phase::Finished)
            ++m_skipsAhead;
    });
    connect(&job, &JobEvents::runClockChanged, this, [this] {
        if (m_phase == Phase::Engraving)
            notify();
    });
}

void JobProgress::pictureSent(bool ok, qint64 total)
{
    m_transferring = false;
    if (!ok) {
        // BeginImage made the machine erase its picture, and the new one did not arrive whole.
        if (total != EngraveBufferSize)
            return;
        m_raster.clear();
        if (m_phase == Phase::Broken)
            m_afterBreak = Phase::PictureLost;
        else
            setPhase(Phase::PictureLost);
        return;
    }
    if (total != EngraveBufferSize || m_announced.size() != EngraveBufferSize)
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
    m_reportedRow = -1;
    m_reportedPassed = 0;
    m_skipsAhead = 0;
    m_rewindFrom = -1;
    m_mayRunAlone = false;
    m_phase = Phase::NoPicture;
    newMeasurement();
    setPhase(Phase::Ready);
}

void JobProgress::connectionBroken()
{
    if (m_phase == Phase::Broken)
        return;
    if (m_transferring)
        m_afterBreak = Phase::PictureLost;
    else if (m_phase == Phase::NoPicture)
        return;
    else
        // A machine without its line stops where it was, as far as we can know.
        m_afterBreak = m_phase == Phase::Engraving ? Phase::Paused : m_phase;
    m_mayRunAlone = m_phase == Phase::Engraving;
    setPhase(Phase::Broken);
}

void JobProgress::reconnected()
{
    if (m_phase == Phase::Broken)
        setPhase(m_afterBreak);
}

void JobProgress::started()
{
    if (m_phase == Phase::NoPicture || m_phase == Phase::PictureLost || m_phase == Phase::Broken)
        return;
    m_mayRunAlone = false;
    const bool newRun = m_phase == Phase::Ready || m_phase == Phase::Finished;
    // After the last row the machine begins again at the first (unless a skip moved it).
    if (m_phase == Phase::Finished && m_passed >= m_rowStart[EngraveSide]) {
        m_reportedRow = -1;
        moveTo(0);
    }
    // A new run begins at the top, unless a skip moved the machine before it.
    if (newRun && m_reportedRow < 0)
        atTheTop();
    m_skipsAhead = 0;
    const bool resumed = m_phase == Phase::Paused;
    setPhase(Phase::Engraving);
    if (newRun)
        newMeasurement();
    else if (resumed)
        m_pace.Resume(activeMs());
}

void JobProgress::recarved()
{
    if (m_phase == Phase::NoPicture || m_phase == Phase::PictureLost || m_phase == Phase::Broken)
        return;
    m_mayRunAlone = false;
    // Positions at or past the last one are still from before, until one
    // from the top arrives.
    m_rewindFrom = m_reportedRow >= 0 && m_reportedPassed > 0 ? m_reportedPassed : -1;
    m_rewindAt = m_clock();
    atTheTop();
    m_skipsAhead = 0;
    moveTo(0);
    setPhase(Phase::Engraving);
    newMeasurement();
}

void JobProgress::atTheTop()
{
    // The light rows above the first dot are swept too, and take their time.
    m_reportedRow = 0;
    m_reportedColumn = 0;
    m_reportedPassed = 0;
}

void JobProgress::newMeasurement()
{
    m_measuredDots = 0;
    m_activeMs = 0;
    m_activeSince = m_phase == Phase::Engraving ? m_clock() : -1;
    m_pace.Reset(activeMs(), reportedPlace());
    m_smoother.Reset();
    m_secondsLeft = -1;
    m_learned = false;
    notify();
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
    notify();
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

PaceFit::Place JobProgress::reportedPlace() const
{
    if (m_reportedRow < 0)
        return {};
    return {m_reportedRow * EngraveSide + m_reportedColumn, m_reportedPassed};
}

int JobProgress::nextDarkRow(int row) const
{
    for (int next = std::max(row + 1, 0); next < EngraveSide; ++next)
        if (m_rowStart[size_t(next) + 1] > m_rowStart[size_t(next)])
            return next;
    return EngraveSide;
}

void JobProgress::rowReported(int row)
{
    // The same X comes before every dot of a row: only a new row moves the
    // count (a skip reports the row it lands on and nothing else). Compared
    // with the machine's last X, so positions sent before a Recarve do not
    // look like a new row.
    const bool skipLanding = (m_phase == Phase::Ready || m_phase == Phase::Finished) && m_skipsAhead > 0;
    if (row == m_machineRow)
        return;
    m_machineRow = row;
    if (m_phase != Phase::Engraving && m_phase != Phase::Paused && !skipLanding)
        return;
    if (skipLanding)
        --m_skipsAhead;
    // A machine that reports only now and then still burned what lies
    // between two reports, as long as no dark row was jumped.
    take(row, 0, dotsBefore(row, 0), m_phase == Phase::Engraving && followsLastReport(row));
}

void JobProgress::positionReported(int row, int column)
{
    if (m_phase != Phase::Engraving && m_phase != Phase::Paused)
        return;
    // The machine counts columns from 1: the dot at column - 1 is done.
    const qint64 passed = dotsBefore(row, column);
    const bool next = followsLastReport(row) && passed >= m_reportedPassed;
    // Back after a break, a machine that goes on by itself is engraving.
    if (m_phase == Phase::Paused && m_mayRunAlone && next && passed > m_reportedPassed) {
        m_mayRunAlone = false;
        setPhase(Phase::Engraving);
        m_pace.Resume(activeMs());
    }
    take(row, column, passed, m_phase == Phase::Engraving && next);
}

bool JobProgress::followsLastReport(int row) const
{
    // The same row, or the next one with dots: nothing dark lies between.
    return m_reportedRow >= 0 && row >= m_reportedRow && row <= nextDarkRow(m_reportedRow);
}

void JobProgress::take(int row, int column, qint64 passed, bool burnedOneAfterAnother)
{
    if (m_rewindFrom >= 0) {
        if (passed >= m_rewindFrom && m_clock() - m_rewindAt < StaleReportsMs)
            return;
        // Back at the top as asked; else the machine went on where it was.
        if (passed >= m_rewindFrom)
            burnedOneAfterAnother = false;
        m_rewindFrom = -1;
    }
    if (burnedOneAfterAnother) {
        m_measuredDots += std::max<qint64>(passed - m_reportedPassed, 0);
        m_pace.Advance(activeMs(), {row * EngraveSide + column, passed});
    } else if (m_phase == Phase::Engraving) {
        m_pace.Break(activeMs(), {row * EngraveSide + column, passed});
    }
    m_reportedRow = row;
    m_reportedColumn = column;
    m_reportedPassed = passed;
    moveTo(passed);
}

void JobProgress::moveTo(qint64 passed)
{
    if (passed == m_passed)
        return;
    m_passed = passed;
    notify();
}

void JobProgress::finished()
{
    if (m_phase == Phase::NoPicture || m_phase == Phase::PictureLost || m_phase == Phase::Broken)
        return;
    m_rewindFrom = -1;
    m_reportedRow = -1;
    m_mayRunAlone = false;
    moveTo(m_rowStart[EngraveSide]);
    setPhase(Phase::Finished);
    if (m_store && m_burnTime > 0)
        if (const std::optional<double> measured = measuredRate())
            m_store->LearnRate(m_burnTime, *measured);
}

void JobProgress::notify()
{
    if (m_phase == Phase::Engraving) {
        const std::optional<double> left = estimate(&m_learned);
        m_secondsLeft = left ? m_smoother.Update(activeMs(), *left) : -1;
    }
    emit changed();
}

qint64 JobProgress::activeMs() const
{
    return m_activeMs + (m_activeSince >= 0 ? m_clock() - m_activeSince : 0);
}

std::optional<double> JobProgress::measuredRate() const
{
    const qint64 ms = activeMs();
    const qint64 enough = std::max(MinMeasureDots, m_rowStart[EngraveSide] * MinMeasurePerMille / 1000);
    if (ms < MinMeasureMs || m_measuredDots < enough)
        return std::nullopt;
    return m_measuredDots * 1000.0 / double(ms);
}

std::optional<double> JobProgress::estimate(bool* learned) const
{
    *learned = false;
    const qint64 dotsLeft = m_rowStart[EngraveSide] - std::clamp<qint64>(m_passed, 0, m_rowStart[EngraveSide]);
    // The pace of this run once enough of it is measured; its dots a second
    // until the first stretches are timed.
    if (const std::optional<double> rate = measuredRate()) {
        if (const std::optional<double> seconds = m_pace.SecondsFrom(reportedPlace()))
            return seconds;
        return double(dotsLeft) / *rate;
    }
    // Else the rate learned from earlier jobs at this burn time.
    if (!m_store || m_burnTime <= 0)
        return std::nullopt;
    const std::optional<double> stored = m_store->LearnedRate(m_burnTime);
    if (!stored || *stored <= 0)
        return std::nullopt;
    *learned = true;
    return double(dotsLeft) / *stored;
}

JobProgressState JobProgress::State() const
{
    JobProgressState s;
    s.phase = m_phase;
    // Without a whole picture in the machine there is nothing to count.
    if (m_phase == Phase::NoPicture || m_phase == Phase::PictureLost
        || (m_phase == Phase::Broken && m_afterBreak == Phase::PictureLost))
        return s;
    s.dots = m_rowStart[EngraveSide];
    s.passed = std::clamp<qint64>(m_passed, 0, s.dots);
    s.percent = s.dots > 0 ? int(s.passed * 100 / s.dots) : 100;
    s.activeSeconds = int(activeMs() / 1000);
    switch (m_phase) {
    case Phase::Finished:
        s.secondsLeft = 0;
        break;
    case Phase::Ready:
        if (const std::optional<double> seconds = estimate(&s.learned))
            s.secondsLeft = int(std::ceil(*seconds));
        break;
    default:
        // Engraving, and frozen where it stopped while paused or broken.
        s.secondsLeft = m_secondsLeft;
        s.learned = m_learned;
        break;
    }
    return s;
}

} // namespace kovra::job
