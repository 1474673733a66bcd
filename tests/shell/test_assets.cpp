// The carried artwork: file formats and sizes the windows rely on, and the
// content that matters (where the drop hint's text is, where the ruler ticks are).

#include "assets/artwork.h"

#include <QColor>
#include <QSet>
#include <QtEndian>

#include <gtest/gtest.h>

namespace kovra::test {
namespace {

using namespace kovra::assets;

quint32 le32(const QByteArray& b, int pos)
{
    return qFromLittleEndian<quint32>(b.constData() + pos);
}

quint16 le16(const QByteArray& b, int pos)
{
    return qFromLittleEndian<quint16>(b.constData() + pos);
}

QRgb paletteEntry(const QByteArray& bmp, int index)
{
    const int at = 54 + index * 4;
    return qRgb(uchar(bmp[at + 2]), uchar(bmp[at + 1]), uchar(bmp[at]));
}

bool isDark(QRgb c)
{
    return qGray(c) < 128;
}

bool isBlack(const QImage& image, int x, int y)
{
    return image.pixel(x, y) == qRgb(0, 0, 0);
}

// Bounding box of the dark pixels.
QRect darkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isDark(image.pixel(x, y)))
                bounds = bounds.united(QRect(x, y, 1, 1));
    return bounds;
}

// Tick n of the scales sits at the integer part of n * 13.44.
int tickAt(int n)
{
    return n * 1344 / 100;
}

class AssetsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        InitArtwork();
        InitArtwork(); // a second call must do no harm
    }
};

TEST_F(AssetsTest, DropPromptsAreUncompressed16ColourBitmapsOfTheFixedSize)
{
    QSet<QByteArray> distinct;
    for (int language = 0; language < LanguageCount; ++language) {
        SCOPED_TRACE(language);
        const QByteArray bmp = DropPromptBmp(language);
        ASSERT_EQ(bmp.size(), 131190);
        EXPECT_TRUE(bmp.startsWith("BM"));
        EXPECT_EQ(le32(bmp, 2), 131190u);
        EXPECT_EQ(le32(bmp, 10), 14u + 40u + 64u);
        EXPECT_EQ(le32(bmp, 14), 40u);
        EXPECT_EQ(le32(bmp, 18), 512u);
        EXPECT_EQ(le32(bmp, 22), 512u); // positive: bottom row first
        EXPECT_EQ(le16(bmp, 26), 1);
        EXPECT_EQ(le16(bmp, 28), 4);
        EXPECT_EQ(le32(bmp, 30), 0u);
        // The 16 standard colours: black first, white last, grey and silver for the text's edges.
        EXPECT_EQ(paletteEntry(bmp, 0), qRgb(0, 0, 0));
        EXPECT_EQ(paletteEntry(bmp, 7), qRgb(192, 192, 192));
        EXPECT_EQ(paletteEntry(bmp, 8), qRgb(128, 128, 128));
        EXPECT_EQ(paletteEntry(bmp, 9), qRgb(255, 0, 0));
        EXPECT_EQ(paletteEntry(bmp, 15), qRgb(255, 255, 255));
        distinct.insert(bmp);

        const QImage image = DropPrompt(language);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(512, 512));
    }
    EXPECT_EQ(distinct.size(), LanguageCount) << "every language has its own text";
}

TEST_F(AssetsTest, DropPromptsShowOneLineOfBlackTextAcrossTheMiddleOfAWhiteField)
{
    for (int language = 0; language < LanguageCount; ++language) {
        SCOPED_TRACE(language);
        const QImage image = DropPrompt(language);
        ASSERT_FALSE(image.isNull());
        int white = 0;
        int black = 0;
        for (int y = 0; y < 512; ++y) {
            for (int x = 0; x < 512; ++x) {
                const QRgb c = image.pixel(x, y);
                white += c == qRgb(255, 255, 255);
                black += c == qRgb(0, 0, 0);
            }
        }
        EXPECT_GT(white, 512 * 512 * 9 / 10);
        EXPECT_GT(black, 800) << "solid black strokes, not only grey";

        const QRect text = darkBounds(image);
        ASSERT_FALSE(text.isNull());
        EXPECT_GE(text.top(), 195);
        EXPECT_LE(text.bottom(), 285);
        EXPECT_GE(text.left(), 8);
        EXPECT_LE(text.right(), 503);
        EXPECT_NEAR(text.center().x(), 256, 4) << "centred across";
        EXPECT_GT(text.width(), 250) << "one line across the board";
        EXPECT_LT(text.height(), 80) << "a single line";
    }
}

