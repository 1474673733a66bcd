#pragma once
// BitmapImage: the program's in-memory device-independent bitmap. It holds a
// 40-byte information header's worth of fields, a colour table for 1-, 4- and
// 8-bit images and the pixel rows bottom row first, each padded to 4 bytes,
// exactly as they go into a BMP file. Pixel (x, y) counts y from the top.
// Colours are 0x00BBGGRR (red in the low byte), see ColourRef().
//
// Failures are never shown: the operation returns an empty result (false, an
// empty byte array, an empty image, std::nullopt) and stores the reason in
// lastError() of the object it was called on.

#include "image/colour_ref.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QVector>

#include <optional>

namespace kovra::image {

class BitmapImage {
public:
    // Create empty: no pixels.
    BitmapImage() = default;
    BitmapImage(const BitmapImage&) = default;
    BitmapImage& operator=(const BitmapImage&) = default;
    BitmapImage(BitmapImage&&) noexcept = default;
    BitmapImage& operator=(BitmapImage&&) noexcept = default;
    ~BitmapImage() = default;

    // A new image of width × height and depth (1, 4, 8, 16, 24, 32), every pixel
    // 0 (palette entry 0, or black). Palette images get the standard table of
    // their depth (see ConvertToDepth). Fails on a bad depth or size.
    bool Create(int width, int height, int depth);

    // Replaces the content with an uncompressed BMP file: more than 53 bytes,
    // "BM", a 40-byte information header or a 12-byte core header, compression
    // 0. Anything else fails and leaves the object empty.
    bool LoadFromBmp(const QByteArray& bytes);
    // A complete BMP file: 14-byte file header, 40-byte information header
    // (positive height), colour table, pixel rows bottom first. Empty on failure.
    QByteArray SaveToBmp() const;

    std::optional<quint32> GetPixel(int x, int y) const;
    // Palette images store the index of the palette colour nearest to colour.
    bool SetPixel(int x, int y, quint32 colour);

    // A new image of the same size at depth 1, 4, 8, 16, 24 or 32; the same
    // depth copies. 1-bit: palette black, white; 4-bit: the 16 standard
    // colours; 8-bit: 256 colours beginning with the 16 standard colours.
    BitmapImage ConvertToDepth(int depth) const;
    // A new image of height × width; source pixel (x, y) lands at (height - 1 - y, x).
    BitmapImage RotateClockwise() const;
    // A new image of the same size, depth and colour table; source pixel (x, y)
    // lands at (horizontal ? width - 1 - x : x, vertical ? height - 1 - y : y).
    BitmapImage Mirror(bool horizontal, bool vertical) const;

    // Frees the pixels; the object is empty again (the last error stays).
    void Destroy();

    // A 24-bit image of a picture (any QImage format; alpha is ignored).
    static BitmapImage FromQImage(const QImage& picture);
    // The picture as Format_RGB32; a null image when empty.
    QImage ToQImage() const;

    bool isEmpty() const { return m_width == 0; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int depth() const { return m_depth; }
    // Bytes per stored row (a multiple of 4).
    int stride() const { return m_stride; }
    // Palette colours (0x00BBGGRR); empty for 16-, 24- and 32-bit images.
    const QVector<quint32>& palette() const { return m_palette; }
    // Direct row access, y counted from the top (nullptr outside the image).
    const uchar* row(int y) const;
    uchar* row(int y);
    // The stored pixel array, bottom row first.
    const QByteArray& bits() const { return m_bits; }

    // Last failure's text (at most 255 characters); empty when none yet.
    const QString& lastError() const { return m_lastError; }

private:
    bool fail(const QString& text) const;
    bool requireImage() const;
    static QVector<quint32> standardPalette(int depth);
    // Raw pixel value at (x, y): the palette index or the stored colour bits.
    quint32 rawPixel(const uchar* line, int x) const;
    void setRawPixel(uchar* line, int x, quint32 value);

    int m_width = 0;
    int m_height = 0;
    int m_depth = 0;
    int m_stride = 0;
    qint32 m_xPelsPerMeter = 0;
    qint32 m_yPelsPerMeter = 0;
    QVector<quint32> m_palette;
    QByteArray m_bits;
    mutable QString m_lastError;
};

} // namespace kovra::image
