#include "image/bitmap_image.h"
#include "image/drawing_board.h"
#include "picture/board_history.h"
#include "picture/image_edits.h"
#include "tests/picture/picture_rig.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRandomGenerator>

namespace kovra::test {
namespace {

QImage filled(int side, QRgb colour)
{
    QImage img(side, side, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

class ImageEditsTest : public ::testing::Test {
protected:
    ImageEditsTest()
    {
        board.SetBackgroundPicture(plainWhite);
    }

    QRgb at(int x, int y) const { return board.picture().pixel(x, y); }
    void setBlack(int x, int y) { board.SetBoardPixel(x, y, image::ColourRef(0, 0, 0)); }
    bool boardIs(const QImage& expected) const { return board.picture() == expected.convertToFormat(QImage::Format_RGB32); }

    QImage plainWhite = filled(600, kWhite);
    image::DrawingBoard board{512, 512};
    image::BitmapImage working;
    image::BitmapImage scratch;
    picture::PictureEvents events;
    PictureEventLog log{events};
    picture::BoardHistory history{board, working, events};
    picture::ImageEdits edits{board, working, scratch, plainWhite, history, events};
};

TEST_F(ImageEditsTest, RotateMovesPixelsAQuarterTurnClockwise)
{
    setBlack(0, 0);
    edits.RotateBoard();
    EXPECT_EQ(at(511, 0), kBlack);
    EXPECT_EQ(at(0, 0), kWhite);
    edits.RotateBoard();
    EXPECT_EQ(at(511, 511), kBlack);
    EXPECT_EQ(at(511, 0), kWhite);
    // An off-diagonal pixel: (x, y) -> (511 - y, x).
    board.ClearBoard();
    setBlack(100, 30);
    edits.RotateBoard();
    EXPECT_EQ(at(481, 100), kBlack);
    EXPECT_EQ(scratch.width(), 512);
    EXPECT_EQ(scratch.height(), 512);
}

TEST_F(ImageEditsTest, FourRotationsRestoreTheBoardExactly)
{
    QImage noise(512, 512, QImage::Format_RGB32);
    QRandomGenerator rng(7);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            noise.setPixel(x, y, rng.generate() | 0xFF000000u);
    board.DrawPicture(noise, 0, 0);
    for (int i = 0; i < 4; ++i)
        edits.RotateBoard();
    EXPECT_TRUE(boardIs(noise));
}

TEST_F(ImageEditsTest, ZoomOutOfAWhiteBoardStaysWhite)
{
    edits.ZoomOutBoard();
    EXPECT_TRUE(boardIs(filled(512, kWhite)));
}

TEST_F(ImageEditsTest, ZoomOutShrinksTowardTheOffset)
{
    setBlack(0, 0);
    setBlack(511, 511);
    edits.ZoomOutBoard();
    // Area averaging greys a lone dot; it lands next to (10, 10) and (491, 491).
    auto darkNear = [this](int cx, int cy) {
        for (int y = cy - 1; y <= cy + 1; ++y)
            for (int x = cx - 1; x <= cx + 1; ++x)
                if (qGray(at(x, y)) < 255)
                    return true;
        return false;
    };
    EXPECT_TRUE(darkNear(10, 10));
    EXPECT_TRUE(darkNear(491, 491));
    // The strips outside 10..491 show the white background.
    for (int i = 0; i < 512; ++i) {
        for (int edge : {0, 9, 492, 511}) {
            EXPECT_EQ(at(i, edge), kWhite);
            EXPECT_EQ(at(edge, i), kWhite);
        }
    }
}

TEST_F(ImageEditsTest, ClearReplacesTheBackgroundAndSaysSo)
{
    // A board that still shows a drop hint: the hint goes too.
    board.SetBackgroundPicture(filled(512, qRgb(0, 0, 0)));
    setBlack(5, 5);
    edits.ClearPreview();
    EXPECT_TRUE(boardIs(filled(512, kWhite)));
    EXPECT_EQ(log.names, QStringList{"edited Cleared"});
    board.ClearBoard();
    EXPECT_TRUE(boardIs(filled(512, kWhite)));
}

TEST_F(ImageEditsTest, ReloadRestoresTheWorkingImageAfterEdits)
{
    QImage rendering = filled(512, kWhite);
    rendering.setPixel(3, 4, kBlack);
    board.DrawPicture(rendering, 0, 0);
    ASSERT_TRUE(working.LoadFromBmp(board.CaptureBoard()));

    edits.RotateBoard();
    edits.ZoomOutBoard();
    edits.ClearPreview();
    EXPECT_TRUE(boardIs(filled(512, kWhite)));
    edits.ReloadWorkingImage();
    EXPECT_TRUE(boardIs(rendering));
    EXPECT_EQ(log.names, (QStringList{"edited Rotated", "edited ZoomedOut", "edited Cleared", "edited Reloaded"}));
}

TEST_F(ImageEditsTest, ReloadBeforeAnyChoiceShowsTheClearedBackground)
{
    QImage hint = filled(512, kWhite);
    hint.setPixel(200, 250, kBlack);
    board.SetBackgroundPicture(hint);
    setBlack(1, 1);
    edits.ReloadWorkingImage();
    EXPECT_TRUE(boardIs(hint));
    EXPECT_EQ(log.names, QStringList{"edited Reloaded"});
}

TEST_F(ImageEditsTest, TextIsDrawnAtItsCornerAndReportedUnlessThereIsNone)
{
    board.SetTextFont(QFont(QStringLiteral("DejaVu Sans"), 20));
    for (const QString& empty : {QString(), QStringLiteral("\r\n\n")}) {
        edits.PlaceText(empty, 40, 50);
        EXPECT_TRUE(boardIs(filled(512, kWhite)));
    }
    EXPECT_TRUE(log.names.isEmpty());
    edits.PlaceText(QStringLiteral("Kovra\r\nLaser"), 40, 50);
    EXPECT_EQ(log.names, QStringList{"textPlaced 40,50"});
    EXPECT_EQ(log.placedText, QStringLiteral("Kovra\r\nLaser"));
    // Ink below and right of the corner, none above or left of it.
    QRect ink;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            if (at(x, y) != kWhite)
                ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), 40);
    EXPECT_GE(ink.top(), 50);
}

} // namespace
} // namespace kovra::test
