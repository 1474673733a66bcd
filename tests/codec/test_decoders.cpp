// The decoders we wrote ourselves: BMP, icon/cursor and PCX, through LoadPicture.
#include "codec/picture_loader.h"

#include "tests/codec/decoders_fixtures.h"

#include <gtest/gtest.h>

using namespace kovra::codec;
using namespace kovra::test;

namespace {

void expectPixels(const LoadedPicture& p, int w, int h, const std::function<QRgb(int, int)>& expected,
                  const char* what)
{
    ASSERT_TRUE(p.ok()) << what << ": " << p.error.toStdString();
    EXPECT_EQ(p.image.format(), QImage::Format_RGB32) << what;
    ASSERT_EQ(p.image.size(), QSize(w, h)) << what;
    EXPECT_EQ(p.width, w) << what;
    EXPECT_EQ(p.height, h) << what;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(p.image.pixel(x, y), expected(x, y)) << what << " at " << x << "," << y;
}

void expectFailure(const QByteArray& bytes, const char* reasonPart, const char* what)
{
    const LoadedPicture p = LoadPicture(bytes);
    EXPECT_FALSE(p.ok()) << what;
    EXPECT_EQ(p.width, 0) << what;
    EXPECT_EQ(p.height, 0) << what;
    EXPECT_TRUE(p.error.contains(QLatin1String(reasonPart))) << what << ": " << p.error.toStdString();
}

const QRgb kWhite = qRgb(255, 255, 255);

} // namespace

TEST(BmpDecoder, ReadsEveryUncompressedDepth)
{
    for (int bpp : {1, 4, 8}) {
        BmpSpec s;
        s.width = 13; // rows with partly used bytes
        s.height = 3;
        s.bpp = bpp;
        s.palette = rainbowPalette(1 << bpp);
        const int n = 1 << bpp;
        s.pixel = [n](int x, int y) { return quint32((x * 7 + y * 3) % n); };
        expectPixels(LoadPicture(makeBmp(s)), 13, 3, [n](int x, int y) { return rainbow((x * 7 + y * 3) % n); },
                     "palette");
    }
    BmpSpec s24;
    s24.width = 5;
    s24.height = 2;
    s24.pixel = [](int x, int y) { return quint32(rainbow(x + 5 * y) & 0xFFFFFF); };
    expectPixels(LoadPicture(makeBmp(s24)), 5, 2, [](int x, int y) { return rainbow(x + 5 * y); }, "24-bit");

    BmpSpec s16 = s24; // 5-5-5 without masks
    s16.bpp = 16;
    s16.pixel = [](int x, int) { return quint32((31 << 10) * (x == 0) | (31 << 5) * (x == 1) | 31 * (x == 2)); };
    const QRgb expected16[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(0, 0, 0), qRgb(0, 0, 0)};
    expectPixels(LoadPicture(makeBmp(s16)), 5, 2, [&](int x, int) { return expected16[x]; }, "16-bit");

    BmpSpec s32 = s24; // 32 bits without masks: the fourth byte is not alpha
    s32.bpp = 32;
    s32.pixel = [](int x, int y) { return quint32(rainbow(x + 5 * y) & 0xFFFFFF); };
    expectPixels(LoadPicture(makeBmp(s32)), 5, 2, [](int x, int y) { return rainbow(x + 5 * y); }, "32-bit");

    BmpSpec core;
    core.headerSize = 12;
    core.width = 3;
    core.height = 2;
    core.bpp = 8;
    core.palette = rainbowPalette(256);
    core.pixel = [](int x, int y) { return quint32(x + 100 * y); };
    expectPixels(LoadPicture(makeBmp(core)), 3, 2, [](int x, int y) { return rainbow(x + 100 * y); }, "core");

    BmpSpec topDown = s24;
    topDown.topDown = true;
    expectPixels(LoadPicture(makeBmp(topDown)), 5, 2, [](int x, int y) { return rainbow(x + 5 * y); }, "top-down");
}

