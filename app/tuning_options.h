#pragma once
// The rendering and tuning options that "kovra render", "kovra engrave" and
// "kovra testcard" share: --effect NAME, --brightness N, --contrast N,
// --gamma X, --invert, --threshold N.

#include "rendering/rendering.h"
#include "rendering/tuning.h"

#include <QString>
#include <QStringList>

namespace kovra::picture {
class PictureFlow;
}

namespace kovra::app {

struct RenderOptions {
    rendering::Rendering effect = rendering::Rendering::Dither;
    rendering::Tuning tuning;
};

enum class OptionTaken {
    NotOurs, // args[i] is no rendering option
    Taken,   // args[i] (and its value) went into the options; i is on the last one taken
    Error,   // a bad name or value: error is one line naming what is allowed
};

// Looks at args[i]. withEffect: whether --effect is one of the options.
OptionTaken TakeRenderOption(const QStringList& args, int& i, RenderOptions& options, QString& error,
                             bool withEffect = true);
// The options as a usage text shows them.
QString RenderOptionsUsage(bool withEffect = true);
// The rendering names, one a line.
QString RenderingList();

// The tuning and the effect given to a picture flow before its renderings are
// made (so the effect is what the right-hand board would show).
void ApplyRenderOptions(picture::PictureFlow& flow, const RenderOptions& options);

} // namespace kovra::app
