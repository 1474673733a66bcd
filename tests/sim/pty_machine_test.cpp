// The simulator on a real pseudo-terminal, reached through its COMn link with plain POSIX calls.
#include "sim/pty_machine.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace kovra::test {
namespace {

using sim::FirmwareModel;
using sim::PtyMachine;

QByteArray frame(int code, int p1 = 0, int p2 = 0)
{
    const char bytes[4] = {char(0xFF), char(code), char(p1), char(p2)};
    return QByteArray(bytes, 4);
}

// Opens the port the way a serial program does: by the link's name, raw.
int openPort(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return fd;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);
    return fd;
}

bool writeAll(int fd, const QByteArray& bytes, int timeoutMs = 10000)
{
    qsizetype done = 0;
    QElapsedTimer clock;
    clock.start();
    while (done < bytes.size() && clock.elapsed() < timeoutMs) {
        const auto n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN)
            return false;
        pollfd p{fd, POLLOUT, 0};
        ::poll(&p, 1, 50);
    }
    return done == bytes.size();
}

// Reads until n bytes arrived, the line hung up, or the time is over.
QByteArray readBytes(int fd, qsizetype n, int timeoutMs = 5000)
{
    QByteArray got;
    QElapsedTimer clock;
    clock.start();
    char buffer[4096];
    while (got.size() < n && clock.elapsed() < timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        const auto r = ::read(fd, buffer, sizeof buffer);
        if (r > 0)
            got.append(buffer, r);
        else if (r == 0 || (errno != EAGAIN && errno != EINTR))
            break;
    }
    return got;
}

// True when reading the port reports a hang-up (the far end is gone).
bool hungUp(int fd)
{
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 2000) <= 0)
        return false;
    if (p.revents & (POLLHUP | POLLERR))
        return true;
    char b;
    return ::read(fd, &b, 1) <= 0 && errno != EAGAIN;
}

class PtyMachineTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    sim::PtyMachineOptions options(int port = 3) const { return {.portNumber = port, .portDir = m_dir.path()}; }
};