TEST(BmpDecoder, ReadsColourMasksAndAlpha)
{
    BmpSpec rgb565;
    rgb565.width = 3;
    rgb565.height = 1;
    rgb565.bpp = 16;
    rgb565.compression = 3;
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    rgb565.pixel = [](int x, int) { return quint32(x == 0 ? 0xF800 : x == 1 ? 0x07E0 : 0x0400); };
    const QRgb expected565[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 130, 0)};
    expectPixels(LoadPicture(makeBmp(rgb565)), 3, 1, [&](int x, int) { return expected565[x]; }, "565");

    // A V5 header with an alpha mask: transparency lands over white.
    BmpSpec v5;
    v5.headerSize = 124;
    v5.width = 3;
    v5.height = 1;
    v5.bpp = 32;
    v5.compression = 3;
    v5.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    v5.pixel = [](int x, int) { return x == 0 ? 0xFF102030u : x == 1 ? 0x00000000u : 0x80000000u; };
    const QRgb expectedV5[] = {qRgb(0x10, 0x20, 0x30), kWhite, qRgb(127, 127, 127)};
    expectPixels(LoadPicture(makeBmp(v5)), 3, 1, [&](int x, int) { return expectedV5[x]; }, "V5 alpha");

    // All alpha zero means the file has none: shown opaque.
    BmpSpec v4 = v5;
    v4.headerSize = 108;
    v4.pixel = [](int, int) { return 0x00405060u; };
    expectPixels(LoadPicture(makeBmp(v4)), 3, 1, [](int, int) { return qRgb(0x40, 0x50, 0x60); }, "V4 zero alpha");
}

TEST(BmpDecoder, ReadsRunLengthCodingWithSkippedPixelsWhite)
{
    BmpSpec rle8;
    rle8.width = 4;
    rle8.height = 3;
    rle8.bpp = 8;
    rle8.compression = 1;
    rle8.palette = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    rle8.colourCount = 4;
    rle8.rleData = QByteArray::fromHex("0401" "0000"           // bottom row: four of 1
                                       "0003020301000102" "0000" // absolute 2 3 1, then one 2
                                       "00020100" "0203" "0001"); // skip one, two of 3, end
    const QRgb rows8[3][4] = {{kWhite, qRgb(0, 0, 255), qRgb(0, 0, 255), kWhite},
                              {qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 0, 0), qRgb(0, 255, 0)},
                              {qRgb(255, 0, 0), qRgb(255, 0, 0), qRgb(255, 0, 0), qRgb(255, 0, 0)}};
    expectPixels(LoadPicture(makeBmp(rle8)), 4, 3, [&](int x, int y) { return rows8[y][x]; }, "RLE8");

    BmpSpec rle4;
    rle4.width = 5;
    rle4.height = 2;
    rle4.bpp = 4;
    rle4.compression = 2;
    rle4.palette = rainbowPalette(16);
    rle4.rleData = QByteArray::fromHex("0512" "0000" "00033450" "0001");
    const int rows4[2][5] = {{3, 4, 5, -1, -1}, {1, 2, 1, 2, 1}};
    expectPixels(LoadPicture(makeBmp(rle4)), 5, 2,
                 [&](int x, int y) { return rows4[y][x] < 0 ? kWhite : rainbow(rows4[y][x]); }, "RLE4");

    BmpSpec noEnd = rle8;
    noEnd.rleData = QByteArray::fromHex("04010000");
    expectFailure(makeBmp(noEnd), "truncated BMP data", "RLE without end mark");
    BmpSpec wrongDepth = rle8;
    wrongDepth.bpp = 24;
    expectFailure(makeBmp(wrongDepth), "inconsistent BMP data", "RLE8 at 24 bits");
}

TEST(BmpDecoder, FindsTheRowsWhenTheOffsetIsWrong)
{
    BmpSpec s;
    s.width = 2;
    s.height = 2;
    s.pixel = [](int x, int y) { return quint32(rainbow(x + 2 * y) & 0xFFFFFF); };
    QByteArray bytes = makeBmp(s);
    qToLittleEndian<quint32>(0, bytes.data() + 10);
    expectPixels(LoadPicture(bytes), 2, 2, [](int x, int y) { return rainbow(x + 2 * y); }, "offset 0");

    // A gap between the table and the rows, named by a correct offset.
    QByteArray gapped = bytes.left(54) + QByteArray(10, '\x77') + bytes.mid(54);
    qToLittleEndian<quint32>(64, gapped.data() + 10);
    expectPixels(LoadPicture(gapped), 2, 2, [](int x, int y) { return rainbow(x + 2 * y); }, "offset 64");
}

