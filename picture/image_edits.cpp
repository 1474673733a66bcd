#include "picture/image_edits.h"

#include "image/bitmap_image.h"
#include "image/drawing_board.h"
#include "image/image_view.h"

namespace kovra::picture {

ImageEdits::ImageEdits(image::DrawingBoard& previewBoard, const image::BitmapImage& workingImage,
                       image::BitmapImage& editScratchImage, const QImage& plainWhiteBackground, image::ImageView& view)
    : m_previewBoard(previewBoard)
    , m_workingImage(workingImage)
    , m_editScratchImage(editScratchImage)
    , m_plainWhiteBackground(plainWhiteBackground)
    , m_view(view)
{
}

bool ImageEdits::captureBoard()
{
    return m_editScratchImage.LoadFromBmp(m_previewBoard.CaptureBoard());
}

void ImageEdits::RotateBoard()
{
    if (!captureBoard())
        return;
    m_editScratchImage = m_editScratchImage.RotateClockwise();
    m_previewBoard.ClearBoard();
    m_previewBoard.DrawPicture(m_editScratchImage.ToQImage(), 0, 0);
}

void ImageEdits::ZoomOutBoard()
{
    if (!captureBoard())
        return;
    m_previewBoard.ClearBoard();
    m_previewBoard.DrawPicture(m_editScratchImage.ToQImage(), ZoomOutOffset, ZoomOutOffset, ZoomOutSize,
                               ZoomOutSize);
}

void ImageEdits::ClearPreview()
{
    m_previewBoard.ClearBoard();
    // Replacing the background discards everything drawn, the drop hint included.
    m_previewBoard.SetBackgroundPicture(m_plainWhiteBackground);
    m_view.EnableMachineControls();
    m_view.SetPositionBoxes(QStringLiteral("000"));
}

void ImageEdits::ReloadWorkingImage()
{
    m_previewBoard.ClearBoard();
    // Before any choice the working image is empty and draws nothing.
    m_previewBoard.DrawPicture(m_workingImage.ToQImage(), 0, 0);
}

} // namespace kovra::picture
