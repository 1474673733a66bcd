#pragma once
// The material test card: a grey ramp rendered by every rendering, one
// labelled strip each, on the 512 × 512 board. Burned once, it shows which
// rendering (and which tuning) suits a material.

#include "rendering/tuning.h"

#include <QImage>
#include <QRect>

namespace kovra::rendering {

// Where the parts of the card lie.
inline constexpr int TestCardSide = 512;
inline constexpr int TestCardScaleHeight = 20;
inline constexpr int TestCardStripHeight = 44;
inline constexpr int TestCardLabelWidth = 112;
inline constexpr int TestCardRampWidth = 396;
inline constexpr int TestCardRampHeight = 40;

// The ramp of strip i (in the order of AllRenderings): darkest on the left.
QRect TestCardRamp(int strip);

// The card as black and white (RGB32, 512 × 512). tuning: applied to the
// ramps as to a picture (the labels stay as they are).
QImage MakeTestCard(const Tuning& tuning = Tuning{});

} // namespace kovra::rendering