TEST(BmpDecoder, RefusesBrokenAndHugeFilesWithAReason)
{
    BmpSpec s;
    s.width = 6;
    s.height = 4;
    s.bpp = 8;
    s.palette = rainbowPalette(256);
    const QByteArray good = makeBmp(s);
    expectFailure(good.left(good.size() - 10), "truncated BMP data", "rows cut");
    expectFailure(good.left(14 + 40 + 100), "truncated BMP data (colour table", "table cut");
    expectFailure(good.left(20), "truncated BMP data", "header cut");

    BmpSpec jpegInside = s;
    jpegInside.compression = 4;
    expectFailure(makeBmp(jpegInside), "unsupported BMP compression", "compression 4");
    BmpSpec twoBits = s;
    twoBits.bpp = 2;
    expectFailure(makeBmp(twoBits), "unsupported BMP colour depth", "2 bits");
    QByteArray oddHeader = good;
    qToLittleEndian<quint32>(20, oddHeader.data() + 14);
    expectFailure(oddHeader, "unsupported BMP information header", "20-byte header");

    QByteArray hugeFile = makeBmp(BmpSpec{}).left(54);
    qToLittleEndian<qint32>(30000, hugeFile.data() + 18);
    qToLittleEndian<qint32>(30000, hugeFile.data() + 22);
    expectFailure(hugeFile, "picture too large (30000 x 30000 pixels, limit 20000 x 20000)", "huge");
    qToLittleEndian<qint32>(20001, hugeFile.data() + 18);
    qToLittleEndian<qint32>(1, hugeFile.data() + 22);
    expectFailure(hugeFile, "picture too large (20001 x 1 pixels", "one side too long");
    qToLittleEndian<qint32>(-5, hugeFile.data() + 18);
    expectFailure(hugeFile, "no pixels", "negative width");
}

TEST(PcxDecoder, ReadsPaletteMonochromeAndTrueColourFiles)
{
    QVector<QRgb> palette = rainbowPalette(256);
    // Indices 0xC0 and up must be escaped; long equal runs become runs.
    const auto index = [](int x, int y) { return quint32(x < 40 ? 0xC5 : (x * 3 + y) & 0xFF); };
    const QByteArray p256 = makePcx(70, 3, 8, 1, 5, index, palette);
    expectPixels(LoadPicture(p256), 70, 3, [&](int x, int y) { return palette[int(index(x, y))]; }, "256 colours");

    const auto bit = [](int x, int y) { return quint32((x + y) % 3 == 0); };
    const QByteArray mono = makePcx(10, 4, 1, 1, 3, bit);
    expectPixels(LoadPicture(mono), 10, 4, [&](int x, int y) { return bit(x, y) ? kWhite : qRgb(0, 0, 0); }, "mono");

    const auto colour = [](int x, int y) { return quint32(rainbow(x * 4 + y) & 0xFFFFFF); };
    const QByteArray rgb = makePcx(7, 2, 8, 3, 5, colour);
    expectPixels(LoadPicture(rgb), 7, 2, [&](int x, int y) { return rainbow(x * 4 + y); }, "3 planes");
}

TEST(PcxDecoder, RefusesBrokenFilesWithAReason)
{
    // Bit 4 always set: no coded byte can pass for the palette's 0x0C mark.
    const auto index = [](int x, int y) { return quint32(((x ^ y) | 0x10) & 0xFF); };
    const QByteArray good = makePcx(300, 20, 8, 1, 5, index, rainbowPalette(256));
    expectFailure(good.left(good.size() - 769), "palette", "no palette");
    // Rows cut short, palette kept.
    expectFailure(good.left(128 + 300) + good.right(769), "truncated PCX data (row", "rows cut");
    expectFailure(good.left(100), "truncated PCX data", "header cut");
    expectFailure(makePcx(20, 2, 8, 1, 5, index, rainbowPalette(256), 10), "inconsistent PCX data", "short lines");

    QByteArray huge = good;
    qToLittleEndian<quint16>(19999, huge.data() + 8);
    qToLittleEndian<quint16>(19999, huge.data() + 10);
    qToLittleEndian<quint16>(20000, huge.data() + 66);
    expectFailure(huge, "truncated PCX data (20000 x 20000 pixels from", "size the data cannot fill");
    QByteArray backwards = good;
    qToLittleEndian<quint16>(5, backwards.data() + 4);
    qToLittleEndian<quint16>(3, backwards.data() + 8);
    expectFailure(backwards, "no pixels", "xmax before xmin");
    QByteArray fourPlanes = good;
    fourPlanes[65] = 4;
    expectFailure(fourPlanes, "unsupported PCX layout", "4 planes");
}

