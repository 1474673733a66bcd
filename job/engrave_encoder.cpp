#include "job/engrave_encoder.h"

#include "image/drawing_board.h"
#include "link/command_frames.h"
#include "link/picture_transfer.h"

#include <bit>

namespace kovra::job {

QByteArray EncodeEngravePicture(const QImage& picture)
{
    QByteArray buffer(EngraveBufferSize, '\0');
    if (picture.isNull())
        return buffer;
    // The board keeps an RGB32 picture; anything else is read as RGB32 too.
    const QImage rgb = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
                           ? picture
                           : picture.convertToFormat(QImage::Format_RGB32);
    const int rows = qMin(rgb.height(), EngraveSide);
    const int columns = qMin(rgb.width(), EngraveSide);
    auto* out = reinterpret_cast<uchar*>(buffer.data());
    for (int y = 0; y < rows; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* row = out + y * EngraveRowBytes;
        for (int x = 0; x < columns; ++x) {
            if (IsDarkPixel(line[x]))
                row[x >> 3] |= uchar(0x80u >> (x & 7));
        }
    }
    return buffer;
}

qint64 CountDots(const QByteArray& raster)
{
    qint64 dots = 0;
    for (char byte : raster)
        dots += std::popcount(quint8(byte));
    return dots;
}

EngraveEncoder::EngraveEncoder(link::CommandFrames& frames, JobEvents& events, image::DrawingBoard& previewBoard,
                               link::PictureTransfer& picture)
    : m_frames(frames)
    , m_events(events)
    , m_board(previewBoard)
    , m_picture(picture)
{
}

void EngraveEncoder::PrepareEngraveImage()
{
    // BeginImage goes out first: the machine erases its stored picture while
    // the board is encoded, and its ImageRequest is handled only after this.
    m_frames.BeginImage();
    QByteArray raster = EncodeEngravePicture(m_board.picture());
    m_picture.SetEngraveBuffer(raster);
    emit m_events.pictureAnnounced(raster);
}

} // namespace kovra::job
