#include "app/tuning_options.h"

#include "picture/picture_flow.h"

#include <cmath>

namespace kovra::app {

namespace {

using rendering::Tuning;

bool wholeNumber(const QString& text, int lo, int hi, int& into)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < lo || v > hi)
        return false;
    into = v;
    return true;
}

} // namespace

OptionTaken TakeRenderOption(const QStringList& args, int& i, RenderOptions& options, QString& error, bool withEffect)
{
    const QString& option = args[i];
    if (option == QLatin1String("--invert")) {
        options.tuning.invert = true;
        return OptionTaken::Taken;
    }
    const bool ours = (withEffect && option == QLatin1String("--effect")) || option == QLatin1String("--brightness")
        || option == QLatin1String("--contrast") || option == QLatin1String("--gamma")
        || option == QLatin1String("--threshold");
    if (!ours)
        return OptionTaken::NotOurs;

    const QString names = rendering::RenderingNames().join(QStringLiteral(", "));
    struct Range {
        int* into;
        int lo, hi;
    };
    const Range range = option == QLatin1String("--brightness")
        ? Range{&options.tuning.brightness, Tuning::MinBrightness, Tuning::MaxBrightness}
        : option == QLatin1String("--contrast")
        ? Range{&options.tuning.contrast, Tuning::MinContrast, Tuning::MaxContrast}
        : Range{&options.tuning.threshold, Tuning::MinThreshold, Tuning::MaxThreshold};
    // What the option takes, for the message when its value is missing or wrong.
    const QString takes = option == QLatin1String("--effect") ? QStringLiteral("--effect takes a rendering: %1").arg(names)
        : option == QLatin1String("--gamma")                  ? QStringLiteral("--gamma takes a number from 0.20 to 5.00")
                                              : QStringLiteral("%1 takes a whole number from %2 to %3").arg(option).arg(range.lo).arg(range.hi);
    if (i + 1 >= args.size()) {
        error = takes;
        return OptionTaken::Error;
    }
    const QString value = args[++i];
    if (option == QLatin1String("--effect")) {
        const auto rendering = rendering::RenderingFromName(value);
        if (!rendering) {
            error = QStringLiteral("unknown rendering \"%1\"; the renderings are %2").arg(value, names);
            return OptionTaken::Error;
        }
        options.effect = *rendering;
        return OptionTaken::Taken;
    }
    if (option == QLatin1String("--gamma")) {
        bool ok = false;
        const double gamma = value.toDouble(&ok);
        if (!ok || !std::isfinite(gamma) || gamma < Tuning::MinGamma || gamma > Tuning::MaxGamma) {
            error = QStringLiteral("%1, not \"%2\"").arg(takes, value);
            return OptionTaken::Error;
        }
        options.tuning.gamma = gamma;
        return OptionTaken::Taken;
    }
    if (!wholeNumber(value, range.lo, range.hi, *range.into)) {
        error = QStringLiteral("%1, not \"%2\"").arg(takes, value);
        return OptionTaken::Error;
    }
    return OptionTaken::Taken;
}

QString RenderOptionsUsage(bool withEffect)
{
    return QStringLiteral("%1[--brightness -100..100] [--contrast -100..100] [--gamma 0.20..5.00] [--invert] "
                          "[--threshold 0..255]")
        .arg(withEffect ? QStringLiteral("[--effect NAME] ") : QString());
}

QString RenderingList()
{
    return rendering::RenderingNames().join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void ApplyRenderOptions(picture::PictureFlow& flow, const RenderOptions& options)
{
    flow.SetTuning(options.tuning);
    flow.SetRightRendering(options.effect);
}

} // namespace kovra::app
