// Job buttons, their frames and log texts in order, and the run clock.
#include "job/job_controls.h"

#include "job_recorder.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;

namespace {

struct JobControlsFixture : ::testing::Test {
    test::JobRig rig;
    test::ManualTimer& runTimeTimer = rig.runTime;
    job::JobControls controls{rig.frames(), rig.jobEvents, rig.machine.events(), rig.runTime};

    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            runTimeTimer.tick();
    }
};

} // namespace

TEST_F(JobControlsFixture, StartLocksThePositioningAndRunsTheClock)
{
    controls.Start();
    EXPECT_EQ(rig.take(), (QStringList{"FF 01 01 00", "started"}));
    EXPECT_EQ(runTimeTimer.period(), 1000);
}

TEST_F(JobControlsFixture, PauseKeepsTheClockValueForTheResume)
{
    controls.Start();
    ticks(3);
    EXPECT_EQ(rig.take(), (QStringList{"FF 01 01 00", "started", "clock 1", "clock 2", "clock 3"}));
    controls.Pause();
    EXPECT_EQ(rig.take(), (QStringList{"FF 01 02 00", "paused"}));
    EXPECT_FALSE(runTimeTimer.running());
    EXPECT_FALSE(runTimeTimer.tick());
    controls.Start();
    ticks(2);
    EXPECT_EQ(controls.RunSeconds(), 5);
    EXPECT_EQ(rig.take(), (QStringList{"FF 01 01 00", "resumed", "clock 4", "clock 5"}));
}

TEST_F(JobControlsFixture, SecondStartKeepsTheRunningSchedule)
{
    controls.Start();
    ticks(2);
    controls.Start();
    EXPECT_EQ(runTimeTimer.restarts(), 1);
    ticks(1);
    const QStringList events = rig.take();
    EXPECT_EQ(events.last(), "clock 3");
    EXPECT_EQ(events.filter("FF 01 01 00").size(), 2);
}

TEST_F(JobControlsFixture, RecarveStartsTheClockAgainFromZero)
{
    controls.Start();
    ticks(70);
    rig.take();
    controls.Recarve();
    EXPECT_EQ(rig.take(), (QStringList{"FF 01 03 00", "recarved", "clock 0"}));
    EXPECT_TRUE(runTimeTimer.running());
    ticks(1);
    EXPECT_EQ(rig.take(), QStringList{"clock 1"});

    // From a pause, Recarve runs the clock as well.
    controls.PauseCarving();
    controls.Recarve();
    EXPECT_TRUE(runTimeTimer.running());
}

TEST_F(JobControlsFixture, RestartClearsClockAndPositions)
{
    controls.Start();
    ticks(4);
    rig.take();
    controls.Restart();
    // The window shows "00:00" and "000" for restarted.
    EXPECT_EQ(rig.take(), (QStringList{"FF 04 01 00", "restarted"}));
    EXPECT_FALSE(runTimeTimer.running());
    EXPECT_EQ(controls.RunSeconds(), 0);
}

TEST_F(JobControlsFixture, SkipsWriteFrameThenTrailerAndLeaveTheClock)
{
    controls.Start();
    ticks(2);
    rig.take();
    controls.FastForward();
    EXPECT_EQ(rig.channel.writes, (QList<QByteArray>{QByteArray::fromHex("FF070200"), QByteArray::fromHex("AA")}));
    EXPECT_EQ(rig.take(), (QStringList{"FF 07 02 00", "AA", "skipped 15"}));
    controls.FastBackward();
    EXPECT_EQ(rig.channel.writes, (QList<QByteArray>{QByteArray::fromHex("FF070100"), QByteArray::fromHex("55")}));
    EXPECT_EQ(rig.take(), (QStringList{"FF 07 01 00", "55", "skipped -15"}));
    EXPECT_TRUE(runTimeTimer.running());
    EXPECT_EQ(controls.RunSeconds(), 2);
}

TEST_F(JobControlsFixture, PictureDropResetsAndFinishStops)
{
    controls.Start();
    ticks(9);
    rig.take();
    emit rig.machine.events().carvingFinished(); // the machine's CarveFinished
    EXPECT_FALSE(runTimeTimer.running());
    EXPECT_EQ(controls.RunSeconds(), 9);
    EXPECT_TRUE(rig.take().isEmpty()) << "the clock keeps its value";
    controls.ResetRunClock();
    EXPECT_EQ(rig.take(), QStringList{"clock 0"});
    controls.Start();
    ticks(1);
    EXPECT_EQ(rig.take(), (QStringList{"FF 01 01 00", "started", "clock 1"}));
}
