#pragma once
// One small valid file of every layout the decoders read: the robustness
// tests cut and damage them, and the fuzz seed maker writes them out.

#include "tests/codec/decoders_codec_writers.h"
#include "tests/codec/decoders_fixtures.h"

#include <QImageWriter>

#include <utility>
#include <vector>

namespace kovra::test {

struct SampleFile {
    const char* name; // also the fuzz target's corpus it seeds: bmp, ico, pcx, jpeg, png, gif
    const char* kind;
    QByteArray bytes;
};

inline QImage sampleNoise(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 7919 + y * 104729) & 0xFF, (x * y * 31) & 0xFF, (x * 5 + y * 3) & 0xFF));
    return img;
}

inline QByteArray sampleProgressiveJpeg(const QImage& img)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setProgressiveScanWrite(true);
    writer.setQuality(80);
    writer.write(img);
    return bytes;
}

inline std::vector<SampleFile> sampleFiles()
{
    std::vector<SampleFile> out;
    const auto rgbAt = [](int x, int y) { return quint32(((x * 40) << 16) | ((y * 30) << 8) | (x ^ y)); };

    BmpSpec bmp8;
    bmp8.width = 17;
    bmp8.height = 9;
    bmp8.bpp = 8;
    for (int i = 0; i < 256; ++i)
        bmp8.palette.append(qRgb(i, 255 - i, (i * 3) & 0xFF));
    bmp8.pixel = [](int x, int y) { return quint32((x * 13 + y * 7) & 0xFF); };
    out.push_back({"bmp", "bmp 8-bit", makeBmp(bmp8)});

    BmpSpec rle = bmp8;
    rle.width = 4;
    rle.height = 3;
    rle.compression = 1;
    rle.rleData = QByteArray::fromHex("04010000000302030100010200000002010002030001");
    out.push_back({"bmp", "bmp RLE8", makeBmp(rle)});

    BmpSpec rle4;
    rle4.width = 5;
    rle4.height = 2;
    rle4.bpp = 4;
    rle4.compression = 2;
    rle4.palette = QVector<QRgb>(16, qRgb(40, 80, 120));
    rle4.rleData = QByteArray::fromHex("0512000000033450" "0001");
    out.push_back({"bmp", "bmp RLE4", makeBmp(rle4)});

    BmpSpec v5;
    v5.headerSize = 124;
    v5.width = 6;
    v5.height = 5;
    v5.bpp = 32;
    v5.compression = 3;
    v5.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    v5.pixel = [](int x, int y) { return quint32(x * 40) << 24 | quint32(y * 50) << 16 | 0x3344u; };
    out.push_back({"bmp", "bmp V5 alpha", makeBmp(v5)});

    BmpSpec b565;
    b565.width = 7;
    b565.height = 3;
    b565.bpp = 16;
    b565.compression = 3;
    b565.masks = {0xF800, 0x07E0, 0x001F};
    b565.pixel = [](int x, int y) { return quint32(x * 3001 + y * 77); };
    out.push_back({"bmp", "bmp 16-bit masks", makeBmp(b565)});

    BmpSpec core;
    core.headerSize = 12;
    core.width = 19;
    core.height = 6;
    core.bpp = 1;
    core.palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    core.pixel = [](int x, int y) { return quint32((x + y) % 3 == 0); };
    out.push_back({"bmp", "bmp core 1-bit", makeBmp(core)});

    BmpSpec b24;
    b24.width = 11;
    b24.height = 7;
    b24.topDown = true;
    b24.pixel = rgbAt;
    out.push_back({"bmp", "bmp 24-bit top-down", makeBmp(b24)});

    out.push_back({"ico", "icon 4-bit with mask",
                   makeIcon({{16, 16, makeIconDib(16, qRgb(9, 99, 199))},
                             {32, 16, makeIconDib(32, qRgb(200, 0, 50), [](int x, int y) { return x > y; })}})});
    BmpSpec ico32;
    ico32.width = ico32.height = 8;
    ico32.bpp = 32;
    ico32.iconDib = true;
    ico32.pixel = [](int x, int y) { return quint32(x * 32) << 24 | quint32(y * 30) << 8 | 0xFF0000u; };
    ico32.trailer = QByteArray(32, '\0');
    out.push_back({"ico", "icon 32-bit alpha", makeIcon({{8, 0, makeBmp(ico32)}})});
    QImage pngIcon = sampleNoise(24, 24).convertToFormat(QImage::Format_ARGB32);
    pngIcon.setPixel(0, 0, 0);
    out.push_back({"ico", "cursor with PNG", makeIcon({{24, 0, encodeWithQt(pngIcon, "PNG")}}, 2)});

    QVector<QRgb> pcxPalette;
    for (int i = 0; i < 256; ++i)
        pcxPalette.append(qRgb(i, (i * 7) & 0xFF, 255 - i));
    out.push_back({"pcx", "pcx 256 colours",
                   makePcx(37, 8, 8, 1, 5, [](int x, int y) { return quint32(x < 20 ? 0xC7 : (x * y) & 0xFF); },
                           pcxPalette)});
    out.push_back({"pcx", "pcx mono", makePcx(21, 5, 1, 1, 3, [](int x, int y) { return quint32((x ^ y) & 1); })});
    out.push_back({"pcx", "pcx true colour", makePcx(9, 4, 8, 3, 5, rgbAt)});

    const QImage noise = sampleNoise(24, 16);
    out.push_back({"png", "png RGB", encodeWithQt(noise, "PNG")});
    QImage alpha = noise.convertToFormat(QImage::Format_ARGB32);
    alpha.setPixel(3, 3, qRgba(1, 2, 3, 100));
    out.push_back({"png", "png RGBA", encodeWithQt(alpha, "PNG")});
    PngSpec interlaced;
    interlaced.width = interlaced.height = 9;
    interlaced.bitDepth = 16;
    interlaced.interlaced = true;
    for (int y = 0; y < 9; ++y)
        interlaced.rows.push_back(QByteArray(9 * 6, char(y * 20)));
    out.push_back({"png", "png 16-bit interlaced", writePng(interlaced)});
    PngSpec indexed;
    indexed.width = 5;
    indexed.height = 3;
    indexed.colourType = PNG_COLOR_TYPE_PALETTE;
    indexed.palette = {qRgb(10, 20, 30), qRgb(99, 99, 99), qRgb(250, 0, 250)};
    indexed.paletteAlpha = {255, 0};
    for (int y = 0; y < 3; ++y)
        indexed.rows.push_back(QByteArray::fromHex("0001020100"));
    out.push_back({"png", "png palette with tRNS", writePng(indexed)});

    out.push_back({"jpeg", "jpeg colour", encodeWithQt(sampleNoise(40, 24), "JPEG", 85)});
    out.push_back({"jpeg", "jpeg grey", encodeWithQt(sampleNoise(16, 16).convertToFormat(QImage::Format_Grayscale8), "JPEG", 90)});
    out.push_back({"jpeg", "jpeg progressive", sampleProgressiveJpeg(sampleNoise(32, 32))});
    std::vector<uchar> cmyk;
    for (int i = 0; i < 24 * 16; ++i)
        cmyk.insert(cmyk.end(), {uchar(i), uchar(i * 3), uchar(255 - i), uchar(200 + i % 50)});
    out.push_back({"jpeg", "jpeg Adobe CMYK", writeCmykJpeg(24, 16, cmyk)});

    QVector<QRgb> gifColours;
    for (int i = 0; i < 16; ++i)
        gifColours.append(qRgb(i * 16, 255 - i * 16, i * 5));
    GifFrame frame;
    frame.left = 2;
    frame.top = 1;
    frame.width = 20;
    frame.height = 12;
    frame.transparent = 5;
    for (int i = 0; i < 240; ++i)
        frame.pixels.push_back(GifPixelType((i * 7 + i / 13) % 16));
    out.push_back({"gif", "gif 89a transparent", writeGif(24, 14, gifColours, {frame})});
    GifFrame interlacedFrame = frame;
    interlacedFrame.left = interlacedFrame.top = 0;
    interlacedFrame.interlaced = true;
    interlacedFrame.transparent = -1;
    out.push_back({"gif", "gif 87a interlaced", writeGif(20, 12, gifColours, {interlacedFrame}, false)});
    return out;
}

} // namespace kovra::test
