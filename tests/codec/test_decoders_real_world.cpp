// Files as other programs write them: layouts our first decoders refused,
// sizes the data cannot back, photos that say how they stand, and PNG rows
// shrunk as they are decoded.
#include "codec/picture_loader.h"

#include "tests/codec/decoders_codec_writers.h"
#include "tests/codec/decoders_fixtures.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kovra::codec;
using namespace kovra::test;

namespace {

// The square the program fits pictures into.
const QSize kFitBox(490, 490);

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

void expectPicture(const QByteArray& bytes, int w, int h, const std::function<QRgb(int, int)>& expected,
                   const std::string& what)
{
    const LoadedPicture p = LoadPicture(bytes);
    ASSERT_TRUE(p.ok()) << what << ": " << p.error.toStdString();
    ASSERT_EQ(p.image.size(), QSize(w, h)) << what;
    EXPECT_EQ(QSize(p.width, p.height), QSize(w, h)) << what;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ASSERT_EQ(p.image.pixel(x, y), expected(x, y)) << what << " at " << x << "," << y;
}

void expectReason(const QByteArray& bytes, const char* reasonPart, const std::string& what)
{
    const LoadedPicture p = LoadPicture(bytes);
    EXPECT_FALSE(p.ok()) << what;
    EXPECT_TRUE(p.error.contains(QLatin1String(reasonPart))) << what << ": " << p.error.toStdString();
}

// The OS/2 2.x header of 16 bytes (no compression, no colour count) in front of rows.
QByteArray os2ShortHeaderBmp(const BmpSpec& s)
{
    const QByteArray rows = bmpRows(s);
    ByteWriter w;
    w.u8('B').u8('M').u32(quint32(14 + 16 + rows.size())).u32(0).u32(14 + 16);
    w.u32(16).i32(s.width).i32(s.height).u16(1).u16(s.bpp);
    return w.data() + rows;
}

// A 40-byte header file widened to the 64-byte OS/2 2.x header.
QByteArray os2LongHeaderBmp(const BmpSpec& s)
{
    QByteArray bytes = makeBmp(s);
    bytes.insert(14 + 40, QByteArray(24, '\0'));
    qToLittleEndian<quint32>(64, bytes.data() + 14);
    qToLittleEndian<quint32>(qFromLittleEndian<quint32>(bytes.constData() + 10) + 24, bytes.data() + 10);
    return bytes;
}

// An EXIF block (TIFF header, one IFD) holding just the orientation.
QByteArray exifBlock(int orientation, bool bigEndian)
{
    QByteArray t;
    const auto u16 = [&](int v) {
        t.append(char(bigEndian ? v >> 8 : v & 0xFF));
        t.append(char(bigEndian ? v & 0xFF : v >> 8));
    };
    const auto u32 = [&](quint32 v) {
        if (bigEndian) {
            u16(int(v >> 16));
            u16(int(v & 0xFFFF));
        } else {
            u16(int(v & 0xFFFF));
            u16(int(v >> 16));
        }
    };
    t.append(bigEndian ? "MM" : "II");
    u16(42);
    u32(8);
    u16(2);
    u16(0x010F); // the maker's name first, as cameras write it
    u16(2);
    u32(4);
    t.append("Kov", 4);
    u16(0x0112);
    u16(3);
    u32(1);
    u16(orientation);
    u16(0);
    u32(0);
    return t;
}

QByteArray withJpegExif(const QByteArray& jpeg, int orientation, bool bigEndian)
{
    const QByteArray body = QByteArray("Exif\0\0", 6) + exifBlock(orientation, bigEndian);
    QByteArray app1 = QByteArray::fromHex("FFE1");
    app1.append(char((body.size() + 2) >> 8)).append(char((body.size() + 2) & 0xFF));
    return jpeg.left(2) + app1 + body + jpeg.mid(2);
}

QByteArray withPngExif(const QByteArray& png, int orientation)
{
    return png.left(33) + pngChunk("eXIf", exifBlock(orientation, orientation % 2 == 0)) + png.mid(33);
}

int distance(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
}

} // namespace

