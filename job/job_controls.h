#pragma once
// The job buttons (start, pause, recarve, restart, skip 15 rows forward or
// back) and the run clock, which counts RunTimeTimer ticks in RunSeconds and
// shows them on TimeValueLabel.

#include "job/job_view.h"

#include <QString>

namespace kovra::platform {
class Timer;
}
namespace kovra::link {
class CommandFrames;
}

namespace kovra::job {

class JobControls {
public:
    static constexpr int RunClockPeriodMs = 1000;

    // runTimeTimer is RunTimeTimer; its tick is taken over here.
    JobControls(link::CommandFrames& frames, JobView& view, platform::Timer& runTimeTimer);
    ~JobControls();
    JobControls(const JobControls&) = delete;
    JobControls& operator=(const JobControls&) = delete;

    void StartButton();
    void PauseButton() { PauseCarving(); }
    // The pause action, also run when a picture file is dropped.
    void PauseCarving();
    void RecarveButton();
    void RestartButton();
    void FastForwardButton();
    void FastBackwardButton();

    // A new picture starts a new job: RunSeconds := 0, caption "00:00".
    void ResetRunClock();
    // The engraving-finished reply: the clock stops, its value stays.
    void StopRunClock();

    int RunSeconds() const { return m_runSeconds; }
    // " 0m:0s" with two-digit fields, minutes growing past two digits.
    static QString RunClockCaption(int seconds);

private:
    void RunTimeTimerTick();

    link::CommandFrames& m_frames;
    JobView& m_view;
    platform::Timer& m_runTimeTimer;
    int m_runSeconds = 0;
};

} // namespace kovra::job