TEST_F(AssetsTest, ChineseDropPromptCoversTheUsualBand)
{
    const QRect text = darkBounds(DropPrompt(Chinese));
    EXPECT_NEAR(text.top(), 215, 12);
    EXPECT_NEAR(text.bottom(), 265, 12);
    EXPECT_NEAR(text.width(), 340, 30);
}

TEST_F(AssetsTest, PlainWhiteBackgroundIsAOneBitAllWhiteBitmap)
{
    const QByteArray bmp = PlainWhiteBackgroundBmp();
    const int rowBytes = 76; // 600 bits padded to 4 bytes
    ASSERT_EQ(bmp.size(), 14 + 40 + 8 + rowBytes * 600);
    EXPECT_TRUE(bmp.startsWith("BM"));
    EXPECT_EQ(le32(bmp, 18), 600u);
    EXPECT_EQ(le32(bmp, 22), 600u);
    EXPECT_EQ(le16(bmp, 28), 1);
    EXPECT_EQ(le32(bmp, 30), 0u);
    EXPECT_EQ(paletteEntry(bmp, 0), qRgb(0, 0, 0));
    EXPECT_EQ(paletteEntry(bmp, 1), qRgb(255, 255, 255));
    const int data = int(le32(bmp, 10));
    ASSERT_EQ(data, 62);
    for (int row = 0; row < 600; ++row)
        for (int i = 0; i < 75; ++i)
            ASSERT_EQ(uchar(bmp[data + row * rowBytes + i]), 0xFF) << "row " << row << " byte " << i;

    const QImage image = PlainWhiteBackground();
    ASSERT_EQ(image.size(), QSize(600, 600));
    EXPECT_EQ(image.depth(), 1);
    for (int y = 0; y < 600; y += 7)
        for (int x = 0; x < 600; x += 3)
            ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255));
}

TEST_F(AssetsTest, HorizontalRulerHasItsBaselineTicksAndDigits)
{
    const QByteArray bmp = HorizontalRulerBmp();
    ASSERT_TRUE(bmp.startsWith("BM"));
    EXPECT_EQ(le16(bmp, 28), 24);
    const QImage ruler = HorizontalRuler();
    ASSERT_EQ(ruler.size(), QSize(620, 12));

    for (int x = 0; x < 620; ++x)
        ASSERT_TRUE(isBlack(ruler, x, 10) && isBlack(ruler, x, 11)) << "baseline at x " << x;
    // 13.44 apart, truncated: 26.88 gives 26, 201.6 gives 201; the last tick is n = 46 at 618.
    for (int n : {0, 1, 2, 4, 5, 15, 25, 46})
        EXPECT_TRUE(isBlack(ruler, tickAt(n), 8)) << "tick " << n;
    EXPECT_EQ(tickAt(2), 26);
    EXPECT_EQ(tickAt(15), 201);
    int ticks = 0;
    for (int x = 0; x < 620; ++x)
        ticks += isBlack(ruler, x, 9);
    EXPECT_EQ(ticks, 47) << "one column per tick, nothing between";

    // Every fifth tick is longer and carries a digit, 0 and 5 in turn: the 0 is
    // hollow in its middle row, the 5 full.
    for (int n = 0; tickAt(n) + 5 < 620; n += 5) {
        const int x = tickAt(n);
        EXPECT_TRUE(isBlack(ruler, x, 5)) << "long tick " << n;
        const bool hollow = !isBlack(ruler, x + 3, 3) && isBlack(ruler, x + 2, 3) && isBlack(ruler, x + 4, 3);
        EXPECT_EQ(hollow, n % 10 == 0) << "digit at tick " << n;
        EXPECT_TRUE(isBlack(ruler, x + 3, 1)) << "digit top at tick " << n;
    }
    EXPECT_FALSE(isBlack(ruler, tickAt(1), 5)) << "short tick";
    EXPECT_FALSE(isBlack(ruler, tickAt(2) + 3, 1)) << "no digit between the fifth ticks";
}

