// The picture's way to the machine after its request: the wait, the one
// write byte for byte, the progress, its place among the other writes, and
// when it counts as sent or failed, on a clock moved by hand.
#include "link/command_frames.h"
#include "link/picture_transfer.h"
#include "link_fakes.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;
using kovra::test::bytes;
using Phase = link::PictureTransfer::Phase;

namespace {

constexpr int kLineRate = 5760; // 57600 baud, 8N1

// The milliseconds the line needs for bytes.
qint64 lineMs(qint64 bytes)
{
    return (bytes * 1000 + kLineRate - 1) / kLineRate;
}

QByteArray everyByteValue()
{
    QByteArray picture(32768, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char(i * 7 + (i >> 8));
    return picture;
}

struct TransferFixture : ::testing::Test {
    test::FakeSerialChannel channel;
    link::LinkEvents events;
    test::LinkEventLog log{events};
    test::ManualTimer output, timer;
    link::PortWriter writer{channel, output};
    link::CommandFrames frames{writer};
    qint64 now = 1000;
    link::PictureTransfer transfer{channel, writer, events, timer, kLineRate, [this] { return now; }};
    const QByteArray picture = everyByteValue();

    void SetUp() override
    {
        channel.openable = {2};
        channel.SetPortNumber(2);
        ASSERT_TRUE(channel.PortOpen());
        transfer.SetEngraveBuffer(picture);
    }
    // The machine asks; its 5 ms pass.
    void request()
    {
        transfer.SendRequested();
        ASSERT_EQ(timer.period(), link::PictureTransfer::kRequestDelayMs);
        ASSERT_TRUE(timer.tick());
    }
    Phase phase() const { return transfer.CurrentProgress().phase; }
    // Time passes; the transfer looks again.
    void after(qint64 ms)
    {
        now += ms;
        ASSERT_TRUE(timer.tick());
    }
};

} // namespace

TEST_F(TransferFixture, TheWholePictureGoesInOneWriteAfterTheWait)
{
    transfer.SendRequested();
    EXPECT_TRUE(channel.writes.isEmpty()); // not before the 5 ms
    EXPECT_EQ(phase(), Phase::Waiting);
    ASSERT_TRUE(timer.tick());
    ASSERT_EQ(channel.writes.size(), 1);
    EXPECT_EQ(channel.writes[0].bytes, picture);
    // The system took it all at once; the line needs its 5.7 s.
    EXPECT_EQ(timer.period(), link::PictureTransfer::kWatchMs);
    after(lineMs(32768) - 1);
    EXPECT_EQ(log.take(), QStringList{"sending 32768"});
    EXPECT_EQ(phase(), Phase::Draining);
    after(1);
    EXPECT_EQ(log.take(), QStringList{"sent ok 32768/32768"});
    EXPECT_EQ(log.progress.first(), qMakePair(qint64(0), qint64(32768)));
    EXPECT_EQ(log.progress.last(), qMakePair(qint64(32768), qint64(32768)));
    EXPECT_EQ(phase(), Phase::Idle);
    EXPECT_EQ(timer.period(), 0);

    // A second request sends the same picture again.
    request();
    after(lineMs(32768));
    ASSERT_EQ(channel.writes.size(), 2);
    EXPECT_EQ(channel.writes[1].bytes, picture);
}

TEST_F(TransferFixture, WithoutAPictureNothingIsWrittenButItCompletes)
{
    transfer.SetEngraveBuffer({});
    request();
    EXPECT_TRUE(channel.writes.isEmpty());
    EXPECT_EQ(log.take(), (QStringList{"sending 0", "sent ok 0/0"}));
    EXPECT_TRUE(log.progress.isEmpty());
}

TEST_F(TransferFixture, ThePictureAsItWasAskedForGoesEvenIfANewOneIsPrepared)
{
    transfer.SendRequested();
    transfer.SetEngraveBuffer(QByteArray(32768, '\x01'));
    ASSERT_TRUE(timer.tick());
    EXPECT_EQ(channel.writes[0].bytes, picture);
}

TEST_F(TransferFixture, CommandsGivenDuringThePictureGoOutAfterIt)
{
    channel.instantWrite = false;
    frames.StartCarve(); // before: goes out at once
    transfer.SendRequested();
    frames.JogUp(); // during the wait
    ASSERT_EQ(channel.writes.size(), 1);
    ASSERT_TRUE(timer.tick());
    EXPECT_EQ(log.take(), (QStringList{"sending 32768"}));
    frames.PauseCarve(); // during the write
    ASSERT_EQ(channel.writes.size(), 2);
    EXPECT_EQ(channel.writes[1].bytes, picture);
    now += 60000; // only the system holds the bytes back here

    // The frame written before the picture leaves first; it is not progress.
    channel.completeWrite(4);
    channel.completeWrite(10000);
    channel.completeWrite(22000);
    EXPECT_EQ(channel.writes.size(), 2); // the rest still waits
    EXPECT_TRUE(log.take().isEmpty());
    channel.completeWrite(768);
    EXPECT_EQ(log.progress, (QList<QPair<qint64, qint64>>{{0, 32768}, {10000, 32768}, {32000, 32768}, {32768, 32768}}));
    EXPECT_EQ(log.take(), (QStringList{"sent ok 32768/32768"}));
    EXPECT_EQ(channel.wire(), bytes({0xFF, 1, 1, 0}) + picture + bytes({0xFF, 3, 1, 0, 0x01, 0xFF, 1, 2, 0}));
    EXPECT_FALSE(writer.Busy());
}

TEST_F(TransferFixture, SentOnlyOnceTheDriverQueueIsEmpty)
{
    channel.outputQueued = 900; // a slow line: the driver still holds bytes
    request();
    after(lineMs(32768) + 500);
    EXPECT_EQ(log.take(), (QStringList{"sending 32768"}));
    EXPECT_EQ(phase(), Phase::Draining);
    channel.outputQueued = 0;
    after(link::PictureTransfer::kWatchMs);
    EXPECT_EQ(log.take(), (QStringList{"sent ok 32768/32768"}));
    EXPECT_EQ(timer.period(), 0);
}

TEST_F(TransferFixture, ADriverQueueThatNeverEmptiesDoesNotHangTheTransfer)
{
    channel.outputQueued = 10;
    request();
    after(lineMs(32768));
    after(link::PictureTransfer::kDrainLimitMs - 1);
    EXPECT_EQ(phase(), Phase::Draining);
    after(1);
    EXPECT_EQ(log.take(), (QStringList{"sending 32768", "sent ok 32768/32768"}));
}

// The system took the whole picture at once (a pseudo-terminal, or the
// buffers of a USB adapter) and the machine went away two seconds in: the
// line had carried 11520 bytes, not the 32768 the system had taken.
TEST_F(TransferFixture, ABreakBeforeTheLineCouldCarryItAllFailsWithTheBytesCarried)
{
    channel.outputQueued = 0;
    request();
    after(2000);
    EXPECT_EQ(log.take(), QStringList{"sending 32768"});
    EXPECT_EQ(transfer.CurrentProgress().written, 11520);
    EXPECT_EQ(log.progress.last(), qMakePair(qint64(11520), qint64(32768)));
    now += 5; // the break comes between two looks
    channel.fail();
    EXPECT_EQ(log.take(), QStringList{"sent failed 11548/32768"});
    EXPECT_EQ(phase(), Phase::Idle);
    EXPECT_EQ(timer.period(), 0);
}

// Progress follows the slower of the two: the system taking bytes, the line
// carrying them.
TEST_F(TransferFixture, ProgressIsWhatTheLineCouldHaveCarried)
{
    channel.instantWrite = false;
    request();
    channel.completeWrite(4096);
    after(500); // 2880 bytes of line time
    channel.completeWrite(28672);
    after(1000); // 8640
    EXPECT_EQ(log.progress, (QList<QPair<qint64, qint64>>{{0, 32768}, {2880, 32768}, {8640, 32768}}));
    EXPECT_EQ(phase(), Phase::Draining);
}

TEST_F(TransferFixture, ThePortClosingMidPictureFailsItAndDropsWhatWaited)
{
    channel.instantWrite = false;
    request();
    frames.StartCarve();
    transfer.SendRequested();
    channel.completeWrite(5000);
    now += 60000; // the line could have carried more than the system took
    channel.PortClose();
    EXPECT_EQ(log.take(), (QStringList{"sending 32768", "sent failed 5000/32768", "sent failed 0/32768"}));
    EXPECT_FALSE(writer.Busy());
    EXPECT_EQ(writer.QueuedCount(), 0);
    EXPECT_EQ(phase(), Phase::Idle);
    // A scan opening another port must not get the dropped frames.
    channel.openable = {3};
    channel.SetPortNumber(3);
    ASSERT_TRUE(channel.PortOpen());
    frames.Handshake();
    EXPECT_EQ(channel.writes.last().bytes, bytes({0xFF, 9, 0, 0}));
    EXPECT_EQ(channel.writes.last().port, 3);
    EXPECT_EQ(channel.writes.size(), 2);
}

TEST_F(TransferFixture, APictureOnAClosedPortFailsAfterItsWait)
{
    channel.PortClose();
    request();
    EXPECT_EQ(log.take(), (QStringList{"sending 32768", "sent failed 0/32768"}));
    EXPECT_TRUE(channel.writes.isEmpty());
}

TEST_F(TransferFixture, TwoRequestsSendThePictureTwiceInTurn)
{
    transfer.SendRequested();
    transfer.SendRequested();
    ASSERT_TRUE(timer.tick());
    EXPECT_EQ(channel.writes.size(), 1);
    after(lineMs(32768));
    EXPECT_EQ(timer.period(), link::PictureTransfer::kRequestDelayMs);
    ASSERT_TRUE(timer.tick());
    ASSERT_EQ(channel.writes.size(), 2);
    after(lineMs(32768));
    EXPECT_EQ(log.take(), (QStringList{"sending 32768", "sent ok 32768/32768", "sending 32768", "sent ok 32768/32768"}));
}
