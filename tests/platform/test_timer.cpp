// The timer period rules on the real event-loop timer and on the manual one.
#include "platform/timer.h"
#include "tests/support/manual_timer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

using kovra::platform::QtTimer;
using kovra::test::ManualTimer;

namespace {
// Runs the event loop until the predicate holds or the deadline passes.
template <typename P>
bool spinUntil(P predicate, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!predicate() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return predicate();
}
} // namespace

TEST(QtTimer, SamePeriodKeepsTheScheduleAnotherRestartsZeroStops)
{
    QtTimer timer;
    int ticks = 0;
    timer.setOnTick([&] { ++ticks; });
    EXPECT_EQ(timer.period(), 0);

    timer.setPeriod(60);
    QThread::msleep(40);
    // Setting the same period again must not push the tick back.
    timer.setPeriod(60);
    QElapsedTimer sinceReset;
    sinceReset.start();
    ASSERT_TRUE(spinUntil([&] { return ticks > 0; }, 1000));
    EXPECT_LT(sinceReset.elapsed(), 55) << "the schedule was restarted by an unchanged period";

    timer.setPeriod(0);
    const int stoppedAt = ticks;
    spinUntil([] { return false; }, 150);
    EXPECT_EQ(ticks, stoppedAt);
    EXPECT_EQ(timer.period(), 0);
}

TEST(QtTimer, ANewPeriodRestartsTheSchedule)
{
    QtTimer timer;
    int ticks = 0;
    timer.setOnTick([&] { ++ticks; });
    timer.setPeriod(50);
    QThread::msleep(40);
    timer.setPeriod(200);
    QElapsedTimer sinceRestart;
    sinceRestart.start();
    ASSERT_TRUE(spinUntil([&] { return ticks > 0; }, 2000));
    EXPECT_GE(sinceRestart.elapsed(), 150);
    EXPECT_EQ(timer.period(), 200);
}

TEST(ManualTimer, FollowsTheSameRules)
{
    ManualTimer timer;
    int ticks = 0;
    timer.setOnTick([&] { ++ticks; });
    EXPECT_FALSE(timer.tick());
    timer.setPeriod(1000);
    timer.setPeriod(1000);
    EXPECT_EQ(timer.restarts(), 1);
    timer.setPeriod(2000);
    EXPECT_EQ(timer.restarts(), 2);
    EXPECT_TRUE(timer.tick());
    timer.setPeriod(0);
    EXPECT_FALSE(timer.tick());
    EXPECT_EQ(ticks, 1);
}
