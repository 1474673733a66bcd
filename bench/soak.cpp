// Long use: the whole program with its window, driven as a user would,
// against kovra-sim in fast mode on a private port directory. Every cycle
// drops a picture on the main window, clicks a rendering in the effect
// window, presses "Send Image To Machine", waits for "Sending Complete !",
// presses "Start" and waits for "Carved finish !". After a few warm-up
// cycles it notes the resident memory, the heap in use and the open file
// descriptors, and at the end prints how much they grew between two cycles
// that dropped the same picture. The message log keeps every line by design,
// and each holds about a kilobyte in Qt's text document: after each cycle the
// soak empties the log's view (what the program logged is still counted) and
// prints what the lines held on their own, so they hide no other growth. It
// never fails on a number; it fails only when a cycle does not finish.
//   kovra-soak [--cycles N] [--sim PATH-TO-kovra-sim]

#include "app/program.h"
#include "bench/process_memory.h"
#include "shell/widgets/board_widget.h"
#include "shell/effects/effect_window.h"
#include "shell/main_window.h"
#include "shell/widgets/message_log.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <cstdio>
#include <functional>

namespace {

using namespace kovra;

constexpr int kWarmUpCycles = 20;
constexpr int kStepTimeoutMs = 60000;

// Runs the event loop until done() holds or the time is up.
bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Pictures for the road: the decoders that stream their rows and one that
// does not, large and small.
QStringList writePictures(const QDir& dir)
{
    const auto picture = [](int w, int h, quint32 seed) {
        QImage img(w, h, QImage::Format_RGB32);
        QRandomGenerator rng(seed);
        QPainter p(&img);
        QLinearGradient g(0, 0, w, h);
        g.setColorAt(0, Qt::black);
        g.setColorAt(1, Qt::white);
        p.fillRect(img.rect(), g);
        for (int i = 0; i < 40; ++i) {
            p.setBrush(QColor::fromRgb(rng.generate() | 0xFF000000u));
            p.drawEllipse(QPoint(int(rng.bounded(w)), int(rng.bounded(h))), w / 10, h / 10);
        }
        return img;
    };
    const struct {
        const char* name;
        int w, h;
        const char* format;
    } files[] = {{"photo.jpg", 1600, 1200, "JPEG"}, {"scan.png", 2000, 1500, "PNG"}, {"icon.bmp", 600, 400, "BMP"},
                 {"small.png", 320, 240, "PNG"}};
    QStringList paths;
    quint32 seed = 1;
    for (const auto& f : files) {
        const QString path = dir.filePath(QString::fromLatin1(f.name));
        if (!picture(f.w, f.h, seed++).save(path, f.format))
            return {};
        paths << path;
    }
    return paths;
}

void dropOn(QWidget& window, const QString& path)
{
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    // As a drag from a file manager arrives: it enters, then drops.
    QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
}

shell::EffectWindow* visibleEffectWindow()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* effect = qobject_cast<shell::EffectWindow*>(top); effect && effect->isVisible())
            return effect;
    return nullptr;
}

// The offscreen platform says for every shown effect window that it cannot
// raise it; everything else Qt says goes through.
QtMessageHandler g_defaultHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support raise()")))
        return;
    g_defaultHandler(type, context, message);
}

struct Sample {
    double residentMb;
    double heapMb;
    int descriptors;
    qsizetype loggedChars;
};

