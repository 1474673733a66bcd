#include "shell/settings/tuning_settings.h"

#include "shell/settings/config_file.h"

#include <algorithm>
#include <cmath>

namespace kovra::shell {

namespace {

const QString kSection = QStringLiteral("Tuning");

int readInt(const ConfigFile& config, const char* key, int neutral, int lo, int hi)
{
    bool ok = false;
    const int v = config.Read(kSection, QString::fromLatin1(key), QString()).trimmed().toInt(&ok);
    return ok ? std::clamp(v, lo, hi) : neutral;
}

} // namespace

StudioSettings LoadStudioSettings(const ConfigFile& config)
{
    using rendering::Tuning;
    StudioSettings s;
    s.tuning.brightness = readInt(config, "Brightness", 0, Tuning::MinBrightness, Tuning::MaxBrightness);
    s.tuning.contrast = readInt(config, "Contrast", 0, Tuning::MinContrast, Tuning::MaxContrast);
    s.tuning.threshold =
        readInt(config, "Threshold", Tuning::NeutralThreshold, Tuning::MinThreshold, Tuning::MaxThreshold);
    s.tuning.invert = config.Read(kSection, QStringLiteral("Invert"), QString()).trimmed() == QLatin1String("1");
    bool ok = false;
    const double gamma = config.Read(kSection, QStringLiteral("Gamma"), QString()).trimmed().toDouble(&ok);
    // Kept in hundredths, as the window sets it.
    if (ok && std::isfinite(gamma))
        s.tuning.gamma = std::clamp(std::round(gamma * 100.0) / 100.0, Tuning::MinGamma, Tuning::MaxGamma);
    const QString name = config.Read(kSection, QStringLiteral("Rendering"), QString()).trimmed();
    s.rightRendering = rendering::RenderingFromName(name).value_or(rendering::Rendering::Dither);
    return s;
}

bool SaveStudioSettings(ConfigFile& config, const StudioSettings& settings)
{
    const rendering::Tuning& t = settings.tuning;
    bool ok = config.Write(kSection, QStringLiteral("Brightness"), QString::number(t.brightness));
    ok = config.Write(kSection, QStringLiteral("Contrast"), QString::number(t.contrast)) && ok;
    ok = config.Write(kSection, QStringLiteral("Gamma"), QString::number(t.gamma, 'f', 2)) && ok;
    ok = config.Write(kSection, QStringLiteral("Invert"), t.invert ? QStringLiteral("1") : QStringLiteral("0")) && ok;
    ok = config.Write(kSection, QStringLiteral("Threshold"), QString::number(t.threshold)) && ok;
    ok = config.Write(kSection, QStringLiteral("Rendering"), rendering::RenderingName(settings.rightRendering)) && ok;
    return ok;
}

} // namespace kovra::shell
