#pragma once
// The black-and-white rendering of the effect window's first design: every
// pixel takes the nearer of black and white, dark when R + G + B is at most
// the dark limit (382 by default, the rule the engraving itself uses).

#include <QImage>

namespace kovra::rendering {

// A pixel is dark in black and white when R + G + B is at most this.
inline constexpr int BlackWhiteDarkSum = 382;

// One row of the black and white: width pixels of in to out; a pixel is
// dark when R + G + B is at most darkSum.
void BlackWhiteRow(const QRgb* in, QRgb* out, int width, int darkSum = BlackWhiteDarkSum);

// Black and white of fitted at its own size (RGB32, only black and white).
QImage RenderBlackWhite(const QImage& fitted, int darkSum = BlackWhiteDarkSum);

} // namespace kovra::rendering
