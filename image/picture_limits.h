#pragma once
// The largest picture this program takes in, by the decoders and by the
// bitmap type alike.

namespace kovra::image {

// Pictures wider or taller than this are refused.
inline constexpr int kMaxPictureSide = 20000;

} // namespace kovra::image
