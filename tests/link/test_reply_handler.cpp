#include "link/command_frames.h"
#include "link/connection_manager.h"
#include "link/reply_handler.h"
#include "link_fakes.h"
#include "shell/machine_presenter.h"
#include "shell/machine_texts.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;
using kovra::test::bytes;

namespace {

constexpr QRgb kRed = qRgb(255, 0, 0);

struct RepliesFixture : ::testing::Test {
    test::FakeSerialChannel channel;
    test::FakeLinkView view;
    link::LinkEvents events;
    job::JobEvents jobEvents;
    shell::MachinePresenter presenter{events, jobEvents, view};
    test::LinkEventLog eventLog{events};
    test::ManualTimer retry, verify, portCheck, transfer;
    image::DrawingBoard board{512, 512};
    link::PortWriter writer{channel, transfer};
    link::CommandFrames frames{writer};
    link::ConnectionManager connection{channel, frames, events, retry, verify, portCheck};
    link::ReplyHandler replies{events, connection, writer, board};

    void SetUp() override
    {
        board.SetBackgroundColour(Qt::white);
        board.ClearBoard();
        channel.openable = {7};
        channel.SetPortNumber(7);
        ASSERT_TRUE(channel.PortOpen());
    }
    void feed(const QByteArray& data)
    {
        for (char b : data)
            replies.HandleReplyByte(quint8(b));
    }
    int redDots() const
    {
        int n = 0;
        const QImage& img = board.picture();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) == (kRed & 0xFFFFFF);
        return n;
    }
    // Runs the 5 ms wait of a picture request.
    void passPictureWait() { ASSERT_TRUE(transfer.tick()); }
};

} // namespace

TEST_F(RepliesFixture, HandshakeAnswerConnectsOnTheOpenPort)
{
    retry.setPeriod(2000);
    verify.setPeriod(1000);
    view.calls.clear();
    feed(bytes({0xFF, 0x01, 0x00, 0x00}));
    EXPECT_EQ(view.calls, QStringList({"caption:OK", "connectEnabled:0", "breakVisible:1", "enable",
                                       "line:" + shell::texts::ConnectedBanner}));
    EXPECT_EQ(retry.period(), 0);
    EXPECT_EQ(verify.period(), 0);
    EXPECT_EQ(portCheck.period(), 1000);
    EXPECT_EQ(connection.ConnectedPortNumber(), 7);
    EXPECT_EQ(shell::texts::ConnectedBanner,
              QString(22, '>') + QString(13, ' ') + "CONNECTED !" + QString(4, ' ') + QString(22, '<'));
}

TEST_F(RepliesFixture, NewerFirmwareWarnsWithABox)
{
    feed(bytes({0xFF, 0x02, 0x01, 0x00}));
    EXPECT_EQ(view.log, "Firmware version : 1\r\n");
    EXPECT_TRUE(view.boxes.isEmpty());
    feed(bytes({0xFF, 0x02, 0x02, 0x00}));
    EXPECT_EQ(view.log, "Firmware version : 1\r\nFirmware version : 2\r\n");
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0], qMakePair(QString("Please update your software, or some features may not be used."),
                                       QString("Message")));
}

TEST_F(RepliesFixture, PositionRepliesFillTheBoxesAndDrawTheTrace)
{
    feed(bytes({0xFF, 0x04, 0x01, 0x2C, 0xFF, 0x03, 0x00, 0x0A}));
    EXPECT_EQ(view.xEdit, "144");
    EXPECT_EQ(view.yEdit, "10");
    EXPECT_EQ(board.picture().pixel(9, 144) & 0xFFFFFF, kRed & 0xFFFFFF);
    EXPECT_EQ(redDots(), 1);
}

TEST_F(RepliesFixture, PositionYFirstDrawsInRowZeroAndColumnZeroFallsOff)
{
    feed(bytes({0xFF, 0x03, 0x00, 0x05}));
    EXPECT_EQ(board.picture().pixel(4, 0) & 0xFFFFFF, kRed & 0xFFFFFF);
    feed(bytes({0xFF, 0x03, 0x00, 0x00}));
    feed(bytes({0xFF, 0x04, 0x09, 0x00, 0xFF, 0x03, 0x00, 0x01})); // row 900: below the board
    EXPECT_EQ(redDots(), 1);
    EXPECT_EQ(view.yEdit, "1");
    EXPECT_EQ(view.xEdit, "900");
}

TEST_F(RepliesFixture, ValueMotorAndBurnTimeReports)
{
    feed(bytes({0xFF, 0x08, 0x0C, 0x22}));
    feed(bytes({0xFF, 0x07, 0x00, 0x00}));
    feed(bytes({0xFF, 0x07, 0x01, 0x00}));
    feed(bytes({0xFF, 0x07, 0x02, 0x00}));
    EXPECT_EQ(view.log, "1234\r\nPlease access the motor power supply !\r\n"
                        ">>>>>>>>>>>>>>>>>>>>>>       Initialization complete!<<<<<<<<<<<<<<<<<<<<<<\r\n");
    feed(bytes({0xFF, 0x0A, 0x00, 0x32}));
    EXPECT_EQ(view.burnTime, 50);
    EXPECT_TRUE(channel.writes.isEmpty());
}

