#pragma once
// One fitted picture with the user's tuning: keeps the picture as fitted,
// where the picture lies in the square, the tuning and the rendering the
// right-hand effect board shows, and makes the boards' pictures and any
// chosen rendering from them. With the tuning neutral and the right-hand
// board on the diffusion, everything is drawn exactly as the effect boards
// always drew it. A copy is cheap (its images are shared), so one may be made
// on another thread and handed over.

#include "rendering/rendering.h"
#include "rendering/tuning.h"

#include <QImage>
#include <QRect>

#include <vector>

namespace kovra::image {
class DrawingBoard;
}

namespace kovra::rendering {

// What the two effect boards show, made apart from drawing it.
struct BoardPictures {
    QImage left;  // the black and white, drawn at (0, 0)
    QImage right; // the right-hand rendering, drawn at (0, 0); for the dither, its layer of dots
    bool rightIsDots = false;
    bool isNull() const { return left.isNull(); }
};

class TunedPicture {
public:
    // fitted: the FitSize square (RGB32); place: where the picture lies in it.
    void setPicture(const QImage& fitted, const QRect& place);
    void clearPicture();
    bool hasPicture() const { return !m_fitted.isNull(); }
    const QImage& fitted() const { return m_fitted; }
    const QRect& place() const { return m_place; }

    // False (and nothing changes) for a tuning out of its ranges.
    bool setTuning(const Tuning& tuning);
    const Tuning& tuning() const { return m_tuning; }
    void setRightRendering(Rendering rendering) { m_right = rendering; }
    Rendering rightRendering() const { return m_right; }

    // The fitted picture with the tone controls applied inside place.
    const QImage& tuned() const { return m_tuned; }
    // rendering of the tuned picture as black and white (RenderPicture).
    QImage render(Rendering rendering) const;
    // Every rendering, in the order of AllRenderings. The images are kept
    // and drawn into again by the next call: copy one only to keep it.
    const std::vector<QImage>& renderAll();

    // Both effect boards' pictures: black and white on the left, the
    // right-hand rendering on the right. madeBlackWhite, madeDitherDots: the
    // two renderings of the untuned picture when they were made while it was
    // decoded; used where they still apply.
    BoardPictures boardPictures(const QImage& madeBlackWhite = QImage(), const QImage& madeDitherDots = QImage()) const;
    // Both boards cleared and drawn with pictures.
    static void drawBoards(const BoardPictures& pictures, image::DrawingBoard& leftBoard, image::DrawingBoard& rightBoard);
    void drawBoards(image::DrawingBoard& leftBoard, image::DrawingBoard& rightBoard) const
    {
        drawBoards(boardPictures(), leftBoard, rightBoard);
    }
    // rendering drawn onto board (cleared beforehand by the caller) exactly
    // as the effect boards show it.
    void drawRendering(Rendering rendering, image::DrawingBoard& board) const;

private:
    QImage m_fitted;
    QRect m_place;
    Tuning m_tuning;
    Rendering m_right = Rendering::Dither;
    QImage m_tuned;
    std::vector<QImage> m_all;
};

} // namespace kovra::rendering
