// Progress and time left from fed positions and a hand-moved clock; the
// sleep guard held and let go on every way out of an engraving.
#include "job/engrave_encoder.h"
#include "job/job_progress.h"
#include "job/keep_awake.h"
#include "job/pace_fit.h"
#include "job/time_left.h"
#include "link/link_events.h"
#include "platform/sleep_inhibitor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <array>
#include <map>
#include <optional>
#include <vector>

using namespace kovra;
using Phase = job::JobProgressState::Phase;

namespace {

class MemoryRates final : public job::RateStore {
public:
    std::map<int, double> rates;
    std::optional<double> LearnedRate(int burnTime) const override
    {
        const auto it = rates.find(burnTime);
        return it == rates.end() ? std::nullopt : std::optional<double>(it->second);
    }
    void LearnRate(int burnTime, double dotsPerSecond) override { rates[burnTime] = dotsPerSecond; }
};

struct ProgressFixture : ::testing::Test {
    link::LinkEvents link;
    job::JobEvents job;
    MemoryRates rates;
    qint64 nowMs = 0;
    job::JobProgress progress{link, job, &rates, [this] { return nowMs; }};
    int row = -1; // the machine's row as this test reports it

    // Rows 0..9 hold 100 dots each (columns 0..99), the rest is white: 1000 dots.
    void sendPicture()
    {
        QByteArray raster(job::EngraveBufferSize, '\0');
        for (int r = 0; r < 10; ++r)
            for (int column = 0; column < 100; ++column)
                raster[r * job::EngraveRowBytes + column / 8] |= char(0x80 >> (column % 8));
        emit job.pictureAnnounced(raster);
        emit link.pictureSent(true, raster.size(), raster.size());
        row = -1;
    }
    // In seconds more the machine has burned on to the dot at (to, column);
    // its reports arrive now: the last dot of every row on its way, X before Y.
    void burn(int to, int column, double seconds = 0)
    {
        nowMs += qint64(seconds * 1000);
        for (int r = std::max(row, 0); r < to; ++r)
            report(r, 99);
        report(to, column);
    }
    void report(int r, int column)
    {
        emit link.rowReported(r);
        emit link.positionReported(r, column + 1);
        row = r;
    }
    // A skip lands: the machine reports the row alone.
    void land(int r)
    {
        emit link.rowReported(r);
        row = r;
    }
    job::JobProgressState state() const { return progress.State(); }
};

} // namespace

TEST_F(ProgressFixture, DotsPassedAndTheTimeLeftFromTheMeasuredRate)
{
    EXPECT_EQ(state().phase, Phase::NoPicture);
    emit link.burnTimeReported(40);
    sendPicture();
    EXPECT_EQ(state().phase, Phase::Ready);
    EXPECT_EQ(state().dots, 1000);
    EXPECT_EQ(state().secondsLeft, -1) << "first use: no estimate";

    emit job.carvingStarted(false);
    burn(0, 0);
    burn(1, 99, 2);                  // 200 dots in 2 s: not yet enough time measured
    EXPECT_EQ(state().percent, 20);
    EXPECT_EQ(state().secondsLeft, -1);
    burn(2, 99, 1);
    burn(3, 99, 1);                  // 400 dots burned in 4 s
    EXPECT_EQ(state().percent, 40);
    EXPECT_EQ(state().secondsLeft, 6); // 600 at 100 a second
    EXPECT_FALSE(state().learned);

    // A pause freezes the estimate however long it lasts.
    emit job.carvingPaused();
    nowMs += 60000;
    EXPECT_EQ(state().phase, Phase::Paused);
    EXPECT_EQ(state().secondsLeft, 6);
    emit job.carvingStarted(true);
    burn(9, 99, 6);                  // the rest at the same rate
    emit link.carvingFinished();
    EXPECT_EQ(state().phase, Phase::Finished);
    EXPECT_EQ(state().percent, 100);
    EXPECT_EQ(state().activeSeconds, 10);
    ASSERT_TRUE(rates.rates.count(40));
    EXPECT_NEAR(rates.rates[40], 100.0, 0.01);

    // The next picture at the same burn time starts with the learned rate.
    sendPicture();
    EXPECT_EQ(state().secondsLeft, 10);
    EXPECT_TRUE(state().learned);
    emit link.burnTimeSent(41);
    EXPECT_EQ(state().secondsLeft, -1);
}

