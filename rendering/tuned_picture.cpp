#include "rendering/tuned_picture.h"

#include "image/drawing_board.h"
#include "rendering/black_white.h"
#include "rendering/dither.h"

namespace kovra::rendering {

void TunedPicture::setPicture(const QImage& fitted, const QRect& place)
{
    m_fitted = fitted;
    m_place = place;
    m_tuned = TunePicture(m_fitted, m_place, m_tuning);
}

void TunedPicture::clearPicture()
{
    m_all.clear();
    m_fitted = QImage();
    m_tuned = QImage();
    m_place = QRect();
}

bool TunedPicture::setTuning(const Tuning& tuning)
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

QImage TunedPicture::render(Rendering rendering) const
{
    return RenderPicture(rendering, m_tuned, m_place, m_tuning.threshold);
}

const std::vector<QImage>& TunedPicture::renderAll()
{
    RenderAllPictures(m_tuned, m_place, m_tuning.threshold, m_all);
    return m_all;
}

void TunedPicture::drawRendering(Rendering rendering, image::DrawingBoard& board) const
{
    if (rendering == Rendering::Dither)
        // The dots alone, over whatever the board shows, as the diffusion always drew them.
        DrawDitherDots(board, RenderDitherDots(m_tuned));
    else
        board.DrawPicture(render(rendering), 0, 0);
}

BoardPictures TunedPicture::boardPictures(const QImage& madeBlackWhite, const QImage& madeDitherDots) const
{
    // Renderings made during the decode are of the untuned picture.
    const bool untuned = m_tuning.toneIsNeutral();
    BoardPictures pictures;
    pictures.left = untuned && m_tuning.threshold == Tuning::NeutralThreshold && !madeBlackWhite.isNull()
        ? madeBlackWhite
        : render(Rendering::BlackWhite);
    pictures.rightIsDots = m_right == Rendering::Dither;
    if (pictures.rightIsDots)
        pictures.right = untuned && !madeDitherDots.isNull() ? madeDitherDots : RenderDitherDots(m_tuned);
    else
        pictures.right = render(m_right);
    return pictures;
}

void TunedPicture::drawBoards(const BoardPictures& pictures, image::DrawingBoard& leftBoard,
                              image::DrawingBoard& rightBoard)
{
    leftBoard.ClearBoard();
    leftBoard.DrawPicture(pictures.left, 0, 0);
    rightBoard.ClearBoard();
    if (pictures.rightIsDots)
        DrawDitherDots(rightBoard, pictures.right);
    else
        rightBoard.DrawPicture(pictures.right, 0, 0);
}

} // namespace kovra::rendering
