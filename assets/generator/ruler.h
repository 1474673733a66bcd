#pragma once
// The ruler scales beside the preview board: a two-pixel baseline along the
// outer long edge, a tick every 13.44 pixels rising from it, and the digits
// 0 and 5 taking turns at every fifth tick on the inner side.

#include <QImage>

namespace kovra::assets {

inline constexpr int HorizontalRulerWidth = 620;
inline constexpr int HorizontalRulerHeight = 12;
inline constexpr int VerticalRulerWidth = 12;
inline constexpr int VerticalRulerHeight = 619;

// Position of tick n: the integer part of n * 13.44, computed exactly.
inline constexpr int RulerTickPosition(int n) { return n * 1344 / 100; }

// RGB32 pictures, black marks on white; written as 24-bit BMP.
QImage DrawHorizontalRuler(); // baseline at the bottom, digits at the top
QImage DrawVerticalRuler();   // baseline at the right, digits at the left

} // namespace kovra::assets
