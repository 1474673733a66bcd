#pragma once
// The rendering and tuning options that "kovra render", "kovra engrave" and
// "kovra testcard" share: --effect NAME, --brightness N, --contrast N,
// --gamma X, --invert, --threshold N.

#include "rendering/rendering.h"
#include "rendering/tuning.h"

#include <QString>

#include <optional>

namespace kovra::picture {
class PictureFlow;
}

namespace kovra::app {

class CommandLine;

struct RenderOptions {
    rendering::Rendering effect = rendering::Rendering::Dither;
    rendering::Tuning tuning;
};

// withEffect: whether --effect is one of the options.
void AddRenderOptions(CommandLine& line, bool withEffect = true);
// The options given on a parsed command line; false with the line's error
// set to one line naming what is allowed.
bool ReadRenderOptions(CommandLine& line, RenderOptions& options, bool withEffect = true);

// A rendering by its command-line name or by the name the effect window
// gives it, in any case and with spaces or dashes ("Bayer 8 x 8", "floyd
// steinberg").
std::optional<rendering::Rendering> RenderingFromWords(const QString& words);
// The rendering names, one a line.
QString RenderingList();
// The names for --help: each command-line name with the window's beside it.
QString RenderingTable();

// The tuning and the effect given to a picture flow before its renderings are
// made (so the effect is what the right-hand board would show).
void ApplyRenderOptions(picture::PictureFlow& flow, const RenderOptions& options);

} // namespace kovra::app
