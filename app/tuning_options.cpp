#include "app/tuning_options.h"

#include "app/command_line.h"
#include "picture/picture_flow.h"

#include <cmath>

namespace kovra::app {

namespace {

using rendering::Tuning;

const QString kEffect = QStringLiteral("effect");
const QString kBrightness = QStringLiteral("brightness");
const QString kContrast = QStringLiteral("contrast");
const QString kGamma = QStringLiteral("gamma");
const QString kInvert = QStringLiteral("invert");
const QString kThreshold = QStringLiteral("threshold");

QString wholeNumbers(int lo, int hi) { return QStringLiteral("takes a whole number from %1 to %2").arg(lo).arg(hi); }

// What is left of a name for comparing: lower case, letters and digits only.
QString bare(const QString& words)
{
    QString kept;
    for (const QChar c : words.toLower())
        if (c.isLetterOrNumber())
            kept += c;
    return kept;
}

} // namespace

void AddRenderOptions(CommandLine& line, bool withEffect)
{
    if (withEffect)
        line.addValue(kEffect, QStringLiteral("NAME"),
            QStringLiteral("The rendering: a name \"kovra render --list\" prints, or the effect window's name for it "
                           "(default: dither)."),
            QStringLiteral("takes a rendering: %1").arg(rendering::RenderingNames().join(u", ")));
    line.addValue(kBrightness, QStringLiteral("-100..100"), QStringLiteral("Brightness (default: 0)."),
        wholeNumbers(Tuning::MinBrightness, Tuning::MaxBrightness));
    line.addValue(kContrast, QStringLiteral("-100..100"), QStringLiteral("Contrast (default: 0)."),
        wholeNumbers(Tuning::MinContrast, Tuning::MaxContrast));
    line.addValue(kGamma, QStringLiteral("0.20..5.00"),
        QStringLiteral("Gamma; above 1 lightens the mid-tones (default: 1.00)."),
        QStringLiteral("takes a number from 0.20 to 5.00"));
    line.addFlag(kInvert, QStringLiteral("Invert the picture's tones."));
    line.addValue(kThreshold, QStringLiteral("0..255"),
        QStringLiteral("The black-and-white threshold: darker greys burn (default: %1).").arg(Tuning::NeutralThreshold),
        wholeNumbers(Tuning::MinThreshold, Tuning::MaxThreshold));
}

bool ReadRenderOptions(CommandLine& line, RenderOptions& options, bool withEffect)
{
    Tuning& tuning = options.tuning;
    if (withEffect && line.isSet(kEffect)) {
        const auto rendering = RenderingFromWords(line.value(kEffect));
        if (!rendering) {
            line.setError(QStringLiteral("unknown rendering \"%1\"; the renderings are %2")
                              .arg(line.value(kEffect), rendering::RenderingNames().join(u", ")));
            return false;
        }
        options.effect = *rendering;
    }
    if (!line.readNumber(kBrightness, Tuning::MinBrightness, Tuning::MaxBrightness, tuning.brightness)
        || !line.readNumber(kContrast, Tuning::MinContrast, Tuning::MaxContrast, tuning.contrast)
        || !line.readNumber(kThreshold, Tuning::MinThreshold, Tuning::MaxThreshold, tuning.threshold))
        return false;
    if (line.isSet(kGamma)) {
        bool ok = false;
        const double gamma = line.value(kGamma).toDouble(&ok);
        if (!ok || !std::isfinite(gamma) || gamma < Tuning::MinGamma || gamma > Tuning::MaxGamma)
            return line.refuseValue(kGamma);
        tuning.gamma = gamma;
    }
    tuning.invert = line.isSet(kInvert);
    return true;
}

std::optional<rendering::Rendering> RenderingFromWords(const QString& words)
{
    const QString wanted = bare(words);
    for (rendering::Rendering r : rendering::AllRenderings)
        if (!wanted.isEmpty() && (wanted == bare(rendering::RenderingName(r)) || wanted == bare(rendering::RenderingLabel(r))))
            return r;
    return std::nullopt;
}

QString RenderingList()
{
    return rendering::RenderingNames().join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString RenderingTable()
{
    QString table;
    for (rendering::Rendering r : rendering::AllRenderings)
        table += QStringLiteral("  %1%2\n").arg(rendering::RenderingName(r), -18).arg(rendering::RenderingLabel(r));
    return table;
}

void ApplyRenderOptions(picture::PictureFlow& flow, const RenderOptions& options)
{
    flow.SetTuning(options.tuning);
    flow.SetRightRendering(options.effect);
}

} // namespace kovra::app
