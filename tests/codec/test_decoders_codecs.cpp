// PNG, JPEG and GIF through their libraries, and how LoadPicture tells the
// formats apart.
#include "codec/picture_loader.h"

#include "tests/codec/decoders_codec_writers.h"
#include "tests/codec/decoders_fixtures.h"
#include "tests/codec/decoders_samples.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kovra::codec;
using namespace kovra::test;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);

void expectExact(const LoadedPicture& p, int w, int h, const std::function<QRgb(int, int)>& expected,
                 const char* what)
{
    ASSERT_TRUE(p.ok()) << what << ": " << p.error.toStdString();
    EXPECT_EQ(p.image.format(), QImage::Format_RGB32) << what;
    ASSERT_EQ(p.image.size(), QSize(w, h)) << what;
    EXPECT_EQ(QSize(p.width, p.height), QSize(w, h)) << what;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(p.image.pixel(x, y), expected(x, y)) << what << " at " << x << "," << y;
}

void expectFailure(const QByteArray& bytes, const char* reasonPart, const char* what)
{
    const LoadedPicture p = LoadPicture(bytes);
    EXPECT_FALSE(p.ok()) << what;
    EXPECT_EQ(QSize(p.width, p.height), QSize(0, 0)) << what;
    EXPECT_TRUE(p.error.contains(QLatin1String(reasonPart))) << what << ": " << p.error.toStdString();
}

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(uchar(v)));
    return b;
}

QRgb quadrant(int x, int y, int half)
{
    static const QRgb colours[4] = {qRgb(220, 30, 30), qRgb(30, 200, 40), qRgb(20, 40, 210), qRgb(240, 230, 60)};
    return colours[(x >= half) + 2 * (y >= half)];
}

} // namespace

