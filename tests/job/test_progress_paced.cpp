// The time left and the learned rate against the simulated machine paced at
// the line rate on a hand clock: its replies take their time on the line, so
// a click is acted on while the positions sent before it are still arriving,
// as on the real line.
#include "job/engrave_encoder.h"
#include "job/job_progress.h"
#include "link/link_events.h"
#include "sim/firmware_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <vector>

using namespace kovra;
using Phase = job::JobProgressState::Phase;

namespace {

constexpr double LineBytesPerMs = 5.76; // 57600 baud, 10 bits a byte
constexpr qint64 StepMs = 10;           // the paced simulator's steps
constexpr qsizetype StepBacklog = 64;   // it steps when the line has nearly drained

class OneRate final : public job::RateStore {
public:
    std::optional<double> rate;
    std::optional<double> LearnedRate(int) const override { return rate; }
    void LearnRate(int, double dotsPerSecond) override { rate = dotsPerSecond; }
};

// A picture like the sample a user tries first: a wide light margin above,
// lettering, a shaded sphere lit from the upper left (its light side sparse),
// a grey ramp, and light rows below; about 45,000 dots.
QByteArray samplePicture()
{
    QByteArray raster(job::EngraveBufferSize, '\0');
    auto set = [&](int r, int c) { raster[r * job::EngraveRowBytes + c / 8] |= char(0x80 >> (c % 8)); };
    auto threshold = [](int r, int c) { return ((r * 37 + c * 91) % 64 + 0.5) / 64; };
    for (int r = 0; r < job::EngraveSide; ++r) {
        for (int c = 0; c < job::EngraveSide; ++c) {
            double density = 0;
            if (r >= 80 && r < 125 && c >= 130 && c < 380 && (c / 14 + r / 9) % 3 != 0)
                density = 0.55;
            if (std::hypot(r - 230.0, c - 256.0) < 135)
                density = std::min(0.9, 0.05 + 0.85 * std::hypot(r - 160.0, c - 190.0) / 250);
            if (r >= 384 && r < 432 && c < 440)
                density = 1 - c / 440.0;
            if (threshold(r, c) < density)
                set(r, c);
        }
    }
    return raster;
}

// The firmware model behind a paced line, and the program's progress.
struct PacedJob {
    link::LinkEvents link;
    job::JobEvents job;
    OneRate rates;
    qint64 now = 0;
    job::JobProgress progress{link, job, &rates, [this] { return now; }};
    sim::FirmwareModel machine{sim::FirmwareOptions{.dotsPerStep = 256}};
    QByteArray line;          // replies on their way
    double budget = 0;
    qint64 nextStep = 0;
    QByteArray frame;
    int x = 0;
    bool finished = false;

