#include "image/bitmap_image.h"
#include "image/bmp_writer.h"
#include "image/drawing_board.h"

#include "tests/codec/decoders_fixtures.h"

#include <gtest/gtest.h>

using kovra::image::BitmapImage;
using kovra::image::ColourRef;
using kovra::test::BmpSpec;
using kovra::test::makeBmp;

namespace {

const QString kNotCreated = QStringLiteral("位图尚未创建，没有可用数据");
const QString kUnsupported = QStringLiteral("不被支持的位图数据或无法识别的文件格式");
const QString kBadDepth = QStringLiteral("位深度无效");

// A 24-bit image whose pixel (x, y) is colour(x, y).
BitmapImage image24(int w, int h, const std::function<quint32(int, int)>& colour)
{
    BitmapImage img;
    EXPECT_TRUE(img.Create(w, h, 24));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.SetPixel(x, y, colour(x, y));
    return img;
}

quint32 pixel(const BitmapImage& img, int x, int y) { return img.GetPixel(x, y).value_or(0xFFFFFFFF); }

quint32 distinct(int x, int y) { return ColourRef(x * 40 + 1, y * 50 + 2, (x + y) * 7 + 3); }

} // namespace

TEST(BitmapImage, EveryOperationOnAnEmptyImageFailsWithTheSameText)
{
    BitmapImage empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.GetPixel(0, 0).has_value());
    EXPECT_EQ(empty.lastError(), kNotCreated);
    EXPECT_FALSE(empty.SetPixel(0, 0, 0));
    EXPECT_TRUE(empty.SaveToBmp().isEmpty());
    EXPECT_TRUE(empty.ConvertToDepth(1).isEmpty());
    EXPECT_TRUE(empty.RotateClockwise().isEmpty());
    EXPECT_TRUE(empty.Mirror(false, true).isEmpty());
    EXPECT_TRUE(empty.ToQImage().isNull());
    EXPECT_EQ(empty.lastError(), kNotCreated);

    BitmapImage img = image24(2, 2, distinct);
    img.Destroy();
    EXPECT_FALSE(img.GetPixel(0, 0).has_value());
    EXPECT_EQ(img.lastError(), kNotCreated);
}

TEST(BitmapImage, RefusesAnythingButAnUncompressedBmpAndIsLeftEmpty)
{
    BmpSpec good;
    good.width = 4;
    good.height = 3;
    good.pixel = [](int x, int y) { return quint32(x * 10 + y); };
    const QByteArray valid = makeBmp(good);

    QByteArray notBm = valid;
    notBm[0] = 'X';
    BmpSpec v4 = good;
    v4.headerSize = 108;
    BmpSpec rle = good;
    rle.bpp = 8;
    rle.palette = {qRgb(0, 0, 0)};
    rle.compression = 1;
    rle.rleData = QByteArray::fromHex("0400000000000001");
    BmpSpec badDepth = good;
    badDepth.bpp = 2;
    const QByteArray cases[] = {
        valid.left(53),               // 53 bytes or fewer
        notBm,                        // not "BM"
        makeBmp(v4),                  // a V4 header is not 40 or 12 bytes
        makeBmp(rle),                 // compressed
        makeBmp(badDepth),            // no such depth
        valid.left(valid.size() - 8), // rows cut short
        QByteArray(100, 'B'),
    };
    for (const QByteArray& bytes : cases) {
        BitmapImage img = image24(2, 2, distinct); // earlier content must go
        EXPECT_FALSE(img.LoadFromBmp(bytes));
        EXPECT_TRUE(img.isEmpty());
        EXPECT_EQ(img.lastError(), kUnsupported);
    }

    BitmapImage img;
    ASSERT_TRUE(img.LoadFromBmp(valid));
    EXPECT_EQ(img.width(), 4);
    EXPECT_EQ(img.height(), 3);
    // File value 0xRRGGBB = x * 10 + y sits in the blue byte.
    EXPECT_EQ(pixel(img, 3, 2), ColourRef(0, 0, 32));
}