TEST(PngDecoder, ReadsQtWrittenColourAndTransparency)
{
    QImage rgb(6, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            rgb.setPixel(x, y, qRgb(x * 40, y * 60, 255 - x * 10));
    expectExact(LoadPicture(encodeWithQt(rgb, "PNG")), 6, 4, [&](int x, int y) { return rgb.pixel(x, y); }, "RGB");

    QImage argb(3, 1, QImage::Format_ARGB32);
    argb.setPixel(0, 0, qRgba(0, 0, 0, 0));
    argb.setPixel(1, 0, qRgba(0, 0, 0, 128));
    argb.setPixel(2, 0, qRgba(200, 100, 50, 255));
    const QRgb expected[] = {kWhite, qRgb(127, 127, 127), qRgb(200, 100, 50)};
    expectExact(LoadPicture(encodeWithQt(argb, "PNG")), 3, 1, [&](int x, int) { return expected[x]; }, "alpha");
}

TEST(PngDecoder, ReadsInterlacedDeepGreyAndPaletteLayouts)
{
    PngSpec deep; // 16-bit RGB, interlaced: the high bytes count
    deep.width = deep.height = 9;
    deep.bitDepth = 16;
    deep.interlaced = true;
    for (int y = 0; y < 9; ++y) {
        QByteArray row;
        for (int x = 0; x < 9; ++x)
            row += bytesOf({x * 20, 0x55, y * 25, 0xAA, 7, 0});
        deep.rows.push_back(row);
    }
    expectExact(LoadPicture(writePng(deep)), 9, 9, [](int x, int y) { return qRgb(x * 20, y * 25, 7); }, "16-bit");

    PngSpec grey2; // 2-bit grey: 0, 85, 170, 255
    grey2.width = 5;
    grey2.height = 1;
    grey2.colourType = PNG_COLOR_TYPE_GRAY;
    grey2.bitDepth = 2;
    grey2.rows = {bytesOf({0b00011011, 0b11000000})};
    const int levels[] = {0, 85, 170, 255, 255};
    expectExact(LoadPicture(writePng(grey2)), 5, 1, [&](int x, int) { return qRgb(levels[x], levels[x], levels[x]); },
                "2-bit grey");

    PngSpec indexed; // palette with a transparent entry
    indexed.width = 3;
    indexed.height = 2;
    indexed.colourType = PNG_COLOR_TYPE_PALETTE;
    indexed.palette = {qRgb(10, 20, 30), qRgb(99, 99, 99), qRgb(250, 0, 250)};
    indexed.paletteAlpha = {255, 0};
    indexed.rows = {bytesOf({0, 1, 2}), bytesOf({2, 1, 0})};
    const QRgb row0[] = {qRgb(10, 20, 30), kWhite, qRgb(250, 0, 250)};
    expectExact(LoadPicture(writePng(indexed)), 3, 2, [&](int x, int y) { return row0[y ? 2 - x : x]; }, "palette");

    PngSpec greyAlpha;
    greyAlpha.width = 2;
    greyAlpha.height = 1;
    greyAlpha.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.rows = {bytesOf({40, 255, 0, 0})};
    expectExact(LoadPicture(writePng(greyAlpha)), 2, 1, [](int x, int) { return x ? kWhite : qRgb(40, 40, 40); },
                "grey and alpha");
}

TEST(PngDecoder, RefusesTruncatedCorruptedAndOversizedFiles)
{
    QImage noise(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            noise.setPixel(x, y, qRgb((x * 7919 + y * 104729) & 0xFF, (x * y * 31) & 0xFF, (x + y * 3) & 0xFF));
    const QByteArray good = encodeWithQt(noise, "PNG");
    expectFailure(good.left(good.size() / 2), "truncated PNG data", "cut in half");
    QByteArray badCrc = good;
    badCrc[29] = char(badCrc[29] ^ 0x01); // a byte of the IHDR checksum
    expectFailure(badCrc, "corrupted PNG data", "IHDR checksum");
    expectFailure(pngHeaderOnly(30000, 30000), "picture too large (30000 x 30000 pixels, limit 20000 x 20000)",
                  "huge");
    expectFailure(pngHeaderOnly(20000, 20000) + pngChunk("IEND", {}), "truncated PNG data (20000 x 20000 pixels",
                  "size the data cannot fill");
    expectFailure(pngHeaderOnly(4, 4) + pngChunk("IEND", {}), "PNG data", "no image data");
}

TEST(JpegDecoder, ReadsColourAndGreyWithinTolerance)
{
    QImage picture(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            picture.setPixel(x, y, quadrant(x, y, 16));
    const LoadedPicture p = LoadPicture(encodeWithQt(picture, "JPEG", 100));
    ASSERT_TRUE(p.ok()) << p.error.toStdString();
    ASSERT_EQ(p.image.size(), QSize(32, 32));
    EXPECT_EQ(p.image.format(), QImage::Format_RGB32);
    // Away from the quadrant edges, where colour is smoothed across.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (x % 16 < 2 || x % 16 > 13 || y % 16 < 2 || y % 16 > 13)
                continue;
            const QRgb got = p.image.pixel(x, y), want = quadrant(x, y, 16);
            ASSERT_LE(qAbs(qRed(got) - qRed(want)) + qAbs(qGreen(got) - qGreen(want)) + qAbs(qBlue(got) - qBlue(want)), 12)
                << x << "," << y;
        }

    QImage grey(16, 8, QImage::Format_Grayscale8);
    grey.fill(0);
    for (int y = 0; y < 8; ++y)
        for (int x = 8; x < 16; ++x)
            grey.setPixel(x, y, qRgb(200, 200, 200));
    const LoadedPicture g = LoadPicture(encodeWithQt(grey, "JPEG", 100));
    ASSERT_TRUE(g.ok()) << g.error.toStdString();
    EXPECT_LE(qAbs(qRed(g.image.pixel(2, 2)) - 0), 3);
    EXPECT_LE(qAbs(qGreen(g.image.pixel(12, 5)) - 200), 3);
    EXPECT_EQ(qRed(g.image.pixel(12, 5)), qBlue(g.image.pixel(12, 5)));
}

TEST(JpegDecoder, ReadsAdobeCmyk)
{
    // Left half red (no cyan, full magenta and yellow), right half white.
    std::vector<uchar> cmyk;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            cmyk.insert(cmyk.end(), {255, uchar(x < 8 ? 0 : 255), uchar(x < 8 ? 0 : 255), 255});
    const LoadedPicture p = LoadPicture(writeCmykJpeg(16, 16, cmyk));
    ASSERT_TRUE(p.ok()) << p.error.toStdString();
    EXPECT_EQ(p.image.format(), QImage::Format_RGB32);
    const QRgb red = p.image.pixel(2, 8), white = p.image.pixel(13, 8);
    EXPECT_GE(qRed(red), 250);
    EXPECT_LE(qGreen(red), 5);
    EXPECT_LE(qBlue(red), 5);
    EXPECT_GE(qMin(qRed(white), qMin(qGreen(white), qBlue(white))), 250);
}

TEST(JpegDecoder, DecodesLargePicturesAtTheSmallestScaleThatCoversTheFit)
{
    QImage big(2000, 1000, QImage::Format_RGB32);
    big.fill(qRgb(30, 60, 90));
    const QByteArray bytes = encodeWithQt(big, "JPEG", 90);

    const LoadedPicture fitted = LoadPicture(bytes, QSize(490, 490));
    ASSERT_TRUE(fitted.ok()) << fitted.error.toStdString();
    EXPECT_EQ(QSize(fitted.width, fitted.height), QSize(2000, 1000)) << "the true size";
    // Fitted 490 × 245: a quarter scale (500 × 250) covers it, an eighth does not.
    EXPECT_EQ(fitted.image.size(), QSize(500, 250));
    EXPECT_LE(qAbs(qBlue(fitted.image.pixel(250, 125)) - 90), 4);

    EXPECT_EQ(LoadPicture(bytes).image.size(), QSize(2000, 1000));
    EXPECT_EQ(LoadPicture(bytes, QSize(4000, 4000)).image.size(), QSize(2000, 1000)) << "never enlarged";
    const LoadedPicture tall = LoadPicture(bytes, QSize(1500, 100));
    EXPECT_GE(tall.image.width(), 200);
    EXPECT_GE(tall.image.height(), 100);
}

TEST(JpegDecoder, RefusesTruncatedAndCorruptedFiles)
{
    QImage noise(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            noise.setPixel(x, y, qRgb((x * 7919 + y * 104729) & 0xFF, (x * y * 31) & 0xFF, (x * 5 + y * 3) & 0xFF));
    const QByteArray good = encodeWithQt(noise, "JPEG", 95);
    ASSERT_TRUE(LoadPicture(good).ok());
    expectFailure(good.left(good.size() * 6 / 10), "truncated JPEG data", "cut at 60 %");
    expectFailure(good.left(good.size() - 40), "truncated JPEG data", "cut in the last rows");
    // Only the end marker missing: every pixel is there.
    const LoadedPicture noEnd = LoadPicture(good.left(good.size() - 2));
    ASSERT_TRUE(noEnd.ok()) << noEnd.error.toStdString();
    EXPECT_EQ(noEnd.image, LoadPicture(good).image);
    expectFailure(good.left(40), "truncated JPEG data", "cut in the header");
    expectFailure(bytesOf({0xFF, 0xD8, 0xFF, 0x01, 0x00, 0x00, 0x12, 0x34, 0x56}), "JPEG data", "garbage after SOI");
    // The frame header's height field set to zero.
    QByteArray noHeight = good;
    const qsizetype sof = noHeight.indexOf(QByteArray::fromHex("FFC0"));
    ASSERT_GT(sof, 0);
    noHeight[sof + 5] = 0;
    noHeight[sof + 6] = 0;
    EXPECT_FALSE(LoadPicture(noHeight).ok());
}

// A JPEG file is read a piece at a time, its bytes never all at once: it
// decodes exactly as the same bytes in memory do, whole or cut anywhere,
// with or without its end marker, at any scale.
TEST(JpegDecoder, AFileDecodesExactlyAsItsBytes)
{
    QImage noise(1500, 700, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb((x * 7919 + y * 104729) & 0xFF, (x * y * 31) & 0xFF, (x * 5 + y * 3) & 0xFF));
    const QByteArray good = encodeWithQt(noise, "JPEG", 95);
    ASSERT_GT(good.size(), 3 * 64 * 1024) << "several pieces";
    const QByteArray progressive = sampleProgressiveJpeg(noise);
    std::vector<uchar> cmyk(size_t(40) * 30 * 4);
    for (size_t i = 0; i < cmyk.size(); ++i)
        cmyk[i] = uchar(i * 37);
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"whole", good},
        {"progressive", progressive},
        {"progressive cut", progressive.left(progressive.size() * 7 / 10)},
        {"without its end marker", good.left(good.size() - 2)},
        {"cut at a piece's end", good.left(2 * 64 * 1024)},
        {"cut in the last rows", good.left(good.size() - 40)},
        {"cut in the header", good.left(40)},
        {"followed by other bytes", good + QByteArray(5000, 'x')},
        {"garbage after the start", bytesOf({0xFF, 0xD8, 0xFF, 0x01, 0x00, 0x00, 0x12, 0x34, 0x56})},
        {"CMYK", writeCmykJpeg(40, 30, cmyk)},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.what) + QStringLiteral(".jpg"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.bytes) == c.bytes.size());
        file.close();
        for (const QSize fit : {QSize(), QSize(490, 490)}) {
            const LoadedPicture fromFile = LoadPicture(path, fit);
            const LoadedPicture fromBytes = LoadPicture(c.bytes, fit);
            EXPECT_EQ(fromFile.error, fromBytes.error) << c.what;
            EXPECT_EQ(QSize(fromFile.width, fromFile.height), QSize(fromBytes.width, fromBytes.height)) << c.what;
            EXPECT_TRUE(fromFile.image == fromBytes.image) << c.what << " at " << fit.width();
        }
    }
}

