#include "image/bitmap_image.h"

#include "image/bmp_writer.h"
#include "image/little_endian.h"
#include "image/picture_limits.h"

#include <cstring>
#include <unordered_map>

namespace kovra::image {

namespace {

const QString kNotCreated = QStringLiteral("位图尚未创建，没有可用数据");
const QString kUnsupported = QStringLiteral("不被支持的位图数据或无法识别的文件格式");
const QString kBadDepth = QStringLiteral("位深度无效");
const QString kBadSize = QStringLiteral("位图尺寸无效");
const QString kOutside = QStringLiteral("像素坐标超出位图范围");

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kCoreHeaderSize = 12;

bool validDepth(int depth)
{
    return depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

const QVector<quint32> kBlackWhite = {ColourRef(0, 0, 0), ColourRef(255, 255, 255)};

// Maps colours to the nearest entry of one palette, remembering answers:
// boards and renderings use few distinct colours.
class NearestIndexCache {
public:
    explicit NearestIndexCache(const QVector<quint32>& palette)
        : m_palette(palette)
        , m_blackWhite(palette == kBlackWhite)
    {
    }
    int index(quint32 colour)
    {
        colour &= 0xFFFFFF;
        if (m_blackWhite) // the nearer of black and white by squared distance
            return ColourRefRed(colour) + ColourRefGreen(colour) + ColourRefBlue(colour) <= 382 ? 0 : 1;
        auto it = m_known.find(colour);
        if (it != m_known.end())
            return it->second;
        const int i = NearestColourIndex(m_palette, colour);
        m_known.emplace(colour, i);
        return i;
    }

private:
    const QVector<quint32>& m_palette;
    bool m_blackWhite;
    std::unordered_map<quint32, int> m_known;
};

} // namespace

QVector<quint32> BitmapImage::standardPalette(int depth)
{
    if (depth == 1)
        return kBlackWhite;
    if (depth == 4)
        return StandardColours16();
    if (depth != 8)
        return {};
    // The 16 standard colours, a 6 × 6 × 6 colour cube and 24 greys.
    QVector<quint32> table = StandardColours16();
    table.reserve(256);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                table.append(ColourRef(r * 51, g * 51, b * 51));
    for (int i = 0; i < 24; ++i) {
        const int v = 8 + i * 10;
        table.append(ColourRef(v, v, v));
    }
    return table;
}

bool BitmapImage::fail(const QString& text) const
{
    m_lastError = text.left(255);
    return false;
}

bool BitmapImage::requireImage() const
{
    return isEmpty() ? fail(kNotCreated) : true;
}

void BitmapImage::Destroy()
{
    m_width = m_height = m_depth = m_stride = 0;
    m_xPelsPerMeter = m_yPelsPerMeter = 0;
    m_palette.clear();
    m_bits.clear();
}

bool BitmapImage::Create(int width, int height, int depth)
{
    if (!validDepth(depth))
        return fail(kBadDepth);
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        return fail(kBadSize);
    Destroy();
    m_width = width;
    m_height = height;
    m_depth = depth;
    m_stride = BmpStride(width, depth);
    m_palette = standardPalette(depth);
    m_bits = QByteArray(qsizetype(m_stride) * height, '\0');
    return true;
}

const uchar* BitmapImage::row(int y) const
{
    if (y < 0 || y >= m_height)
        return nullptr;
    return reinterpret_cast<const uchar*>(m_bits.constData()) + qsizetype(m_height - 1 - y) * m_stride;
}

uchar* BitmapImage::row(int y)
{
    if (y < 0 || y >= m_height)
        return nullptr;
    return reinterpret_cast<uchar*>(m_bits.data()) + qsizetype(m_height - 1 - y) * m_stride;
}

// The stored bits of one pixel: a palette index, a 5-5-5 word, or B | G << 8 | R << 16.
quint32 BitmapImage::rawPixel(const uchar* line, int x) const
{
    switch (m_depth) {
    case 1: return (line[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (line[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    case 8: return line[x];
    case 16: return ReadLe16(line + 2 * x);
    case 24: return quint32(line[3 * x]) | (quint32(line[3 * x + 1]) << 8) | (quint32(line[3 * x + 2]) << 16);
    default: return ReadLe32(line + 4 * x) & 0xFFFFFF;
    }
}

void BitmapImage::setRawPixel(uchar* line, int x, quint32 value)
{
    switch (m_depth) {
    case 1: {
        const uchar bit = uchar(0x80 >> (x & 7));
        line[x >> 3] = value ? (line[x >> 3] | bit) : (line[x >> 3] & ~bit);
        break;
    }
    case 4: {
        uchar& b = line[x >> 1];
        b = (x & 1) ? uchar((b & 0xF0) | (value & 0x0F)) : uchar((b & 0x0F) | ((value & 0x0F) << 4));
        break;
    }
    case 8: line[x] = uchar(value); break;
    case 16: WriteLe16(line + 2 * x, quint16(value)); break;
    case 24:
        line[3 * x] = uchar(value);
        line[3 * x + 1] = uchar(value >> 8);
        line[3 * x + 2] = uchar(value >> 16);
        break;
    default: WriteLe32(line + 4 * x, value & 0xFFFFFF); break;
    }
}

namespace {

quint32 expand5(quint32 v) { return (v << 3) | (v >> 2); }

// Colour of raw bits at a depth above 8.
quint32 directColour(int depth, quint32 raw)
{
    if (depth == 16)
        return ColourRef(int(expand5((raw >> 10) & 31)), int(expand5((raw >> 5) & 31)), int(expand5(raw & 31)));
    return ColourRef(int((raw >> 16) & 0xFF), int((raw >> 8) & 0xFF), int(raw & 0xFF));
}

// Raw bits at a depth above 8 for a colour.
quint32 directRaw(int depth, quint32 colour)
{
    const quint32 r = quint32(ColourRefRed(colour)), g = quint32(ColourRefGreen(colour)), b = quint32(ColourRefBlue(colour));
    if (depth == 16)
        return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    return b | (g << 8) | (r << 16);
}

} // namespace

std::optional<quint32> BitmapImage::GetPixel(int x, int y) const
{
    if (!requireImage())
        return std::nullopt;
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        fail(kOutside);
        return std::nullopt;
    }
    const quint32 raw = rawPixel(row(y), x);
    if (m_depth <= 8)
        return raw < quint32(m_palette.size()) ? m_palette[int(raw)] : 0u;
    return directColour(m_depth, raw);
}

bool BitmapImage::SetPixel(int x, int y, quint32 colour)
{
    if (!requireImage())
        return false;
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return fail(kOutside);
    const quint32 raw = m_depth <= 8 ? quint32(NearestColourIndex(m_palette, colour)) : directRaw(m_depth, colour);
    setRawPixel(row(y), x, raw);
    return true;
}

BitmapImage BitmapImage::ConvertToDepth(int depth) const
{
    BitmapImage out;
    if (!requireImage() || !validDepth(depth)) {
        if (!isEmpty())
            fail(kBadDepth);
        out.m_lastError = m_lastError;
        return out;
    }
    if (depth == m_depth)
        return *this;
    if (!out.Create(m_width, m_height, depth)) {
        fail(out.m_lastError);
        return out;
    }
    out.m_xPelsPerMeter = m_xPelsPerMeter;
    out.m_yPelsPerMeter = m_yPelsPerMeter;

    NearestIndexCache nearest(out.m_palette);
    // Source palette entries map to target raw values once.
    QVector<quint32> paletteRaw;
    for (quint32 c : m_palette)
        paletteRaw.append(depth <= 8 ? quint32(nearest.index(c)) : directRaw(depth, c));

    for (int y = 0; y < m_height; ++y) {
        const uchar* src = row(y);
        uchar* dst = out.row(y);
        for (int x = 0; x < m_width; ++x) {
            const quint32 raw = rawPixel(src, x);
            quint32 value;
            if (m_depth <= 8) {
                value = raw < quint32(paletteRaw.size()) ? paletteRaw[int(raw)]
                                                        : (depth <= 8 ? quint32(nearest.index(0)) : 0u);
            } else {
                const quint32 colour = directColour(m_depth, raw);
                value = depth <= 8 ? quint32(nearest.index(colour)) : directRaw(depth, colour);
            }
            out.setRawPixel(dst, x, value);
        }
    }
    return out;
}

BitmapImage BitmapImage::RotateClockwise() const
{
    BitmapImage out;
    if (!requireImage()) {
        out.m_lastError = m_lastError;
        return out;
    }
    out.Create(m_height, m_width, m_depth);
    out.m_palette = m_palette;
    out.m_xPelsPerMeter = m_yPelsPerMeter;
    out.m_yPelsPerMeter = m_xPelsPerMeter;
    // Source (x, y) lands at (height - 1 - y, x): each source row is one target column.
    for (int y = 0; y < m_height; ++y) {
        const uchar* src = row(y);
        const int tx = m_height - 1 - y;
        for (int x = 0; x < m_width; ++x)
            out.setRawPixel(out.row(x), tx, rawPixel(src, x));
    }
    return out;
}

BitmapImage BitmapImage::Mirror(bool horizontal, bool vertical) const
{
    BitmapImage out;
    if (!requireImage()) {
        out.m_lastError = m_lastError;
        return out;
    }
    out = *this;
    for (int y = 0; y < m_height; ++y) {
        const uchar* src = row(y);
        uchar* dst = out.row(vertical ? m_height - 1 - y : y);
        if (!horizontal) {
            std::memcpy(dst, src, size_t(m_stride));
            continue;
        }
        if (m_depth >= 8) {
            const int bytes = m_depth / 8;
            for (int x = 0; x < m_width; ++x)
                std::memcpy(dst + (m_width - 1 - x) * bytes, src + x * bytes, size_t(bytes));
        } else {
            for (int x = 0; x < m_width; ++x)
                out.setRawPixel(dst, m_width - 1 - x, rawPixel(src, x));
        }
    }
    return out;
}

namespace {

// The fields of a BMP file's header that loading uses.
struct BmpFields {
    quint32 headerSize = 0;
    qint64 width = 0;
    qint64 height = 0;
    bool topDown = false;
    int depth = 0;
    quint32 colourCount = 0;
    int entrySize = 4; // bytes of one colour table entry
    qint32 xppm = 0;
    qint32 yppm = 0;
};

// False for anything but an uncompressed file of a known header and a
// usable size; d holds more than 53 bytes.
bool readBmpFields(const uchar* d, BmpFields& f)
{
    f.headerSize = ReadLe32(d + 14);
    if (f.headerSize == kInfoHeaderSize) {
        f.width = ReadLeI32(d + 18);
        f.height = ReadLeI32(d + 22);
        f.depth = ReadLe16(d + 28);
        if (ReadLe32(d + 30) != 0) // compression
            return false;
        f.xppm = ReadLeI32(d + 38);
        f.yppm = ReadLeI32(d + 42);
        f.colourCount = ReadLe32(d + 46);
    } else if (f.headerSize == kCoreHeaderSize) {
        // The core header widens to the information header; its palette
        // entries are 3 bytes instead of 4.
        f.width = ReadLe16(d + 18);
        f.height = ReadLe16(d + 20);
        f.depth = ReadLe16(d + 24);
        f.entrySize = 3;
    } else {
        return false;
    }
    f.topDown = f.height < 0;
    f.height = qAbs(f.height);
    return validDepth(f.depth) && f.width > 0 && f.height > 0 && f.width <= kMaxPictureSide
        && f.height <= kMaxPictureSide;
}

// Colour table entries the file holds (palette depths) or carries to be
// skipped (the others).
qint64 paletteEntriesOf(const BmpFields& f)
{
    if (f.depth <= 8) {
        const qint64 full = qint64(1) << f.depth;
        return f.entrySize == 4 && f.colourCount > 0 && f.colourCount < quint32(full) ? f.colourCount : full;
    }
    return f.entrySize == 4 && f.colourCount <= 256 ? f.colourCount : 0;
}

} // namespace

bool BitmapImage::LoadFromBmp(const QByteArray& bytes)
{
    Destroy();
    const auto* d = reinterpret_cast<const uchar*>(bytes.constData());
    const qint64 size = bytes.size();
    BmpFields f;
    if (size <= 53 || d[0] != 'B' || d[1] != 'M' || !readBmpFields(d, f))
        return fail(kUnsupported);

    const qint64 paletteEntries = paletteEntriesOf(f);
    const qint64 paletteStart = kFileHeaderSize + f.headerSize;
    const qint64 paletteEnd = paletteStart + paletteEntries * f.entrySize;
    const int stride = BmpStride(int(f.width), f.depth);
    // The last row may lack its padding.
    const qint64 needed = qint64(stride) * (f.height - 1) + (f.width * f.depth + 7) / 8;
    if (paletteEnd > size)
        return fail(kUnsupported);
    qint64 pixelStart = ReadLe32(d + 10);
    if (pixelStart < paletteEnd || pixelStart + needed > size)
        pixelStart = paletteEnd;
    if (pixelStart + needed > size)
        return fail(kUnsupported);

    m_width = int(f.width);
    m_height = int(f.height);
    m_depth = f.depth;
    m_stride = stride;
    m_xPelsPerMeter = f.xppm;
    m_yPelsPerMeter = f.yppm;
    if (f.depth <= 8) {
        m_palette.resize(int(paletteEntries));
        for (int i = 0; i < m_palette.size(); ++i) {
            const uchar* e = d + paletteStart + qint64(i) * f.entrySize;
            m_palette[i] = ColourRef(e[2], e[1], e[0]);
        }
    }
    m_bits = QByteArray(qsizetype(stride) * f.height, '\0');
    for (qint64 fileRow = 0; fileRow < f.height; ++fileRow) {
        // Stored rows are bottom first; a top-down file starts with the top row.
        const qint64 storedRow = f.topDown ? f.height - 1 - fileRow : fileRow;
        const qint64 available = qMin<qint64>(stride, size - (pixelStart + fileRow * stride));
        std::memcpy(m_bits.data() + storedRow * stride, d + pixelStart + fileRow * stride, size_t(available));
    }
    return true;
}

QByteArray BitmapImage::SaveToBmp() const
{
    if (!requireImage())
        return {};
    BmpLayout layout;
    layout.width = m_width;
    layout.height = m_height;
    layout.depth = m_depth;
    layout.palette = m_palette;
    layout.xPelsPerMeter = m_xPelsPerMeter;
    layout.yPelsPerMeter = m_yPelsPerMeter;
    const bool fullTable = m_depth <= 8 && m_palette.size() == (1 << m_depth);
    layout.coloursUsed = fullTable ? 0u : quint32(m_palette.size());
    return WriteBmp(layout, [this](int y, uchar* out) { std::memcpy(out, row(y), size_t(m_stride)); });
}

BitmapImage BitmapImage::FromQImage(const QImage& picture)
{
    BitmapImage out;
    if (picture.isNull()) {
        out.fail(kNotCreated);
        return out;
    }
    if (!out.Create(picture.width(), picture.height(), 24))
        return out;
    const QImage rgb = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
        ? picture
        : picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.m_height; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* dst = out.row(y);
        for (int x = 0; x < out.m_width; ++x) {
            dst[3 * x] = uchar(qBlue(src[x]));
            dst[3 * x + 1] = uchar(qGreen(src[x]));
            dst[3 * x + 2] = uchar(qRed(src[x]));
        }
    }
    return out;
}

QImage BitmapImage::ToQImage() const
{
    if (!requireImage())
        return {};
    QImage out(m_width, m_height, QImage::Format_RGB32);
    if (out.isNull())
        return {};
    QVector<QRgb> lut;
    for (quint32 c : m_palette)
        lut.append(ColourRefToRgb(c));
    for (int y = 0; y < m_height; ++y) {
        const uchar* src = row(y);
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        if (m_depth == 24) {
            for (int x = 0; x < m_width; ++x)
                dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
        } else if (m_depth <= 8) {
            for (int x = 0; x < m_width; ++x) {
                const quint32 i = rawPixel(src, x);
                dst[x] = i < quint32(lut.size()) ? lut[int(i)] : qRgb(0, 0, 0);
            }
        } else {
            for (int x = 0; x < m_width; ++x)
                dst[x] = ColourRefToRgb(directColour(m_depth, rawPixel(src, x)));
        }
    }
    return out;
}

} // namespace kovra::image
