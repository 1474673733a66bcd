#include "image/drawing_board.h"
#include "rendering/black_white.h"
#include "rendering/dither.h"
#include "rendering/fitting.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRandomGenerator>

#include <cmath>
#include <initializer_list>
#include <tuple>

namespace kovra::test {
namespace {

using rendering::FitSize;

QImage uniform(QRgb colour)
{
    QImage img(FitSize, FitSize, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

QImage grey(int level) { return uniform(qRgb(level, level, level)); }

bool isDot(const QImage& dots, int x, int y)
{
    const QRgb p = dots.pixel(x, y);
    if (qAlpha(p) == 0)
        return false;
    EXPECT_EQ(p, qRgb(0, 0, 0)) << "a dot is opaque black at " << x << "," << y;
    return true;
}

int countDots(const QImage& dots)
{
    int n = 0;
    for (int y = 0; y < dots.height(); ++y)
        for (int x = 0; x < dots.width(); ++x)
            n += qAlpha(dots.pixel(x, y)) != 0;
    return n;
}

int countBlack(const QImage& bw)
{
    int n = 0;
    for (int y = 0; y < bw.height(); ++y)
        for (int x = 0; x < bw.width(); ++x)
            n += bw.pixel(x, y) == qRgb(0, 0, 0);
    return n;
}

TEST(ToneEffects, UniformWhiteAndLightGreysGiveNoDots)
{
    for (int level : {255, 240, 230}) {
        EXPECT_EQ(countDots(rendering::RenderDitherDots(grey(level))), 0) << level;
        EXPECT_EQ(countBlack(rendering::RenderBlackWhite(grey(level))), 0) << level;
    }
}

TEST(ToneEffects, UniformBlackDotsEveryPositionFromOneTo489)
{
    const QImage dots = rendering::RenderDitherDots(grey(0));
    ASSERT_EQ(dots.size(), QSize(FitSize, FitSize));
    EXPECT_EQ(countDots(dots), 489 * 489);
    EXPECT_TRUE(isDot(dots, 1, 1));
    EXPECT_TRUE(isDot(dots, 489, 489));
    for (int i = 0; i < FitSize; ++i) {
        EXPECT_FALSE(isDot(dots, i, 0));
        EXPECT_FALSE(isDot(dots, 0, i));
    }
    EXPECT_EQ(countBlack(rendering::RenderBlackWhite(grey(0))), FitSize * FitSize);
}

TEST(ToneEffects, ThresholdIsStrictlyAbove128)
{
    const QImage at128 = rendering::RenderDitherDots(grey(128));
    EXPECT_TRUE(isDot(at128, 1, 1));   // 128 is black
    EXPECT_FALSE(isDot(at128, 2, 1));  // 128 + 48 = 176
    EXPECT_FALSE(isDot(rendering::RenderDitherDots(grey(129)), 1, 1));
}

TEST(ToneEffects, Tone229StaysButTone230CountsAsWhite)
{
    // 229 is white at (1, 1) but its error of -26 spreads and dots follow;
    // 230 counts as 255, whose error is 0, so no dot appears anywhere.
    const QImage at229 = rendering::RenderDitherDots(grey(229));
    EXPECT_FALSE(isDot(at229, 1, 1));
    EXPECT_GT(countDots(at229), 0);
    EXPECT_EQ(countDots(rendering::RenderDitherDots(grey(230))), 0);
}

// A single dark pixel at (1, 1) spreads its error to exactly three
// neighbours with weights 3/8, 3/8 and 1/4. Tone 100 gives +37 (37.5
// truncated) right and below and +25 below right, so a neighbour of tone 91
// becomes 128 (a dot) and one of 92 becomes 129 (white); below right, 103 is
// the last dark tone. White (255) pixels around take the error without a dot;
// for the below-right case the two other neighbours are 218, which the +37
// turns into exactly 255, so they pass on no error of their own.
TEST(ToneEffects, ErrorSpreadsRightBelowAndBelowRightWithTruncation)
{
    struct Case {
        int x, y, blackUpTo;
    };
    for (const Case& c : {Case{2, 1, 91}, Case{1, 2, 91}, Case{2, 2, 103}}) {
        for (int tone : {c.blackUpTo, c.blackUpTo + 1}) {
            QImage fitted = grey(255);
            fitted.setPixel(1, 1, qRgb(100, 100, 100));
            if (c.x == 2 && c.y == 2) {
                fitted.setPixel(2, 1, qRgb(218, 218, 218));
                fitted.setPixel(1, 2, qRgb(218, 218, 218));
            }
            fitted.setPixel(c.x, c.y, qRgb(tone, tone, tone));
            const QImage dots = rendering::RenderDitherDots(fitted);
            EXPECT_TRUE(isDot(dots, 1, 1));
            EXPECT_EQ(isDot(dots, c.x, c.y), tone == c.blackUpTo) << c.x << "," << c.y << " tone " << tone;
            EXPECT_EQ(countDots(dots), tone == c.blackUpTo ? 2 : 1);
        }
    }
}

TEST(ToneEffects, NothingGoesToTheLowerLeft)
{
    // (1, 2) hears only from (1, 1) (white, no error); a dark dot at (2, 1)
    // with error +100 must leave its 128 alone, so it stays a dot.
    QImage fitted = grey(255);
    fitted.setPixel(2, 1, qRgb(100, 100, 100));
    fitted.setPixel(1, 2, qRgb(128, 128, 128));
    const QImage dots = rendering::RenderDitherDots(fitted);
    EXPECT_TRUE(isDot(dots, 2, 1));
    EXPECT_TRUE(isDot(dots, 1, 2));
}

TEST(ToneEffects, WhiteErrorIsNegative)
{
    // Tone 200 stays white with err -55: right neighbour 149 - 20.625 = 128.375 -> 128 (dot), 150 -> 129.
    for (auto [tone, dot] : {std::tuple{149, true}, std::tuple{150, false}}) {
        QImage fitted = grey(255);
        fitted.setPixel(1, 1, qRgb(200, 200, 200));
        fitted.setPixel(2, 1, qRgb(tone, tone, tone));
        const QImage dots = rendering::RenderDitherDots(fitted);
        EXPECT_FALSE(isDot(dots, 1, 1));
        EXPECT_EQ(isDot(dots, 2, 1), dot) << tone;
    }
}

TEST(ToneEffects, ToneIsTheBlueComponentWhileBlackWhiteSumsAllThree)
{
    const QImage red = uniform(qRgb(255, 0, 0));
    EXPECT_EQ(countDots(rendering::RenderDitherDots(red)), 489 * 489);
    EXPECT_EQ(countBlack(rendering::RenderBlackWhite(red)), FitSize * FitSize);

    const QImage blue = uniform(qRgb(0, 0, 255));
    EXPECT_EQ(countDots(rendering::RenderDitherDots(blue)), 0);
    EXPECT_EQ(countBlack(rendering::RenderBlackWhite(blue)), FitSize * FitSize);
}

TEST(ToneEffects, BlackWhiteIsDarkUpToSum382)
{
    QImage fitted = grey(255);
    fitted.setPixel(0, 0, qRgb(127, 127, 128)); // 382
    fitted.setPixel(1, 0, qRgb(127, 128, 128)); // 383
    const QImage bw = rendering::RenderBlackWhite(fitted);
    EXPECT_EQ(bw.size(), fitted.size());
    EXPECT_EQ(bw.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(bw.pixel(1, 0), qRgb(255, 255, 255));
    EXPECT_EQ(countBlack(bw), 1);
}

TEST(ToneEffects, DrawnDotsLeaveOtherBoardPixelsAlone)
{
    image::DrawingBoard board(512, 512);
    board.SetBackgroundColour(QColor(10, 200, 30));
    board.ClearBoard();
    rendering::DrawDitherDots(board, rendering::RenderDitherDots(grey(0)));
    EXPECT_EQ(board.picture().pixel(0, 0), qRgb(10, 200, 30));
    EXPECT_EQ(board.picture().pixel(490, 490), qRgb(10, 200, 30));
    EXPECT_EQ(board.picture().pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(board.picture().pixel(489, 489), qRgb(0, 0, 0));
}

// The diffusion written out literally: a 600 x 600 table of 16-bit values,
// every spread summed in double and truncated toward zero.
QImage literalDitherDots(const QImage& fitted)
{
    static qint16 a[600][600];
    for (auto& row : a)
        for (qint16& v : row)
            v = 0;
    for (int y = 1; y <= 490; ++y)
        for (int x = 1; x <= 490; ++x) {
            const int t = x < 490 && y < 490 ? qBlue(fitted.pixel(x, y)) : 0;
            a[y - 1][x - 1] = qint16(t < 230 ? t : 255);
        }
    QImage dots(490, 490, QImage::Format_ARGB32_Premultiplied);
    dots.fill(Qt::transparent);
    for (int y = 1; y <= 489; ++y)
        for (int x = 1; x <= 489; ++x) {
            const int p = a[y - 1][x - 1];
            int err;
            if (p > 128) {
                err = p - 255;
            } else {
                dots.setPixel(x, y, qRgb(0, 0, 0));
                err = p;
            }
            a[y - 1][x] = qint16(std::trunc(err * 3.0 / 8 + a[y - 1][x]));
            a[y][x - 1] = qint16(std::trunc(err * 3.0 / 8 + a[y][x - 1]));
            a[y][x] = qint16(std::trunc(err / 4.0 + a[y][x]));
        }
    return dots;
}

TEST(ToneEffects, DitherMatchesTheLiteralDiffusionOnNoisyPictures)
{
    QRandomGenerator rng(2024);
    for (int spread : {255, 60, 8}) {
        QImage fitted(FitSize, FitSize, QImage::Format_RGB32);
        for (int y = 0; y < FitSize; ++y)
            for (int x = 0; x < FitSize; ++x) {
                const int base = (x + y) * 255 / (2 * FitSize);
                const int b = qBound(0, base + int(rng.bounded(spread)) - spread / 2, 255);
                fitted.setPixel(x, y, qRgb(int(rng.bounded(256)), int(rng.bounded(256)), b));
            }
        EXPECT_EQ(rendering::RenderDitherDots(fitted), literalDitherDots(fitted)) << "noise spread " << spread;
    }
}

TEST(ToneEffects, DitherMatchesTheLiteralDiffusionAroundWhiteParts)
{
    // White margins above and below, a white band and a white left part:
    // rows of pure white are diffused the short way.
    QRandomGenerator rng(7);
    QImage fitted = grey(255);
    for (int y = 0; y < FitSize; ++y)
        for (int x = 0; x < FitSize; ++x) {
            const bool white = y < 61 || y > 420 || (y > 200 && y < 230) || (y > 300 && x < 200);
            if (!white) {
                const int b = int(rng.bounded(256));
                fitted.setPixel(x, y, qRgb(b, b, b));
            }
        }
    EXPECT_EQ(rendering::RenderDitherDots(fitted), literalDitherDots(fitted));
    // A single dark pixel in the first row read, then white: its error
    // spreads through rows that start white.
    QImage one = grey(255);
    one.setPixel(300, 1, qRgb(0, 0, 0));
    one.setPixel(5, 40, qRgb(120, 120, 120));
    EXPECT_EQ(rendering::RenderDitherDots(one), literalDitherDots(one));
}

} // namespace
} // namespace kovra::test
