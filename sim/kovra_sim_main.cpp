// kovra-sim: the engraver played on a pseudo-terminal, linked into the port
// directory as COMn so the program finds it by its ordinary scan.

#include "sim/pty_machine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTextStream>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace kovra::sim;

namespace {

int g_signalPipe[2] = {-1, -1}; // the only way a signal handler may reach the event loop

void onSignal(int)
{
    const char b = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &b, 1);
}

void say(const QString& line)
{
    std::fprintf(stdout, "kovra-sim: %s\n", qPrintable(line));
    std::fflush(stdout);
}

void complain(const QString& line)
{
    std::fprintf(stderr, "kovra-sim: %s\n", qPrintable(line));
}

int portNumberOf(const QString& text, bool* ok)
{
    QString digits = text.trimmed();
    if (digits.startsWith(QStringLiteral("COM"), Qt::CaseInsensitive))
        digits = digits.mid(3);
    const int n = digits.toInt(ok);
    *ok = *ok && n >= 1 && n <= 64;
    return n;
}

QString defaultPortDir()
{
    const QString fromEnv = qEnvironmentVariable("KOVRA_PORT_DIR");
    if (!fromEnv.isEmpty())
        return fromEnv;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/kovra/ports");
}

bool saveBurned(PtyMachine& machine, const QString& path)
{
    if (path.isEmpty())
        return true;
    const QString suffix = QFileInfo(path).suffix().toLower();
    const char* format = suffix == QStringLiteral("bmp") ? "BMP" : "PNG";
    if (!machine.burnedPicture().save(path, format)) {
        complain(QStringLiteral("cannot write the burned picture to \"%1\"").arg(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kovra-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays the Kovra engraver on a pseudo-terminal linked as COMn in the port directory.\n"
        "It answers the handshake, takes the 32768-byte picture after BeginImage, engraves it on\n"
        "StartCarve reporting every burned dot, and obeys pause, resume, recarve, row skips,\n"
        "restart, positioning, jogs, burn time and motor reversal."));
    parser.addHelpOption();
    const QCommandLineOption portOpt(QStringLiteral("port"), QStringLiteral("Port name, COM1..COM64 (default COM3)."),
                                     QStringLiteral("COMn"), QStringLiteral("COM3"));
    const QCommandLineOption dirOpt(QStringLiteral("port-dir"),
                                    // Said the same way on every machine: the man page is made from this text.
                                    QStringLiteral("Port directory (default $KOVRA_PORT_DIR, else "
                                                   "~/.config/kovra/ports)."),
                                    QStringLiteral("DIR"));
    const QCommandLineOption linkNameOpt(QStringLiteral("link-name"),
                                         QStringLiteral("Name of the link in the port directory instead of COMn "
                                                        "(a Wine prefix's dosdevices folder wants com3)."),
                                         QStringLiteral("NAME"));
    const QCommandLineOption fastOpt(QStringLiteral("fast"), QStringLiteral("Run as fast as the program reads (default)."));
    const QCommandLineOption pacedOpt(QStringLiteral("paced"),
                                      QStringLiteral("Read and answer at the real line rate, 5760 bytes/s "
                                                     "(a picture takes about 5.7 s)."));
    const QCommandLineOption dotsOpt(QStringLiteral("dots-per-step"),
                                     QStringLiteral("Raster positions engraved per step (fast default 8192, "
                                                    "paced default 256 at 100 steps/s)."),
                                     QStringLiteral("N"));
    const QCommandLineOption burnedOpt(QStringLiteral("burned"),
                                       QStringLiteral("Write the burned picture here at each CarveFinished and on "
                                                      "exit; BMP for a .bmp name, else PNG."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption transcriptOpt(QStringLiteral("transcript"),
                                           QStringLiteral("Write every received frame, trailer and picture as a "
                                                          "line of text here."),
                                           QStringLiteral("FILE"));
    const QCommandLineOption firmwareOpt(QStringLiteral("firmware"),
                                         QStringLiteral("Firmware version to report, 0..254 (default 1; 2 is newer "
                                                        "than the program)."),
                                         QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption burnTimeOpt(QStringLiteral("burn-time"),
                                         QStringLiteral("Burn time reported after the handshake (default 50)."),
                                         QStringLiteral("T"), QStringLiteral("50"));
    const QCommandLineOption motorOffOpt(QStringLiteral("motor-off"),
                                         QStringLiteral("Motor power off: MotorStatus 0, and the head does not move."));
    const QCommandLineOption silentOpt(QStringLiteral("silent"), QStringLiteral("Never answer anything."));
    const QCommandLineOption unplugOpt(QStringLiteral("unplug-after"),
                                       QStringLiteral("Pull the cable once N bytes have been received."),
                                       QStringLiteral("N"));
    const QCommandLineOption replugOpt(QStringLiteral("replug-after"),
                                       QStringLiteral("After an unplug, plug back in on the same port after MS "
                                                      "milliseconds (without it the simulator exits)."),
                                       QStringLiteral("MS"));
    const QCommandLineOption noiseOpt(QStringLiteral("noise"),
                                      QStringLiteral("Chance 0..1 that 1-4 random non-0xFF bytes precede a reply."),
                                      QStringLiteral("RATE"));
    const QCommandLineOption seedOpt(QStringLiteral("seed"), QStringLiteral("Seed for the noise (default 1)."),
                                     QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption exitOpt(QStringLiteral("exit-after-carve"),
                                     QStringLiteral("Exit with status 0 after the first CarveFinished."));
    parser.addOptions({portOpt, dirOpt, linkNameOpt, fastOpt, pacedOpt, dotsOpt, burnedOpt, transcriptOpt, firmwareOpt, burnTimeOpt,
                       motorOffOpt, silentOpt, unplugOpt, replugOpt, noiseOpt, seedOpt, exitOpt});
    parser.process(app);

    auto fail = [](const QString& message) {
        complain(message);
        return 2;
    };
    if (parser.isSet(fastOpt) && parser.isSet(pacedOpt))
        return fail(QStringLiteral("--fast and --paced exclude each other"));

    bool ok = false;
    PtyMachineOptions pty;
    pty.portNumber = portNumberOf(parser.value(portOpt), &ok);
    if (!ok)
        return fail(QStringLiteral("--port wants COM1..COM64, not \"%1\"").arg(parser.value(portOpt)));
    pty.portDir = parser.isSet(dirOpt) ? parser.value(dirOpt) : defaultPortDir();
    pty.paced = parser.isSet(pacedOpt);
    pty.linkName = parser.value(linkNameOpt);
    if (pty.linkName.contains(u'/'))
        return fail(QStringLiteral("--link-name wants a name, not a path"));

    FirmwareOptions firmware;
    firmware.firmwareVersion = parser.value(firmwareOpt).toInt(&ok);
    if (!ok || firmware.firmwareVersion < 0 || firmware.firmwareVersion > 254)
        return fail(QStringLiteral("--firmware wants 0..254"));
    firmware.burnTime = parser.value(burnTimeOpt).toInt(&ok);
    if (!ok || firmware.burnTime < 0 || firmware.burnTime > 9999)
        return fail(QStringLiteral("--burn-time wants 0..9999"));
    firmware.motorPowerOff = parser.isSet(motorOffOpt);
    firmware.silent = parser.isSet(silentOpt);
    firmware.dotsPerStep = pty.paced ? 256 : 8192;
    if (parser.isSet(dotsOpt)) {
        firmware.dotsPerStep = parser.value(dotsOpt).toInt(&ok);
        if (!ok || firmware.dotsPerStep < 1)
            return fail(QStringLiteral("--dots-per-step wants a positive number"));
    }
    if (parser.isSet(unplugOpt)) {
        firmware.unplugAfterBytes = parser.value(unplugOpt).toLongLong(&ok);
        if (!ok || firmware.unplugAfterBytes < 1)
            return fail(QStringLiteral("--unplug-after wants a positive byte count"));
    }
    int replugMs = -1;
    if (parser.isSet(replugOpt)) {
        replugMs = parser.value(replugOpt).toInt(&ok);
        if (!ok || replugMs < 0)
            return fail(QStringLiteral("--replug-after wants milliseconds"));
    }
    if (parser.isSet(noiseOpt)) {
        firmware.noiseRate = parser.value(noiseOpt).toDouble(&ok);
        if (!ok || firmware.noiseRate < 0.0 || firmware.noiseRate > 1.0)
            return fail(QStringLiteral("--noise wants a rate from 0 to 1"));
    }
    firmware.noiseSeed = parser.value(seedOpt).toUInt(&ok);
    if (!ok)
        return fail(QStringLiteral("--seed wants a non-negative number"));

    QFile transcript;
    if (parser.isSet(transcriptOpt)) {
        transcript.setFileName(parser.value(transcriptOpt));
        if (!transcript.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            return fail(QStringLiteral("cannot write the transcript \"%1\": %2")
                            .arg(transcript.fileName(), transcript.errorString()));
    }
    const QString burnedPath = parser.value(burnedOpt);

    // SIGINT/SIGTERM end the event loop, so the link is removed on the way out.
    if (pipe(g_signalPipe) != 0)
        return fail(QStringLiteral("cannot create the signal pipe"));
    fcntl(g_signalPipe[0], F_SETFD, FD_CLOEXEC);
    fcntl(g_signalPipe[1], F_SETFD, FD_CLOEXEC);
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::exit(0); });

    PtyMachine machine(firmware, pty);
    const QString portName = QStringLiteral("COM%1").arg(pty.portNumber);

    QObject::connect(&machine, &PtyMachine::transcriptLine, &app, [&transcript](const QString& line) {
        if (transcript.isOpen()) {
            transcript.write(line.toUtf8() + '\n');
            transcript.flush();
        }
    });
    QObject::connect(&machine, &PtyMachine::carveFinished, &app, [&] {
        say(QStringLiteral("carve finished"));
        saveBurned(machine, burnedPath);
        // A moment for the program to read the last replies: closing the
        // pseudo-terminal drops what its far side has not read yet.
        if (parser.isSet(exitOpt))
            QTimer::singleShot(500, &app, [] { QCoreApplication::exit(0); });
    });
    bool exiting = false;
    QObject::connect(&machine, &PtyMachine::unplugged, &app, [&] {
        if (exiting)
            return;
        say(QStringLiteral("unplugged %1 after %2 bytes").arg(portName).arg(machine.bytesReceived()));
        if (replugMs < 0) {
            QCoreApplication::exit(0);
            return;
        }
        QTimer::singleShot(replugMs, &app, [&] {
            if (!machine.start()) {
                complain(machine.errorString());
                QCoreApplication::exit(1);
                return;
            }
            say(QStringLiteral("plugged back in on %1 -> %2").arg(portName, machine.slavePath()));
        });
    });

    if (!machine.start())
        return fail(machine.errorString());
    say(QStringLiteral("machine on %1 -> %2 (link %3)%4")
            .arg(portName, machine.slavePath(), QDir::cleanPath(QFileInfo(machine.linkPath()).absoluteFilePath()),
                 pty.paced ? QStringLiteral(", paced") : QStringLiteral(", fast")));

    const int status = app.exec();
    exiting = true;
    machine.unplug();
    const bool saved = saveBurned(machine, burnedPath);
    return status != 0 ? status : (saved ? 0 : 1);
}