TEST(RealWorldFiles, PcxOfEveryVersionAndTheFourAndSixteenColourLayouts)
{
    const auto bit = [](int x, int y) { return quint32((x + y) % 3 == 0); };
    expectPicture(makePcx(10, 4, 1, 1, 5, bit), 10, 4, [&](int x, int y) { return bit(x, y) ? kWhite : kBlack; },
                  "version 5 monochrome");

    const QVector<QRgb> palette = rainbowPalette(16);
    struct Case {
        const char* what;
        int bpp, planes, version, colours;
    };
    const Case cases[] = {
        {"EGA, 4 planes", 1, 4, 5, 16}, {"8 colours in 3 planes", 1, 3, 5, 8}, {"CGA, 2 bits", 2, 1, 5, 4},
        {"4 bits in one plane", 4, 1, 2, 16},
    };
    for (const Case& c : cases) {
        const auto index = [&c](int x, int y) { return quint32((x * 5 + y * 3) % c.colours); };
        expectPicture(makePcx(13, 3, c.bpp, c.planes, c.version, index, palette), 13, 3,
                      [&](int x, int y) { return palette[int(index(x, y))]; }, c.what);
    }
    // Version 3 carries no palette: the standard 16 colours stand in.
    const auto some = [](int x, int) { return quint32(x == 0 ? 0 : x == 1 ? 1 : 15); };
    const QRgb standard[] = {kBlack, qRgb(0, 0, 170), kWhite};
    expectPicture(makePcx(3, 1, 1, 4, 3, some, palette), 3, 1, [&](int x, int) { return standard[x]; },
                  "version 3 EGA");
}

TEST(RealWorldFiles, BmpPalettesEndWhereTheRowsBeginAndOddCodingsSayWhatTheyAre)
{
    BmpSpec os2;
    os2.headerSize = 12;
    os2.width = 9;
    os2.height = 3;
    os2.bpp = 8;
    os2.palette = rainbowPalette(16);
    os2.pixel = [](int x, int y) { return quint32((x + 4 * y) % 16); };
    expectPicture(makeBmp(os2), 9, 3, [](int x, int y) { return rainbow((x + 4 * y) % 16); },
                  "OS/2 core header, 16 of 256 colours");

    BmpSpec windows = os2; // the same with a 40-byte header and no colour count
    windows.headerSize = 40;
    expectPicture(makeBmp(windows), 9, 3, [](int x, int y) { return rainbow((x + 4 * y) % 16); },
                  "40-byte header, 16 of 256 colours");

    BmpSpec rgb;
    rgb.width = 5;
    rgb.height = 2;
    rgb.pixel = [](int x, int y) { return quint32(rainbow(x + 5 * y) & 0xFFFFFF); };
    expectPicture(os2ShortHeaderBmp(rgb), 5, 2, [](int x, int y) { return rainbow(x + 5 * y); },
                  "OS/2 2.x, 16-byte header");
    expectPicture(os2LongHeaderBmp(rgb), 5, 2, [](int x, int y) { return rainbow(x + 5 * y); },
                  "OS/2 2.x, 64-byte header");

    BmpSpec jpeg = rgb, png = rgb, huffman = rgb;
    jpeg.bpp = png.bpp = 0;
    jpeg.compression = 4;
    png.compression = 5;
    huffman.bpp = 1;
    huffman.palette = {kBlack, kWhite};
    huffman.compression = 3;
    expectReason(makeBmp(jpeg), "holds a JPEG picture", "JPEG inside");
    expectReason(makeBmp(png), "holds a PNG picture", "PNG inside");
    expectReason(os2LongHeaderBmp(huffman), "OS/2 Huffman", "OS/2 Huffman");
}

TEST(RealWorldFiles, AnIconsDirectorySizeIsAHintNotALaw)
{
    const QRgb colour = qRgb(10, 100, 200);
    QImage png(20, 20, QImage::Format_RGB32);
    png.fill(colour);
    const QByteArray pictures[] = {makeIconDib(32, colour), encodeWithQt(png, "PNG")};
    for (const QByteArray& picture : pictures) {
        for (int type : {1, 2}) {
            QByteArray file = makeIcon({{32, 16, picture}}, type);
            qToLittleEndian<quint32>(20, file.data() + 6 + 8); // less than the picture's own header
            const int side = picture.startsWith("\x89PNG") ? 20 : 32;
            expectPicture(file, side, side, [&](int, int) { return colour; },
                          type == 2 ? "cursor with an understated size" : "icon with an understated size");
        }
    }
}

