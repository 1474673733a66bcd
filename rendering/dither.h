#pragma once
// The dithered rendering of the effect window's first design: its own error
// diffusion of the tone (the blue component), 3/8 right, 3/8 below and 2/8
// below right, that keeps the impression of grey. Plain functions over a
// fitted picture; drawing the dots is one board call.

#include <QImage>

#include <vector>

namespace kovra::image {
class DrawingBoard;
}

namespace kovra::rendering {

// Tones from this level up count as pure white before the diffusion.
inline constexpr int ToneWhiteFrom = 230;
// A tone above this stays white; this tone itself becomes a dot.
inline constexpr int DitherThreshold = 128;
// Side of the tone table; only rows and columns 0-489 are used.
inline constexpr int ToneArraySide = 600;

// The error diffusion one fitted row at a time, so that it can follow rows
// as they are made. Feed fitted rows 1, 2, ..., FitSize - 1 in order (row 0
// is never read), then call finish(); each fed row lets the row above it
// take its final dots. The result is the layer RenderDitherDots describes.
class DitherDiffusion {
public:
    // buffer: an earlier dots() image to draw into again, when it is of the
    // right size and not shared (saves allocating and faulting in a fresh one).
    explicit DitherDiffusion(QImage buffer = QImage());
    // line: the fitted row, pixel x at line[x] for x in 0 .. FitSize - 1.
    void feedRow(const QRgb* line);
    // After the last row: diffuses it against the row beyond the picture.
    void finish();
    // Rows 0 .. rowsDone() - 1 of dots() are final.
    int rowsDone() const { return m_rowsDone; }
    const QImage& dots() const { return m_dots; }
    QImage takeDots() { return std::move(m_dots); }

private:
    // Diffuses A[y - 1] into the dots of row y and A[y], whose tones come
    // from next (fitted row y + 1; null beyond the picture).
    void diffuseRow(const QRgb* next);

    QImage m_dots;
    // A[y - 1] (being diffused) and A[y] (taking the error below), FitSize each.
    std::vector<qint16> m_current;
    std::vector<qint16> m_below;
    int m_rowsFed = 0;
    int m_rowsDone = 0;
};

// The dots of the error diffusion of fitted as a FitSize × FitSize layer:
// opaque black where a dot is set, fully transparent elsewhere, so drawing it
// leaves every other board pixel as it was. The tone of pixel (x, y) is its
// blue component; only x, y in 1..489 can get a dot, and fitted pixels
// beyond the picture (x or y = 490) read as tone 0.
QImage RenderDitherDots(const QImage& fitted);

// Draws the dots of RenderDitherDots onto board at (0, 0).
void DrawDitherDots(image::DrawingBoard& board, const QImage& dots);

} // namespace kovra::rendering
