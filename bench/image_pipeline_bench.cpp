// From a dropped file to both renderings ready, against references measured
// in the same run: decoding the same file at the same scale alone, an
// ImageMagick command line that fits and dithers the same file, and Pillow
// doing the same work in its own process (timed inside it), when installed.
// Also the peak memory of each drop, and of hostile files that claim huge
// pictures. Prints medians of several runs; it never fails on a time.

#include "bench/bench_pictures.h"
#include "bench/process_memory.h"
#include "codec/picture_loader.h"
#include "image/drawing_board.h"
#include "picture/picture_flow.h"
#include "platform/timer.h"
#include "rendering/fitting.h"
#include "tests/picture/picture_rig.h"
#include "tests/support/manual_timer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

namespace {

using namespace kovra;

using HandTimer = test::ManualTimer;

// A picture flow with its boards, as the window has it, for dropping files on.
struct Dropping {
    static QImage plainWhite()
    {
        QImage white(600, 600, QImage::Format_RGB32);
        white.fill(Qt::white);
        return white;
    }
    Dropping()
    {
        QObject::connect(&events, &picture::PictureEvents::refused, [](const QString&, const QString& reason) {
            std::fprintf(stderr, "refused: %s\n", qPrintable(reason));
        });
    }
    // The drop, the worker's answer and the effect window's tick: true when
    // both renderings are on their boards.
    bool drop(const QString& path)
    {
        flow.FileDropped({path});
        if (!test::WaitForAnswer(events))
            return false;
        timer.tick();
        return flow.renderingsReady();
    }
    image::DrawingBoard preview{512, 512};
    QImage white = plainWhite();
    HandTimer timer;
    picture::PictureEvents events;
    picture::PictureFlow flow{preview, white, timer, events};
};

using bench::detailedPicture;

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

// A huge PNG written a row at a time (it never exists whole in memory):
// gradients, blocks and a little repeating noise, quick to write at zlib
// level 1 and still work for the decoder.
bool writeHugePng(const QString& path, int w, int h)
{
    FILE* out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_byte> row(size_t(w) * 3);
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(out);
        return false;
    }
    png_init_io(png, out);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    int noise[1024];
    QRandomGenerator rng(777);
    for (int& n : noise)
        n = int(rng.bounded(9)) - 4;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int n = noise[(x * 7 + y * 13) & 1023];
            const int block = ((x / 512 + y / 512) % 2) * 50;
            row[size_t(x) * 3] = png_byte(std::clamp(int(qint64(x) * 255 / w) + n, 0, 255));
            row[size_t(x) * 3 + 1] = png_byte(std::clamp(int(qint64(y) * 255 / h) + block - 25 + n, 0, 255));
            row[size_t(x) * 3 + 2] = png_byte(std::clamp(int(qint64(x + y) * 255 / (w + h)) + n, 0, 255));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(out) == 0;
}

// A Python 3 that has Pillow, and a script doing our work with it: decode
// (JPEG at the DCT scale that covers the fit, as ours), shrink by area
// averaging into the 490 square on white, then both renderings (a threshold
// and Floyd-Steinberg). It prints its median and best times and its peak memory.
const char* const kPillowScript = R"(
import sys, time
from PIL import Image
Image.MAX_IMAGE_PIXELS = None
path, runs, S = sys.argv[1], int(sys.argv[2]), 490
def work():
    im = Image.open(path)
    w, h = im.size
    im.draft('RGB', (S, S))
    im = im.convert('RGB')
    if w > S or h > S:
        if w > h: fw, fh = S, max(1, int(S * h / w))
        else: fw, fh = max(1, int(S * w / h)), S
        im = im.resize((fw, fh), Image.BOX)
    canvas = Image.new('RGB', (S, S), 'white')
    canvas.paste(im, (int(S / 2 - im.size[0] / 2), int(S / 2 - im.size[1] / 2)))
    grey = canvas.convert('L')
    return grey.convert('1', dither=Image.Dither.NONE), grey.convert('1')
times = []
for _ in range(runs):
    t = time.perf_counter()
    work()
    times.append((time.perf_counter() - t) * 1000)
