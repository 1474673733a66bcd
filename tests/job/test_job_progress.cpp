// Progress and time left from fed positions and a hand-moved clock; the
// sleep guard held and let go on every way out of an engraving.
#include "job/engrave_encoder.h"
#include "job/job_progress.h"
#include "job/keep_awake.h"
#include "link/link_events.h"
#include "platform/sleep_inhibitor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>

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

    // Rows 0..9 hold 100 dots each (columns 0..99), the rest is white: 1000 dots.
    void sendPicture()
    {
        QByteArray raster(job::EngraveBufferSize, '\0');
        for (int row = 0; row < 10; ++row)
            for (int column = 0; column < 100; ++column)
                raster[row * job::EngraveRowBytes + column / 8] |= char(0x80 >> (column % 8));
        emit job.pictureAnnounced(raster);
        emit link.pictureSent(true, raster.size(), raster.size());
    }
    // The machine burns the dot at (row, column) after seconds more.
    void burn(int row, int column, double seconds = 0)
    {
        nowMs += qint64(seconds * 1000);
        emit link.rowReported(row);
        emit link.positionReported(row, column + 1);
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
    burn(3, 99, 2);                  // 400 dots burned in 4 s
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
    emit link.rowReported(16);       // the machine lands past the picture's rows
    EXPECT_EQ(state().percent, 100);
    EXPECT_EQ(state().secondsLeft, 0);
    emit job.rowsSkipped(-15);
    emit link.rowReported(1);
    burn(1, 49, 1);
    EXPECT_EQ(state().passed, 150);
    // 200 + 50 burned in 6 s (the jumps count for nothing).
    EXPECT_EQ(state().secondsLeft, int(std::ceil(850 / (250 / 6.0))));
}

TEST_F(ProgressFixture, RecarveRestartAndABreakAreAccountedFor)
{
    sendPicture();
    emit job.carvingStarted(false);
    burn(4, 99, 5);
    emit job.recarved();
    EXPECT_EQ(state().passed, 0);
    EXPECT_EQ(state().phase, Phase::Engraving);
    burn(2, 99, 3);
    EXPECT_EQ(state().percent, 30);

    emit link.connectionBroken(3);
    EXPECT_EQ(state().phase, Phase::Broken);
    const int frozen = state().activeSeconds;
    nowMs += 30000;
    EXPECT_EQ(state().activeSeconds, frozen) << "a broken link does not count on";

    emit job.restarted();
    EXPECT_EQ(state().phase, Phase::Ready);
    EXPECT_EQ(state().passed, 0);
    emit job.carvingStarted(false);
    emit link.carvingFinished();
    emit job.carvingStarted(false); // Start after the end begins at the first row
    EXPECT_EQ(state().passed, 0);
    EXPECT_EQ(state().phase, Phase::Engraving);
}

TEST_F(ProgressFixture, OnlyAPictureThatArrivedWholeCounts)
{
    QByteArray raster(job::EngraveBufferSize, '\xFF');
    emit job.pictureAnnounced(raster);
    emit link.pictureSent(false, 1000, raster.size());
    EXPECT_EQ(state().phase, Phase::NoPicture);
    emit job.carvingStarted(false);
    burn(3, 3);
    EXPECT_EQ(state().phase, Phase::NoPicture);
    emit link.pictureSent(true, raster.size(), raster.size());
    EXPECT_EQ(state().dots, 512 * 512);
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