TEST(GifDecoder, ReadsTheFirstFrameOnItsScreenWithItsTransparentColour)
{
    const QVector<QRgb> colours = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(9, 9, 9)};
    GifFrame first;
    first.left = 1;
    first.top = 1;
    first.width = 3;
    first.height = 2;
    first.transparent = 3;
    first.pixels = {0, 1, 2, 3, 3, 0};
    GifFrame second; // must not show
    second.width = 5;
    second.height = 4;
    second.pixels = std::vector<GifPixelType>(20, 2);
    const QRgb frameColours[2][3] = {{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)},
                                     {kWhite, kWhite, qRgb(255, 0, 0)}};
    const auto expected = [&](int x, int y) {
        if (x < 1 || y < 1 || x > 3 || y > 2)
            return kWhite; // screen the frame does not cover
        return frameColours[y - 1][x - 1];
    };
    for (bool v89 : {true, false}) {
        const QByteArray file = writeGif(5, 4, colours, {first, second}, v89);
        ASSERT_EQ(file.left(6), v89 ? QByteArray("GIF89a") : QByteArray("GIF87a"));
        expectExact(LoadPicture(file), 5, 4, expected, v89 ? "GIF89a" : "GIF87a");
    }

    GifFrame interlaced;
    interlaced.width = 2;
    interlaced.height = 11;
    interlaced.interlaced = true;
    for (int y = 0; y < 11; ++y)
        interlaced.pixels.insert(interlaced.pixels.end(), {GifPixelType(y % 3), GifPixelType((y + 1) % 3)});
    expectExact(LoadPicture(writeGif(2, 11, colours, {interlaced})), 2, 11,
                [&](int x, int y) { return colours[(y + x) % 3]; }, "interlaced");
}

