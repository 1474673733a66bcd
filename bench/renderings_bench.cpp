// Re-rendering after a tuning change: for every rendering, the tone controls
// applied to a fitted 490 × 490 picture and the picture rendered again, as a
// slider move does; then the contact sheet (all eleven) and the effect
// window's redraw of both boards. Each median is printed with its ratio to a
// plain copy of the 512 × 512 board measured in the same run. It never fails
// on a time.

#include "image/drawing_board.h"
#include "rendering/blue_noise.h"
#include "rendering/fitting.h"
#include "rendering/rendering.h"
#include "rendering/tuned_picture.h"
#include "rendering/tuning.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

using namespace kovra;

// Shaded shapes with noise, filling the square, so every rendering has
// tones and detail to work on.
QImage fittedPicture()
{
    QImage img(rendering::FitSize, rendering::FitSize, QImage::Format_RGB32);
    QRandomGenerator rng(2024);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int noise = int(rng.bounded(40)) - 20;
            const int r = std::clamp(x * 255 / img.width() + noise, 0, 255);
            const int g = std::clamp(y * 255 / img.height() + noise, 0, 255);
            const int b = std::clamp(((x / 70 + y / 70) % 2) * 120 + (x + y) / 8 + noise, 0, 255);
            line[x] = qRgb(r, g, b);
        }
    }
    return img;
}

struct Median {
    double wallMs = 0;
    double cpuMs = 0; // processor time of this process: what the work costs when it shares the machine
};

Median medianMs(int runs, const std::function<void(int)>& work)
{
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        const std::clock_t c = std::clock();
        QElapsedTimer t;
        t.start();
        work(i);
        wall.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(double(std::clock() - c) * 1000.0 / CLOCKS_PER_SEC);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

// A different tuning on every run, as while a slider is dragged.
rendering::Tuning tuningFor(int run)
{
    rendering::Tuning t;
    t.brightness = (run % 2) ? 12 : -8;
    t.contrast = 20 + run % 7;
    t.gamma = 1.1 + 0.01 * (run % 5);
    t.threshold = 120 + run % 9;
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    constexpr int runs = 60;
    const QImage fitted = fittedPicture();
    const QRect place(0, 0, rendering::FitSize, rendering::FitSize);

    // Made once per program run, on first use.
    QElapsedTimer first;
    first.start();
    (void)rendering::SharedBlueNoiseMask();
    const double maskMs = double(first.nsecsElapsed()) / 1e6;
    first.restart();
    (void)rendering::RenderPicture(rendering::Rendering::Atkinson, fitted, place);
    const double atkinsonFirstMs = double(first.nsecsElapsed()) / 1e6;

    QImage board(512, 512, QImage::Format_RGB32);
    board.fill(Qt::white);
    QImage sink;
    const double copyMs = medianMs(4 * runs, [&](int) { sink = board.copy(); }).wallMs;
    std::printf("renderings bench: 490 x 490 picture, median of %d runs (wall clock; processor time in brackets),\n"
                "ratio of the wall clock to a plain copy of the 512 x 512 board\n",
                runs);
    std::printf("  reference: copy of the board          %7.3f ms\n", copyMs);
    std::printf("  first use: blue-noise mask %.1f ms, Atkinson tone curve with one rendering %.1f ms\n", maskMs,
                atkinsonFirstMs);

    const auto print = [copyMs](const char* what, const Median& m) {
        std::printf("  %-36s %7.3f ms (%6.3f)  %7.1f x copy\n", what, m.wallMs, m.cpuMs, m.wallMs / copyMs);
    };
    double slowest = 0;
    for (rendering::Rendering r : rendering::AllRenderings) {
        const Median m = medianMs(runs, [&](int run) {
            const rendering::Tuning t = tuningFor(run);
            sink = rendering::RenderPicture(r, rendering::TunePicture(fitted, place, t), place, t.threshold);
        });
        slowest = std::max(slowest, m.wallMs);
        print(qPrintable(QStringLiteral("tune + ") + rendering::RenderingName(r)), m);
    }

    rendering::TunedPicture studio;
    studio.setPicture(fitted, place);
    const Median sheet = medianMs(runs / 3, [&](int run) {
        studio.setTuning(tuningFor(run));
        (void)studio.renderAll();
    });

    image::DrawingBoard left(512, 512), right(512, 512);
    for (image::DrawingBoard* b : {&left, &right})
        b->SetBackgroundColour(Qt::white);
    const Median boards = medianMs(runs, [&](int run) {
        studio.setTuning(tuningFor(run));
        studio.drawBoards(left, right);
    });

    print("contact sheet: tune + all eleven", sheet);
    print("effect window: tune + both boards", boards);
    std::printf("  goals: every rendering <= 5 ms (slowest %.2f ms: %s), contact sheet <= 40 ms (%.2f ms: %s)\n",
                slowest, slowest <= 5.0 ? "met" : "missed", sheet.wallMs, sheet.wallMs <= 40.0 ? "met" : "missed");
    return 0;
}