TEST_F(ProgressFixture, SkippedRowsArePassedButNotCountedAsBurned)
{
    sendPicture();
    emit job.carvingStarted(false);
    burn(0, 99, 0);
    burn(1, 99, 4);                  // 200 burned in 4 s
    emit job.rowsSkipped(15);
    nowMs += 1000;
    land(16);                        // the machine lands past the picture's rows
    EXPECT_EQ(state().percent, 100);
    EXPECT_EQ(state().secondsLeft, 0);
    emit job.rowsSkipped(-15);
    land(1);
    burn(1, 49, 1);
    EXPECT_EQ(state().passed, 150);
    emit link.burnTimeReported(40);
    emit link.carvingFinished();
    // 200 + 50 burned in 6 s (the jumps count for nothing).
    EXPECT_NEAR(rates.rates[40], 250 / 6.0, 0.01);
}

// A click acts at once, while the positions the machine sent before it are
// still on their way: they belong to the run before the click.
TEST_F(ProgressFixture, PositionsSentBeforeAClickBelongToTheRunBeforeIt)
{
    struct Case {
        const char* click;
        std::function<void()> press;
        int landing;           // the row the machine reports next; -1: none, it waits for Start
        qint64 passedAfterOld; // shown once the old positions have arrived
        Phase phase;
        double rate;           // what the job teaches
    };
    const std::vector<Case> cases{
        // 800 dots burned in 8.5 s; the 100 skipped count for nothing.
        {"fast forward", [&] { emit job.rowsSkipped(15); }, 6, 500, Phase::Engraving, 800 / 8.5},
        // The run begins again with the click: 300 dots in the 4.5 s since.
        {"recarve", [&] { emit job.recarved(); }, 0, 0, Phase::Engraving, 300 / 4.5},
        // The run begins with Start: 300 dots in 4 s.
        {"restart", [&] { emit job.restarted(); }, -1, 0, Phase::Ready, 300 / 4.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.click);
        rates.rates.clear();
        emit link.burnTimeReported(40);
        sendPicture();
        emit job.carvingStarted(false);
        burn(2, 99, 4);              // 300 dots in 4 s
        c.press();
        burn(4, 99, 0.5);            // sent before the click: 200 more, burned in 0.5 s
        EXPECT_EQ(state().passed, c.passedAfterOld);
        EXPECT_EQ(state().phase, c.phase);
        if (c.landing < 0)
            emit job.carvingStarted(false);
        else
            land(c.landing);
        row = std::max(c.landing, 0);
        burn(row + 2, 99, 4);        // 300 dots in 4 s more
        emit link.carvingFinished();
        ASSERT_TRUE(rates.rates.count(40));
        EXPECT_NEAR(rates.rates[40], c.rate, 0.01);
    }
}

TEST_F(ProgressFixture, RecarveRestartAndABreakAreAccountedFor)
{
    sendPicture();
    emit job.carvingStarted(false);
    burn(4, 99, 5);
    emit job.recarved();
    EXPECT_EQ(state().passed, 0);
    EXPECT_EQ(state().phase, Phase::Engraving);
    EXPECT_EQ(state().activeSeconds, 0) << "the run begins again";
    land(0);
    burn(2, 99, 3);
    EXPECT_EQ(state().percent, 30);

    emit link.connectionBroken(3);
    EXPECT_EQ(state().phase, Phase::Broken);
    const int frozen = state().activeSeconds;
    nowMs += 30000;
    EXPECT_EQ(state().activeSeconds, frozen) << "a broken link does not count on";
    emit link.connected(3);

    emit job.restarted();
    EXPECT_EQ(state().phase, Phase::Ready);
    EXPECT_EQ(state().passed, 0);
    emit job.carvingStarted(false);
    row = -1;
    burn(9, 99, 80);
    emit link.carvingFinished();
    emit job.carvingStarted(false); // Start after the end begins at the first row
    EXPECT_EQ(state().passed, 0);
    EXPECT_EQ(state().phase, Phase::Engraving);
    row = -1;
    burn(9, 99, 70);
    emit link.carvingFinished();
    EXPECT_EQ(state().activeSeconds, 70) << "the second run's own time";
}