Sample sample(const shell::MessageLog& log)
{
    return {bench::residentMb(), bench::heapInUseMb(), bench::openFileDescriptors(), log.loggedText().size()};
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    // Only the simulator's port, and settings of our own.
    const QString ports = dir.filePath(QStringLiteral("ports"));
    QDir().mkpath(ports);
    qputenv("KOVRA_PORT_DIR", QFile::encodeName(ports));
    qputenv("KOVRA_PORT_TABLE", "0");
    qputenv("KOVRA_CONFIG_DIR", QFile::encodeName(dir.filePath(QStringLiteral("config"))));

    g_defaultHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Drop, render, send and engrave, over and over, against kovra-sim."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("cycles"), QStringLiteral("Cycles to run (default 200)."), QStringLiteral("N"),
                      QStringLiteral("200")});
    parser.addOption({QStringLiteral("sim"), QStringLiteral("The simulator (default ../sim/kovra-sim from here)."),
                      QStringLiteral("PATH"), QCoreApplication::applicationDirPath() + QStringLiteral("/../sim/kovra-sim")});
    parser.process(app);
    const int requested = parser.value(QStringLiteral("cycles")).toInt();

    const QStringList pictures = writePictures(QDir(dir.path()));
    if (pictures.isEmpty()) {
        std::fprintf(stderr, "cannot write the pictures\n");
        return 1;
    }
    // The pictures take turns; growth is taken between two cycles that
    // dropped the same one, so the picture kept for the next choice is the same.
    const int turn = int(pictures.size());
    const int warmUp = (kWarmUpCycles + turn - 1) / turn * turn;
    const int cycles = qMax(warmUp + turn, requested);
    const int lastSampled = warmUp + (cycles - warmUp) / turn * turn;
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(parser.value(QStringLiteral("sim")),
              {QStringLiteral("--port"), QStringLiteral("COM3"), QStringLiteral("--port-dir"), ports,
               QStringLiteral("--fast")});
    if (!sim.waitForStarted(10000)) {
        std::fprintf(stderr, "kovra-sim did not start: %s\n", qPrintable(sim.errorString()));
        return 1;
    }
    const auto stopSim = [&sim] {
        sim.terminate();
        if (!sim.waitForFinished(5000))
            sim.kill();
    };
    if (!waitFor([&] { return QFile::exists(QDir(ports).filePath(QStringLiteral("COM3"))); }, 10000)) {
        std::fprintf(stderr, "kovra-sim's port did not appear\n");
        stopSim();
        return 1;
    }

    app::Program program;
    program.Start();
    shell::MainWindow& window = program.window();
    const auto logged = [&window](const char* text) { return window.Log->loggedText().count(QLatin1String(text)); };
    if (!waitFor([&] { return logged("CONNECTED !") > 0; }, 30000)) {
        std::fprintf(stderr, "the program found no machine\n");
        stopSim();
        return 1;
    }

    std::printf("soak: %d cycles of drop -> render -> send -> engrave against kovra-sim --fast\n", cycles);
    std::fflush(stdout);
    Sample start{};
    Sample end{};
    double logHeldMb = 0;
    QElapsedTimer clock;
    clock.start();
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        const int sent = logged("Sending Complete !");
        const int carved = logged("Carved finish !");
        dropOn(window, pictures[cycle % pictures.size()]);
        // The picture is read on the picture flow's worker: the window opens once it is loaded.
        shell::EffectWindow* effect = nullptr;
        waitFor([&] { return (effect = visibleEffectWindow()) != nullptr; }, kStepTimeoutMs);
        // Clicks before both renderings are ready are ignored; a choice closes the window.
        const bool chosen = effect && waitFor([&] {
            // The board's picture area under the point takes the click.
            QWidget* board = cycle % 2 ? effect->DitherBoard : effect->BlackWhiteBoard;
            QWidget* area = board->childAt(QPoint(250, 250));
            QTest::mouseClick(area ? area : board, Qt::LeftButton, Qt::NoModifier, QPoint(249, 249));
            return !effect->isVisible();
        }, kStepTimeoutMs);
        const bool sentOk = chosen && (window.SendImageButton->click(), true)
            && waitFor([&] { return logged("Sending Complete !") > sent; }, kStepTimeoutMs);
        const bool carvedOk = sentOk && (window.StartButton->click(), true)
            && waitFor([&] { return logged("Carved finish !") > carved; }, kStepTimeoutMs);
        if (!carvedOk) {
            std::fprintf(stderr, "cycle %d did not finish (%s); the log:\n%s\n", cycle,
                         !chosen ? "no rendering chosen" : !sentOk ? "picture not sent" : "engraving not finished",
                         qPrintable(window.Log->loggedText().right(2000)));
            stopSim();
            return 1;
        }
        const double withLog = bench::heapInUseMb();
        window.Log->clear();
        if (cycle > warmUp && cycle <= lastSampled)
            logHeldMb += withLog - bench::heapInUseMb();
        if (cycle == warmUp) {
            start = sample(*window.Log);
            std::printf("soak: after %d warm-up cycles: %.2f MB resident, %.2f MB heap in use, %d open file "
                        "descriptors\n", cycle, start.residentMb, start.heapMb, start.descriptors);
        } else if (cycle == lastSampled) {
            end = sample(*window.Log);
        }
        if (cycle % 50 == 0) {
            const Sample now = sample(*window.Log);
            std::printf("soak: cycle %d: %.2f MB resident, %.2f MB heap in use, %d open file descriptors, %.0f ms a "
                        "cycle, %lld characters logged\n", cycle, now.residentMb, now.heapMb, now.descriptors,
                        double(clock.elapsed()) / cycle, static_cast<long long>(window.Log->loggedText().size()));
        }
        std::fflush(stdout);
    }
    const int lines = int(window.Log->loggedText()
                              .mid(start.loggedChars, end.loggedChars - start.loggedChars)
                              .count(QStringLiteral("\r\n")));
    std::printf("soak: %d cycles in %.1f s\n", cycles, clock.elapsed() / 1000.0);
    std::printf("soak: growth from cycle %d to cycle %d: resident memory %+.3f MB (goal under 1), heap in use "
                "%+.3f MB, open file descriptors %+d (goal 0)\n",
                warmUp, lastSampled, end.residentMb - start.residentMb, end.heapMb - start.heapMb,
                end.descriptors - start.descriptors);
    std::printf("soak: besides, the message log's %d lines of those cycles held %.3f MB in its view, emptied "
                "after each cycle\n",
                lines, logHeldMb);
    window.close();
    stopSim();
    return 0;
}
