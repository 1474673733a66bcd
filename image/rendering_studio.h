#pragma once
// The tuning and the renderings of one fitted picture: keeps the picture as
// fitted, where the picture lies in the square, the user's tuning and the
// rendering the effect window's right-hand board shows, and draws the boards
// and the chosen rendering from them. With the tuning neutral and the
// right-hand board on the diffusion, everything is drawn exactly as the
// effect window always drew it.

#include "image/renderings.h"
#include "image/tuning.h"

#include <QImage>
#include <QRect>

#include <vector>

namespace kovra::image {

class DrawingBoard;

class RenderingStudio {
public:
    // fitted: the FitSize square (RGB32); place: where the picture lies in it.
    void setPicture(const QImage& fitted, const QRect& place);
    void clearPicture();
    bool hasPicture() const { return !m_fitted.isNull(); }
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

    // Both effect boards drawn afresh: black and white on the left, the
    // right-hand rendering on the right. madeBlackWhite, madeDitherDots: the
    // two renderings of the untuned picture when they were made while it was
    // decoded; used where they still apply.
    void drawBoards(DrawingBoard& blackWhiteBoard, DrawingBoard& rightBoard, const QImage& madeBlackWhite = QImage(),
                    const QImage& madeDitherDots = QImage()) const;
    // rendering drawn onto board (cleared beforehand by the caller) exactly
    // as the effect boards show it.
    void drawRendering(Rendering rendering, DrawingBoard& board) const;

private:
    QImage m_fitted;
    QRect m_place;
    Tuning m_tuning;
    Rendering m_right = Rendering::Dither;
    QImage m_tuned;
    std::vector<QImage> m_all;
};

} // namespace kovra::image
