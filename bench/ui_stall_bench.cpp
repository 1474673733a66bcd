// The window's thread while a 6000 x 4000 PNG is dropped: the longest stall
// of its event loop, seen by a 1 ms probe timer, from the drop until both
// renderings are on their boards. Beside it, two references measured in the
// same run: the same loop left idle as long (what the machine itself
// costs), and the stall of the same decode and renderings made on the
// window's thread, as they were before the picture flow had a worker.
// Prints medians and the worst of several runs; it never fails on a time.

#include "bench/bench_pictures.h"
#include "bench/loop_probe.h"
#include "image/drawing_board.h"
#include "picture/picture_events.h"
#include "picture/picture_flow.h"
#include "picture/prepared_picture.h"
#include "platform/timer.h"
#include "rendering/tuned_picture.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace kovra;

constexpr int kRuns = 5;
constexpr int kTimeoutMs = 60000;

struct Stall {
    double longestMs = 0; // the longest gap between probe ticks
    double wallMs = 0;    // from the drop until the renderings were drawn
    bool done = false;
};

QImage whiteSquare()
{
    QImage white(600, 600, QImage::Format_RGB32);
    white.fill(Qt::white);
    return white;
}

// A drop through the picture flow, as the window makes it.
Stall dropThroughTheFlow(const QString& path)
{
    image::DrawingBoard preview(512, 512);
    platform::QtTimer effectTaskTimer;
    picture::PictureEvents events;
    picture::PictureFlow flow(preview, whiteSquare(), effectTaskTimer, events);
    bool ready = false;
    QObject::connect(&events, &picture::PictureEvents::renderingsReady, [&ready] { ready = true; });
    bench::LoopProbe probe;
    QElapsedTimer clock;
    QTimer::singleShot(0, [&] {
        clock.start();
        flow.FileDropped({path});
    });
    Stall stall;
    stall.done = probe.run([&ready] { return ready; }, kTimeoutMs);
    stall.wallMs = clock.nsecsElapsed() / 1e6;
    stall.longestMs = probe.longestGapUs / 1000.0;
    return stall;
}

// The same work on the window's thread: decoded, fitted, rendered and drawn
// in one go from the event loop.
Stall workOnTheWindowsThread(const QString& path)
{
    image::DrawingBoard left(512, 512), right(512, 512);
    const std::atomic<bool> never{false};
    bool ready = false;
    bench::LoopProbe probe;
    QElapsedTimer clock;
    QTimer::singleShot(0, [&] {
        clock.start();
        const picture::PreparedPicture prepared =
            picture::PreparePicture(path, {}, rendering::Rendering::Dither, {}, never);
        rendering::TunedPicture::drawBoards(prepared.boards, left, right);
        ready = prepared.ok();
    });
    Stall stall;
    stall.done = probe.run([&ready] { return ready; }, kTimeoutMs);
    stall.wallMs = clock.nsecsElapsed() / 1e6;
    stall.longestMs = probe.longestGapUs / 1000.0;
    return stall;
}

// The loop with nothing to do, as long as a drop took.
Stall idleLoop(double ms)
{
    bench::LoopProbe probe;
    QElapsedTimer clock;
    clock.start();
    probe.run([&] { return clock.elapsed() >= qint64(ms); }, kTimeoutMs);
    return {probe.longestGapUs / 1000.0, ms, true};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void print(const char* what, const std::vector<Stall>& runs)
{
    std::vector<double> longest, wall;
    for (const Stall& s : runs) {
        longest.push_back(s.longestMs);
        wall.push_back(s.wallMs);
    }
    std::printf("%-44s %12.2f %12.2f %12.1f\n", what, median(longest), *std::max_element(longest.begin(), longest.end()),
                median(wall));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.png"));
    std::printf("making a 6000 x 4000 PNG...\n");
    std::fflush(stdout);
    QImageWriter writer(path, "PNG");
    writer.setCompression(1); // fast to write; decoding is what is watched
    if (!writer.write(bench::detailedPicture(6000, 4000))) {
        std::fprintf(stderr, "cannot write the picture\n");
        return 1;
    }

    // Interleaved, so a busy machine weighs on every side alike.
    std::vector<Stall> flow, onThread, idle;
    for (int i = 0; i < kRuns; ++i) {
        flow.push_back(dropThroughTheFlow(path));
        onThread.push_back(workOnTheWindowsThread(path));
        idle.push_back(idleLoop(flow.back().wallMs));
        if (!flow.back().done || !onThread.back().done) {
            std::fprintf(stderr, "the drop did not finish\n");
            return 1;
        }
    }
    std::printf("\nthe window's event loop during a 6000 x 4000 PNG drop, %d runs (ms)\n\n", kRuns);
    std::printf("%-44s %12s %12s %12s\n", "", "stall median", "stall worst", "drop median");
    print("drop through the picture flow (its worker)", flow);
    print("idle loop, as long as the drop", idle);
    print("same work on the window's thread", onThread);
    const double ours = median([&] {
        std::vector<double> v;
        for (const Stall& s : flow)
            v.push_back(s.longestMs);
        return v;
    }());
    const double before = median([&] {
        std::vector<double> v;
        for (const Stall& s : onThread)
            v.push_back(s.longestMs);
        return v;
    }());
    std::printf("\nratio of the stalls, flow / window's thread: %.4f\n", ours / before);
    std::printf("goal: the longest stall of a drop through the flow under 20 ms\n");
    return 0;
}