TEST(RealWorldFiles, SizesTheDataCannotBackAreRefusedBeforeAnyAllocation)
{
    BmpSpec bomb;
    bomb.width = bomb.height = 20000;
    bomb.bpp = 8;
    bomb.compression = 1;
    bomb.palette = {kBlack, kWhite};
    bomb.colourCount = 2;
    bomb.rleData = QByteArray::fromHex("FF01").repeated(150) + QByteArray::fromHex("0001");
    expectReason(makeBmp(bomb), "truncated BMP data (20000 x 20000 pixels cannot come from", "RLE bomb");
    // A small picture may leave every pixel unpainted.
    BmpSpec blank = bomb;
    blank.width = 160;
    blank.height = 120;
    blank.rleData = QByteArray::fromHex("0001");
    expectPicture(makeBmp(blank), 160, 120, [](int, int) { return kWhite; }, "RLE, all unpainted");

    QVector<QRgb> colours = rainbowPalette(4);
    GifFrame frame;
    frame.width = frame.height = 4;
    frame.pixels.assign(16, 1);
    expectReason(writeGif(20000, 20000, colours, {frame}), "truncated GIF data (20000 x 20000 pixels cannot come from",
                 "a tiny frame on a huge screen");

    QImage grey(16, 16, QImage::Format_Grayscale8);
    grey.fill(90);
    QByteArray jpeg = encodeWithQt(grey, "JPEG", 90);
    const qsizetype sof = jpeg.indexOf(QByteArray::fromHex("FFC0"));
    ASSERT_GT(sof, 0);
    qToBigEndian<quint16>(20000, jpeg.data() + sof + 5);
    qToBigEndian<quint16>(20000, jpeg.data() + sof + 7);
    expectReason(jpeg, "truncated JPEG data (20000 x 20000 pixels cannot come from", "JPEG header over nothing");
}

TEST(RealWorldFiles, GifReasonsNameTheFaultAndAMissingColourTableGivesGreys)
{
    GifFrame frame;
    frame.width = 40;
    frame.height = 30;
    for (int i = 0; i < 1200; ++i)
        frame.pixels.push_back(GifPixelType((i * 7 + i / 13) % 16));
    const QByteArray good = writeGif(40, 30, rainbowPalette(16), {frame});
    constexpr int kDescriptor = 13 + 48; // after the header and the 16-entry table
    ASSERT_EQ(good[kDescriptor], ',');

    // The global table flag cleared and its 16 entries taken out: 4-bit codes, 16 greys.
    const QByteArray noTable = good.left(10) + char(uchar(good[10]) & 0x7F) + good.mid(11, 2) + good.mid(kDescriptor);
    expectPicture(noTable, 40, 30, [&](int x, int y) {
        const int i = frame.pixels[size_t(y * 40 + x)] * 17;
        return qRgb(i, i, i);
    }, "no colour table");

    QByteArray badCodeSize = good;
    badCodeSize[kDescriptor + 10] = 12;
    expectReason(badCodeSize, "LZW code size 12", "code size");
    QByteArray zeroWidth = good;
    zeroWidth[kDescriptor + 5] = zeroWidth[kDescriptor + 6] = 0;
    expectReason(zeroWidth, "the frame has no pixels: 0 x 30", "zero width");
    QByteArray badCodes = good;
    for (int i = kDescriptor + 12; i < kDescriptor + 40; ++i)
        badCodes[i] = char(0xFF);
    expectReason(badCodes, "corrupted GIF data", "bad codes");
}

TEST(RealWorldFiles, PhotosStandUprightByTheirExifOrientation)
{
    // Stored 64 × 32: red, green over blue, white. The corners (top left,
    // top right, bottom left, bottom right) as each orientation shows them.
    const QRgb r = qRgb(220, 30, 30), g = qRgb(30, 200, 40), b = qRgb(20, 40, 210), w = qRgb(245, 245, 245);
    QImage stored(64, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            stored.setPixel(x, y, x < 32 ? (y < 16 ? r : b) : (y < 16 ? g : w));
    const QRgb corners[9][4] = {
        {},           {r, g, b, w}, {g, r, w, b}, {w, b, g, r}, {b, w, r, g},
        {r, b, g, w}, {b, r, w, g}, {w, g, b, r}, {g, w, r, b},
    };
    const QByteArray jpeg = encodeWithQt(stored, "JPEG", 95);
    const QByteArray png = encodeWithQt(stored, "PNG");
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const bool turned = orientation >= 5;
        const QSize upright = turned ? QSize(32, 64) : QSize(64, 32);
        struct Variant {
            const char* what;
            QByteArray bytes;
            int tolerance;
        };
        const Variant variants[] = {{"JPEG, little-endian EXIF", withJpegExif(jpeg, orientation, false), 24},
                                    {"JPEG, big-endian EXIF", withJpegExif(jpeg, orientation, true), 24},
                                    {"PNG eXIf", withPngExif(png, orientation), 0}};
        for (const Variant& v : variants) {
            const std::string what = std::string(v.what) + " orientation " + std::to_string(orientation);
            const LoadedPicture p = LoadPicture(v.bytes);
            ASSERT_TRUE(p.ok()) << what << ": " << p.error.toStdString();
            EXPECT_EQ(p.image.size(), upright) << what;
            EXPECT_EQ(QSize(p.width, p.height), upright) << what;
            const QPoint at[4] = {{4, 4}, {upright.width() - 5, 4}, {4, upright.height() - 5},
                                  {upright.width() - 5, upright.height() - 5}};
            for (int c = 0; c < 4; ++c)
                EXPECT_LE(distance(p.image.pixel(at[c]), corners[orientation][c]), v.tolerance) << what << " corner " << c;
        }
    }
    // Reduced decodes stand upright too, and cover the upright fit.
    QImage wide(2000, 1000, QImage::Format_RGB32);
    wide.fill(r);
    const LoadedPicture tall = LoadPicture(withJpegExif(encodeWithQt(wide, "JPEG", 80), 6, false), kFitBox);
    ASSERT_TRUE(tall.ok()) << tall.error.toStdString();
    EXPECT_EQ(QSize(tall.width, tall.height), QSize(1000, 2000));
    EXPECT_EQ(tall.image.size(), QSize(250, 500));
}

