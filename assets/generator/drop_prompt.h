#pragma once
// The drop hint that fills the preview board until a picture is chosen: one
// line of black text centred on a white 512 x 512 field.

#include <QImage>
#include <QString>

namespace kovra::assets {

inline constexpr int DropPromptSide = 512;

// The hint's text for a language (0 English ... 5 German); empty when unknown.
QString DropPromptText(int language);

// RGB32, white with black (antialiased grey-edged) text; written as 4-bit BMP.
QImage DrawDropPrompt(int language);

} // namespace kovra::assets
