#pragma once
// Fitting a dropped picture into the 490 × 490 square that both tone
// renderings start from. Big pictures are shrunk to fit, keeping their
// aspect; small ones are centred at their own size, never enlarged.

#include <QImage>
#include <QRect>
#include <QSize>

namespace kovra::rendering {

// Side of the square a picture is fitted into.
inline constexpr int FitSize = 490;
// The size the picture loader may reduce a picture to without losing detail
// the fitting would keep.
inline constexpr QSize FitDecodeSize(FitSize, FitSize);

// Where a picture of w × h pixels lands in the square: all arithmetic in
// double, every result truncated toward zero. An empty rect for w or h <= 0.
QRect FitPlacement(int w, int h);

// The fitted square: white, with image stretched by area averaging into
// FitPlacement(trueWidth, trueHeight), as a board draws a stretched picture.
// image may be a reduced decode of a picture whose true size is trueWidth ×
// trueHeight; a null image gives the white square alone. reuse: an earlier
// square to draw into again (see ReuseOrAllocate).
QImage FitPicture(const QImage& image, int trueWidth, int trueHeight, QImage reuse = QImage());

} // namespace kovra::rendering
