#pragma once
// The nine pictures of the help tutorial: the introduction (index 0) and the
// answers to the eight questions (1..8), each a 500 x 500 page of Chinese text
// with a small drawing.

#include <QImage>
#include <QStringList>

namespace kovra::assets {

// RGB32 pages; a null image for an unknown index. Pages whose content ran
// past the bottom edge are reported in overflowing (when given).
QImage DrawHelpPicture(int index, QStringList* overflowing = nullptr);

} // namespace kovra::assets
