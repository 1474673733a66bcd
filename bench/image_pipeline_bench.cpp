// From a dropped file to both renderings ready, against two references
// measured in the same run: decoding the same file at the same scale alone,
// and an ImageMagick command line that fits and dithers the same file.
// Prints medians of several runs; it never fails on a time.

#include "image/drawing_board.h"
#include "image/fitting.h"
#include "image/image_view.h"
#include "image/picture_loader.h"
#include "image/picture_session.h"
#include "platform/timer.h"
#include "tests/support/manual_timer.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

using namespace kovra;

using HandTimer = test::ManualTimer;

class SilentView final : public image::ImageView {
public:
    void OpenEffectWindow() override {}
    void CloseEffectWindow() override {}
    void PauseCarving() override {}
    void ResetRunClock() override {}
    void EnableMachineControls() override {}
    void DisableMachineControls() override {}
    void EnablePictureButtons() override {}
    void SetPositionBoxes(const QString&) override {}
    void AppendLogLine(const QString& text) override { std::fprintf(stderr, "log: %s\n", qPrintable(text)); }
};

// Gradients with noise on top, so neither format can compress it to nothing.
QImage detailedPicture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(12345);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int noise = int(rng.bounded(48)) - 24;
            const int r = std::clamp(x * 255 / w + noise, 0, 255);
            const int g = std::clamp(y * 255 / h + noise, 0, 255);
            const int b = std::clamp(((x + y) * 255 / (w + h) + ((x / 64 + y / 64) % 2) * 60) + noise, 0, 255);
            line[x] = qRgb(r, g, b);
        }
    }
    return img;
}

struct Timing {
    double wallMs = 0;
    double cpuMs = 0; // the whole process, all threads
};

Timing timeMs(const std::function<void()>& work)
{
    const std::clock_t cpu = std::clock();
    QElapsedTimer t;
    t.start();
    work();
    return {double(t.nsecsElapsed()) / 1e6, double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC};
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A real ImageMagick: a "convert" whose version text names it. The first one
// on the path may be a stand-in, so the usual places are tried too.
QString findImageMagick()
{
    QStringList candidates;
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("convert"));
    if (!onPath.isEmpty())
        candidates << onPath;
    candidates << QStringLiteral("/usr/bin/convert") << QStringLiteral("/usr/local/bin/convert");
    for (const QString& exe : candidates) {
        QProcess p;
        p.start(exe, {QStringLiteral("-version")});
        if (!p.waitForFinished(10000))
            continue;
        if (p.exitCode() == 0 && p.readAllStandardOutput().contains("ImageMagick"))
            return exe;
    }
    return QString();
}

struct Sample {
    const char* name;
    QString path;
    int runs;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    // An argument picks the pictures whose name contains it ("PNG", "640").
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    auto wanted = [&only](const char* name) {
        return only.isEmpty() || QString::fromLatin1(name).contains(only, Qt::CaseInsensitive);
    };
    const QString bigJpeg = dir.filePath(QStringLiteral("big.jpg"));
    const QString bigPng = dir.filePath(QStringLiteral("big.png"));
    const QString smallJpeg = dir.filePath(QStringLiteral("small.jpg"));
    const Sample samples[] = {
        {"6000x4000 JPEG", bigJpeg, 7},
        {"6000x4000 PNG", bigPng, 5},
        {"640x480 JPEG", smallJpeg, 21},
    };

    std::printf("making the test pictures...\n");
    std::fflush(stdout);
    bool saved = true;
    if (wanted(samples[0].name) || wanted(samples[1].name)) {
        const QImage big = detailedPicture(6000, 4000);
        saved = big.save(bigJpeg, "JPEG", 90);
        QImageWriter png(bigPng, "PNG");
        png.setCompression(1); // fast to write; decoding cost is what we measure
        saved = saved && png.write(big);
    }
    saved = saved && detailedPicture(640, 480).save(smallJpeg, "JPEG", 90);
    if (!saved) {
        std::fprintf(stderr, "cannot write the test pictures\n");
        return 1;
    }

    const QString magick = findImageMagick();
    if (magick.isEmpty())
        std::printf("ImageMagick not found (no \"convert\" whose -version names it): its column is skipped\n");

