#include "link/command_frames.h"
#include "link/port_writer.h"
#include "link_fakes.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;
using kovra::test::bytes;

namespace {

struct WriterFixture : ::testing::Test {
    test::FakeSerialChannel channel;
    test::ManualTimer timer;
    link::PortWriter writer{channel, timer};
    link::CommandFrames frames{writer};
    QStringList events;
    QList<QPair<qint64, qint64>> progress;
    QByteArray picture = QByteArray(32768, '\x3C');

    void SetUp() override
    {
        channel.openable = {2};
        channel.SetPortNumber(2);
        ASSERT_TRUE(channel.PortOpen());
        channel.instantWrite = false;
    }
    link::PictureWrite callbacks()
    {
        link::PictureWrite cb;
        cb.begin = [this] { events << "begin"; };
        cb.progress = [this](qint64 w, qint64 t) { progress.append({w, t}); };
        cb.done = [this](bool ok, qint64 written) { events << QString("done:%1:%2").arg(ok).arg(written); };
        return cb;
    }
};

} // namespace

TEST_F(WriterFixture, CommandsGivenDuringThePictureGoOutAfterIt)
{
    frames.StartCarve(); // before: goes out at once
    writer.WritePicture(picture, callbacks());
    frames.JogUp(); // during the wait
    ASSERT_EQ(channel.writes.size(), 1);
    ASSERT_TRUE(timer.tick());
    EXPECT_EQ(events, QStringList({"begin"}));
    frames.PauseCarve(); // during the write
    ASSERT_EQ(channel.writes.size(), 2);
    EXPECT_EQ(channel.writes[1].bytes, picture);

    // The frame written before the picture leaves first; it is not progress.
    channel.completeWrite(4);
    channel.completeWrite(10000);
    channel.completeWrite(22000);
    EXPECT_EQ(channel.writes.size(), 2); // the rest still waits
    EXPECT_EQ(events, QStringList({"begin"}));
    channel.completeWrite(768);
    EXPECT_EQ(progress, (QList<QPair<qint64, qint64>>{{0, 32768}, {10000, 32768}, {32000, 32768}, {32768, 32768}}));
    EXPECT_EQ(events, QStringList({"begin", "done:1:32768"}));
    EXPECT_EQ(channel.wire(), bytes({0xFF, 1, 1, 0}) + picture + bytes({0xFF, 3, 1, 0, 0x01, 0xFF, 1, 2, 0}));
    EXPECT_FALSE(writer.Busy());
}

TEST_F(WriterFixture, DoneWaitsForTheDriverQueueToEmpty)
{
    channel.outputQueued = 900;
    writer.WritePicture(picture, callbacks());
    ASSERT_TRUE(timer.tick());
    channel.completeWrite(32768);
    EXPECT_EQ(events, QStringList({"begin"}));
    EXPECT_EQ(timer.period(), link::PortWriter::kDrainPollMs);
    ASSERT_TRUE(timer.tick());
    channel.outputQueued = 0;
    ASSERT_TRUE(timer.tick());
    EXPECT_EQ(events, QStringList({"begin", "done:1:32768"}));
    EXPECT_EQ(timer.period(), 0);
}

TEST_F(WriterFixture, ADriverQueueThatNeverEmptiesDoesNotHangTheTransfer)
{
    channel.outputQueued = 10;
    writer.WritePicture(picture, callbacks());
    ASSERT_TRUE(timer.tick());
    channel.completeWrite(32768);
    int ticks = 0;
    while (timer.tick() && ticks < 100000)
        ++ticks;
    EXPECT_EQ(ticks, link::PortWriter::kDrainLimitMs / link::PortWriter::kDrainPollMs);
    EXPECT_EQ(events.last(), "done:1:32768");
}

TEST_F(WriterFixture, ThePortClosingMidPictureFailsItAndDropsWhatWaited)
{
    writer.WritePicture(picture, callbacks());
    ASSERT_TRUE(timer.tick());
    frames.StartCarve();
    writer.WritePicture(picture, callbacks());
    channel.completeWrite(5000);
    channel.PortClose();
    EXPECT_EQ(events, QStringList({"begin", "done:0:5000", "done:0:0"}));
    EXPECT_FALSE(writer.Busy());
    EXPECT_EQ(writer.QueuedCount(), 0);
    // A scan opening another port must not get the dropped frames.
    channel.openable = {3};
    channel.SetPortNumber(3);
    ASSERT_TRUE(channel.PortOpen());
    frames.Handshake();
    EXPECT_EQ(channel.writes.last().bytes, bytes({0xFF, 9, 0, 0}));
    EXPECT_EQ(channel.writes.last().port, 3);
    EXPECT_EQ(channel.writes.size(), 2);
}

TEST_F(WriterFixture, APictureOnAClosedPortFailsAfterItsWait)
{
    channel.PortClose();
    writer.WritePicture(picture, callbacks());
    ASSERT_TRUE(timer.tick());
    EXPECT_EQ(events, QStringList({"begin", "done:0:0"}));
    EXPECT_TRUE(channel.writes.isEmpty());
}

TEST_F(WriterFixture, TwoRequestsSendThePictureTwiceInTurn)
{
    writer.WritePicture(picture, callbacks());
    writer.WritePicture(picture, callbacks());
    ASSERT_TRUE(timer.tick());
    EXPECT_EQ(channel.writes.size(), 1);
    channel.completeWrite(32768);
    EXPECT_EQ(timer.period(), link::PortWriter::kPictureDelayMs);
    ASSERT_TRUE(timer.tick());
    ASSERT_EQ(channel.writes.size(), 2);
    channel.completeWrite(32768);
    EXPECT_EQ(events, QStringList({"begin", "done:1:32768", "begin", "done:1:32768"}));
}
