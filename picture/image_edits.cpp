#include "picture/image_edits.h"

#include "image/bitmap_image.h"
#include "image/drawing_board.h"
#include "image/text_drawing.h"
#include "picture/board_history.h"
#include "picture/picture_events.h"

namespace kovra::picture {

ImageEdits::ImageEdits(image::DrawingBoard& previewBoard, const image::BitmapImage& workingImage,
                       image::BitmapImage& editScratchImage, const QImage& plainWhiteBackground,
                       BoardHistory& history, PictureEvents& events)
    : m_previewBoard(previewBoard)
    , m_workingImage(workingImage)
    , m_editScratchImage(editScratchImage)
    , m_plainWhiteBackground(plainWhiteBackground)
    , m_history(history)
    , m_events(events)
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
    m_history.Record();
    m_editScratchImage = m_editScratchImage.RotateClockwise();
    m_previewBoard.ClearBoard();
    m_previewBoard.DrawPicture(m_editScratchImage.ToQImage(), 0, 0);
    emit m_events.edited(Edit::Rotated);
}

void ImageEdits::ZoomOutBoard()
{
    if (!captureBoard())
        return;
    m_history.Record();
    m_previewBoard.ClearBoard();
    m_previewBoard.DrawPicture(m_editScratchImage.ToQImage(), ZoomOutOffset, ZoomOutOffset, ZoomOutSize,
                               ZoomOutSize);
    emit m_events.edited(Edit::ZoomedOut);
}

void ImageEdits::ClearPreview()
{
    m_history.Record();
    m_previewBoard.ClearBoard();
    // Replacing the background discards everything drawn, the drop hint included.
    m_previewBoard.SetBackgroundPicture(m_plainWhiteBackground);
    emit m_events.edited(Edit::Cleared);
}

void ImageEdits::ReloadWorkingImage()
{
    m_history.Record();
    m_previewBoard.ClearBoard();
    // Before any choice the working image is empty and draws nothing.
    m_previewBoard.DrawPicture(m_workingImage.ToQImage(), 0, 0);
    emit m_events.edited(Edit::Reloaded);
}

void ImageEdits::PlaceText(const QString& text, int x, int y)
{
    if (image::SplitTextLines(text).isEmpty())
        return;
    m_history.Record();
    image::DrawTextLines(m_previewBoard, text, x, y);
    emit m_events.textPlaced(QPoint(x, y), text);
}

} // namespace kovra::picture
