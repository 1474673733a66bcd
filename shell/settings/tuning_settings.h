#pragma once
// The effect window's last tuning and the rendering its right-hand board
// showed, kept in the configuration file in a section of their own
// ("Tuning"), so they come back at the next start. Nothing else in the file
// is touched.

#include "rendering/rendering.h"
#include "rendering/tuning.h"

namespace kovra::shell {

class ConfigFile;

struct StudioSettings {
    rendering::Tuning tuning;
    rendering::Rendering rightRendering = rendering::Rendering::Dither;
    bool operator==(const StudioSettings&) const = default;
};

// Missing or unreadable values are neutral (the diffusion for the
// rendering); numbers outside their range are brought to its nearer end.
StudioSettings LoadStudioSettings(const ConfigFile& config);
// Writes Brightness, Contrast, Gamma, Invert, Threshold and Rendering; false
// when any write failed.
bool SaveStudioSettings(ConfigFile& config, const StudioSettings& settings);

} // namespace kovra::shell
