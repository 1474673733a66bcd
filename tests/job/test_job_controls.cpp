// Job buttons, their frames and log texts in order, and the run clock.
#include "job/job_controls.h"

#include "job_recorder.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;

namespace {

struct JobControlsFixture : ::testing::Test {
    test::JobRig rig;
    test::RecordingJobView& view = rig.view;
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
    controls.StartButton();
    EXPECT_EQ(rig.take(), (QStringList{"FF 01 01 00", "text:Start carving\r\n\r\n", "reset", "lock"}));
    EXPECT_EQ(runTimeTimer.period(), 1000);
}

TEST_F(JobControlsFixture, PauseKeepsTheClockValueForTheResume)
{
    controls.StartButton();
    ticks(3);
    EXPECT_EQ(view.timeValueLabel, " 00:03");
    rig.take();
    controls.PauseButton();
    EXPECT_EQ(rig.take(), (QStringList{"FF 01 02 00", "text:Engraving Pause !\r\n\r\n"}));
    EXPECT_FALSE(runTimeTimer.running());
    EXPECT_FALSE(runTimeTimer.tick());
    controls.StartButton();
    ticks(2);
    EXPECT_EQ(controls.RunSeconds(), 5);
    EXPECT_EQ(view.timeValueLabel, " 00:05");
}

TEST_F(JobControlsFixture, SecondStartKeepsTheRunningSchedule)
{
    controls.StartButton();
    ticks(2);
    controls.StartButton();
    EXPECT_EQ(runTimeTimer.restarts(), 1);
    ticks(1);
    EXPECT_EQ(view.timeValueLabel, " 00:03");
    QStringList frames = rig.take().filter("FF 01 01 00");
    EXPECT_EQ(frames.size(), 2);
}

TEST_F(JobControlsFixture, RecarveStartsTheClockAgainFromZero)
{
    controls.StartButton();
    ticks(70);
    rig.take();
    controls.RecarveButton();
    EXPECT_EQ(rig.take(), (QStringList{"FF 01 03 00", "text:Recarve\r\n\r\n"}));
    EXPECT_EQ(view.timeValueLabel, "00:00");
    EXPECT_TRUE(runTimeTimer.running());
    ticks(1);
    EXPECT_EQ(view.timeValueLabel, " 00:01");

    // From a pause, Recarve runs the clock as well.
    controls.PauseCarving();
    controls.RecarveButton();
    EXPECT_TRUE(runTimeTimer.running());
}

TEST_F(JobControlsFixture, RestartClearsClockAndPositions)
{
    controls.StartButton();
    ticks(4);
    view.xEdit = "123";
    view.yEdit = "45";
    rig.take();
    controls.RestartButton();
    EXPECT_EQ(rig.take(), (QStringList{"FF 04 01 00", "text:Restarting...\r\n\r\n", "enable"}));
    EXPECT_FALSE(runTimeTimer.running());
    EXPECT_EQ(controls.RunSeconds(), 0);
    EXPECT_EQ(view.timeValueLabel, "00:00");
    EXPECT_EQ(view.xEdit, "000");
    EXPECT_EQ(view.yEdit, "000");
}

TEST_F(JobControlsFixture, SkipsWriteFrameThenTrailerAndLeaveTheClock)
{
    controls.StartButton();
    ticks(2);
    rig.take();
    controls.FastForwardButton();
    EXPECT_EQ(rig.channel.writes, (QList<QByteArray>{QByteArray::fromHex("FF070200"), QByteArray::fromHex("AA")}));
    EXPECT_EQ(rig.take(), (QStringList{"FF 07 02 00", "AA", "text:Fast Forward for 15 row\r\n\r\n"}));
    controls.FastBackwardButton();
    EXPECT_EQ(rig.channel.writes, (QList<QByteArray>{QByteArray::fromHex("FF070100"), QByteArray::fromHex("55")}));
    EXPECT_EQ(rig.take(), (QStringList{"FF 07 01 00", "55", "text:Fast Backward for 15 row\r\n\r\n"}));
    EXPECT_TRUE(runTimeTimer.running());
    EXPECT_EQ(controls.RunSeconds(), 2);
}

TEST_F(JobControlsFixture, PictureDropResetsAndFinishStops)
{
    controls.StartButton();
    ticks(9);
    emit rig.machine.events().carvingFinished(); // the machine's CarveFinished
    EXPECT_FALSE(runTimeTimer.running());
    EXPECT_EQ(view.timeValueLabel, " 00:09");
    controls.ResetRunClock();
    EXPECT_EQ(view.timeValueLabel, "00:00");
    controls.StartButton();
    ticks(1);
    EXPECT_EQ(view.timeValueLabel, " 00:01");
}