TEST(IconDecoder, ChoosesTheFirst32PixelEntryWithSixteenColoursElseTheLast)
{
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255), grey = qRgb(90, 90, 90);
    struct Case {
        QVector<IconEntry> entries;
        QRgb colour;
        int size;
    };
    const Case cases[] = {
        {{{16, 16, makeIconDib(16, red)}, {32, 0, makeIconDib(32, green)}, {32, 16, makeIconDib(32, blue)},
          {48, 16, makeIconDib(48, grey)}},
         blue, 32},
        {{{32, 8, makeIconDib(32, red)}, {16, 16, makeIconDib(16, green)}}, green, 16},
        {{{32, 255, makeIconDib(32, red)}, {32, 16, makeIconDib(32, green)}}, red, 32},
        {{{48, 0, makeIconDib(48, grey)}}, grey, 48},
    };
    for (const Case& c : cases) {
        const QByteArray file = makeIcon(c.entries);
        expectPixels(LoadPicture(file), c.size, c.size, [&](int, int) { return c.colour; }, "icon entry");
        expectPixels(LoadPicture(makeIcon(c.entries, 2)), c.size, c.size, [&](int, int) { return c.colour; },
                     "cursor entry");
    }
}

TEST(IconDecoder, MasksAlphaAndPngPicturesShowOverWhite)
{
    const QRgb colour = qRgb(10, 100, 200);
    const auto corner = [](int x, int y) { return x < 4 && y < 2; };
    expectPixels(LoadPicture(makeIcon({{32, 16, makeIconDib(32, colour, corner)}})), 32, 32,
                 [&](int x, int y) { return corner(x, y) ? kWhite : colour; }, "AND mask");

    BmpSpec alpha;
    alpha.width = alpha.height = 2;
    alpha.bpp = 32;
    alpha.iconDib = true;
    alpha.pixel = [](int x, int) { return x ? 0x80FF0000u : 0xFF00FF00u; };
    alpha.trailer = QByteArray(8, '\xFF'); // ignored: the alpha channel decides
    expectPixels(LoadPicture(makeIcon({{2, 0, makeBmp(alpha)}})), 2, 2,
                 [](int x, int) { return x ? qRgb(255, 127, 127) : qRgb(0, 255, 0); }, "32-bit alpha");

    QImage png(48, 48, QImage::Format_ARGB32);
    png.fill(qRgba(0, 0, 0, 0));
    png.setPixel(5, 6, qRgb(1, 2, 3));
    expectPixels(LoadPicture(makeIcon({{48, 0, encodeWithQt(png, "PNG")}})), 48, 48,
                 [](int x, int y) { return x == 5 && y == 6 ? qRgb(1, 2, 3) : kWhite; }, "PNG inside");
}

TEST(IconDecoder, RefusesBrokenDirectoriesAndPictures)
{
    const QByteArray good = makeIcon({{32, 16, makeIconDib(32, qRgb(1, 2, 3))}});
    expectFailure(good.left(6 + 10), "truncated icon data (the directory", "directory cut");
    QByteArray outside = good;
    qToLittleEndian<quint32>(quint32(good.size() + 5), outside.data() + 6 + 12);
    expectFailure(outside, "outside the file", "offset past the end");
    // The AND mask is 32 rows of 4 bytes; lose some.
    expectFailure(good.left(good.size() - 20), "truncated icon data (the AND mask", "mask cut");
    expectFailure(good.left(good.size() - 600), "truncated BMP data", "colour rows cut");
}
