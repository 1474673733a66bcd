#pragma once
// The two one-bit renderings of a fitted picture: plain black and white by
// nearest colour, and error diffusion that keeps the impression of grey.
// Both are plain functions over a picture; drawing them is one board call.

#include <QImage>

namespace kovra::image {

class DrawingBoard;

// A pixel is dark in black and white when R + G + B is at most this.
inline constexpr int BlackWhiteDarkSum = 382;
// Tones from this level up count as pure white before the diffusion.
inline constexpr int ToneWhiteFrom = 230;
// A tone above this stays white; this tone itself becomes a dot.
inline constexpr int DitherThreshold = 128;
// Side of the tone table; only rows and columns 0-489 are used.
inline constexpr int ToneArraySide = 600;

// Black and white of fitted at its own size (RGB32, only black and white).
QImage RenderBlackWhite(const QImage& fitted);

// The dots of the error diffusion of fitted as a FitSize × FitSize layer:
// opaque black where a dot is set, fully transparent elsewhere, so drawing it
// leaves every other board pixel as it was. The tone of pixel (x, y) is its
// blue component; only x, y in 1..489 can get a dot, and fitted pixels
// beyond the picture (x or y = 490) read as tone 0.
QImage RenderDitherDots(const QImage& fitted);

// Draws the dots of RenderDitherDots onto board at (0, 0).
void DrawDitherDots(DrawingBoard& board, const QImage& dots);

} // namespace kovra::image
