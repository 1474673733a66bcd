#include "job/job_controls.h"

#include "link/command_frames.h"
#include "link/link_events.h"
#include "platform/timer.h"

namespace kovra::job {

JobControls::JobControls(link::CommandFrames& frames, JobEvents& events, link::LinkEvents& linkEvents,
                         platform::Timer& runTimeTimer)
    : m_frames(frames)
    , m_events(events)
    , m_linkEvents(linkEvents)
    , m_runTimeTimer(runTimeTimer)
{
    m_runTimeTimer.setOnTick([this] { RunTimeTimerTick(); });
    QObject::connect(&m_linkEvents, &link::LinkEvents::carvingFinished, &m_events, [this] {
        m_paused = false;
        StopRunClock();
    });
}

JobControls::~JobControls()
{
    QObject::disconnect(&m_linkEvents, nullptr, &m_events, nullptr);
    m_runTimeTimer.setOnTick({});
}

void JobControls::Start()
{
    m_frames.StartCarve();
    const bool resumed = m_paused;
    m_paused = false;
    emit m_events.carvingStarted(resumed);
    // RunSeconds is kept: after a pause the clock goes on where it stopped,
    // and a second Start keeps the running schedule.
    m_runTimeTimer.setPeriod(RunClockPeriodMs);
}

void JobControls::PauseCarving()
{
    m_frames.PauseCarve();
    m_runTimeTimer.setPeriod(0);
    m_paused = true;
    emit m_events.carvingPaused();
}

void JobControls::Recarve()
{
    m_frames.Recarve();
    m_paused = false;
    emit m_events.recarved();
    m_runSeconds = 0;
    m_runTimeTimer.setPeriod(RunClockPeriodMs);
    emit m_events.runClockChanged(0);
}

void JobControls::Restart()
{
    m_frames.RestartMachine();
    m_paused = false;
    m_runSeconds = 0;
    m_runTimeTimer.setPeriod(0);
    emit m_events.restarted();
}

void JobControls::FastForward()
{
    m_frames.FastForward(); // the frame, then 0xAA on its own
    emit m_events.rowsSkipped(SkipRows);
}

void JobControls::FastBackward()
{
    m_frames.FastBackward(); // the frame, then 0x55 on its own
    emit m_events.rowsSkipped(-SkipRows);
}

void JobControls::ResetRunClock()
{
    m_runSeconds = 0;
    emit m_events.runClockChanged(0);
}

void JobControls::StopRunClock()
{
    m_runTimeTimer.setPeriod(0);
}

void JobControls::RunTimeTimerTick()
{
    ++m_runSeconds;
    emit m_events.runClockChanged(m_runSeconds);
}

} // namespace kovra::job
