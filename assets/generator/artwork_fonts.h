#pragma once
// Fonts for the artwork, chosen by family with fallbacks so that Chinese and
// Japanese text finds a face that has the glyphs. Sizes are in pixels, so the
// pictures do not depend on the screen's resolution.

#include <QFont>

namespace kovra::assets {

enum class Script { Chinese, Japanese };

QFont ArtworkFont(int pixelSize, bool bold = false, Script script = Script::Chinese);

// False when none of the CJK families is installed; the pictures would then
// show empty boxes instead of characters.
bool CjkFontAvailable();

} // namespace kovra::assets
