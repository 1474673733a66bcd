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

// The command line's options, in the order --help lists them.
struct SimCommandLine {
    QCommandLineOption port{QStringLiteral("port"), QStringLiteral("Port name, COM1..COM64 (default COM3)."),
        QStringLiteral("COMn"), QStringLiteral("COM3")};
    // Said the same way on every machine: the man page is made from this text.
    QCommandLineOption dir{QStringLiteral("port-dir"),
        QStringLiteral("Port directory (default $KOVRA_PORT_DIR, else ~/.config/kovra/ports)."), QStringLiteral("DIR")};
    QCommandLineOption linkName{QStringLiteral("link-name"),
        QStringLiteral("Name of the link in the port directory instead of COMn (a Wine prefix's dosdevices folder "
                       "wants com3)."),
        QStringLiteral("NAME")};
    QCommandLineOption fast{QStringLiteral("fast"), QStringLiteral("Run as fast as the program reads (default).")};
    QCommandLineOption paced{QStringLiteral("paced"),
        QStringLiteral("Read and answer at the real line rate, 5760 bytes/s (a picture takes about 5.7 s).")};
    QCommandLineOption dots{QStringLiteral("dots-per-step"),
        QStringLiteral("Raster positions engraved per step (fast default 8192, paced default 256 at 100 steps/s)."),
        QStringLiteral("N")};
    QCommandLineOption burned{QStringLiteral("burned"),
        QStringLiteral("Write the burned picture here at each CarveFinished and on exit; BMP for a .bmp name, else PNG."),
        QStringLiteral("FILE")};
    QCommandLineOption transcript{QStringLiteral("transcript"),
        QStringLiteral("Write every received frame, trailer and picture as a line of text here."), QStringLiteral("FILE")};
    QCommandLineOption firmware{QStringLiteral("firmware"),
        QStringLiteral("Firmware version to report, 0..254 (default 1; 2 is newer than the program)."),
        QStringLiteral("N"), QStringLiteral("1")};
    QCommandLineOption burnTime{QStringLiteral("burn-time"),
        QStringLiteral("Burn time reported after the handshake (default 50)."), QStringLiteral("T"), QStringLiteral("50")};
    QCommandLineOption motorOff{QStringLiteral("motor-off"),
        QStringLiteral("Motor power off: MotorStatus 0, and the head does not move.")};
    QCommandLineOption silent{QStringLiteral("silent"), QStringLiteral("Never answer anything.")};
    QCommandLineOption unplug{QStringLiteral("unplug-after"),
        QStringLiteral("Pull the cable once N bytes have been received."), QStringLiteral("N")};
    QCommandLineOption replug{QStringLiteral("replug-after"),
        QStringLiteral("After an unplug, plug back in on the same port after MS milliseconds (without it the "
                       "simulator exits)."),
        QStringLiteral("MS")};
    QCommandLineOption noise{QStringLiteral("noise"),
        QStringLiteral("Chance 0..1 that 1-4 random non-0xFF bytes precede a reply."), QStringLiteral("RATE")};
    QCommandLineOption seed{QStringLiteral("seed"), QStringLiteral("Seed for the noise (default 1)."),
        QStringLiteral("S"), QStringLiteral("1")};
    QCommandLineOption exitAfterCarve{QStringLiteral("exit-after-carve"),
        QStringLiteral("Exit with status 0 after the first CarveFinished.")};

    void addTo(QCommandLineParser& parser) const
    {
        parser.addOptions({port, dir, linkName, fast, paced, dots, burned, transcript, firmware, burnTime, motorOff, silent,
            unplug, replug, noise, seed, exitAfterCarve});
    }
};

// What the command line asks for.
struct SimSetup {
    PtyMachineOptions pty;
    FirmwareOptions firmware;
    int replugMs = -1;
    QString burnedPath;
    QString transcriptPath;
    bool exitAfterCarve = false;
};

// The port and the pace; an empty text when they are right, else what is wrong.
QString readLine(const QCommandLineParser& parser, const SimCommandLine& options, SimSetup& setup)
{
    if (parser.isSet(options.fast) && parser.isSet(options.paced))
        return QStringLiteral("--fast and --paced exclude each other");
    bool ok = false;
    setup.pty.portNumber = portNumberOf(parser.value(options.port), &ok);
    if (!ok)
        return QStringLiteral("--port wants COM1..COM64, not \"%1\"").arg(parser.value(options.port));
    setup.pty.portDir = parser.isSet(options.dir) ? parser.value(options.dir) : defaultPortDir();
    setup.pty.paced = parser.isSet(options.paced);
    setup.pty.linkName = parser.value(options.linkName);
    if (setup.pty.linkName.contains(u'/'))
        return QStringLiteral("--link-name wants a name, not a path");
    if (parser.isSet(options.replug)) {
        setup.replugMs = parser.value(options.replug).toInt(&ok);
        if (!ok || setup.replugMs < 0)
            return QStringLiteral("--replug-after wants milliseconds");
    }
    setup.burnedPath = parser.value(options.burned);
    setup.transcriptPath = parser.value(options.transcript);
    setup.exitAfterCarve = parser.isSet(options.exitAfterCarve);
    return {};
}