TEST(RealWorldFiles, LargePngRowsAreShrunkByWholeFactorsAsTheyArrive)
{
    // Transparency is laid over white before the averages; the last column
    // and row of boxes average what is left of the picture.
    QImage source(2003, 1001, QImage::Format_ARGB32);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(x, y, qRgba((x * 7 + y) & 0xFF, (x ^ y) & 0xFF, (x * y) & 0xFF, (x + y * 3) & 0xFF));
    const QByteArray bytes = encodeWithQt(source, "PNG");
    const QImage flat = FlattenOverWhite(source);
    const LoadedPicture p = LoadPicture(bytes, kFitBox);
    ASSERT_TRUE(p.ok()) << p.error.toStdString();
    EXPECT_EQ(QSize(p.width, p.height), QSize(2003, 1001));
    const int k = 4; // 2003 × 1001 fits 490 × 244: four times 501 × 251 still covers that
    ASSERT_EQ(p.image.size(), QSize(501, 251));
    for (const QPoint& out : {QPoint(0, 0), QPoint(123, 45), QPoint(500, 100), QPoint(250, 250), QPoint(500, 250)}) {
        int sums[3] = {}, n = 0;
        for (int y = out.y() * k; y < qMin(flat.height(), out.y() * k + k); ++y)
            for (int x = out.x() * k; x < qMin(flat.width(), out.x() * k + k); ++x, ++n) {
                sums[0] += qRed(flat.pixel(x, y));
                sums[1] += qGreen(flat.pixel(x, y));
                sums[2] += qBlue(flat.pixel(x, y));
            }
        const QRgb expected = qRgb((sums[0] + n / 2) / n, (sums[1] + n / 2) / n, (sums[2] + n / 2) / n);
        EXPECT_EQ(p.image.pixel(out), expected) << out.x() << "," << out.y();
    }
    // Opaque RGB and grey rows are summed as the file holds them: the same
    // averages as through QImage's words.
    QImage grey(1999, 1003, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            grey.scanLine(y)[x] = uchar((x * 3 + y * 5) ^ (x >> 3));
    const LoadedPicture fromGrey = LoadPicture(encodeWithQt(grey, "PNG"), kFitBox);
    const LoadedPicture fromRgb = LoadPicture(encodeWithQt(grey.convertToFormat(QImage::Format_RGB32), "PNG"), kFitBox);
    const LoadedPicture fromRgba = LoadPicture(encodeWithQt(grey.convertToFormat(QImage::Format_ARGB32), "PNG"), kFitBox);
    ASSERT_TRUE(fromGrey.ok() && fromRgb.ok() && fromRgba.ok());
    EXPECT_EQ(fromGrey.image.size(), QSize(500, 251));
    EXPECT_EQ(fromGrey.image, fromRgba.image);
    EXPECT_EQ(fromRgb.image, fromRgba.image);

    // Read from the file a piece at a time, the same picture.
    QTemporaryDir dir;
    QFile file(dir.filePath("big.png"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    EXPECT_EQ(LoadPicture(file.fileName(), kFitBox).image, p.image);
    EXPECT_EQ(LoadPicture(file.fileName()).image, flat.convertToFormat(QImage::Format_RGB32)) << "full size";
}
