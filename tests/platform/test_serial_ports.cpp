#include "platform/serial_ports.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/support/scoped_env.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kovra::platform;
using kovra::test::ScopedEnv;

namespace {

struct PortDirectoryFixture : ::testing::Test {
    QTemporaryDir dir;
    QTemporaryDir devices; // stand-ins for device nodes

    QString makeDevice(const QString& name)
    {
        QFile f(devices.filePath(name));
        f.open(QIODevice::WriteOnly);
        return f.fileName();
    }
    void link(const QString& device, const QString& entry) { ASSERT_TRUE(QFile::link(device, dir.filePath(entry))); }
};

} // namespace

TEST(SerialPortTableTest, DefaultTableCoversCom1ToCom64)
{
    EXPECT_EQ(DefaultSerialDevice(1), "/dev/ttyUSB0");
    EXPECT_EQ(DefaultSerialDevice(16), "/dev/ttyUSB15");
    EXPECT_EQ(DefaultSerialDevice(17), "/dev/ttyACM0");
    EXPECT_EQ(DefaultSerialDevice(32), "/dev/ttyACM15");
    EXPECT_EQ(DefaultSerialDevice(33), "/dev/ttyS0");
    EXPECT_EQ(DefaultSerialDevice(64), "/dev/ttyS31");
    EXPECT_TRUE(DefaultSerialDevice(0).isEmpty());
    EXPECT_TRUE(DefaultSerialDevice(65).isEmpty());
}

TEST_F(PortDirectoryFixture, AnEntryInThePortDirectoryWinsOverTheTable)
{
    link(makeDevice("a"), "COM1");
    const SerialPortNames names(dir.path(), true);
    EXPECT_EQ(names.deviceName(1), dir.filePath("COM1"));
    EXPECT_EQ(names.deviceName(2), "/dev/ttyUSB1");
    EXPECT_EQ(names.deviceName(12), "/dev/ttyUSB11");
    const SerialPortNames tableOff(dir.path(), false);
    EXPECT_TRUE(tableOff.deviceName(2).isEmpty());
}

TEST_F(PortDirectoryFixture, ThePortListHoldsThePortsWhoseDeviceExistsNow)
{
    link(makeDevice("ten"), "COM10");
    link(makeDevice("three"), "COM3");
    link(devices.filePath("gone"), "COM5"); // a link whose target vanished
    link(makeDevice("high"), "COM65");      // beyond the scan
    const SerialPortNames names(dir.path(), false);
    SerialPortList list = names.listPresent();
    EXPECT_TRUE(list.ok);
    EXPECT_EQ(list.names, "COM3ACOM10A");

    // Removing the link is pulling the cable; the device going works too.
    ASSERT_TRUE(QFile::remove(dir.filePath("COM10")));
    ASSERT_TRUE(QFile::remove(devices.filePath("three")));
    EXPECT_EQ(names.listPresent().names, "");
}

TEST_F(PortDirectoryFixture, AMissingPortDirectoryIsNoPortsNotAFailure)
{
    const SerialPortNames names(dir.filePath("nowhere"), false);
    const SerialPortList list = names.listPresent();
    EXPECT_TRUE(list.ok);
    EXPECT_TRUE(list.names.isEmpty());
    EXPECT_TRUE(names.deviceName(1).isEmpty());
}

TEST_F(PortDirectoryFixture, TheEnvironmentNamesThePortDirectoryAndCanSetTheTableAside)
{
    {
        const ScopedEnv portDir("KOVRA_PORT_DIR", dir.path().toLocal8Bit());
        EXPECT_EQ(SerialPortNames::fromEnvironment().portDirectory(), dir.path());
        EXPECT_EQ(SerialPortNames::fromEnvironment().deviceName(1), QStringLiteral("/dev/ttyUSB0"));
        const ScopedEnv noTable("KOVRA_PORT_TABLE", "0");
        EXPECT_TRUE(SerialPortNames::fromEnvironment().deviceName(1).isEmpty()) << "only the directory names ports";
        link(makeDevice("tty0"), "COM1");
        EXPECT_EQ(SerialPortNames::fromEnvironment().deviceName(1), dir.filePath("COM1"));
    }
    const ScopedEnv unset("KOVRA_PORT_DIR", "");
    EXPECT_TRUE(SerialPortNames::fromEnvironment().portDirectory().endsWith("/kovra/ports"));
}

TEST_F(PortDirectoryFixture, AccessCheckNamesTheOwningGroupOnlyWhenDenied)
{
    const QString device = makeDevice("dev");
    EXPECT_FALSE(CheckSerialDeviceAccess(device).denied); // our own file
    EXPECT_FALSE(CheckSerialDeviceAccess(devices.filePath("missing")).denied);
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to look at the device as another user";

    // A device node like /dev/ttyUSB0: crw-rw---- root:root, seen by "nobody".
    ASSERT_EQ(::chmod(QFile::encodeName(devices.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(device).constData(), 0660), 0);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(fds[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const SerialDeviceAccess access = CheckSerialDeviceAccess(device);
        const QByteArray answer = (access.denied ? "denied:" : "allowed:") + access.group.toUtf8();
        ssize_t ignored = ::write(fds[1], answer.constData(), size_t(answer.size()));
        (void)ignored;
        ::_exit(0);
    }
    ::close(fds[1]);
    char buffer[256] = {};
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer - 1);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(QByteArray(buffer, int(n)), "denied:root");
}