TEST_F(RepliesFixture, StrayStartMarkerResynchronises)
{
    feed(bytes({0xFF, 0x03, 0xFF, 0x05, 0x00, 0x00}));
    EXPECT_TRUE(view.yEdit.isEmpty());
    EXPECT_EQ(transfer.period(), link::PortWriter::kPictureDelayMs); // ImageRequest handled
}

TEST_F(RepliesFixture, FourBytesWithoutMarkerAreDroppedAsOneUnit)
{
    feed(bytes({0x01, 0x02, 0x03, 0x04, 0xFF, 0x06, 0x00, 0x00}));
    EXPECT_EQ(view.log, "Carved finish !\r\n");
    EXPECT_EQ(view.resetLocations, 1);
    // Without the marker, bytes are taken four at a time: 05 FF resyncs.
    view.log.clear();
    feed(bytes({0x05, 0xFF, 0x08, 0x00, 0x07}));
    EXPECT_EQ(view.log, "7\r\n");
}

TEST_F(RepliesFixture, SplitAndMergedRunsAssembleTheSameFrames)
{
    const QByteArray run = bytes({0xFF, 0x04, 0x00, 0x02, 0xFF, 0x03, 0x00, 0x03, 0xFF, 0x08, 0x00, 0x2A});
    feed(run.left(3));
    EXPECT_TRUE(view.xEdit.isEmpty());
    feed(run.mid(3, 6));
    EXPECT_EQ(view.xEdit, "2");
    feed(run.mid(9));
    EXPECT_EQ(view.yEdit, "3");
    EXPECT_EQ(view.log, "42\r\n");
    EXPECT_EQ(board.picture().pixel(2, 2) & 0xFFFFFF, kRed & 0xFFFFFF);
}

TEST_F(RepliesFixture, UnknownCodesChangeNothing)
{
    feed(bytes({0xFF, 0x09, 0x00, 0x00, 0xFF, 0x0B, 0x00, 0x00, 0xFF, 0x00, 0x01, 0x01, 0xFF, 0xFE, 0x01, 0x01}));
    EXPECT_TRUE(view.calls.isEmpty());
    EXPECT_TRUE(channel.writes.isEmpty());
    EXPECT_EQ(transfer.period(), 0);
}

TEST_F(RepliesFixture, ImageRequestWritesTheWholeBufferAfterTheWait)
{
    QByteArray picture(32768, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char(i * 7 + (i >> 8));
    replies.SetEngraveBuffer(picture);
    feed(bytes({0xFF, 0x05, 0x12, 0x34}));
    EXPECT_TRUE(channel.writes.isEmpty()); // not before the 5 ms
    passPictureWait();
    ASSERT_EQ(channel.writes.size(), 1);
    EXPECT_EQ(channel.writes[0].bytes, picture);
    EXPECT_EQ(view.log, "Sending New Image...\r\nSending Complete !\r\n\r\n");
    EXPECT_TRUE(view.machineControlsEnabled);
    ASSERT_FALSE(view.progress.isEmpty());
    EXPECT_EQ(view.progress.first(), qMakePair(qint64(0), qint64(32768)));
    EXPECT_EQ(view.progress.last(), qMakePair(qint64(32768), qint64(32768)));
    EXPECT_EQ(view.progressHidden, 1);

    // A second request sends the same picture again.
    feed(bytes({0xFF, 0x05, 0x00, 0x00}));
    passPictureWait();
    ASSERT_EQ(channel.writes.size(), 2);
    EXPECT_EQ(channel.writes[1].bytes, picture);
}

TEST_F(RepliesFixture, ImageRequestWithoutAPictureWritesNothingButCompletes)
{
    feed(bytes({0xFF, 0x05, 0x00, 0x00}));
    passPictureWait();
    EXPECT_TRUE(channel.writes.isEmpty());
    EXPECT_EQ(view.log, "Sending New Image...\r\nSending Complete !\r\n\r\n");
    EXPECT_TRUE(view.machineControlsEnabled);
    EXPECT_TRUE(view.progress.isEmpty());
}

TEST_F(RepliesFixture, RepliesDuringThePictureAreHandledAtOnce)
{
    channel.instantWrite = false;
    replies.SetEngraveBuffer(QByteArray(32768, '\x55'));
    feed(bytes({0xFF, 0x05, 0x00, 0x00}));
    passPictureWait();
    channel.completeWrite(4096);
    feed(bytes({0xFF, 0x08, 0x00, 0x01})); // not lost to the write
    EXPECT_EQ(view.log, "Sending New Image...\r\n1\r\n");
    channel.completeWrite(32768 - 4096);
    EXPECT_TRUE(view.log.endsWith("Sending Complete !\r\n\r\n"));
}
