#pragma once
// How far the engraving is and how long it may still take, learned from the
// machine itself: the picture's dark dots are known once the machine has
// them, each reported position passes the dots before it, and the rate
// measured while the machine works (its time for light rows and per dot
// burned, pauses and breaks left out) gives the time left. The dots burned a second
// are learned for the next job at the same burn time, which starts with them.
//
// Only dots the machine burned one after the other enter the rate: rows
// skipped forward or back are passed but not burned, and the positions still
// on their way when Recarve or Restart was pressed count for nothing.

#include "job/job_events.h"
#include "job/pace_fit.h"
#include "job/time_left.h"

#include <QByteArray>
#include <QObject>

#include <array>
#include <functional>
#include <optional>

namespace kovra::link {
class LinkEvents;
}

namespace kovra::job {

// Rates learned from finished jobs, by burn time (dots a second).
class RateStore {
public:
    virtual ~RateStore() = default;
    virtual std::optional<double> LearnedRate(int burnTime) const = 0;
    virtual void LearnRate(int burnTime, double dotsPerSecond) = 0;
};

struct JobProgressState {
    // PictureLost: the transfer broke off, so the machine holds no whole
    // picture; it must be sent again.
    enum class Phase { NoPicture, Ready, Engraving, Paused, Finished, Broken, PictureLost };
    Phase phase = Phase::NoPicture;
    qint64 dots = 0;         // dark dots of the picture in the machine
    qint64 passed = 0;       // dots at or before the last reported position
    int percent = 0;         // passed in hundredths of dots, 0..100
    int secondsLeft = -1;    // -1: no estimate (yet)
    bool learned = false;    // the estimate comes from earlier jobs, not this one
    int activeSeconds = 0;   // engraving time of this run so far, pauses left out
};

class JobProgress final : public QObject {
    Q_OBJECT
public:
    // A monotonic clock in milliseconds; tests pass their own.
    using Clock = std::function<qint64()>;
    // A measured rate counts once this much engraving time and this many
    // burned dots (or this share of the picture's dots) are behind it.
    static constexpr qint64 MinMeasureMs = 3000;
    static constexpr qint64 MinMeasureDots = 100;
    static constexpr int MinMeasurePerMille = 20;
    // After Recarve, positions from before it may still arrive this long.
    static constexpr qint64 StaleReportsMs = 2000;

    JobProgress(link::LinkEvents& link, JobEvents& job, RateStore* store = nullptr, Clock clock = {});

    JobProgressState State() const;
    int BurnTime() const { return m_burnTime; }

signals:
    void changed();

private:
    void wireLink(link::LinkEvents& link);
    void wireJob(JobEvents& job);
    void pictureSent(bool ok, qint64 total);
    void connectionBroken();
    void reconnected();
    void started();
    void recarved();
    void setPhase(JobProgressState::Phase phase);
    void rowReported(int row);
    void positionReported(int row, int column);
    void take(int row, int column, qint64 passed, bool burnedOneAfterAnother);
    bool followsLastReport(int row) const;
    void moveTo(qint64 passed);
    void atTheTop();
    void newMeasurement();
    void finished();
    void notify();
    qint64 activeMs() const;
    std::optional<double> measuredRate() const;
    // Seconds left: this run's pace once known, else the learned rate.
    std::optional<double> estimate(bool* learned) const;
    qint64 dotsBefore(int row, int column) const;
    int nextDarkRow(int row) const;
    PaceFit::Place reportedPlace() const; // of the last report taken

    RateStore* m_store;
    Clock m_clock;
    JobProgressState::Phase m_phase = JobProgressState::Phase::NoPicture;
    JobProgressState::Phase m_afterBreak = JobProgressState::Phase::NoPicture; // once the link is back
    bool m_transferring = false;
    bool m_mayRunAlone = false;  // reconnected after a break while engraving
    QByteArray m_announced;   // sent with BeginImage, not yet in the machine
    QByteArray m_raster;      // the picture in the machine
    std::array<qint64, 513> m_rowStart{}; // dots before each row
    qint64 m_passed = 0;      // as shown
    int m_burnTime = 0;       // 0: not known yet
    // The machine's last report that was taken.
    int m_reportedRow = -1;
    int m_reportedColumn = 0;
    int m_machineRow = -1;    // the last X the machine sent, taken or not
    qint64 m_reportedPassed = 0;
    int m_skipsAhead = 0;      // skips asked for while no job runs, not yet reported
    qint64 m_rewindFrom = -1;  // after Recarve: reports from here on are old ones
    qint64 m_rewindAt = 0;
    // The measurement: dots burned while engraving, over the time it took.
    qint64 m_measuredDots = 0;
    qint64 m_activeMs = 0;
    qint64 m_activeSince = -1; // clock at the start of the running stretch
    PaceFit m_pace{m_rowStart};
    TimeLeftSmoother m_smoother;
    int m_secondsLeft = -1;    // while engraving, as last smoothed
    bool m_learned = false;
};

} // namespace kovra::job
