#pragma once
// The edits of the preview board: rotate it a quarter turn, shrink it, clear
// it, go back to the rendering last chosen in the effect window, or write
// lines of text into it. Every edit works on what the board shows now (text
// included), and none tells the machine: the edited board is what the next
// send encodes. Each is reported on PictureEvents.

#include <QImage>
#include <QString>

namespace kovra::image {
class BitmapImage;
class DrawingBoard;
}

namespace kovra::picture {

class BoardHistory;
class PictureEvents;

class ImageEdits {
public:
    // Size the zoomed-out board content is stretched to, and where it lands.
    static constexpr int ZoomOutSize = 482;
    static constexpr int ZoomOutOffset = 10;

    // workingImage is read only; editScratchImage carries the board between
    // the steps of one press; history records the board before each edit.
    ImageEdits(image::DrawingBoard& previewBoard, const image::BitmapImage& workingImage,
               image::BitmapImage& editScratchImage, const QImage& plainWhiteBackground, BoardHistory& history,
               PictureEvents& events);

    // A quarter turn clockwise: (x, y) moves to (511 - y, x); no resampling,
    // so four presses restore the board exactly.
    void RotateBoard();
    // The board shrunk to 482 × 482 at (10, 10) by area averaging.
    void ZoomOutBoard();
    // A plain white board.
    void ClearPreview();
    // The working image again at (0, 0); an empty one draws nothing.
    void ReloadWorkingImage();
    // The lines of text (CR, LF or CR LF between them) in the board's text
    // font, black on a transparent background, the first line's corner at
    // (x, y). Empty text draws nothing and is not reported.
    void PlaceText(const QString& text, int x, int y);

private:
    // Captures the board into the scratch image; false when that failed.
    bool captureBoard();

    image::DrawingBoard& m_previewBoard;
    const image::BitmapImage& m_workingImage;
    image::BitmapImage& m_editScratchImage;
    QImage m_plainWhiteBackground;
    BoardHistory& m_history;
    PictureEvents& m_events;
};

} // namespace kovra::picture
