#pragma once
// A new picture for the machine: announce it and turn what the
// preview board shows into EngraveBuffer, the machine's 512 x 512 one-bit
// raster: 512 rows of 64 bytes, top row first, bit 7 leftmost, 1 = dark.

#include "job/job_events.h"

#include <QByteArray>
#include <QImage>

namespace kovra::image {
class DrawingBoard;
}
namespace kovra::link {
class CommandFrames;
class PictureTransfer;
}

namespace kovra::job {

inline constexpr int EngraveSide = 512;
inline constexpr int EngraveRowBytes = EngraveSide / 8;
inline constexpr int EngraveBufferSize = EngraveRowBytes * EngraveSide; // 32768

// A pixel is dark (burned) when it is nearer to black than to white.
inline bool IsDarkPixel(QRgb c) { return qRed(c) + qGreen(c) + qBlue(c) <= 382; }

// The raster of a picture; always EngraveBufferSize bytes. Pixels outside the
// picture (a picture smaller than 512 x 512) count as light.
QByteArray EncodeEngravePicture(const QImage& picture);
// The dark dots of a raster.
qint64 CountDots(const QByteArray& raster);

class EngraveEncoder {
public:
    // picture owns EngraveBuffer; each press replaces it.
    EngraveEncoder(link::CommandFrames& frames, JobEvents& events, image::DrawingBoard& previewBoard,
                   link::PictureTransfer& picture);

    // The user sends the picture: BeginImage, then the buffer from the board
    // as it is now, announced with pictureAnnounced. The machine asks for the bytes
    // later, with its ImageRequest reply.
    void PrepareEngraveImage();

private:
    link::CommandFrames& m_frames;
    JobEvents& m_events;
    image::DrawingBoard& m_board;
    link::PictureTransfer& m_picture;
};

} // namespace kovra::job