TEST_F(PtyMachineTest, HandshakeThroughTheLinkAndPictureIsByteTransparent)
{
    PtyMachine machine({}, options(5));
    ASSERT_TRUE(machine.start()) << qPrintable(machine.errorString());
    const QFileInfo link(m_dir.filePath(QStringLiteral("COM5")));
    ASSERT_TRUE(link.isSymLink());
    EXPECT_EQ(link.symLinkTarget(), machine.slavePath());

    const int fd = openPort(link.filePath());
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(writeAll(fd, frame(9)));
    EXPECT_EQ(readBytes(fd, 16), QByteArray::fromHex("ff010000ff020100ff070100ff0a0032"));

    // Every byte value, the terminal's control characters included, arrives unchanged.
    QByteArray picture(FirmwareModel::PictureBytes, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char((i * 7 + i / 256) & 0xFF);
    ASSERT_TRUE(writeAll(fd, frame(6)));
    EXPECT_EQ(readBytes(fd, 4), frame(5));
    ASSERT_TRUE(writeAll(fd, picture));
    QElapsedTimer clock;
    clock.start();
    while (machine.transcript().size() < 3 && clock.elapsed() < 5000)
        QThread::msleep(5);
    EXPECT_EQ(machine.storedPicture(), picture);
    EXPECT_EQ(machine.transcript(), (QStringList{"FF 09 00 00  Handshake", "FF 06 00 00  BeginImage",
                                                 "picture 32768 bytes"}));
    ::close(fd);
}

TEST_F(PtyMachineTest, WholeEngravingEndsWithCarveFinishedAndTheBurnedPicture)
{
    PtyMachine machine({}, options());
    ASSERT_TRUE(machine.start());
    QSignalSpy finished(&machine, &PtyMachine::carveFinished);
    const int fd = openPort(machine.linkPath());
    ASSERT_GE(fd, 0);

    QByteArray picture(FirmwareModel::PictureBytes, '\0');
    for (int row = 0; row < 512; row += 3)
        picture[row * 64 + row / 8] = char(0x80 >> (row % 8)); // a diagonal, every third row
    ASSERT_TRUE(writeAll(fd, frame(6)));
    EXPECT_EQ(readBytes(fd, 4), frame(5));
    ASSERT_TRUE(writeAll(fd, picture + frame(1, 1)));

    const int dots = (511 / 3) + 1;
    const QByteArray replies = readBytes(fd, dots * 8 + 4);
    ASSERT_EQ(replies.size(), dots * 8 + 4);
    EXPECT_EQ(replies.right(4), QByteArray::fromHex("ff060000"));
    EXPECT_EQ(replies.left(8), QByteArray::fromHex("ff040000ff030001"));
    EXPECT_TRUE(finished.wait(2000) || finished.size() == 1);
    EXPECT_EQ(machine.burnedDots(), picture);
    ::close(fd);
}

TEST_F(PtyMachineTest, UnplugRemovesTheLinkHangsUpAndReplugUsesTheSameName)
{
    PtyMachine machine({}, options(7));
    ASSERT_TRUE(machine.start());
    QSignalSpy unplugged(&machine, &PtyMachine::unplugged);
    int fd = openPort(machine.linkPath());
    ASSERT_GE(fd, 0);

    machine.unplug();
    EXPECT_FALSE(QFileInfo(machine.linkPath()).isSymLink());
    EXPECT_TRUE(hungUp(fd));
    EXPECT_EQ(unplugged.size(), 1);
    ::close(fd);

    ASSERT_TRUE(machine.start());
    fd = openPort(m_dir.filePath(QStringLiteral("COM7")));
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(writeAll(fd, frame(9)));
    EXPECT_EQ(readBytes(fd, 16).left(4), frame(1));
    ::close(fd);
}

TEST_F(PtyMachineTest, UnplugFaultPullsTheCableByItself)
{
    PtyMachine machine({.unplugAfterBytes = 6}, options());
    ASSERT_TRUE(machine.start());
    QSignalSpy unplugged(&machine, &PtyMachine::unplugged);
    const int fd = openPort(machine.linkPath());
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(writeAll(fd, frame(9) + frame(9)));
    EXPECT_TRUE(unplugged.wait(3000));
    EXPECT_FALSE(machine.isPlugged());
    EXPECT_FALSE(QFileInfo(machine.linkPath()).exists() || QFileInfo(machine.linkPath()).isSymLink());
    EXPECT_TRUE(hungUp(fd));
    EXPECT_EQ(machine.bytesReceived(), 6);
    ::close(fd);
}

TEST_F(PtyMachineTest, StaleLinkIsReplacedButARealFileIsNot)
{
    const QString stale = m_dir.filePath(QStringLiteral("COM3"));
    ASSERT_EQ(::symlink("/dev/pts/does-not-exist", QFile::encodeName(stale).constData()), 0);
    {
        PtyMachine machine({}, options());
        ASSERT_TRUE(machine.start()) << qPrintable(machine.errorString());
        EXPECT_EQ(QFileInfo(stale).symLinkTarget(), machine.slavePath());
    }
    EXPECT_FALSE(QFileInfo(stale).isSymLink()) << "the destructor takes the link away";

    QFile plain(m_dir.filePath(QStringLiteral("COM4")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    PtyMachine machine({}, options(4));
    EXPECT_FALSE(machine.start());
    EXPECT_TRUE(machine.errorString().contains(QStringLiteral("not a link")));
    EXPECT_TRUE(plain.exists());
}

TEST_F(PtyMachineTest, PacedModeReadsNoFasterThanTheLine)
{
    auto paced = options();
    paced.paced = true;
    PtyMachine machine({}, paced);
    ASSERT_TRUE(machine.start());
    const int fd = openPort(machine.linkPath());
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(writeAll(fd, frame(6)));
    EXPECT_EQ(readBytes(fd, 4), frame(5));

    // Offer the whole picture, then look after a moment: at 5760 bytes/s only a few
    // thousand can have been taken (a slow machine only takes fewer).
    const QByteArray picture(FirmwareModel::PictureBytes, char(0x5A));
    qsizetype offered = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 300) {
        const auto n = ::write(fd, picture.constData() + offered, size_t(picture.size() - offered));
        if (n > 0)
            offered += n;
        QThread::msleep(5);
    }
    const qint64 elapsedMs = clock.elapsed();
    const qint64 taken = machine.bytesReceived() - 4;
    EXPECT_GT(taken, 0);
    EXPECT_LE(taken, 5760 * elapsedMs / 1000 + 200);
    ::close(fd);
}

} // namespace
} // namespace kovra::test
