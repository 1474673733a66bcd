#include "job/job_controls.h"

#include "link/command_frames.h"
#include "platform/timer.h"

namespace kovra::job {

namespace {
const QString ResetCaption = QStringLiteral("00:00");
}

JobControls::JobControls(link::CommandFrames& frames, JobView& view, platform::Timer& runTimeTimer)
    : m_frames(frames)
    , m_view(view)
    , m_runTimeTimer(runTimeTimer)
{
    m_runTimeTimer.setOnTick([this] { RunTimeTimerTick(); });
}

JobControls::~JobControls()
{
    m_runTimeTimer.setOnTick({});
}

void JobControls::StartButton()
{
    m_frames.StartCarve();
    m_view.AppendLogText(QStringLiteral("Start carving\r\n\r\n"));
    m_view.ResetLocationControls();
    m_view.LockLocationControls();
    // RunSeconds is kept: after a pause the clock goes on where it stopped,
    // and a second Start keeps the running schedule.
    m_runTimeTimer.setPeriod(RunClockPeriodMs);
}

void JobControls::PauseCarving()
{
    m_frames.PauseCarve();
    m_runTimeTimer.setPeriod(0);
    m_view.AppendLogText(QStringLiteral("Engraving Pause !\r\n\r\n"));
}

void JobControls::RecarveButton()
{
    m_frames.Recarve();
    m_view.AppendLogText(QStringLiteral("Recarve\r\n\r\n"));
    m_runSeconds = 0;
    m_runTimeTimer.setPeriod(RunClockPeriodMs);
    m_view.SetTimeValueLabel(ResetCaption);
}

void JobControls::RestartButton()
{
    m_frames.RestartMachine();
    m_view.AppendLogText(QStringLiteral("Restarting...\r\n\r\n"));
    m_view.EnableMachineControls();
    m_runSeconds = 0;
    m_runTimeTimer.setPeriod(0);
    m_view.SetTimeValueLabel(ResetCaption);
    m_view.SetXEdit(QStringLiteral("000"));
    m_view.SetYEdit(QStringLiteral("000"));
}

void JobControls::FastForwardButton()
{
    m_frames.FastForward(); // the frame, then 0xAA on its own
    m_view.AppendLogText(QStringLiteral("Fast Forward for 15 row\r\n\r\n"));
}

void JobControls::FastBackwardButton()
{
    m_frames.FastBackward(); // the frame, then 0x55 on its own
    m_view.AppendLogText(QStringLiteral("Fast Backward for 15 row\r\n\r\n"));
}

void JobControls::ResetRunClock()
{
    m_runSeconds = 0;
    m_view.SetTimeValueLabel(ResetCaption);
}

void JobControls::StopRunClock()
{
    m_runTimeTimer.setPeriod(0);
}

QString JobControls::RunClockCaption(int seconds)
{
    const int minutes = seconds / 60;
    const int rest = seconds % 60;
    return (minutes < 10 ? QStringLiteral(" 0") : QStringLiteral(" ")) + QString::number(minutes)
           + (rest < 10 ? QStringLiteral(":0") : QStringLiteral(":")) + QString::number(rest);
}

void JobControls::RunTimeTimerTick()
{
    ++m_runSeconds;
    m_view.SetTimeValueLabel(RunClockCaption(m_runSeconds));
}

} // namespace kovra::job
