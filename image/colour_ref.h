#pragma once
// Colours as the bitmap type, the boards and BMP colour tables carry them:
// 0x00BBGGRR, red in the low byte.

#include <QColor>

namespace kovra::image {

inline quint32 ColourRef(int r, int g, int b) { return quint32(r) | (quint32(g) << 8) | (quint32(b) << 16); }
inline int ColourRefRed(quint32 c) { return int(c & 0xFF); }
inline int ColourRefGreen(quint32 c) { return int((c >> 8) & 0xFF); }
inline int ColourRefBlue(quint32 c) { return int((c >> 16) & 0xFF); }
inline QRgb ColourRefToRgb(quint32 c) { return qRgb(ColourRefRed(c), ColourRefGreen(c), ColourRefBlue(c)); }
inline quint32 RgbToColourRef(QRgb c) { return ColourRef(qRed(c), qGreen(c), qBlue(c)); }

} // namespace kovra::image
