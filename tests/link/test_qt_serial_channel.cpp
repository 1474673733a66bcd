#include "link/qt_serial_channel.h"
#include "link/serial_settings.h"
#include "pty_pair.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kovra;

namespace {

struct PtyChannelFixture : ::testing::Test {
    QTemporaryDir portDir;
    test::PtyPair pty;
    std::unique_ptr<link::QtSerialChannel> channel;
    QByteArray arrived;
    int closedEvents = 0;

    void SetUp() override
    {
        ASSERT_TRUE(portDir.isValid());
        ASSERT_TRUE(pty.ok());
        ASSERT_TRUE(QFile::link(QString::fromStdString(pty.slaveName()), portDir.filePath("COM3")));
        channel = std::make_unique<link::QtSerialChannel>(platform::SerialPortNames(portDir.path(), false));
        channel->setOnDataArrived([this](quint8 b) { arrived.append(char(b)); });
        channel->setOnClosed([this] { ++closedEvents; });
        channel->SetPortNumber(3);
    }
    bool drainProgram(qsizetype expected)
    {
        return test::waitUntil([&] {
            pty.readAvailable();
            return pty.received().size() >= expected;
        });
    }
};

QByteArray everyByteValue(qsizetype size)
{
    QByteArray data(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char((i * 131 + i / 256) & 0xFF);
    return data;
}

} // namespace

TEST(SerialSettingsTest, ValuesAreStoredTheWayTheChannelAcceptsThem)
{
    link::SerialSettings s;
    EXPECT_EQ(s.baudRate(), 19200);
    EXPECT_EQ(s.timeoutMs(), 1000);
    s.setBaudRate(-5);
    EXPECT_EQ(s.baudRate(), 0);
    s.setStopBits(0);
    EXPECT_EQ(s.stopBits(), 1);
    s.setStopBits(7);
    EXPECT_EQ(s.stopBits(), 3);
    s.setParity(9);
    EXPECT_EQ(s.parity(), link::SerialSettings::NoParity);
    s.setFlowControl(6);
    EXPECT_EQ(s.flowControl(), link::SerialSettings::NoFlowControl);
    s.setTimeoutMs(-1);
    EXPECT_EQ(s.timeoutMs(), 0);
    s.setRtsHandling(1);
    EXPECT_FALSE(s.rtsOn());
    s.setRtsHandling(2);
    EXPECT_TRUE(s.rtsOn());
    s.setEventCharacter("xyz");
    EXPECT_TRUE(s.hasEventCharacter());
    EXPECT_EQ(s.eventCharacter(), 'x');
    s.setEventCharacter("");
    EXPECT_FALSE(s.hasEventCharacter());

    const link::SerialSettings program = link::SerialSettings::ProgramSettings();
    EXPECT_EQ(program.baudRate(), 57600);
    EXPECT_EQ(program.dataBits(), 8);
    EXPECT_EQ(program.stopBits(), 1);
    EXPECT_EQ(program.parity(), link::SerialSettings::NoParity);
    EXPECT_EQ(program.flowControl(), link::SerialSettings::NoFlowControl);
    EXPECT_TRUE(program.rtsOn());
}

TEST_F(PtyChannelFixture, PortNumberZeroMeansCom1AndOpensThroughThePortDirectory)
{
    channel->SetPortNumber(0);
    EXPECT_EQ(channel->PortNumber(), 1);
    EXPECT_FALSE(channel->PortOpen());
    EXPECT_EQ(channel->LastOpenFailure().kind, link::OpenFailure::NoDevice);
    channel->SetPortNumber(3);
    ASSERT_TRUE(channel->PortOpen());
    EXPECT_TRUE(channel->IsOpen());
    EXPECT_EQ(channel->ListPresentPorts().names, "COM3A");
}

TEST_F(PtyChannelFixture, AFailedOpenClosesThePortThatWasOpen)
{
    ASSERT_TRUE(channel->PortOpen());
    channel->SetPortNumber(4);
    EXPECT_FALSE(channel->PortOpen());
    EXPECT_FALSE(channel->IsOpen());
    EXPECT_EQ(closedEvents, 1);
}

TEST_F(PtyChannelFixture, BytesArriveOneEventEachInOrder)
{
    ASSERT_TRUE(channel->PortOpen());
    int events = 0;
    channel->setOnDataArrived([&](quint8 b) {
        ++events;
        arrived.append(char(b));
    });
    ASSERT_TRUE(pty.write(QByteArray("\xFF\x00", 2)));
    ASSERT_TRUE(test::waitUntil([&] { return arrived.size() >= 2; }));
    EXPECT_EQ(events, 2);
    EXPECT_EQ(arrived, QByteArray("\xFF\x00", 2));
}

TEST_F(PtyChannelFixture, StaleInputIsPurgedOnOpenButNeverByAWrite)
{
    ASSERT_TRUE(pty.write("stale"));
    ASSERT_TRUE(channel->PortOpen());
    // Bytes that came in before a write are still delivered after it.
    ASSERT_TRUE(pty.write("AB"));
    ::usleep(20000); // let them reach the port's input before the write
    ASSERT_TRUE(channel->SendBytes(QByteArray("\xFF\x09\x00\x00", 4)));
    ASSERT_TRUE(test::waitUntil([&] { return arrived.size() >= 2; }));
    ASSERT_TRUE(drainProgram(4));
    EXPECT_EQ(arrived, "AB");
    EXPECT_EQ(pty.received(), QByteArray("\xFF\x09\x00\x00", 4));
}

TEST_F(PtyChannelFixture, SendingWhileClosedWritesNothing)
{
    EXPECT_FALSE(channel->SendBytes(QByteArray("\xFF\x01\x01\x00", 4)));
    ASSERT_TRUE(channel->PortOpen());
    EXPECT_TRUE(channel->SendBytes(QByteArray()));
    channel->PortClose();
    EXPECT_FALSE(channel->SendBytes(quint8(0x55)));
    test::waitUntil([] { return false; }, 50);
    EXPECT_TRUE(pty.readAvailable().isEmpty());
}

TEST_F(PtyChannelFixture, APictureGoesOutAndComesInByteForByte)
{
    ASSERT_TRUE(channel->PortOpen());
    const QByteArray picture = everyByteValue(32768);
    qint64 reported = 0;
    channel->setOnBytesWritten([&](qint64 n) { reported += n; });
    ASSERT_TRUE(channel->SendBytes(picture));
    ASSERT_TRUE(drainProgram(picture.size()));
    EXPECT_EQ(pty.received(), picture);
    ASSERT_TRUE(test::waitUntil([&] { return reported == picture.size(); }));
    EXPECT_EQ(channel->BytesToWrite(), 0);

    ASSERT_TRUE(pty.write(picture));
    ASSERT_TRUE(test::waitUntil([&] { return arrived.size() >= picture.size(); }));
    EXPECT_EQ(arrived, picture);
}

TEST_F(PtyChannelFixture, TheFarEndClosingClosesThePort)
{
    ASSERT_TRUE(channel->PortOpen());
    ASSERT_TRUE(pty.write("\xFF\x08"));
    ASSERT_TRUE(test::waitUntil([&] { return arrived.size() >= 2; }));
    pty.closeAll();
    ASSERT_TRUE(test::waitUntil([&] { return !channel->IsOpen(); }));
    EXPECT_EQ(closedEvents, 1);
    EXPECT_FALSE(channel->SendBytes(QByteArray("x")));
}