    PacedJob()
    {
        emit link.burnTimeReported(50);
        const QByteArray raster = samplePicture();
        emit job.pictureAnnounced(raster);
        machine.receive(QByteArray::fromHex("FF060000"));
        machine.receive(raster);
        machine.takeReplies();
        emit link.pictureSent(true, raster.size(), raster.size());
    }
    void command(const char* hex) { machine.receive(QByteArray::fromHex(hex)); }
    void tick()
    {
        ++now;
        if (now % 1000 == 0)
            emit job.runClockChanged(int(now / 1000));
        if (machine.isCarving() && line.size() + machine.pendingReplyBytes() < StepBacklog && now >= nextStep) {
            machine.step();
            nextStep = now + StepMs;
        }
        line += machine.takeReplies();
        budget = std::min(budget + LineBytesPerMs, 64.0);
        const qsizetype n = std::min<qsizetype>(line.size(), qsizetype(budget));
        for (qsizetype i = 0; i < n; ++i)
            receive(quint8(line[i]));
        line.remove(0, n);
        budget -= double(n);
    }
    void receive(quint8 b)
    {
        if (b == 0xFF)
            frame.clear();
        frame.append(char(b));
        if (frame.size() < 4)
            return;
        const int value = quint8(frame[2]) * 100 + quint8(frame[3]);
        switch (quint8(frame[1])) {
        case sim::FirmwareModel::PositionX:
            emit link.rowReported(x = value);
            break;
        case sim::FirmwareModel::PositionY:
            emit link.positionReported(x, value);
            break;
        case sim::FirmwareModel::CarveFinished:
            finished = true;
            emit link.carvingFinished();
            break;
        }
        frame.clear();
    }
    void runUntil(const std::function<bool()>& done)
    {
        for (qint64 limit = now + 1'000'000; !done() && now < limit;)
            tick();
    }
};

struct Click {
    int atPercent;
    const char* hex;
    std::function<void(job::JobEvents&)> event;
};

const Click FastForward{0, "FF070200AA", [](job::JobEvents& j) { emit j.rowsSkipped(15); }};
const Click FastBackward{0, "FF07010055", [](job::JobEvents& j) { emit j.rowsSkipped(-15); }};
const Click Recarve{0, "FF010300", [](job::JobEvents& j) { emit j.recarved(); }};
const Click Restart{0, "FF040100", [](job::JobEvents& j) { emit j.restarted(); }};
const Click Start{0, "FF010100", [](job::JobEvents& j) { emit j.carvingStarted(false); }};

Click at(int percent, Click click)
{
    click.atPercent = percent;
    return click;
}

struct Sample {
    qint64 ms;
    int secondsLeft;
};

// Runs the job with the clicks; returns the time left seen each second from
// the last click on, once 20 % of the dots are passed.
std::vector<Sample> run(PacedJob& j, const std::vector<Click>& clicks, qint64& startMs)
{
    j.command(Start.hex);
    Start.event(j.job);
    startMs = j.now;
    for (const Click& click : clicks) {
        j.runUntil([&] { return j.progress.State().percent >= click.atPercent; });
        j.command(click.hex);
        click.event(j.job);
    }
    std::vector<Sample> samples;
    j.runUntil([&] {
        const job::JobProgressState s = j.progress.State();
        if (j.now % 1000 == 0 && s.phase == Phase::Engraving && s.percent >= 20)
            samples.push_back({j.now, s.secondsLeft});
        return j.finished;
    });
    return samples;
}

} // namespace

TEST(PacedProgress, TimeLeftAndLearnedRateHoldThroughSkipsRecarveAndRestart)
{
    PacedJob clean;
    qint64 cleanStart = 0;
    run(clean, {}, cleanStart);
    ASSERT_TRUE(clean.finished);
    const double trueRate = clean.progress.State().dots * 1000.0 / double(clean.now - cleanStart);

    const std::vector<std::pair<const char*, std::vector<Click>>> cases{
        {"no clicks", {}},
        {"five fast forwards at 6 %",
            {at(6, FastForward), at(6, FastForward), at(6, FastForward), at(6, FastForward), at(6, FastForward)}},
        {"recarve at 8 %", {at(8, Recarve)}},
        {"restart at 10 %, then start", {at(10, Restart), at(0, Start)}},
        {"two fast backwards at 40 %", {at(40, FastBackward), at(40, FastBackward)}},
    };
    for (const auto& [name, clicks] : cases) {
        SCOPED_TRACE(name);
        PacedJob j;
        qint64 startMs = 0;
        const std::vector<Sample> samples = run(j, clicks, startMs);
        ASSERT_TRUE(j.finished);
        ASSERT_GT(samples.size(), 10u);
        for (const Sample& s : samples) {
            const double really = (j.now - s.ms) / 1000.0;
            // A whole second of rounding is allowed where 15 % is less.
            EXPECT_NEAR(s.secondsLeft, really, std::max(0.15 * really, 1.0)) << "at " << s.ms << " ms";
        }
        ASSERT_TRUE(j.rates.rate);
        EXPECT_NEAR(*j.rates.rate, trueRate, 0.1 * trueRate);
    }
}
