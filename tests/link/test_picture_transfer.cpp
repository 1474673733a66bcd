// The picture's way to the machine after its request: the wait, the one
// write byte for byte, the progress, its place among the other writes, and
// when it counts as sent or failed.
#include "link/command_frames.h"
#include "link/picture_transfer.h"
#include "link_fakes.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;
using kovra::test::bytes;
using Phase = link::PictureTransfer::Phase;

namespace {

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
    link::PictureTransfer transfer{channel, writer, events, timer};
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
    EXPECT_EQ(log.take(), (QStringList{"sending 32768", "sent ok 32768/32768"}));
    EXPECT_EQ(log.progress.first(), qMakePair(qint64(0), qint64(32768)));
    EXPECT_EQ(log.progress.last(), qMakePair(qint64(32768), qint64(32768)));
    EXPECT_EQ(phase(), Phase::Idle);

    // A second request sends the same picture again.
    request();
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
    channel.outputQueued = 900;
    request();
    EXPECT_EQ(log.take(), (QStringList{"sending 32768"}));
    EXPECT_EQ(phase(), Phase::Draining);
    EXPECT_EQ(timer.period(), link::PictureTransfer::kDrainPollMs);
    ASSERT_TRUE(timer.tick());
    EXPECT_TRUE(log.take().isEmpty());
    channel.outputQueued = 0;
    ASSERT_TRUE(timer.tick());
    EXPECT_EQ(log.take(), (QStringList{"sent ok 32768/32768"}));
    EXPECT_EQ(timer.period(), 0);
}

TEST_F(TransferFixture, ADriverQueueThatNeverEmptiesDoesNotHangTheTransfer)
{
    channel.outputQueued = 10;
    request();
    int ticks = 0;
    while (timer.tick() && ticks < 100000)
        ++ticks;
    EXPECT_EQ(ticks, link::PictureTransfer::kDrainLimitMs / link::PictureTransfer::kDrainPollMs);
    EXPECT_EQ(log.take(), (QStringList{"sending 32768", "sent ok 32768/32768"}));
}

TEST_F(TransferFixture, ThePortClosingMidPictureFailsItAndDropsWhatWaited)
{
    channel.instantWrite = false;
    request();
    frames.StartCarve();
    transfer.SendRequested();
    channel.completeWrite(5000);
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
    channel.instantWrite = false;
    transfer.SendRequested();
    transfer.SendRequested();
    ASSERT_TRUE(timer.tick());
    EXPECT_EQ(channel.writes.size(), 1);
    channel.completeWrite(32768);
    EXPECT_EQ(timer.period(), link::PictureTransfer::kRequestDelayMs);
    ASSERT_TRUE(timer.tick());
    ASSERT_EQ(channel.writes.size(), 2);
    channel.completeWrite(32768);
    EXPECT_EQ(log.take(), (QStringList{"sending 32768", "sent ok 32768/32768", "sending 32768", "sent ok 32768/32768"}));
}
