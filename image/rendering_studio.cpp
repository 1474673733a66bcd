#include "image/rendering_studio.h"

#include "image/drawing_board.h"
#include "image/tone_effects.h"

namespace kovra::image {

void RenderingStudio::setPicture(const QImage& fitted, const QRect& place)
{
    m_fitted = fitted;
    m_place = place;
    m_tuned = TunePicture(m_fitted, m_place, m_tuning);
}

void RenderingStudio::clearPicture()
{
    m_all.clear();
    m_fitted = QImage();
    m_tuned = QImage();
    m_place = QRect();
}

bool RenderingStudio::setTuning(const Tuning& tuning)
{
    if (!tuning.isValid())
        return false;
    const bool toneChanged = !(tuning.brightness == m_tuning.brightness && tuning.contrast == m_tuning.contrast
                               && tuning.gamma == m_tuning.gamma && tuning.invert == m_tuning.invert);
    m_tuning = tuning;
    if (toneChanged && hasPicture())
        m_tuned = TunePicture(m_fitted, m_place, m_tuning);
    return true;
}

QImage RenderingStudio::render(Rendering rendering) const
{
    return RenderPicture(rendering, m_tuned, m_place, m_tuning.threshold);
}

const std::vector<QImage>& RenderingStudio::renderAll()
{
    RenderAllPictures(m_tuned, m_place, m_tuning.threshold, m_all);
    return m_all;
}

void RenderingStudio::drawRendering(Rendering rendering, DrawingBoard& board) const
{
    if (rendering == Rendering::Dither)
        // The dots alone, over whatever the board shows, as the diffusion always drew them.
        DrawDitherDots(board, RenderDitherDots(m_tuned));
    else
        board.DrawPicture(render(rendering), 0, 0);
}

void RenderingStudio::drawBoards(DrawingBoard& blackWhiteBoard, DrawingBoard& rightBoard, const QImage& madeBlackWhite,
                                 const QImage& madeDitherDots) const
{
    // Renderings made during the decode are of the untuned picture.
    const bool untuned = m_tuning.toneIsNeutral();
    blackWhiteBoard.ClearBoard();
    if (untuned && m_tuning.threshold == Tuning::NeutralThreshold && !madeBlackWhite.isNull())
        blackWhiteBoard.DrawPicture(madeBlackWhite, 0, 0);
    else
        drawRendering(Rendering::BlackWhite, blackWhiteBoard);
    rightBoard.ClearBoard();
    if (untuned && m_right == Rendering::Dither && !madeDitherDots.isNull())
        DrawDitherDots(rightBoard, madeDitherDots);
    else
        drawRendering(m_right, rightBoard);
}

} // namespace kovra::image