// Once the machine answers again, the progress says what holds then.
TEST_F(ProgressFixture, BackAfterABreakTheProgressTellsWhatHolds)
{
    const QByteArray raster(job::EngraveBufferSize, '\x01');
    struct Case {
        const char* when;
        std::function<void()> before;  // what happened up to the unplugging
        std::function<void()> breakOff; // the unplugging as the link reports it
        Phase after;
    };
    const auto engraving = [&] {
        sendPicture();
        emit job.carvingStarted(false);
        burn(2, 10, 3);
    };
    const auto transfer = [&] {
        emit job.pictureAnnounced(raster);
        emit link.pictureSending(raster.size());
    };
    const auto broken = [&] { emit link.connectionBroken(3); };
    const auto failedThenBroken = [&] {
        emit link.pictureSent(false, 4096, raster.size());
        emit link.connectionBroken(3);
    };
    const auto brokenThenFailed = [&] {
        emit link.connectionBroken(3);
        emit link.pictureSent(false, 4096, raster.size());
    };
    const std::vector<Case> cases{
        {"no picture yet", [] {}, broken, Phase::NoPicture},
        {"picture sent, never started", [&] { sendPicture(); }, broken, Phase::Ready},
        {"engraving", engraving, broken, Phase::Paused},
        {"paused", [&] { engraving(); emit job.carvingPaused(); }, broken, Phase::Paused},
        {"idle after the end", [&] { engraving(); emit link.carvingFinished(); }, broken, Phase::Finished},
        {"first transfer, failed then broken", transfer, failedThenBroken, Phase::PictureLost},
        {"second transfer, broken then failed", [&] { sendPicture(); transfer(); }, brokenThenFailed,
            Phase::PictureLost},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.when);
        job::JobProgress fresh(link, job, nullptr, [this] { return nowMs; });
        c.before();
        c.breakOff();
        EXPECT_EQ(fresh.State().phase, c.after == Phase::NoPicture ? Phase::NoPicture : Phase::Broken);
        if (c.after == Phase::PictureLost) {
            EXPECT_EQ(fresh.State().dots, 0) << "no picture to count";
        }
        emit link.connected(3);
        EXPECT_EQ(fresh.State().phase, c.after);
        transfer(); // the picture goes again
        emit link.pictureSent(true, raster.size(), raster.size());
        EXPECT_EQ(fresh.State().phase, Phase::Ready);
    }
}

TEST_F(ProgressFixture, AMachineThatGoesOnAloneAfterTheBreakIsEngraving)
{
    sendPicture();
    emit job.carvingStarted(false);
    burn(2, 10, 3);
    emit link.connectionBroken(3);
    emit link.connected(3);
    EXPECT_EQ(state().phase, Phase::Paused);
    burn(2, 20, 1);
    EXPECT_EQ(state().phase, Phase::Engraving);
    EXPECT_EQ(state().percent, 22);
}

TEST_F(ProgressFixture, OnlyAPictureThatArrivedWholeCounts)
{
    QByteArray raster(job::EngraveBufferSize, '\xFF');
    emit job.pictureAnnounced(raster);
    emit link.pictureSent(false, 1000, raster.size());
    EXPECT_EQ(state().phase, Phase::PictureLost);
    emit job.carvingStarted(false);
    burn(3, 3);
    EXPECT_EQ(state().phase, Phase::PictureLost);
    emit link.pictureSent(true, raster.size(), raster.size());
    EXPECT_EQ(state().dots, 512 * 512);
}

