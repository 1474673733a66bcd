#pragma once
// PNG and GIF files made with libpng and giflib, for layouts QImage's writer
// does not produce (interlacing, 16 bits, 2-bit grey, palettes with
// transparency, GIF frames on a larger screen).

#include <QByteArray>
#include <QVector>
#include <QtEndian>
#include <QtGui/qrgb.h>

#include <cstdio>
#include <cstdlib>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <vector>

namespace kovra::test {

struct PngSpec {
    int width = 1;
    int height = 1;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    QVector<QRgb> palette;       // for PNG_COLOR_TYPE_PALETTE
    QVector<uchar> paletteAlpha; // tRNS for a palette
    std::vector<QByteArray> rows; // packed rows as libpng expects them
};

inline void appendPngBytes(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<QByteArray*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

inline QByteArray writePng(const PngSpec& s)
{
    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, appendPngBytes, nullptr);
    png_set_IHDR(png, info, png_uint_32(s.width), png_uint_32(s.height), s.bitDepth, s.colourType,
                 s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> colours;
    for (QRgb c : s.palette)
        colours.push_back(png_color{png_byte(qRed(c)), png_byte(qGreen(c)), png_byte(qBlue(c))});
    if (!colours.empty())
        png_set_PLTE(png, info, colours.data(), int(colours.size()));
    std::vector<png_byte> alpha(s.paletteAlpha.begin(), s.paletteAlpha.end());
    if (!alpha.empty())
        png_set_tRNS(png, info, alpha.data(), int(alpha.size()), nullptr);
    png_write_info(png, info);
    std::vector<png_bytep> rowPointers;
    for (const QByteArray& r : s.rows)
        rowPointers.push_back(reinterpret_cast<png_bytep>(const_cast<char*>(r.constData())));
    png_write_image(png, rowPointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A PNG chunk with its length and CRC.
inline QByteArray pngChunk(const char* type, const QByteArray& body)
{
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(body.size()), chunk.data());
    const QByteArray typed = QByteArray(type, 4) + body;
    chunk += typed;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(quint32(crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), uInt(typed.size()))),
                          crc.data());
    return chunk + crc;
}

// Signature and an IHDR of an 8-bit RGB picture of the given size, nothing else.
inline QByteArray pngHeaderOnly(quint32 width, quint32 height)
{
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(width, ihdr.data());
    qToBigEndian<quint32>(height, ihdr.data() + 4);
    ihdr[8] = 8;
    ihdr[9] = 2;
    return QByteArray::fromHex("89504E470D0A1A0A") + pngChunk("IHDR", ihdr);
}

struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
    bool interlaced = false;
    int transparent = -1;
    std::vector<GifPixelType> pixels; // width × height indices, top row first
};

inline int appendGifBytes(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// colours: the global table (rounded up to a power of two); empty for none.
inline QByteArray writeGif(int screenWidth, int screenHeight, const QVector<QRgb>& colours,
                           const std::vector<GifFrame>& frames, bool version89 = true)
{
    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendGifBytes, &error);
    if (!gif)
        return {};
    EGifSetGifVersion(gif, version89);
    ColorMapObject* map = nullptr;
    if (!colours.isEmpty()) {
        int size = 2;
        while (size < colours.size())
            size *= 2;
        std::vector<GifColorType> table(size_t(size), GifColorType{0, 0, 0});
        for (int i = 0; i < colours.size(); ++i)
            table[size_t(i)] = GifColorType{GifByteType(qRed(colours[i])), GifByteType(qGreen(colours[i])),
                                            GifByteType(qBlue(colours[i]))};
        map = GifMakeMapObject(size, table.data());
    }
    EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, map);
    for (const GifFrame& f : frames) {
        if (f.transparent >= 0) {
            GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, f.transparent};
            GifByteType extension[4];
            EGifGCBToExtension(&control, extension);
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension);
        }
        EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced, nullptr);
        std::vector<int> order;
        if (f.interlaced) {
            for (int start : {0, 4, 2, 1}) {
                const int step = start == 0 || start == 4 ? 8 : start == 2 ? 4 : 2;
                for (int y = start; y < f.height; y += step)
                    order.push_back(y);
            }
        } else {
            for (int y = 0; y < f.height; ++y)
                order.push_back(y);
        }
        for (int y : order)
            EGifPutLine(gif, const_cast<GifPixelType*>(f.pixels.data()) + size_t(y) * size_t(f.width), f.width);
    }
    EGifCloseFile(gif, &error);
    if (map)
        GifFreeMapObject(map);
    return out;
}

// A CMYK JPEG with the Adobe marker, values stored inverted as print
// programs write them (255 = no ink). cmyk holds 4 bytes per pixel.
inline QByteArray writeCmykJpeg(int width, int height, const std::vector<uchar>& cmyk)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(cmyk.data() + size_t(cinfo.next_scanline) * size_t(width) * 4);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return out;
}

} // namespace kovra::test