TEST_F(AssetsTest, VerticalRulerHasItsBaselineOnTheRightAndTicksDownward)
{
    const QByteArray bmp = VerticalRulerBmp();
    ASSERT_TRUE(bmp.startsWith("BM"));
    EXPECT_EQ(le16(bmp, 28), 24);
    const QImage ruler = VerticalRuler();
    ASSERT_EQ(ruler.size(), QSize(12, 619));

    for (int y = 0; y < 619; ++y)
        ASSERT_TRUE(isBlack(ruler, 10, y) && isBlack(ruler, 11, y)) << "baseline at y " << y;
    int ticks = 0;
    for (int y = 0; y < 619; ++y)
        ticks += isBlack(ruler, 9, y);
    EXPECT_EQ(ticks, 47);
    for (int n : {0, 3, 10, 25, 46})
        EXPECT_TRUE(isBlack(ruler, 8, tickAt(n))) << "tick " << n;
    for (int n = 0; tickAt(n) + 7 < 619; n += 5) {
        const int y = tickAt(n);
        EXPECT_TRUE(isBlack(ruler, 4, y)) << "long tick " << n;
        const bool hollow = !isBlack(ruler, 2, y + 4) && isBlack(ruler, 1, y + 4) && isBlack(ruler, 3, y + 4);
        EXPECT_EQ(hollow, n % 10 == 0) << "digit at tick " << n;
    }
}

TEST_F(AssetsTest, LogoIsAPngOfTheLabelSize)
{
    const QByteArray png = LogoPng();
    EXPECT_TRUE(png.startsWith("\x89PNG"));
    const QImage logo = Logo();
    ASSERT_EQ(logo.size(), QSize(1336, 473));
    EXPECT_EQ(qAlpha(logo.pixel(0, 0)), 0) << "transparent around the artwork";
    EXPECT_EQ(qAlpha(logo.pixel(250, 236)), 255) << "the emblem";
}

TEST_F(AssetsTest, HelpPicturesDecodeAt500SquareInTheirFormats)
{
    QSet<QByteArray> distinct;
    for (int index = 0; index < HelpPictureCount; ++index) {
        SCOPED_TRACE(index);
        const QByteArray bytes = HelpPictureBytes(index);
        const bool jpeg = index >= 1 && index <= 4;
        if (jpeg)
            EXPECT_TRUE(bytes.startsWith("\xFF\xD8"));
        else
            EXPECT_TRUE(bytes.startsWith("\x89PNG\r\n\x1A\n"));
        EXPECT_EQ(HelpPictureBytes(index), bytes) << "the same bytes every time (the installer check compares them)";
        distinct.insert(bytes);

        const QImage page = HelpPicture(index);
        ASSERT_EQ(page.size(), QSize(500, 500));
        int dark = 0;
        int light = 0;
        for (int y = 0; y < 500; y += 2)
            for (int x = 0; x < 500; x += 2) {
                const int g = qGray(page.pixel(x, y));
                dark += g < 100;
                light += g > 235;
            }
        EXPECT_GT(dark, 500) << "text on the page";
        EXPECT_GT(light, 125 * 250 / 2) << "a light page";
    }
    EXPECT_EQ(distinct.size(), HelpPictureCount);
}

TEST_F(AssetsTest, UnknownIndexesGiveNothing)
{
    EXPECT_TRUE(DropPromptBmp(-1).isEmpty());
    EXPECT_TRUE(DropPromptBmp(LanguageCount).isEmpty());
    EXPECT_TRUE(DropPrompt(LanguageCount).isNull());
    EXPECT_TRUE(HelpPictureBytes(-1).isEmpty());
    EXPECT_TRUE(HelpPictureBytes(HelpPictureCount).isEmpty());
    EXPECT_TRUE(HelpPicture(HelpPictureCount).isNull());
}

} // namespace
} // namespace kovra::test