times.sort()
peak = [l for l in open('/proc/self/status') if l.startswith('VmHWM:')]
print('%.2f %.2f %.1f' % (times[len(times) // 2], times[0], int(peak[0].split()[1]) / 1024 if peak else -1))
)";

QString findPillowPython()
{
    for (const QString& exe : {QStringLiteral("/usr/bin/python3"), QStandardPaths::findExecutable("python3")}) {
        if (exe.isEmpty())
            continue;
        QProcess p;
        p.start(exe, {QStringLiteral("-c"), QStringLiteral("import PIL.Image")});
        if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return exe;
    }
    return QString();
}

struct PillowResult {
    double ms = -1;     // median
    double bestMs = -1; // fastest run
    double peakMb = -1;
};

PillowResult runPillow(const QString& python, const QString& script, const QString& picture, int runs)
{
    QProcess p;
    p.start(python, {script, picture, QString::number(runs)});
    if (!p.waitForFinished(600000) || p.exitCode() != 0) {
        std::fprintf(stderr, "Pillow failed on %s: %s\n", qPrintable(picture), p.readAllStandardError().constData());
        return {};
    }
    const QList<QByteArray> parts = p.readAllStandardOutput().trimmed().split(' ');
    return {parts.value(0).toDouble(), parts.value(1).toDouble(), parts.value(2).toDouble()};
}

// "--peak-of PICTURE": one drop in a fresh process, so that nothing an
// earlier case left in the heap hides what this one takes. Prints the
// process's peak resident memory before the drop and at its end, in MB.
// What fresh memory costs on this system: a 1 MB block allocated, written
// and freed, median ms. Where the allocator hands big blocks back to the
// system on free (the Windows heap, Wine's too) every drop pays this for
// each picture-sized buffer it makes; glibc keeps such blocks for reuse.
double freshMegabyteMs()
{
    constexpr size_t kBytes = 1024 * 1024;
    std::vector<double> times;
    for (int i = 0; i < 31; ++i) {
        QElapsedTimer clock;
        clock.start();
        auto* block = static_cast<volatile char*>(std::malloc(kBytes));
        for (size_t at = 0; block && at < kBytes; at += 4096)
            block[at] = 1;
        std::free(const_cast<char*>(block));
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

int peakOfOneDrop(const QString& path)
{
    Dropping dropping;
    const double before = bench::peakResidentMb();
    const bool rendered = dropping.drop(path);
    std::printf("%.1f %.1f %d\n", before, bench::peakResidentMb(), rendered ? 1 : 0);
    return 0;
}

struct Peak {
    double beforeMb = -1; // the process before the drop
    double peakMb = -1;   // the process's peak, the drop included
    bool rendered = false;
};

Peak measurePeak(const QString& picture)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--peak-of"), picture});
    if (!p.waitForFinished(600000) || p.exitCode() != 0)
        return {};
    const QList<QByteArray> parts = p.readAllStandardOutput().trimmed().split(' ');
    return {parts.value(0).toDouble(), parts.value(1).toDouble(), parts.value(2) == "1"};
}

// Files that claim far more picture than their bytes hold: refused at once,
// with next to no memory.
void benchHostileFiles(const QTemporaryDir& dir)
{
    struct Hostile {
        const char* name;
        QByteArray bytes;
    };
    QByteArray rle = QByteArray::fromHex("424D") + QByteArray(12, '\0');
    {
        QByteArray info(40, '\0');
        const auto put = [&info](int at, quint32 v) { qToLittleEndian<quint32>(v, info.data() + at); };
        put(0, 40);
        put(4, 20000);
        put(8, 20000);
        info[12] = 1;
        info[14] = 8;
        put(16, 1); // RLE8
        put(32, 2);
        const QByteArray palette = QByteArray::fromHex("00000000FFFFFF00");
        const QByteArray codes = QByteArray::fromHex("FF01").repeated(150) + QByteArray::fromHex("0001");
        rle += info + palette + codes;
        qToLittleEndian<quint32>(quint32(rle.size()), rle.data() + 2);
        qToLittleEndian<quint32>(14 + 40 + 8, rle.data() + 10);
    }
    QByteArray gif = QByteArray("GIF89a") + QByteArray::fromHex("204E204E800000" "000000FFFFFF")
        + QByteArray::fromHex("2C000000000400040000" "02048C8F0705003B");
    const Hostile files[] = {{"RLE BMP 20000x20000", rle}, {"GIF 20000x20000 screen", gif}};
    std::printf("\nhostile files: a small file that claims a huge picture, dropped in a process of its own\n");
    std::printf("%-24s %8s %10s %10s %10s   %s\n", "file", "bytes", "ms", "peak MB", "+MB", "answer");
    for (const Hostile& h : files) {
        const QString path = dir.filePath(QStringLiteral("hostile.bin"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(h.bytes) != h.bytes.size())
            continue;
        f.close();
        codec::LoadedPicture p;
        const Timing t = timeMs([&] { p = codec::LoadPicture(path, rendering::FitDecodeSize); });
        const Peak peak = measurePeak(path);
        std::printf("%-24s %8lld %10.2f %10.1f %10.1f   %s\n", h.name, qlonglong(h.bytes.size()), t.wallMs,
                    peak.peakMb, peak.peakMb - peak.beforeMb, p.ok() ? "accepted" : qPrintable(p.error));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--peak-of") == 0)
        return peakOfOneDrop(QString::fromLocal8Bit(argv[2]));

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
    const QString hugePng = dir.filePath(QStringLiteral("huge.png"));
    const Sample samples[] = {
        {"6000x4000 JPEG", bigJpeg, 7},
        {"6000x4000 PNG", bigPng, 5},
        {"640x480 JPEG", smallJpeg, 21},
        {"20000x20000 PNG", hugePng, 2},
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
    if (wanted(samples[3].name))
        saved = saved && writeHugePng(hugePng, 20000, 20000);
    if (!saved) {
        std::fprintf(stderr, "cannot write the test pictures\n");
        return 1;
    }

    const QString magick = findImageMagick();
    if (magick.isEmpty())
        std::printf("ImageMagick not found (no \"convert\" whose -version names it): its column is skipped\n");
    const QString python = findPillowPython();
    const QString pillowScript = dir.filePath(QStringLiteral("pillow_work.py"));
    if (python.isEmpty()) {
        std::printf("Pillow not found (Debian python3-pil): its columns are skipped\n");
    } else {
        QFile script(pillowScript);
        if (!script.open(QIODevice::WriteOnly) || script.write(kPillowScript) < 0)
            return 1;
    }

    Dropping dropping;

    std::printf("\nmedian wall-clock ms of file -> both renderings ready (ours), of the same decode alone, and of\n"
                "the ImageMagick command; best = ratio of the fastest runs; cpu ratio = the same medians of process\n"
                "CPU time, all threads (the renderings of a JPEG or PNG are made on a second thread during its decode)\n\n");
    std::printf("%-16s %10s %10s %7s %7s %7s %12s %7s   %s\n", "picture", "ours", "decode", "ratio", "best", "cpu",
                "ImageMagick", "ratio", "decoded at");
    struct Measured {
        const Sample* sample;
        double oursMs;
        double oursBestMs;
    };
    std::vector<Measured> measured;
    for (const Sample& s : samples) {
        if (!wanted(s.name))
            continue;
        // Warm the file cache and the code paths once.
        if (!dropping.drop(s.path)) {
            std::printf("%-16s failed to load\n", s.name);
            continue;
        }

        // Interleaved, so a busy machine slows both sides alike.
        std::vector<double> oursWall, oursCpu, decodeWall, decodeCpu;
        for (int i = 0; i < s.runs; ++i) {
            const Timing ours = timeMs([&] { dropping.drop(s.path); });
            const Timing decode = timeMs([&] {
                const codec::LoadedPicture p = codec::LoadPicture(s.path, rendering::FitDecodeSize);
                if (!p.ok())
                    std::fprintf(stderr, "decode failed: %s\n", qPrintable(p.error));
            });
            oursWall.push_back(ours.wallMs);
            oursCpu.push_back(ours.cpuMs);
            decodeWall.push_back(decode.wallMs);
            decodeCpu.push_back(decode.cpuMs);
        }
        // The size both sides decode to: for JPEG the DCT scale n/8 that
        // gives it, for PNG the whole factor its rows are shrunk by.
        QString decodedAt;
        {
            const codec::LoadedPicture p = codec::LoadPicture(s.path, rendering::FitDecodeSize);
            decodedAt = QStringLiteral("%1x%2").arg(p.image.width()).arg(p.image.height());
            if (s.path.endsWith(QLatin1String(".jpg"))) {
                for (int n = 1; n <= 8; ++n)
                    if ((p.width * n + 7) / 8 == p.image.width()) {
                        decodedAt += QStringLiteral(" (scale %1/8)").arg(n);
                        break;
                    }
            } else if (p.image.width() > 0) {
                decodedAt += QStringLiteral(" (1/%1)").arg((p.width + p.image.width() - 1) / p.image.width());
            }
        }
        const double ours = median(oursWall);
        const double decode = median(decodeWall);
        measured.push_back({&s, ours, *std::min_element(oursWall.begin(), oursWall.end())});
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
    std::printf("fresh memory: a 1 MB block allocated, written and freed takes %.3f ms here\n", freshMegabyteMs());

    // Memory: one drop of each picture in a fresh process; Pillow's time
    // and memory for the same file and work.
    std::printf("\npeak resident memory of one drop in a fresh process (MB: the whole process; +: the drop), and\n"
                "Pillow doing the same work in its own process (median and best ms timed inside it, its peak)\n\n");
    std::printf("%-16s %9s %9s %10s %10s %9s %10s %9s %10s\n", "picture", "peak MB", "+MB", "ours ms", "Pillow ms",
                "ratio", "best ms", "best", "Pillow MB");
    for (const Measured& m : measured) {
        const Peak peak = measurePeak(m.sample->path);
        std::printf("%-16s %9.1f %9.1f %10.2f", m.sample->name, peak.peakMb, peak.peakMb - peak.beforeMb,
                    m.oursMs);
        if (python.isEmpty()) {
            std::printf(" %10s %9s %10s %9s %10s\n", "skipped", "-", "-", "-", "-");
            continue;
        }
        const PillowResult pillow = runPillow(python, pillowScript, m.sample->path, m.sample->runs);
        std::printf(" %10.2f %9.3f %10.2f %9.3f %10.1f\n", pillow.ms, m.oursMs / pillow.ms, pillow.bestMs,
                    m.oursBestMs / pillow.bestMs, pillow.peakMb);
    }
    std::printf("\ngoals: ours / Pillow <= 1 for every picture; the 20000x20000 PNG under 150 MB\n");

    benchHostileFiles(dir);
    std::printf("\ngoal: every hostile file refused, under 50 MB\n");
    return 0;
}
