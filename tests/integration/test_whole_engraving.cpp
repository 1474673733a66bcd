// One whole engraving, the way the command-line road runs it: the program's
// link, job and picture code against the simulated machine on a pseudo-terminal.
#include "app/engrave_command.h"
#include "sim/pty_machine.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <gtest/gtest.h>

#include "tests/support/scoped_env.h"

using namespace kovra;
using kovra::test::ScopedEnv;

namespace {

// Only the private port directory names ports: the scan never reaches a real device.
struct PrivatePorts {
    QTemporaryDir dir;
    ScopedEnv portDir{"KOVRA_PORT_DIR", dir.path().toUtf8()};
    ScopedEnv noTable{"KOVRA_PORT_TABLE", "0"};
    ScopedEnv config{"KOVRA_CONFIG_DIR", (dir.path() + "/config").toUtf8()};
};

QString writePicture(const QTemporaryDir& dir)
{
    QImage img(700, 400, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QLinearGradient g(0, 0, 700, 0);
    g.setColorAt(0, Qt::black);
    g.setColorAt(1, Qt::white);
    p.fillRect(50, 50, 600, 150, g);
    p.setBrush(Qt::black);
    p.drawEllipse(QPoint(350, 300), 80, 60);
    p.end();
    const QString path = dir.filePath("picture.png");
    img.save(path);
    return path;
}

} // namespace

TEST(WholeEngraving, TheBurnedPictureEqualsTheEngraveBufferDotForDot)
{
    PrivatePorts ports;
    sim::PtyMachine machine(sim::FirmwareOptions{}, sim::PtyMachineOptions{5, ports.dir.path(), false});
    ASSERT_TRUE(machine.start()) << machine.errorString().toStdString();

    for (bool dither : {true, false}) {
        app::EngraveOptions options;
        options.picture = writePicture(ports.dir);
        options.render.effect = dither ? rendering::Rendering::Dither : rendering::Rendering::BlackWhite;
        options.burnTime = 33;
        options.connectTimeoutS = 20;
        options.jobTimeoutS = 60;
        QString log, errors;
        QTextStream out(&log), err(&errors);
        QByteArray engraveBuffer;
        const int code = app::RunEngraveCommand(options, out, err, &engraveBuffer);
        out.flush();
        err.flush();
        ASSERT_EQ(code, 0) << errors.toStdString() << log.toStdString();
        ASSERT_EQ(engraveBuffer.size(), 32768);
        EXPECT_EQ(machine.storedPicture(), engraveBuffer) << "the picture arrived byte for byte";
        EXPECT_EQ(machine.burnedDots(), engraveBuffer) << "every dark dot was burned, nothing else";
        // Something was engraved: the renderings are neither all white nor all black.
        const int dark = std::count_if(engraveBuffer.begin(), engraveBuffer.end(), [](char c) { return c != 0; });
        EXPECT_GT(dark, 1000);
        // The log tells the road in order.
        const QStringList steps{"Automatic Connecting...", "CONNECTED !", "Burning Time: 33", "Erasing Last Image...",
            "Sending New Image...", "Sending Complete !", "Start carving", "Carved finish !"};
        qsizetype at = 0;
        for (const QString& step : steps) {
            const qsizetype found = log.indexOf(step, at);
            EXPECT_GE(found, 0) << "missing or out of order: " << step.toStdString();
            if (found >= 0)
                at = found;
        }
    }
}

TEST(WholeEngraving, NoMachineFailsWithAClearMessageWithinItsLimit)
{
    PrivatePorts ports;
    app::EngraveOptions options;
    options.picture = writePicture(ports.dir);
    options.connectTimeoutS = 3;
    QString log, errors;
    QTextStream out(&log), err(&errors);
    EXPECT_EQ(app::RunEngraveCommand(options, out, err), 3);
    err.flush();
    // It says what it really scanned: the private directory alone, which holds no port.
    EXPECT_TRUE(errors.startsWith(QStringLiteral("kovra engrave: no machine answered the handshake within 3 s; the "
                                                 "scan looked only at the port directory %1 (KOVRA_PORT_TABLE=0), "
                                                 "which holds no entry COM1..COM64; no port was present")
                                      .arg(ports.dir.path())))
        << errors.toStdString();
}

TEST(WholeEngraving, APictureThatCannotBeUsedStopsBeforeTheMachine)
{
    PrivatePorts ports;
    const QString path = ports.dir.filePath("notes.bmp");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is text, not a picture\n");
    file.close();
    app::EngraveOptions options;
    options.picture = path;
    QString log, errors;
    QTextStream out(&log), err(&errors);
    EXPECT_EQ(app::RunEngraveCommand(options, out, err), 2);
    out.flush();
    EXPECT_TRUE(log.contains("notes.bmp")) << log.toStdString();
    EXPECT_FALSE(log.contains("Automatic Connecting...")) << "nothing reached for the machine";
}

// The adapter vanishes and comes back 300 ms later (a USB reset). Before
// Start the picture goes again once the machine is found again; after Start
// the break is reported at once with its own exit status.
TEST(WholeEngraving, ABrokenLinkIsMendedBeforeStartAndReportedAfter)
{
    struct Case {
        const char* name;
        qint64 unplugAfter; // bytes: handshake 4, BeginImage 4, picture 32768, StartCarve 4
        int exitCode;
        const char* said;
    };
    // Late in the picture the system has taken every byte from the program
    // (a pseudo-terminal holds about 13 KiB), but the line has not carried
    // them yet: that is still a break during the transfer.
    for (const Case& c : {Case{"during the picture", 4 + 4 + 6000, 0, "the picture goes again"},
             Case{"late in the picture", 4 + 4 + 26000, 0, "the picture goes again"},
             Case{"right after Start", 4 + 4 + 32768 + 4, 5, "broke during the engraving"}}) {
        SCOPED_TRACE(c.name);
        PrivatePorts ports;
        sim::FirmwareOptions firmware;
        firmware.unplugAfterBytes = c.unplugAfter;
        sim::PtyMachine machine(firmware, sim::PtyMachineOptions{4, ports.dir.path(), false});
        QObject::connect(&machine, &sim::PtyMachine::unplugged, &machine,
            [&machine] { QTimer::singleShot(300, &machine, [&machine] { machine.start(); }); });
        ASSERT_TRUE(machine.start()) << machine.errorString().toStdString();

        app::EngraveOptions options;
        options.picture = writePicture(ports.dir);
        options.connectTimeoutS = 20;
        options.jobTimeoutS = 60;
        QString log, errors;
        QTextStream out(&log), err(&errors);
        QElapsedTimer clock;
        clock.start();
        const int code = app::RunEngraveCommand(options, out, err);
        out.flush();
        err.flush();
        EXPECT_EQ(code, c.exitCode) << errors.toStdString() << log.toStdString();
        EXPECT_TRUE(log.contains(">>>Connection BREAK !<<<")) << log.toStdString();
        EXPECT_TRUE((log + errors).contains(c.said)) << log.toStdString() << errors.toStdString();
        EXPECT_LT(clock.elapsed(), 30000) << "no waiting for a time-out";
        if (c.exitCode == 0) {
            EXPECT_EQ(log.count("CONNECTED !"), 2);
            int pictures = 0;
            machine.withModel([&](sim::FirmwareModel& m) { pictures = m.picturesReceived(); });
            EXPECT_EQ(pictures, 1) << "the whole picture arrived once, after the reset";
            EXPECT_TRUE(log.contains("Carved finish !"));
        }
    }
}