    image::DrawingBoard preview(512, 512);
    QImage white(600, 600, QImage::Format_RGB32);
    white.fill(Qt::white);
    HandTimer timer;
    SilentView view;
    image::PictureSession session(preview, white, timer, view);

    std::printf("\nmedian wall-clock ms of file -> both renderings ready (ours), of the same decode alone, and of\n"
                "the ImageMagick command; best = ratio of the fastest runs; cpu ratio = the same medians of process\n"
                "CPU time, all threads (the renderings of a JPEG are made on a second thread during its decode)\n\n");
    std::printf("%-16s %10s %10s %7s %7s %7s %12s %7s   %s\n", "picture", "ours", "decode", "ratio", "best", "cpu",
                "ImageMagick", "ratio", "decoded at");
    for (const Sample& s : samples) {
        if (!wanted(s.name))
            continue;
        // Warm the file cache and the code paths once.
        session.FileDropped({s.path});
        timer.tick();
        if (!session.renderingsReady()) {
            std::printf("%-16s failed to load\n", s.name);
            continue;
        }

        // Interleaved, so a busy machine slows both sides alike.
        std::vector<double> oursWall, oursCpu, decodeWall, decodeCpu;
        for (int i = 0; i < s.runs; ++i) {
            const Timing ours = timeMs([&] {
                session.FileDropped({s.path});
                timer.tick();
            });
            const Timing decode = timeMs([&] {
                const image::LoadedPicture p = image::LoadPicture(s.path, image::FitDecodeSize);
                if (!p.ok())
                    std::fprintf(stderr, "decode failed: %s\n", qPrintable(p.error));
            });
            oursWall.push_back(ours.wallMs);
            oursCpu.push_back(ours.cpuMs);
            decodeWall.push_back(decode.wallMs);
            decodeCpu.push_back(decode.cpuMs);
        }
        // The size both sides decode to, and for JPEG the DCT scale n/8 that gives it.
        QString decodedAt;
        {
            const image::LoadedPicture p = image::LoadPicture(s.path, image::FitDecodeSize);
            decodedAt = QStringLiteral("%1x%2").arg(p.image.width()).arg(p.image.height());
            if (s.path.endsWith(QLatin1String(".jpg"))) {
                for (int n = 1; n <= 8; ++n)
                    if ((p.width * n + 7) / 8 == p.image.width()) {
                        decodedAt += QStringLiteral(" (scale %1/8)").arg(n);
                        break;
                    }
            }
        }
        const double ours = median(oursWall);
        const double decode = median(decodeWall);
        // best: the fastest run of each side, the least disturbed by others on a shared machine.
        const double best = *std::min_element(oursWall.begin(), oursWall.end())
            / *std::min_element(decodeWall.begin(), decodeWall.end());
        std::printf("%-16s %10.2f %10.2f %7.3f %7.3f %7.3f", s.name, ours, decode, ours / decode, best,
                    median(oursCpu) / median(decodeCpu));
        if (magick.isEmpty()) {
            std::printf(" %12s %7s   %s\n", "skipped", "-", qPrintable(decodedAt));
            continue;
        }
        const QString out = dir.filePath(QStringLiteral("magick.png"));
        const QStringList args{QStringLiteral("-define"), QStringLiteral("jpeg:size=490x490"), s.path,
                               QStringLiteral("-resize"), QStringLiteral("490x490"), QStringLiteral("-colorspace"),
                               QStringLiteral("Gray"), QStringLiteral("-dither"), QStringLiteral("FloydSteinberg"),
                               QStringLiteral("-monochrome"), out};
        const int magickRuns = std::min(s.runs, 5);
        std::vector<double> magickTimes;
        for (int i = 0; i < magickRuns; ++i) {
            magickTimes.push_back(timeMs([&] {
                QProcess p;
                p.start(magick, args);
                p.waitForFinished(120000);
            }).wallMs);
        }
        const double reference = median(magickTimes);
        std::printf(" %12.2f %7.3f   %s\n", reference, ours / reference, qPrintable(decodedAt));
    }
    std::printf("\ngoals: ours / decode <= 1.2, ours / ImageMagick <= 0.5 (wall-clock)\n");
    return 0;
}
