#pragma once
// How far the engraving is and how long it may still take, learned from the
// machine itself: the picture's dark dots are known once the machine has
// them, each reported position passes the dots before it, and the rate
// measured while the machine works (dots a second, pauses and breaks left
// out) gives the time left. Before Start, the rate learned in earlier jobs
// at the same burn time gives a first estimate.

#include "job/job_events.h"

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
    enum class Phase { NoPicture, Ready, Engraving, Paused, Finished, Broken };
    Phase phase = Phase::NoPicture;
    qint64 dots = 0;         // dark dots of the picture in the machine
    qint64 passed = 0;       // dots at or before the last reported position
    int percent = 0;         // passed in hundredths of dots, 0..100
    int secondsLeft = -1;    // -1: no estimate
    bool learned = false;    // the estimate comes from earlier jobs, not this one
    int activeSeconds = 0;   // engraving time so far, pauses left out
};

class JobProgress final : public QObject {
    Q_OBJECT
public:
    // A monotonic clock in milliseconds; tests pass their own.
    using Clock = std::function<qint64()>;
    // Measured rates count only after this much engraving time.
    static constexpr qint64 MinMeasureMs = 3000;

    JobProgress(link::LinkEvents& link, JobEvents& job, RateStore* store = nullptr, Clock clock = {});

    JobProgressState State() const;
    int BurnTime() const { return m_burnTime; }

signals:
    void changed();

private:
    void pictureSent(bool ok, qint64 total);
    void setPhase(JobProgressState::Phase phase);
    void rowReported(int row);
    void positionReported(int row, int column);
    void moveTo(qint64 passed);
    void finished();
    qint64 activeMs() const;
    std::optional<double> measuredRate() const;
    qint64 dotsBefore(int row, int column) const;

    RateStore* m_store;
    Clock m_clock;
    JobProgressState::Phase m_phase = JobProgressState::Phase::NoPicture;
    QByteArray m_announced;   // sent with BeginImage, not yet in the machine
    QByteArray m_raster;      // the picture in the machine
    std::array<qint64, 513> m_rowStart{}; // dots before each row
    qint64 m_passed = 0;
    int m_row = -1;
    int m_burnTime = 0;       // 0: not known yet
    // The measurement: dots burned while engraving, over the time it took.
    qint64 m_measuredDots = 0;
    qint64 m_activeMs = 0;
    qint64 m_activeSince = -1; // clock at the start of the running stretch
    bool m_rebase = false;     // the next position starts a new stretch of dots (after a skip)
};

} // namespace kovra::job
