#pragma once
// The maker's logo: an emblem of a laser head burning a dot, the name "Kovra"
// and the word "LASER", on a transparent field.

#include <QImage>

namespace kovra::assets {

inline constexpr int LogoWidth = 1336;
inline constexpr int LogoHeight = 473;

QImage DrawLogo(); // ARGB32, written as PNG

// The logo's emblem alone, square, for the desktop's application icons.
QImage DrawAppIcon(int size);
inline constexpr int AppIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256, 512};

} // namespace kovra::assets
