// The red trace: position replies, fed to the link byte by byte, become red
// dots on the preview board where the machine's laser was.
#include "shell/trace_painter.h"

#include "image/drawing_board.h"
#include "link/machine_link.h"
#include "tests/link/link_fakes.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;
using kovra::test::bytes;

namespace {

constexpr QRgb kRed = qRgb(255, 0, 0);

struct TraceFixture : ::testing::Test {
    test::FakeSerialChannel channel;
    test::ManualTimer retry, verify, portCheck, output, transfer;
    link::MachineLink machine{channel, {retry, verify, portCheck, output, transfer}};
    image::DrawingBoard board{512, 512};
    shell::TracePainter trace{machine.events(), board};

    void SetUp() override
    {
        board.SetBackgroundColour(Qt::white);
        board.ClearBoard();
    }
    void feed(const QByteArray& data)
    {
        for (char b : data)
            machine.replies().HandleReplyByte(quint8(b));
    }
    QList<QPoint> redDots() const
    {
        QList<QPoint> dots;
        const QImage& img = board.picture();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) == (kRed & 0xFFFFFF))
                    dots << QPoint(x, y);
        return dots;
    }
};

} // namespace

TEST_F(TraceFixture, EachPositionYDrawsTheLatestPairAtColumnMinusOne)
{
    // Row 144, column 10: the dot at x 9, y 144.
    feed(bytes({0xFF, 0x04, 0x01, 0x2C, 0xFF, 0x03, 0x00, 0x0A}));
    EXPECT_EQ(redDots(), QList<QPoint>{QPoint(9, 144)});
}

TEST_F(TraceFixture, BeforeAnyXTheDotIsInRowZeroAndOffTheBoardNothingShows)
{
    feed(bytes({0xFF, 0x03, 0x00, 0x05}));
    feed(bytes({0xFF, 0x03, 0x00, 0x00}));                         // column 0: x -1
    feed(bytes({0xFF, 0x04, 0x09, 0x00, 0xFF, 0x03, 0x00, 0x01})); // row 900: below the board
    EXPECT_EQ(redDots(), QList<QPoint>{QPoint(4, 0)});
}

TEST_F(TraceFixture, SplitRunsDrawTheSameDots)
{
    const QByteArray run = bytes({0xFF, 0x04, 0x00, 0x02, 0xFF, 0x03, 0x00, 0x03, 0xFF, 0x03, 0x00, 0x04});
    feed(run.left(3));
    EXPECT_TRUE(redDots().isEmpty());
    feed(run.mid(3, 6));
    EXPECT_EQ(redDots(), QList<QPoint>{QPoint(2, 2)});
    feed(run.mid(9));
    EXPECT_EQ(redDots(), (QList<QPoint>{QPoint(2, 2), QPoint(3, 2)}));
}
