// The machine link's two hot paths, against the line they serve:
//  - the 32768-byte picture written to the simulated machine reading at the
//    real line rate (57600 baud, 8N1 = 5760 bytes a second): the wall time
//    from the machine's ImageRequest to its last picture byte, over the
//    5.689 s the line itself needs, and the longest stall of the event loop
//    meanwhile, seen by a 1 ms probe timer;
//  - the reply path: position frames through HandleReplyByte, drawing the
//    trace, in bytes a second over the line's 5760.
// Prints its measurements and ratios; it never fails on a time.

#include "bench/link_watch.h"
#include "bench/loop_probe.h"
#include "image/drawing_board.h"
#include "job/engrave_encoder.h"
#include "job/job_progress.h"
#include "link/machine_link.h"
#include "link/qt_serial_channel.h"
#include "platform/timer.h"
#include "tests/support/manual_timer.h"
#include "shell/trace_painter.h"
#include "sim/pty_machine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

using namespace kovra;

using bench::kLineBytesPerSecond;
using bench::kPictureBytes;
using HandTimer = test::ManualTimer;
using bench::LoopProbe;
using bench::Watch;

void benchPictureTransfer()
{
    QTemporaryDir dir;
    sim::PtyMachineOptions options;
    options.portNumber = 1;
    options.portDir = dir.path();
    options.paced = true;
    sim::PtyMachine machine({}, options);
    if (!machine.start()) {
        std::printf("picture transfer: simulator did not start: %s\n", qPrintable(machine.errorString()));
        return;
    }
    HandTimer retry, verify, portCheck;
    platform::QtTimer output, transfer;
    link::QtSerialChannel channel(platform::SerialPortNames(dir.path(), false));
    link::MachineLink machineLink(channel, {retry, verify, portCheck, output, transfer});
    Watch view(machineLink.events());

    machineLink.connection().AutoConnect();
    LoopProbe settle;
    if (!settle.run([&] { return view.firmware; }, 5000)) {
        std::printf("picture transfer: no handshake answer\n");
        return;
    }
    settle.run([] { return false; }, 300); // let the rest of the greeting arrive

    const QByteArray picture = bench::BenchPicture();
    machineLink.picture().SetEngraveBuffer(picture);

    // Clock from the moment the machine asks for the picture.
    QElapsedTimer clock;
    bool requested = false;
    QByteArray recent;
    channel.setOnDataArrived([&](quint8 b) {
        recent.append(char(b));
        if (recent.size() > 2)
            recent.remove(0, recent.size() - 2);
        if (!requested && recent == QByteArray("\xFF\x05", 2)) {
            requested = true;
            clock.start();
        }
        machineLink.replies().HandleReplyByte(b);
    });
    machineLink.frames().BeginImage();
    LoopProbe probe;
    qint64 completeMs = -1;
    int polls = 0;
    bool received = false;
    const bool done = probe.run(
        [&] {
            if (completeMs < 0 && view.sent)
                completeMs = clock.elapsed();
            if (++polls % 10 == 0) // look at the machine every ~10 ms
                machine.withModel([&](sim::FirmwareModel& m) { received = m.picturesReceived() >= 1; });
            return received && completeMs >= 0;
        },
        30000);
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double floor = kPictureBytes / kLineBytesPerSecond;
    if (!done || !requested) {
        std::printf("picture transfer: did not finish (requested=%d)\n", requested);
        return;
    }
    const bool same = machine.storedPicture() == picture;
    std::printf("picture transfer, paced at 57600 8N1\n");
    std::printf("  ImageRequest to last byte at the machine: %.3f s (line floor %.3f s)\n", seconds, floor);
    std::printf("  ratio wall / floor: %.4f (goal <= 1.02)\n", seconds / floor);
    std::printf("  \"Sending Complete !\" logged after %.3f s (never before the line could carry it all)\n",
                completeMs / 1000.0);
    std::printf("  longest event-loop stall during the transfer: %.2f ms (goal <= 20)\n", probe.longestGapUs / 1000.0);
    std::printf("  progress updates: %d, picture byte for byte: %s\n", view.progressCalls, same ? "yes" : "NO");
}

void benchReplyPath()
{
    image::DrawingBoard board(512, 512);
    board.SetBackgroundColour(Qt::white);
    board.ClearBoard();
    HandTimer retry, verify, portCheck, output, transfer;
    // Channel-free: the reply handler alone, as DataArrived drives it.
    struct NoChannel final : link::SerialChannel {
        bool PortOpen() override { return false; }
        void PortClose() override {}
        bool IsOpen() const override { return false; }
        link::OpenFailure LastOpenFailure() const override { return {}; }
        bool SendBytes(const QByteArray&) override { return false; }
        qint64 BytesToWrite() const override { return 0; }
        platform::SerialPortList ListPresentPorts() const override { return {}; }
    } channel;
    link::MachineLink machineLink(channel, {retry, verify, portCheck, output, transfer});
    link::ReplyHandler& replies = machineLink.replies();
    shell::TracePainter trace(machineLink.events(), board);
    // The job's progress accounting listens to every position, as in the program.
    job::JobEvents jobEvents;
    job::JobProgress progress(machineLink.events(), jobEvents);
    const QByteArray raster(job::EngraveBufferSize, '\xFF');
    emit jobEvents.pictureAnnounced(raster);
    emit machineLink.events().pictureSent(true, raster.size(), raster.size());
    emit jobEvents.carvingStarted(false);
    int changes = 0;
    QObject::connect(&progress, &job::JobProgress::changed, [&] { ++changes; });

    // A whole engraving's position reports: X once per row, Y per dot.
    QByteArray stream;
    stream.reserve(512 * (4 + 512 * 4));
    for (int row = 0; row < 512; ++row) {
        stream.append(QByteArray("\xFF\x04", 2)).append(char(row / 100)).append(char(row % 100));
        for (int column = 1; column <= 512; ++column)
            stream.append(QByteArray("\xFF\x03", 2)).append(char(column / 100)).append(char(column % 100));
    }
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer clock;
        clock.start();
        for (char b : stream)
            replies.HandleReplyByte(quint8(b));
        best = std::min(best, clock.nsecsElapsed() / 1e9);
    }
    const double rate = stream.size() / best;
    std::printf("reply path (HandleReplyByte with the red trace and the progress accounting), %lld bytes, best of 5\n",
        qlonglong(stream.size()));
    std::printf("  progress at the end: %d %%, %d changes\n", progress.State().percent, changes);
    std::printf("  %.0f bytes/s; ratio over the line's 5760 B/s: %.0f (goal >= 100)\n", rate, rate / kLineBytesPerSecond);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchReplyPath();
    benchPictureTransfer();
    return 0;
}
