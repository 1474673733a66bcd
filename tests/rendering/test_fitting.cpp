#include "rendering/fitting.h"

#include <gtest/gtest.h>

#include <QImage>

namespace kovra::test {
namespace {

using rendering::FitPlacement;
using rendering::FitSize;

TEST(Fitting, PlacementFollowsTruncatedDoubleArithmetic)
{
    struct Case {
        int w, h;
        QRect expected;
    };
    const Case cases[] = {
        {490, 490, QRect(0, 0, 490, 490)},   // exactly the square: unscaled
        {491, 491, QRect(0, 0, 490, 490)},   // one pixel too big: scaled
        {100, 1000, QRect(220, 0, 49, 490)}, // tall: centred horizontally
        {489, 1, QRect(0, 244, 489, 1)},     // 245 - 0.5 truncates to 244
        {1000, 500, QRect(0, 122, 490, 245)},
        {300, 200, QRect(95, 145, 300, 200)}, // small pictures are never enlarged
        {1, 1, QRect(244, 244, 1, 1)},
        {491, 490, QRect(0, 0, 490, 489)},   // 490 * 490 / 491 = 489.002 truncates
        {700, 700, QRect(0, 0, 490, 490)},   // square but w == h takes the tall branch
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitPlacement(c.w, c.h), c.expected) << c.w << " x " << c.h;
}

TEST(Fitting, UnreadableSizesPlaceNothing)
{
    EXPECT_TRUE(FitPlacement(0, 0).isEmpty());
    EXPECT_TRUE(FitPlacement(-5, 100).isEmpty());
    // Thinner than one fitted pixel: the truncated height is 0.
    EXPECT_TRUE(FitPlacement(10000, 1).isEmpty());
}

class FitPictureTest : public ::testing::Test {
protected:
    void fit(const QImage& image, int trueWidth, int trueHeight)
    {
        fitted = rendering::FitPicture(image, trueWidth, trueHeight, std::move(fitted));
    }
    QRgb at(int x, int y) const { return fitted.pixel(x, y); }
    QImage fitted;
};

TEST_F(FitPictureTest, WidePictureIsShrunkIntoItsPlacementWithWhiteMargins)
{
    QImage red(1000, 500, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    fit(red, 1000, 500);
    EXPECT_EQ(at(0, 121), qRgb(255, 255, 255));
    EXPECT_EQ(at(0, 122), qRgb(255, 0, 0));
    EXPECT_EQ(at(489, 366), qRgb(255, 0, 0));
    EXPECT_EQ(at(489, 367), qRgb(255, 255, 255));
}

TEST_F(FitPictureTest, ReducedDecodeIsPlacedByTheTrueSize)
{
    // A decoder may hand over a 1/4 scale picture of a 4000 x 2000 original.
    QImage reduced(1000, 500, QImage::Format_RGB32);
    reduced.fill(qRgb(0, 0, 255));
    fit(reduced, 4000, 2000);
    EXPECT_EQ(at(245, 121), qRgb(255, 255, 255));
    EXPECT_EQ(at(245, 122), qRgb(0, 0, 255));
    EXPECT_EQ(at(245, 366), qRgb(0, 0, 255));
    EXPECT_EQ(at(245, 367), qRgb(255, 255, 255));
}

TEST_F(FitPictureTest, SmallPictureIsCopiedPixelForPixel)
{
    QImage checker(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            checker.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    fit(checker, 300, 200);
    EXPECT_EQ(fitted.copy(95, 145, 300, 200), checker);
    EXPECT_EQ(at(94, 145), qRgb(255, 255, 255));
}

TEST_F(FitPictureTest, EachFitStartsFromAWhiteSquareAlsoWhenItReusesOne)
{
    QImage black(490, 490, QImage::Format_RGB32);
    black.fill(Qt::black);
    fit(black, 490, 490);
    const uchar* reused = fitted.constBits();
    fit(QImage(), 0, 0);
    EXPECT_EQ(fitted.constBits(), reused);
    QImage white(FitSize, FitSize, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(fitted, white);
}

} // namespace
} // namespace kovra::test