// The machine's answers and faults; an empty text when they are right.
QString readFirmware(const QCommandLineParser& parser, const SimCommandLine& options, SimSetup& setup)
{
    FirmwareOptions& firmware = setup.firmware;
    bool ok = false;
    firmware.firmwareVersion = parser.value(options.firmware).toInt(&ok);
    if (!ok || firmware.firmwareVersion < 0 || firmware.firmwareVersion > 254)
        return QStringLiteral("--firmware wants 0..254");
    firmware.burnTime = parser.value(options.burnTime).toInt(&ok);
    if (!ok || firmware.burnTime < 0 || firmware.burnTime > 9999)
        return QStringLiteral("--burn-time wants 0..9999");
    firmware.motorPowerOff = parser.isSet(options.motorOff);
    firmware.silent = parser.isSet(options.silent);
    firmware.dotsPerStep = setup.pty.paced ? 256 : 8192;
    if (parser.isSet(options.dots)) {
        firmware.dotsPerStep = parser.value(options.dots).toInt(&ok);
        if (!ok || firmware.dotsPerStep < 1)
            return QStringLiteral("--dots-per-step wants a positive number");
    }
    if (parser.isSet(options.unplug)) {
        firmware.unplugAfterBytes = parser.value(options.unplug).toLongLong(&ok);
        if (!ok || firmware.unplugAfterBytes < 1)
            return QStringLiteral("--unplug-after wants a positive byte count");
    }
    if (parser.isSet(options.noise)) {
        firmware.noiseRate = parser.value(options.noise).toDouble(&ok);
        if (!ok || firmware.noiseRate < 0.0 || firmware.noiseRate > 1.0)
            return QStringLiteral("--noise wants a rate from 0 to 1");
    }
    firmware.noiseSeed = parser.value(options.seed).toUInt(&ok);
    if (!ok)
        return QStringLiteral("--seed wants a non-negative number");
    return {};
}

// SIGINT, SIGTERM and SIGHUP end the event loop, so the link is removed on
// the way out.
bool catchSignals(QCoreApplication& app)
{
    if (pipe(g_signalPipe) != 0)
        return false;
    fcntl(g_signalPipe[0], F_SETFD, FD_CLOEXEC);
    fcntl(g_signalPipe[1], F_SETFD, FD_CLOEXEC);
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::exit(0); });
    return true;
}

// The machine's events: the transcript, the burned picture at each finish,
// and the unplug fault (the end, or a plug back in after its time).
void followMachine(PtyMachine& machine, const SimSetup& setup, QFile& transcript, const bool& exiting)
{
    QCoreApplication* app = QCoreApplication::instance();
    const QString portName = QStringLiteral("COM%1").arg(setup.pty.portNumber);
    QObject::connect(&machine, &PtyMachine::transcriptLine, app, [&transcript](const QString& line) {
        if (transcript.isOpen()) {
            transcript.write(line.toUtf8() + '\n');
            transcript.flush();
        }
    });
    QObject::connect(&machine, &PtyMachine::carveFinished, app, [&machine, &setup] {
        say(QStringLiteral("carve finished"));
        saveBurned(machine, setup.burnedPath);
        // A moment for the program to read the last replies: closing the
        // pseudo-terminal drops what its far side has not read yet.
        if (setup.exitAfterCarve)
            QTimer::singleShot(500, [] { QCoreApplication::exit(0); });
    });
    QObject::connect(&machine, &PtyMachine::unplugged, app, [&machine, &setup, &exiting, app, portName] {
        if (exiting)
            return;
        say(QStringLiteral("unplugged %1 after %2 bytes").arg(portName).arg(machine.bytesReceived()));
        if (setup.replugMs < 0) {
            QCoreApplication::exit(0);
            return;
        }
        QTimer::singleShot(setup.replugMs, app, [&machine, portName] {
            if (!machine.start()) {
                complain(machine.errorString());
                QCoreApplication::exit(1);
                return;
            }
            say(QStringLiteral("plugged back in on %1 -> %2").arg(portName, machine.slavePath()));
        });
    });
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
    const SimCommandLine options;
    options.addTo(parser);
    parser.process(app);

    auto fail = [](const QString& message) {
        complain(message);
        return 2;
    };
    SimSetup setup;
    QString error = readLine(parser, options, setup);
    if (error.isEmpty())
        error = readFirmware(parser, options, setup);
    if (!error.isEmpty())
        return fail(error);

    QFile transcript;
    if (!setup.transcriptPath.isEmpty()) {
        transcript.setFileName(setup.transcriptPath);
        if (!transcript.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            return fail(QStringLiteral("cannot write the transcript \"%1\": %2")
                            .arg(transcript.fileName(), transcript.errorString()));
    }
    if (!catchSignals(app))
        return fail(QStringLiteral("cannot create the signal pipe"));

    PtyMachine machine(setup.firmware, setup.pty);
    bool exiting = false;
    followMachine(machine, setup, transcript, exiting);
    if (!machine.start())
        return fail(machine.errorString());
    say(QStringLiteral("machine on COM%1 -> %2 (link %3)%4")
            .arg(setup.pty.portNumber)
            .arg(machine.slavePath(), QDir::cleanPath(QFileInfo(machine.linkPath()).absoluteFilePath()),
                 setup.pty.paced ? QStringLiteral(", paced") : QStringLiteral(", fast")));

    const int status = app.exec();
    exiting = true;
    machine.unplug();
    const bool saved = saveBurned(machine, setup.burnedPath);
    return status != 0 ? status : (saved ? 0 : 1);
}
