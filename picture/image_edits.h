#pragma once
// The four edit buttons: rotate the preview board a quarter turn, shrink it,
// clear it, or go back to the rendering last chosen in the effect window.
// Every edit works on what the board shows now (text included), and none
// tells the machine: the edited board is what the next send encodes.

#include <QImage>

namespace kovra::image {
class BitmapImage;
class DrawingBoard;
class ImageView;
}

namespace kovra::picture {

class ImageEdits {
public:
    // Size the zoomed-out board content is stretched to, and where it lands.
    static constexpr int ZoomOutSize = 482;
    static constexpr int ZoomOutOffset = 10;

    // workingImage is read only; editScratchImage carries the board between
    // the steps of one press.
    ImageEdits(image::DrawingBoard& previewBoard, const image::BitmapImage& workingImage,
               image::BitmapImage& editScratchImage, const QImage& plainWhiteBackground, image::ImageView& view);

    // A quarter turn clockwise: (x, y) moves to (511 - y, x); no resampling,
    // so four presses restore the board exactly.
    void RotateBoard();
    // The board shrunk to 482 × 482 at (10, 10) by area averaging.
    void ZoomOutBoard();
    // A plain white board, all machine controls enabled, position boxes "000".
    void ClearPreview();
    // The working image again at (0, 0); an empty one draws nothing.
    void ReloadWorkingImage();

private:
    // Captures the board into the scratch image; false when that failed.
    bool captureBoard();

    image::DrawingBoard& m_previewBoard;
    const image::BitmapImage& m_workingImage;
    image::BitmapImage& m_editScratchImage;
    QImage m_plainWhiteBackground;
    image::ImageView& m_view;
};

} // namespace kovra::picture
