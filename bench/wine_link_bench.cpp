// The picture transfer through Wine's serial stack, for the Windows build:
// its channel (the Win32 communications calls) writes to kovra-sim, a program
// of the machine that builds, paced at the real line rate on a
// pseudo-terminal linked into the Wine prefix as COM8.
//
// A pseudo-terminal takes much of the picture at once, so the time runs from
// the machine's ImageRequest to its answer to the handshake sent right after
// the picture: it reads in order at the line rate, so that answer leaves once
// the picture's last byte is in. Over the line floor for those bytes; and the
// longest stall of the event loop meanwhile, beside the longest gap of the
// same loop with nothing to do. Prints; never fails on a time.

#include "bench/link_watch.h"
#include "bench/loop_probe.h"
#include "link/machine_link.h"
#include "link/system_serial_channel.h"
#include "platform/timer.h"
#include "tests/support/wine_host.h"

#include <QGuiApplication>

#include <cstdio>

using namespace kovra;

namespace {

using bench::kLineBytesPerSecond;
using bench::kPictureBytes;
constexpr int kPort = 8;

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    test::WineMachine machine(kPort, {QStringLiteral("--paced")});
    const QString why = machine.start();
    if (!why.isEmpty()) {
        std::printf("picture transfer through Wine's COM port: not measured: %s\n", qPrintable(why));
        return 0;
    }
    platform::QtTimer retry, verify, portCheck, output, transfer;
    const auto channel = link::CreateSerialChannel();
    link::MachineLink machineLink(*channel, {retry, verify, portCheck, output, transfer});
    bench::Watch view(machineLink.events());
    machineLink.connection().AutoConnect();
    bench::LoopProbe settle;
    if (!settle.run([&] { return view.firmware && channel->PortNumber() == kPort; }, 30000)) {
        std::printf("picture transfer through Wine's COM port: COM%d never answered\n", kPort);
        return 1;
    }
    settle.run([] { return false; }, 300); // the rest of the greeting
    // What Wine's timers and this machine's load alone give: the same probe, nothing to do.
    bench::LoopProbe idle;
    idle.run([] { return false; }, 3000);

    const QByteArray picture = bench::BenchPicture();
    machineLink.picture().SetEngraveBuffer(picture);
    QElapsedTimer clock;
    bool requested = false;
    bool handshakeSent = false;
    double answeredS = -1;
    double sentS = -1;
    QByteArray recent;
    channel->setOnDataArrived([&](quint8 b) {
        recent = (recent + char(b)).right(2);
        if (!requested && recent == QByteArray("\xFF\x05", 2)) {
            requested = true;
            clock.start();
        } else if (handshakeSent && answeredS < 0 && recent == QByteArray("\xFF\x01", 2)) {
            answeredS = clock.nsecsElapsed() / 1e9;
        }
        machineLink.replies().HandleReplyByte(b);
    });
    machineLink.frames().BeginImage();
    bench::LoopProbe probe;
    const bool done = probe.run(
        [&] {
            if (view.sent && !handshakeSent) {
                sentS = clock.nsecsElapsed() / 1e9;
                handshakeSent = true;
                machineLink.frames().Handshake();
            }
            return answeredS >= 0;
        },
        30000);
    if (!done || !requested) {
        std::printf("picture transfer through Wine's COM port: did not finish (requested=%d, sent=%d, progress %d)\n", requested, view.sent, view.progressCalls);
        return 1;
    }
    const double floor = (kPictureBytes + 4 + 4) / kLineBytesPerSecond;
    std::printf("picture transfer through Wine's COM port (the Win32 channel), paced at 57600 8N1\n");
    std::printf("  ImageRequest to the machine's answer after the picture: %.3f s (line floor %.3f s)\n", answeredS, floor);
    std::printf("  ratio wall / floor: %.4f (goal <= 1.01)\n", answeredS / floor);
    std::printf("  \"Sending Complete !\" after %.3f s (the pseudo-terminal buffers part of the picture)\n", sentS);
    std::printf("  longest event-loop stall during the transfer: %.2f ms (goal <= 20); with nothing to do: %.2f ms\n",
                probe.longestGapUs / 1000.0, idle.longestGapUs / 1000.0);
    std::printf("  progress updates: %d\n", view.progressCalls);
    return 0;
}
