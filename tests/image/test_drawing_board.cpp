// The drawing board's background, drawing and capture rules.
#include "image/drawing_board.h"

#include <QPainter>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace kovra::image;

namespace {
QImage solid(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

quint32 le32(const QByteArray& b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 le16(const QByteArray& b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }
} // namespace

TEST(DrawingBoard, ClearingRepaintsTheBackgroundAndANewBackgroundDiscardsDrawing)
{
    DrawingBoard board(512, 512);
    QImage prompt = solid(512, 512, Qt::white);
    prompt.setPixel(100, 100, qRgb(0, 0, 0));
    board.SetBackgroundPicture(prompt);
    EXPECT_EQ(board.picture().pixel(100, 100), qRgb(0, 0, 0));

    board.SetBoardPixel(5, 6, ColourRef(255, 0, 0));
    EXPECT_EQ(board.picture().pixel(5, 6), qRgb(255, 0, 0));
    board.ClearBoard();
    EXPECT_EQ(board.picture().pixel(5, 6), qRgb(255, 255, 255)) << "clearing shows the background again";
    EXPECT_EQ(board.picture().pixel(100, 100), qRgb(0, 0, 0));

    board.SetBoardPixel(7, 7, ColourRef(0, 0, 0));
    board.SetBackgroundPicture(solid(600, 600, Qt::white));
    EXPECT_EQ(board.picture().pixel(7, 7), qRgb(255, 255, 255)) << "a new background discards the drawing";
    EXPECT_EQ(board.picture().pixel(100, 100), qRgb(255, 255, 255));
}

TEST(DrawingBoard, BackgroundColourShowsWhereThePictureDoesNotReach)
{
    DrawingBoard board(50, 50);
    board.SetBackgroundColour(QColor(10, 20, 30));
    board.SetBackgroundPicture(solid(20, 20, Qt::white));
    EXPECT_EQ(board.picture().pixel(10, 10), qRgb(255, 255, 255));
    EXPECT_EQ(board.picture().pixel(30, 30), qRgb(10, 20, 30));
}

TEST(DrawingBoard, PixelsOutsideThePictureAreaAreIgnored)
{
    DrawingBoard board(4, 4);
    board.SetBackgroundColour(Qt::white);
    board.ClearBoard();
    const QImage before = board.picture();
    board.SetBoardPixel(-1, 0, 0);
    board.SetBoardPixel(0, 4, 0);
    board.SetBoardPixel(4, 0, 0);
    EXPECT_EQ(board.picture(), before);
}

TEST(DrawingBoard, DrawPictureAtOwnSizeAndStretchedWithAreaAveraging)
{
    DrawingBoard board(20, 20);
    board.SetBackgroundColour(Qt::white);
    board.ClearBoard();
    board.DrawPicture(solid(3, 2, Qt::black), 5, 6);
    EXPECT_EQ(board.picture().pixel(5, 6), qRgb(0, 0, 0));
    EXPECT_EQ(board.picture().pixel(7, 7), qRgb(0, 0, 0));
    EXPECT_EQ(board.picture().pixel(8, 6), qRgb(255, 255, 255));
    EXPECT_EQ(board.picture().pixel(5, 8), qRgb(255, 255, 255));

    // A 2 × 1 checker shrunk to one pixel averages to grey.
    QImage checker(2, 1, QImage::Format_RGB32);
    checker.setPixel(0, 0, qRgb(0, 0, 0));
    checker.setPixel(1, 0, qRgb(255, 255, 255));
    board.DrawPicture(checker, 0, 0, 1, 1);
    const int grey = qRed(board.picture().pixel(0, 0));
    EXPECT_GT(grey, 100);
    EXPECT_LT(grey, 155);

    // A null picture draws nothing.
    const QImage before = board.picture();
    board.DrawPicture(QImage(), 0, 0);
    EXPECT_EQ(board.picture(), before);
}

TEST(DrawingBoard, TransparentPartsOfAPictureShowWhite)
{
    DrawingBoard board(4, 4);
    board.SetBackgroundColour(Qt::black);
    board.ClearBoard();
    QImage clear(4, 4, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    board.DrawPicture(clear, 0, 0);
    EXPECT_EQ(board.picture().pixel(2, 2), qRgb(255, 255, 255));
}

TEST(DrawingBoard, CaptureIsA24BitBmpOfThePictureArea)
{
    DrawingBoard board(512, 512);
    board.SetBackgroundColour(Qt::white);
    board.ClearBoard();
    board.SetBoardPixel(0, 0, ColourRef(1, 2, 3));
    board.SetBoardPixel(511, 511, ColourRef(200, 100, 50));
    const QByteArray bmp = board.CaptureBoard();
    ASSERT_EQ(bmp.size(), 54 + 512 * 512 * 3);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(le32(bmp, 2), quint32(bmp.size()));
    EXPECT_EQ(le32(bmp, 10), 54u);
    EXPECT_EQ(le32(bmp, 14), 40u);
    EXPECT_EQ(qint32(le32(bmp, 18)), 512);
    EXPECT_EQ(qint32(le32(bmp, 22)), 512) << "positive height: bottom row first";
    EXPECT_EQ(le16(bmp, 28), 24);
    // Top-left pixel is in the last row of the file, stored blue, green, red.
    const int topRow = 54 + 511 * 512 * 3;
    EXPECT_EQ(uchar(bmp[topRow]), 3);
    EXPECT_EQ(uchar(bmp[topRow + 1]), 2);
    EXPECT_EQ(uchar(bmp[topRow + 2]), 1);
    const int bottomRight = 54 + 511 * 3;
    EXPECT_EQ(uchar(bmp[bottomRight]), 50);
    EXPECT_EQ(uchar(bmp[bottomRight + 2]), 200);
    // Capturing does not change the board.
    EXPECT_EQ(board.CaptureBoard(), bmp);
}

TEST(DrawingBoard, PointerIsSetAndReadByNumber)
{
    DrawingBoard board(10, 10);
    int reported = -1;
    QObject::connect(&board, &DrawingBoard::pointerChanged, [&](int p) { reported = p; });
    EXPECT_EQ(board.Pointer(), 0);
    // The standard pointers' numbers: crosshair, I-beam, hourglass, hand, default.
    for (int p : {2, 3, 4, 14, 0}) {
        board.SetPointer(p);
        EXPECT_EQ(board.Pointer(), p);
        EXPECT_EQ(reported, p);
    }
}
