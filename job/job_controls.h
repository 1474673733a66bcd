#pragma once
// The job's commands (start, pause, recarve, restart, skip 15 rows forward or
// back) and the run clock, which counts the ticks of its one-second timer in
// RunSeconds and reports every change.

#include "job/job_events.h"

#include <QString>

namespace kovra::platform {
class Timer;
}
namespace kovra::link {
class CommandFrames;
class LinkEvents;
}

namespace kovra::job {

class JobControls {
public:
    static constexpr int RunClockPeriodMs = 1000;
    // The machine moves its engraving position by this many rows per skip.
    static constexpr int SkipRows = 15;

    // runTimeTimer: the run clock's timer; its tick is taken over here. The
    // clock stops when the link reports the engraving finished.
    JobControls(link::CommandFrames& frames, JobEvents& events, link::LinkEvents& linkEvents,
                platform::Timer& runTimeTimer);
    ~JobControls();
    JobControls(const JobControls&) = delete;
    JobControls& operator=(const JobControls&) = delete;

    void Start();
    void Pause() { PauseCarving(); }
    // The pause action, also run when a picture file is dropped.
    void PauseCarving();
    void Recarve();
    void Restart();
    void FastForward();
    void FastBackward();

    // A new picture starts a new job: RunSeconds := 0.
    void ResetRunClock();
    // The engraving-finished reply: the clock stops, its value stays.
    void StopRunClock();

    int RunSeconds() const { return m_runSeconds; }
    bool Paused() const { return m_paused; }

private:
    void RunTimeTimerTick();

    link::CommandFrames& m_frames;
    JobEvents& m_events;
    link::LinkEvents& m_linkEvents;
    platform::Timer& m_runTimeTimer;
    int m_runSeconds = 0;
    bool m_paused = false;
};

} // namespace kovra::job
