// Reply frames assembled byte by byte and dispatched by their code: what each
// reply makes the link report, and the two replies it acts on itself (the
// handshake answer and the picture request).
#include "link/command_frames.h"
#include "link/connection_manager.h"
#include "link/picture_transfer.h"
#include "link/reply_handler.h"
#include "link_fakes.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;
using kovra::test::bytes;

namespace {

struct RepliesFixture : ::testing::Test {
    test::FakeSerialChannel channel;
    link::LinkEvents events;
    test::LinkEventLog log{events};
    test::ManualTimer retry, verify, portCheck, output, transfer;
    link::PortWriter writer{channel, output};
    link::CommandFrames frames{writer};
    link::ConnectionManager connection{channel, frames, events, retry, verify, portCheck};
    link::PictureTransfer picture{channel, writer, events, transfer, 5760};
    link::ReplyHandler replies{events, connection, picture};

    void SetUp() override
    {
        channel.openable = {7};
        channel.SetPortNumber(7);
        ASSERT_TRUE(channel.PortOpen());
    }
    void feed(const QByteArray& data)
    {
        for (char b : data)
            replies.HandleReplyByte(quint8(b));
    }
    bool pictureRequested() const { return transfer.period() == link::PictureTransfer::kRequestDelayMs; }
};

} // namespace

TEST_F(RepliesFixture, HandshakeAnswerConnectsOnTheOpenPort)
{
    retry.setPeriod(2000);
    verify.setPeriod(1000);
    feed(bytes({0xFF, 0x01, 0x00, 0x00}));
    EXPECT_EQ(log.take(), (QStringList{"state connected", "connected 7"}));
    EXPECT_EQ(retry.period(), 0);
    EXPECT_EQ(verify.period(), 0);
    EXPECT_EQ(portCheck.period(), 1000);
    EXPECT_EQ(connection.ConnectedPortNumber(), 7);
}

// Each reply with the events it gives; nothing is ever written back.
TEST_F(RepliesFixture, EachReplyIsReportedByItsCode)
{
    struct Case {
        QByteArray frames;
        QStringList events;
    };
    const QList<Case> cases = {
        {bytes({0xFF, 0x02, 0x01, 0x00}), {"firmware 1"}},
        {bytes({0xFF, 0x02, 0x02, 0x00}), {"firmware 2", "firmware newer 2>1"}},
        // X is stored, then each Y reports the pair: FF 04 01 2C is row 144.
        {bytes({0xFF, 0x04, 0x01, 0x2C, 0xFF, 0x03, 0x00, 0x0A}), {"row 144", "position 144,10"}},
        {bytes({0xFF, 0x03, 0x00, 0x00}), {"position 144,0"}},
        {bytes({0xFF, 0x08, 0x0C, 0x22}), {"value 1234"}},
        {bytes({0xFF, 0x07, 0x00, 0x00, 0xFF, 0x07, 0x01, 0x00, 0xFF, 0x07, 0x02, 0x00}), {"motor 0", "motor 1"}},
        {bytes({0xFF, 0x0A, 0x00, 0x32}), {"burn time 50"}},
        {bytes({0xFF, 0x06, 0x00, 0x00}), {"finished"}},
        // Codes outside the table change nothing.
        {bytes({0xFF, 0x09, 0x00, 0x00, 0xFF, 0x0B, 0x00, 0x00, 0xFF, 0x00, 0x01, 0x01, 0xFF, 0xFE, 0x01, 0x01}), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frames.toHex(' ').toStdString());
        feed(c.frames);
        EXPECT_EQ(log.take(), c.events);
    }
    EXPECT_TRUE(channel.writes.isEmpty());
    EXPECT_EQ(transfer.period(), 0);
    EXPECT_EQ(replies.ReportedX(), 144);
    EXPECT_EQ(replies.ReportedFirmwareVersion(), 2);
}

TEST_F(RepliesFixture, PositionYBeforeAnyXIsInRowZero)
{
    feed(bytes({0xFF, 0x03, 0x00, 0x05}));
    EXPECT_EQ(log.take(), (QStringList{"position 0,5"}));
}

TEST_F(RepliesFixture, StrayStartMarkerResynchronises)
{
    feed(bytes({0xFF, 0x03, 0xFF, 0x05, 0x00, 0x00}));
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_TRUE(pictureRequested()); // FF 05 00 00 was handled
}

TEST_F(RepliesFixture, FourBytesWithoutMarkerAreDroppedAsOneUnit)
{
    feed(bytes({0x01, 0x02, 0x03, 0x04, 0xFF, 0x06, 0x00, 0x00}));
    EXPECT_EQ(log.take(), (QStringList{"finished"}));
    // Without the marker, bytes are taken four at a time: 05 FF resyncs.
    feed(bytes({0x05, 0xFF, 0x08, 0x00, 0x07}));
    EXPECT_EQ(log.take(), (QStringList{"value 7"}));
}

TEST_F(RepliesFixture, SplitAndMergedRunsAssembleTheSameFrames)
{
    const QByteArray run = bytes({0xFF, 0x04, 0x00, 0x02, 0xFF, 0x03, 0x00, 0x03, 0xFF, 0x08, 0x00, 0x2A});
    feed(run.left(3));
    EXPECT_TRUE(log.take().isEmpty());
    feed(run.mid(3, 6));
    EXPECT_EQ(log.take(), (QStringList{"row 2", "position 2,3"}));
    feed(run.mid(9));
    EXPECT_EQ(log.take(), (QStringList{"value 42"}));
}

TEST_F(RepliesFixture, ImageRequestHandsThePictureToTheTransfer)
{
    picture.SetEngraveBuffer(QByteArray(32768, '\x21'));
    feed(bytes({0xFF, 0x05, 0x12, 0x34}));
    EXPECT_TRUE(channel.writes.isEmpty()); // not before the 5 ms
    EXPECT_TRUE(pictureRequested());
    ASSERT_TRUE(transfer.tick());
    ASSERT_EQ(channel.writes.size(), 1);
    EXPECT_EQ(channel.writes[0].bytes, QByteArray(32768, '\x21'));
}
