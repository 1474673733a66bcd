// "kovra doctor" as the user types it: on this machine's own /dev and /proc
// with a private port directory (a pseudo-terminal stands in for the
// adapter), and on a made-up tree given with --root.

#include "app/doctor_command.h"
#include "tests/doctor/fake_system.h"
#include "tests/link/pty_pair.h"
#include "tests/support/scoped_env.h"

#include <gtest/gtest.h>

namespace kovra::test {
namespace {

struct CommandRun {
    int status = -1;
    QString out;
    QString err;
};

CommandRun doctorCommand(const QStringList& args)
{
    CommandRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = app::RunDoctorCommand(args, out, err);
    out.flush();
    err.flush();
    return run;
}

TEST(DoctorCommand, ExitStatusFollowsWhetherAScannedPortOpens)
{
    QTemporaryDir dir;
    const ScopedEnv ports("KOVRA_PORT_DIR", dir.filePath("ports").toUtf8());
    const ScopedEnv noTable("KOVRA_PORT_TABLE", "0");
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    const QString slave = QString::fromStdString(pty.slaveName());

    CommandRun run = doctorCommand({});
    EXPECT_EQ(run.status, 1) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("(KOVRA_PORT_TABLE=0)"));

    // --link makes the entry; the port opens for real now.
    run = doctorCommand({"--link", "COM7", slave});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(QFile::symLinkTarget(dir.filePath("ports/COM7")), slave);
    run = doctorCommand({});
    EXPECT_EQ(run.status, 0) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QString("Result: COM7 (%1) can be opened").arg(slave))) << run.out.toStdString();

    // A dangling entry beside it is named; the working one still counts.
    FakeSystem::makeLink(dir.filePath("ports/COM8"), dir.filePath("gone"));
    run = doctorCommand({});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.contains("COM8 in the port directory points to"));
    // The pseudo-terminal is no USB adapter: no rule by USB ids fits it.
    run = doctorCommand({"--udev-rule", slave});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("not a USB device")) << run.err.toStdString();
}

TEST(DoctorCommand, ReadsAGivenTreeAndRejectsWrongCommandLines)
{
    FakeSystem sys;
    sys.usbSerial("ttyUSB0", "10c4", "ea60", "cp210x");
    const ScopedEnv ports("KOVRA_PORT_DIR", sys.ports().toUtf8());
    const ScopedEnv table("KOVRA_PORT_TABLE", "1");

    CommandRun run = doctorCommand({"--root", sys.root()});
    EXPECT_EQ(run.status, 0) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("/dev/ttyUSB0: the program's COM1"));
    // The device as the next word or after "=", the options in any order.
    for (const QStringList& rule : {QStringList{"--root", sys.root(), "--udev-rule"},
                                    QStringList{"--udev-rule=ttyUSB0", "--root=" + sys.root()},
                                    QStringList{"ttyUSB0", "--udev-rule", "--root", sys.root()}}) {
        run = doctorCommand(rule);
        EXPECT_EQ(run.status, 0) << rule.join(' ').toStdString() << run.err.toStdString();
        EXPECT_TRUE(run.out.contains("ATTRS{idVendor}==\"10c4\", ATTRS{idProduct}==\"ea60\""));
    }

    for (const QStringList& wrong : {QStringList{"--bogus"}, QStringList{"--link", "COM99", "/dev/x"},
                                     QStringList{"--link", "COM3"}, QStringList{"--root"},
                                     QStringList{"--udev-rule", "--link", "COM3", "/dev/x"}}) {
        run = doctorCommand(wrong);
        EXPECT_EQ(run.status, 2) << wrong.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("usage: kovra doctor"));
    }
    run = doctorCommand({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.startsWith("usage: kovra doctor"));
}

} // namespace
} // namespace kovra::test