// A machine that needs 25 ms to pass a row and 2 ms for each dot, whichever
// is longer, reporting at the end of every row; it starts up for 2 s first.
TEST(PaceFit, LearnsTheTimeOfLightRowsAndOfDots)
{
    std::array<qint64, 513> rowStart{};
    const auto dotsIn = [](int row) { return row >= 40 && row < 100 ? 300 : row >= 140 && row < 300 ? 8 : 0; };
    for (int row = 0; row < 512; ++row)
        rowStart[size_t(row) + 1] = rowStart[size_t(row)] + dotsIn(row);
    const auto rowMs = [&](int row) { return std::max(25, 2 * dotsIn(row)); };
    qint64 wholeMs = 0;
    for (int row = 200; row < 512; ++row)
        wholeMs += rowMs(row);

    struct Case {
        const char* what;
        int skipAt;                   // a skip of 15 rows from here, or -1
        int upTo;                     // the machine has reached this row
        std::optional<qint64> leftMs; // from there to the end
    };
    const std::vector<Case> cases{
        {"light and dark rows", -1, 200, wholeMs},
        {"a skip counts for nothing", 120, 200, wholeMs},
        {"only light rows yet", -1, 30, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        job::PaceFit fit(rowStart);
        qint64 ms = 0;
        fit.Reset(ms, {});
        const auto at = [&](int row) { return job::PaceFit::Place{row * 512, rowStart[size_t(row)]}; };
        ms += 2000; // start-up
        for (int row = 0; row < c.upTo; ++row) {
            if (row == c.skipAt) {
                ms += 300;
                row += 15;
                fit.Break(ms, at(row));
            }
            ms += rowMs(row);
            fit.Advance(ms, at(row + 1));
        }
        fit.Advance(ms + 1, at(c.upTo)); // a later report ends the last stretch
        const std::optional<double> left = fit.SecondsFrom(at(c.upTo));
        ASSERT_EQ(left.has_value(), c.leftMs.has_value());
        if (left) {
            EXPECT_NEAR(*left, *c.leftMs / 1000.0, 0.02 * *c.leftMs / 1000.0);
            EXPECT_NEAR(fit.secondsPerLightRow(), 0.025, 0.001);
        }
    }
}

TEST(TimeLeftSmoother, CountsDownFollowsGentlyAndTakesNewsAtOnce)
{
    struct Step {
        qint64 activeMs;
        double estimate;
        int shown;
    };
    const std::vector<std::pair<const char*, std::vector<Step>>> cases{
        {"steady rate counts down", {{0, 100, 100}, {1000, 99, 99}, {30000, 70, 70}}},
        {"small ups and downs are smoothed", {{0, 60, 60}, {500, 60.8, 60}, {1000, 58.1, 59}, {1500, 59.9, 59}}},
        {"a second up and back down is not shown", {{0, 90, 90}, {1000, 95, 90}, {2000, 88, 89}}},
        {"a drift is followed", {{0, 100, 100}, {10000, 96, 96}}},
        {"a skip is taken at once", {{0, 100, 100}, {500, 40, 40}, {1500, 39, 39}}},
        {"a rise is taken at once", {{0, 30, 30}, {1000, 60, 60}}},
        {"never below zero", {{0, 3, 3}, {4000, 0.5, 0}}},
    };
    for (const auto& [name, steps] : cases) {
        SCOPED_TRACE(name);
        job::TimeLeftSmoother smoother;
        for (const Step& step : steps)
            EXPECT_EQ(smoother.Update(step.activeMs, step.estimate), step.shown) << step.activeMs;
    }
}

namespace {

class FakeInhibitor final : public platform::SleepInhibitor {
public:
    int acquired = 0;
    int released = 0;
    bool held = false;
    bool Acquire(const QString&) override
    {
        ++acquired;
        held = true;
        return true;
    }
    void Release() override
    {
        ++released;
        held = false;
    }
    bool Held() const override { return held; }
};

} // namespace

TEST(KeepAwake, HeldWhileEngravingAndReleasedOnEveryWayOut)
{
    link::LinkEvents link;
    job::JobEvents job;
    const std::vector<std::pair<const char*, std::function<void()>>> waysOut{
        {"finished", [&] { emit link.carvingFinished(); }},
        {"paused", [&] { emit job.carvingPaused(); }},
        {"restarted", [&] { emit job.restarted(); }},
        {"broken", [&] { emit link.connectionBroken(3); }},
        {"disconnected", [&] { emit link.disconnected(); }},
    };
    for (const auto& [name, wayOut] : waysOut) {
        SCOPED_TRACE(name);
        FakeInhibitor inhibitor;
        job::KeepAwake keepAwake(job, link, inhibitor);
        emit job.carvingStarted(false);
        emit job.carvingStarted(false); // a second Start asks once
        EXPECT_TRUE(inhibitor.held);
        EXPECT_EQ(inhibitor.acquired, 1);
        wayOut();
        EXPECT_FALSE(inhibitor.held);
        emit job.recarved();
        EXPECT_TRUE(inhibitor.held);
    }
    // The program ends in the middle of a job.
    FakeInhibitor inhibitor;
    {
        job::KeepAwake keepAwake(job, link, inhibitor);
        emit job.carvingStarted(false);
    }
    EXPECT_FALSE(inhibitor.held);
    EXPECT_EQ(inhibitor.released, 1);
}

// Where the system has no inhibitor (no system bus here), the job goes on.
TEST(KeepAwake, TheRealInhibitorNeverStopsAJob)
{
    auto inhibitor = platform::CreateSleepInhibitor();
    inhibitor->Acquire(QStringLiteral("test"));
    inhibitor->Release();
    EXPECT_FALSE(inhibitor->Held());
}