TEST(BitmapImage, LoadsCoreHeadersTopDownRowsAndTheBoardCapture)
{
    BmpSpec core;
    core.headerSize = 12;
    core.width = 9; // a row of 2 bytes padded to 4
    core.height = 6; // more than 53 bytes in all
    core.bpp = 1;
    core.palette = {qRgb(10, 20, 30), qRgb(200, 150, 100)};
    core.pixel = [](int x, int y) { return quint32((x + y) % 2); };
    BitmapImage img;
    ASSERT_TRUE(img.LoadFromBmp(makeBmp(core)));
    EXPECT_EQ(img.depth(), 1);
    EXPECT_EQ(img.palette(), (QVector<quint32>{ColourRef(10, 20, 30), ColourRef(200, 150, 100)}));
    EXPECT_EQ(pixel(img, 0, 0), ColourRef(10, 20, 30));
    EXPECT_EQ(pixel(img, 8, 0), ColourRef(10, 20, 30));
    EXPECT_EQ(pixel(img, 8, 1), ColourRef(200, 150, 100));
    EXPECT_EQ(pixel(img, 1, 0), ColourRef(200, 150, 100));
    // Widened on save: 40-byte header, 4-byte palette entries.
    const QByteArray saved = img.SaveToBmp();
    EXPECT_EQ(saved.size(), 14 + 40 + 8 + 6 * 4);
    EXPECT_EQ(qFromLittleEndian<quint32>(saved.constData() + 14), 40u);

    BmpSpec topDown;
    topDown.width = 2;
    topDown.height = 3;
    topDown.topDown = true;
    topDown.pixel = [](int, int y) { return quint32(y == 0 ? 0xFF0000 : 0x0000FF); };
    ASSERT_TRUE(img.LoadFromBmp(makeBmp(topDown)));
    EXPECT_EQ(pixel(img, 1, 0), ColourRef(255, 0, 0));
    EXPECT_EQ(pixel(img, 1, 2), ColourRef(0, 0, 255));

    QImage picture(5, 4, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    picture.setPixel(4, 0, qRgb(250, 128, 7));
    ASSERT_TRUE(img.LoadFromBmp(kovra::image::EncodeBmp24(picture)));
    EXPECT_EQ(pixel(img, 4, 0), ColourRef(250, 128, 7));
    EXPECT_EQ(pixel(img, 0, 3), ColourRef(1, 2, 3));
}

TEST(BitmapImage, SaveAndLoadRoundTripKeepsEveryPixelAtEveryDepth)
{
    const BitmapImage source = image24(7, 5, distinct);
    for (int depth : {1, 4, 8, 16, 24, 32}) {
        const BitmapImage converted = source.ConvertToDepth(depth);
        ASSERT_FALSE(converted.isEmpty()) << depth;
        const QByteArray file = converted.SaveToBmp();
        const int stride = ((7 * depth + 31) / 32) * 4;
        const int paletteBytes = depth <= 8 ? (1 << depth) * 4 : 0;
        ASSERT_EQ(file.size(), 54 + paletteBytes + stride * 5) << depth;
        EXPECT_EQ(qFromLittleEndian<qint32>(file.constData() + 22), 5) << "positive height";
        EXPECT_EQ(qFromLittleEndian<quint32>(file.constData() + 10), quint32(54 + paletteBytes));
        BitmapImage reloaded;
        ASSERT_TRUE(reloaded.LoadFromBmp(file)) << depth;
        EXPECT_EQ(reloaded.depth(), depth);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                EXPECT_EQ(pixel(reloaded, x, y), pixel(converted, x, y)) << depth << " " << x << "," << y;
    }
}

TEST(BitmapImage, DepthOneSplitsAtTheMiddleOfTheGreys)
{
    // Sums 381 and 382 are nearer black, 383 and 384 nearer white.
    const quint32 colours[] = {ColourRef(127, 127, 127), ColourRef(127, 127, 128), ColourRef(127, 128, 128),
                               ColourRef(128, 128, 128), ColourRef(255, 0, 0),     ColourRef(255, 255, 0)};
    const quint32 expected[] = {0, 0, 0xFFFFFF, 0xFFFFFF, 0, 0xFFFFFF};
    const BitmapImage source = image24(6, 1, [&](int x, int) { return colours[x]; });
    const BitmapImage mono = source.ConvertToDepth(1);
    ASSERT_EQ(mono.depth(), 1);
    EXPECT_EQ(mono.palette(), (QVector<quint32>{0x000000, 0xFFFFFF}));
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(pixel(mono, x, 0), expected[x]) << x;
    // Black is index 0: the dark pixels are 0 bits.
    EXPECT_EQ(uchar(mono.row(0)[0]), 0x34);
}

TEST(BitmapImage, PaletteDepthsStoreTheNearestStandardColour)
{
    const BitmapImage source = image24(4, 1, [](int x, int) {
        const quint32 c[] = {ColourRef(200, 10, 10), ColourRef(150, 150, 150), ColourRef(170, 170, 170),
                             ColourRef(0, 0, 0)};
        return c[x];
    });
    const BitmapImage four = source.ConvertToDepth(4);
    EXPECT_EQ(four.palette(), kovra::image::StandardColours16());
    EXPECT_EQ(pixel(four, 0, 0), ColourRef(255, 0, 0));
    EXPECT_EQ(pixel(four, 1, 0), ColourRef(128, 128, 128)); // 150 is nearer 128 than 192
    EXPECT_EQ(pixel(four, 2, 0), ColourRef(192, 192, 192)); // 170 is nearer 192

    const BitmapImage eight = source.ConvertToDepth(8);
    ASSERT_EQ(eight.palette().size(), 256);
    EXPECT_EQ(eight.palette().mid(0, 16), kovra::image::StandardColours16());
    EXPECT_EQ(pixel(eight, 3, 0), 0u);

    // Setting a pixel of a palette image takes the nearest entry too.
    BitmapImage mono;
    ASSERT_TRUE(mono.Create(3, 1, 1));
    mono.SetPixel(0, 0, ColourRef(200, 200, 200));
    mono.SetPixel(1, 0, ColourRef(100, 100, 100));
    EXPECT_EQ(pixel(mono, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(pixel(mono, 1, 0), 0u);

    // 16 bits keep five bits per channel; black and white stay exact.
    const BitmapImage sixteen = image24(2, 1, [](int x, int) { return x ? 0xFFFFFFu : ColourRef(8, 16, 27); })
                                    .ConvertToDepth(16);
    EXPECT_EQ(pixel(sixteen, 0, 0), ColourRef(8, 16, 24));
    EXPECT_EQ(pixel(sixteen, 1, 0), 0xFFFFFFu);
}

TEST(BitmapImage, BadDepthsAndCoordinatesFail)
{
    BitmapImage img = image24(3, 3, distinct);
    for (int depth : {0, 2, 12, 64}) {
        EXPECT_TRUE(img.ConvertToDepth(depth).isEmpty());
        EXPECT_EQ(img.lastError(), kBadDepth);
    }
    EXPECT_FALSE(img.Create(3, 3, 2));
    EXPECT_EQ(img.lastError(), kBadDepth);
    EXPECT_FALSE(img.GetPixel(3, 0).has_value());
    EXPECT_FALSE(img.GetPixel(0, -1).has_value());
    EXPECT_FALSE(img.SetPixel(-1, 0, 0));
    EXPECT_EQ(pixel(img, 2, 2), distinct(2, 2)); // the image itself is untouched
}

TEST(BitmapImage, RotateClockwiseMovesXYToHeightMinusOneMinusYX)
{
    for (int depth : {1, 4, 8, 24, 32}) {
        const BitmapImage source = image24(5, 3, [](int x, int y) { return (x + 2 * y) % 3 ? 0u : 0xFFFFFFu; })
                                       .ConvertToDepth(depth);
        const BitmapImage turned = source.RotateClockwise();
        ASSERT_EQ(turned.width(), 3);
        ASSERT_EQ(turned.height(), 5);
        EXPECT_EQ(turned.depth(), depth);
        EXPECT_EQ(turned.palette(), source.palette());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(pixel(turned, 3 - 1 - y, x), pixel(source, x, y)) << depth;
    }
}

TEST(BitmapImage, MirrorFlipsEachAxisOnRequest)
{
    for (int depth : {1, 4, 8, 16, 24}) {
        // 11 wide: the last byte of a 1- or 4-bit row is partly used.
        const BitmapImage source = image24(11, 4, [](int x, int y) { return (x * 3 + y) % 4 == 0 ? 0u : 0xFFFFFFu; })
                                       .ConvertToDepth(depth);
        for (int flags = 0; flags < 4; ++flags) {
            const bool h = flags & 1, v = flags & 2;
            const BitmapImage m = source.Mirror(h, v);
            ASSERT_EQ(m.width(), 11);
            EXPECT_EQ(m.palette(), source.palette());
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 11; ++x)
                    EXPECT_EQ(pixel(m, h ? 10 - x : x, v ? 3 - y : y), pixel(source, x, y)) << depth << " " << flags;
        }
    }
}

TEST(BitmapImage, TheEngravingRouteGivesTopRowFirstDarkBitsSet)
{
    // Board capture -> depth 1 -> vertical mirror -> BMP bytes -> last 32768
    // bytes inverted: the machine's bitmap.
    QImage board(512, 512, QImage::Format_RGB32);
    board.fill(Qt::white);
    board.setPixel(0, 0, qRgb(0, 0, 0));
    board.setPixel(8, 1, qRgb(127, 127, 127));
    board.setPixel(9, 1, qRgb(128, 128, 128));
    board.setPixel(511, 511, qRgb(255, 0, 0));
    BitmapImage captured;
    ASSERT_TRUE(captured.LoadFromBmp(kovra::image::EncodeBmp24(board)));
    const QByteArray file = captured.ConvertToDepth(1).Mirror(false, true).SaveToBmp();
    ASSERT_EQ(file.size(), 62 + 32768);
    QByteArray machine = file.right(32768);
    for (char& c : machine)
        c = char(255 - uchar(c));
    QByteArray expected(32768, '\0');
    expected[0] = char(0x80);
    expected[65] = char(0x80);
    expected[32767] = char(0x01);
    EXPECT_EQ(machine, expected);
}

TEST(BitmapImage, QImageConversionsKeepColours)
{
    QImage picture(3, 2, QImage::Format_ARGB32);
    picture.fill(qRgba(10, 20, 30, 40)); // alpha is ignored
    picture.setPixel(2, 1, qRgb(255, 200, 0));
    const BitmapImage img = BitmapImage::FromQImage(picture);
    EXPECT_EQ(img.depth(), 24);
    EXPECT_EQ(pixel(img, 0, 0), ColourRef(10, 20, 30));
    EXPECT_EQ(pixel(img, 2, 1), ColourRef(255, 200, 0));
    const QImage back = img.ConvertToDepth(4).ToQImage();
    EXPECT_EQ(back.format(), QImage::Format_RGB32);
    EXPECT_EQ(back.pixel(2, 1), qRgb(255, 255, 0)); // nearest standard colour
    EXPECT_EQ(back.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_TRUE(BitmapImage::FromQImage(QImage()).isEmpty());
}