TEST(GifDecoder, RefusesBrokenFiles)
{
    GifFrame frame;
    frame.width = 40;
    frame.height = 30;
    for (int i = 0; i < 1200; ++i)
        frame.pixels.push_back(GifPixelType((i * 7 + i / 13) % 16));
    QVector<QRgb> colours;
    for (int i = 0; i < 16; ++i)
        colours.append(qRgb(i * 16, 255 - i * 16, i * 5));
    const QByteArray good = writeGif(40, 30, colours, {frame});
    ASSERT_TRUE(LoadPicture(good).ok());
    expectFailure(good.left(good.size() / 2), "truncated GIF data", "cut in half");
    expectFailure(good.left(12), "truncated GIF data", "cut in the screen header");
    expectFailure(writeGif(40, 30, colours, {}), "holds no picture", "no frame");
    QByteArray huge = good;
    qToLittleEndian<quint16>(30000, huge.data() + 6);
    qToLittleEndian<quint16>(30000, huge.data() + 8);
    expectFailure(huge, "picture too large (30000 x 30000 pixels, limit 20000 x 20000)", "huge screen");
}

TEST(PictureFormat, IsChosenByTheLeadingBytesAlone)
{
    const QByteArray pad(12, '\0');
    struct Case {
        QByteArray lead;
        PictureFormat format;
    };
    const Case cases[] = {
        {QByteArray("BM"), PictureFormat::Bmp},
        {bytesOf({0xFF, 0xD8}), PictureFormat::Jpeg},
        {bytesOf({0x89, 0x50, 0x4E, 0x47}), PictureFormat::Png},
        {bytesOf({0, 0, 1, 0, 1, 0}), PictureFormat::Icon},
        {bytesOf({0, 0, 2, 0, 3, 0}), PictureFormat::Cursor},
        {bytesOf({0, 0, 1, 0, 0, 0}), PictureFormat::Unknown}, // no images
        {bytesOf({0, 0, 3, 0, 1, 0}), PictureFormat::Unknown},
        {QByteArray("GIF87a"), PictureFormat::Gif},
        {QByteArray("GIF89a"), PictureFormat::Gif},
        {QByteArray("GIF88a"), PictureFormat::Unknown},
        {bytesOf({0x0A, 5, 1, 8}), PictureFormat::Pcx256},
        {bytesOf({0x0A, 0, 1, 8}), PictureFormat::Pcx256},
        {bytesOf({0x0A, 6, 1, 8}), PictureFormat::Unknown},
        {bytesOf({0x0A, 5, 0, 8}), PictureFormat::Unknown},
        {bytesOf({0x0A, 3, 1, 1}), PictureFormat::PcxMono},
        {bytesOf({0x0A, 5, 1, 1}), PictureFormat::PcxMono},
        {bytesOf({0x0A, 5, 1, 2}), PictureFormat::PcxPalette16},
        {bytesOf({0x0A, 3, 1, 4}), PictureFormat::PcxPalette16},
        {bytesOf({0x0A, 5, 1, 3}), PictureFormat::Unknown},
        {QByteArray("hello, world"), PictureFormat::Unknown},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SniffPictureFormat(c.lead + pad), c.format) << c.lead.toHex().toStdString();
    EXPECT_EQ(SniffPictureFormat(QByteArray("BM12345")), PictureFormat::Unknown) << "shorter than 8 bytes";

    expectFailure(QByteArray("BM1"), "only 3 bytes", "short");
    expectFailure(QByteArray("just some text\n"), "unknown leading bytes", "text");
    expectFailure(QByteArray("BMxxxxxxxxxxxxxxxxxxxxxx"), "BMP", "BM then rubbish");
}

