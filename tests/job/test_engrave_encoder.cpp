// The board-to-raster encoding and the SendImageButton sequence.
#include "job/engrave_encoder.h"

#include "image/bitmap_image.h"
#include "image/drawing_board.h"
#include "job_recorder.h"

#include <QPainter>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace kovra;

namespace {

struct EncoderFixture : ::testing::Test {
    test::JobRig rig;
    image::DrawingBoard& board = rig.board;
    job::EngraveEncoder encoder{rig.frames(), rig.jobEvents, rig.board, rig.machine.picture()};

    void fill(const QColor& colour)
    {
        board.Paint([&](QPainter& p) { p.fillRect(0, 0, 512, 512, colour); });
    }
    QByteArray press()
    {
        encoder.PrepareEngraveImage();
        return rig.machine.picture().EngraveBuffer();
    }
};

// The long way, through the bitmap file: capture, 1-bit, upside down, the
// file's pixel array inverted.
QByteArray bitmapRoute(const image::DrawingBoard& board)
{
    image::BitmapImage captured;
    if (!captured.LoadFromBmp(board.CaptureBoard()))
        return {};
    const image::BitmapImage mirrored = captured.ConvertToDepth(1).Mirror(false, true);
    QByteArray file = mirrored.SaveToBmp();
    if (file.size() < job::EngraveBufferSize)
        return {};
    QByteArray bits = file.right(job::EngraveBufferSize);
    for (char& b : bits)
        b = char(255 - uchar(b));
    return bits;
}

int countNonZero(const QByteArray& b, int skip = -1)
{
    int n = 0;
    for (int i = 0; i < b.size(); ++i)
        if (i != skip && b[i] != 0)
            ++n;
    return n;
}

} // namespace

TEST_F(EncoderFixture, AnnouncesThePictureBeforeEncodingIt)
{
    fill(Qt::white);
    EXPECT_TRUE(rig.machine.picture().EngraveBuffer().isEmpty());
    press();
    ASSERT_EQ(rig.channel.writes.size(), 1);
    EXPECT_EQ(rig.channel.writes[0], QByteArray::fromHex("FF060000"));
    EXPECT_EQ(rig.take(), (QStringList{"FF 06 00 00", "announced 32768"}));
}

TEST_F(EncoderFixture, PlainBoardsGiveAllClearOrAllSet)
{
    fill(Qt::white);
    EXPECT_EQ(press(), QByteArray(job::EngraveBufferSize, '\0'));
    fill(Qt::black);
    EXPECT_EQ(press(), QByteArray(job::EngraveBufferSize, char(0xFF)));
}

TEST_F(EncoderFixture, SingleDotsLandOnTheirBit)
{
    struct Case {
        int x, y, byte;
        uchar value;
    };
    for (const Case c : {Case{0, 0, 0, 0x80}, Case{511, 511, 32767, 0x01}, Case{8, 1, 65, 0x80},
                         Case{7, 0, 0, 0x01}, Case{511, 0, 63, 0x01}, Case{0, 511, 32704, 0x80}}) {
        fill(Qt::white);
        board.SetBoardPixel(c.x, c.y, image::ColourRef(0, 0, 0));
        const QByteArray b = press();
        ASSERT_EQ(b.size(), job::EngraveBufferSize);
        EXPECT_EQ(uchar(b[c.byte]), c.value) << c.x << "," << c.y;
        EXPECT_EQ(countNonZero(b, c.byte), 0) << c.x << "," << c.y;
    }
}

TEST_F(EncoderFixture, DarkIsNearerToBlackThanToWhite)
{
    struct Case {
        int r, g, b;
        bool dark;
    };
    for (const Case c : {Case{127, 127, 127, true}, Case{128, 128, 128, false}, Case{255, 0, 0, true},
                         Case{255, 255, 0, false}, Case{255, 127, 0, true}, Case{255, 128, 0, false}}) {
        fill(Qt::white);
        board.SetBoardPixel(3, 0, image::ColourRef(c.r, c.g, c.b));
        EXPECT_EQ(uchar(press()[0]), c.dark ? 0x10 : 0x00) << c.r << " " << c.g << " " << c.b;
    }
}

TEST_F(EncoderFixture, EachPressReplacesTheBufferWithTheSameEncoding)
{
    fill(Qt::white);
    board.Paint([](QPainter& p) {
        p.setPen(Qt::black);
        p.drawEllipse(40, 60, 300, 200);
        p.drawText(100, 400, QStringLiteral("Kovra"));
    });
    const QByteArray first = press();
    const QByteArray second = press();
    EXPECT_EQ(first, second);
    EXPECT_EQ(rig.channel.writes.size(), 2); // BeginImage on every press
    // A changed board is encoded from scratch, nothing of the old picture stays.
    fill(Qt::white);
    EXPECT_EQ(press(), QByteArray(job::EngraveBufferSize, '\0'));
}

TEST_F(EncoderFixture, EqualsTheBitmapFileRouteBitForBit)
{
    // Random colours around the dark/light border, plus shapes and a red trace.
    QRandomGenerator random(20240517);
    QImage noise(512, 512, QImage::Format_RGB32);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            const int grey = 100 + int(random.bounded(60));
            noise.setPixel(x, y, qRgb(grey + int(random.bounded(20)) - 10, grey, grey + int(random.bounded(20)) - 10));
        }
    board.DrawPicture(noise, 0, 0);
    board.Paint([](QPainter& p) {
        p.fillRect(0, 0, 512, 40, Qt::white);
        p.fillRect(0, 472, 512, 40, Qt::black);
        p.setPen(Qt::red);
        p.drawLine(0, 0, 511, 511);
    });
    const QByteArray direct = press();
    const QByteArray viaFile = bitmapRoute(board);
    ASSERT_EQ(viaFile.size(), job::EngraveBufferSize);
    EXPECT_GT(countNonZero(direct), 1000);
    EXPECT_EQ(direct, viaFile);
}

TEST(EncodeEngravePicture, SmallerPicturesArePaddedLight)
{
    QImage small(10, 2, QImage::Format_RGB32);
    small.fill(Qt::black);
    const QByteArray b = job::EncodeEngravePicture(small);
    ASSERT_EQ(b.size(), job::EngraveBufferSize);
    EXPECT_EQ(uchar(b[0]), 0xFF);
    EXPECT_EQ(uchar(b[1]), 0xC0);
    EXPECT_EQ(uchar(b[64]), 0xFF);
    EXPECT_EQ(countNonZero(b), 4);
    EXPECT_EQ(job::EncodeEngravePicture(QImage()), QByteArray(job::EngraveBufferSize, '\0'));
}
