#pragma once
// The window fonts, by face and character height in pixels. Faces the system
// lacks are substituted by fontconfig; the fallbacks keep CJK text readable.

#include <QFont>

namespace kovra::shell {

QFont PixelFont(const QString& family, int pixels, bool bold = false);
inline QFont CalibriFont(int pixels, bool bold = false) { return PixelFont(QStringLiteral("Calibri"), pixels, bold); }
inline QFont ArialFont(int pixels, bool bold = false) { return PixelFont(QStringLiteral("Arial"), pixels, bold); }
// Buttons and group boxes.
inline QFont ButtonFont() { return CalibriFont(12); }

} // namespace kovra::shell