TEST(PictureFormat, FileNamesDoNotMatterAndUnreadableFilesSayWhy)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(1, 200, 3));
    const LoadedPicture png = LoadPicture(write(QStringLiteral("photo.jpg"), encodeWithQt(picture, "PNG")));
    expectExact(png, 3, 2, [](int, int) { return qRgb(1, 200, 3); }, "PNG named .jpg");

    const LoadedPicture text = LoadPicture(write(QStringLiteral("notes.bmp"), "This is not a picture at all.\n"));
    EXPECT_FALSE(text.ok());
    EXPECT_EQ(QSize(text.width, text.height), QSize(0, 0));
    EXPECT_TRUE(text.error.contains(QLatin1String("unknown leading bytes"))) << text.error.toStdString();

    const LoadedPicture missing = LoadPicture(dir.filePath(QStringLiteral("gone.png")));
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error.contains(QLatin1String("cannot open"))) << missing.error.toStdString();
    EXPECT_TRUE(missing.error.contains(QLatin1String("gone.png")));
    EXPECT_TRUE(LoadPicture(dir.path()).error.contains(QLatin1String("folder")));
    const QString pngPath = dir.filePath(QStringLiteral("photo.jpg"));
    const LoadedPicture several = LoadPicture(pngPath + QStringLiteral("\r\n") + pngPath + QStringLiteral("\r\n"));
    EXPECT_FALSE(several.ok());
    EXPECT_TRUE(several.error.contains(QLatin1String("several files"))) << several.error.toStdString();
    EXPECT_FALSE(LoadPicture(QString()).ok());
    EXPECT_FALSE(LoadPicture(QString()).error.isEmpty());
}

TEST(PictureFormat, FittedSizeTruncatesLikeTheFitting)
{
    const QSize box(490, 490);
    EXPECT_EQ(FittedPictureSize(1000, 500, box), QSize(490, 245));
    EXPECT_EQ(FittedPictureSize(100, 1000, box), QSize(49, 490));
    EXPECT_EQ(FittedPictureSize(491, 491, box), QSize(490, 490));
    EXPECT_EQ(FittedPictureSize(489, 1, box), QSize(489, 1));
    EXPECT_EQ(FittedPictureSize(490, 490, box), QSize(490, 490));
    EXPECT_EQ(FittedPictureSize(3000, 7, box), QSize(490, 1));
    EXPECT_EQ(FittedPictureSize(800, 600, QSize()), QSize(800, 600));
}
