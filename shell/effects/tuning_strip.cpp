#include "shell/effects/tuning_strip.h"

#include "shell/widgets/place_control.h"
#include "shell/widgets/window_fonts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <cmath>

namespace kovra::shell {

namespace {

using rendering::Tuning;

// The gamma slider is logarithmic, neutral in the middle: position p in
// -100..100 is gamma 5^(p / 100), 0.20 to 5.00, rounded to hundredths.
constexpr int kGammaPositions = 100;

double gammaAt(int position)
{
    return std::round(100.0 * std::pow(Tuning::MaxGamma, double(position) / kGammaPositions)) / 100.0;
}

int gammaPosition(double gamma)
{
    return int(std::lround(kGammaPositions * std::log(gamma) / std::log(Tuning::MaxGamma)));
}

QLabel* placeLabel(QWidget* parent, const char* name, int x, int y, int width,
                   Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* label = PlaceControl<QLabel>(parent, name, x, y, width, 24);
    label->setFont(ArialFont(13));
    label->setAlignment(align);
    return label;
}

// The label's text in the strip's 13-pixel face, or smaller (not below 11)
// where a language's word is wider than the label.
void setFittingText(QLabel* label, const QString& text)
{
    int pixels = 13;
    while (pixels > 11 && QFontMetrics(ArialFont(pixels)).horizontalAdvance(text) > label->width())
        --pixels;
    label->setFont(ArialFont(pixels));
    label->setText(text);
}

} // namespace

QString TuningStrip::CommandLineTip(rendering::Rendering rendering)
{
    return tr("On the command line: --effect %1").arg(rendering::RenderingName(rendering));
}

TuningStrip::TuningStrip(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TuningStrip"));
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;

    // Under the black-and-white board.
    ThresholdLabel = placeLabel(this, "ThresholdLabel", 8, 4, 72);
    ThresholdSlider = placeSlider("ThresholdSlider", 84, 4, 370, Tuning::MinThreshold, Tuning::MaxThreshold);
    ThresholdValueLabel = placeLabel(this, "ThresholdValueLabel", 458, 4, 44, right);

    // Under the right-hand board.
    RenderingLabel = placeLabel(this, "RenderingLabel", 544, 4, 84);
    RenderingCombo = PlaceControl<QComboBox>(this, "RenderingCombo", 632, 4, 200, 24);
    for (rendering::Rendering r : rendering::AllRenderings) {
        if (r == rendering::Rendering::BlackWhite)
            continue;
        RenderingCombo->addItem(QString(), int(r)); // its title and tip: retranslate()
    }
    ContactSheetButton = PlaceControl<QPushButton>(this, "ContactSheetButton", 848, 2, 210, 28);
    ContactSheetButton->setFont(ButtonFont());

    // The tone controls, for both boards.
    BrightnessLabel = placeLabel(this, "BrightnessLabel", 8, 40, 72);
    BrightnessSlider = placeSlider("BrightnessSlider", 84, 40, 160, Tuning::MinBrightness, Tuning::MaxBrightness);
    BrightnessValueLabel = placeLabel(this, "BrightnessValueLabel", 248, 40, 44, right);
    ContrastLabel = placeLabel(this, "ContrastLabel", 304, 40, 72);
    ContrastSlider = placeSlider("ContrastSlider", 380, 40, 160, Tuning::MinContrast, Tuning::MaxContrast);
    ContrastValueLabel = placeLabel(this, "ContrastValueLabel", 544, 40, 44, right);
    GammaLabel = placeLabel(this, "GammaLabel", 600, 40, 72);
    GammaSlider = placeSlider("GammaSlider", 676, 40, 160, -kGammaPositions, kGammaPositions, false);
    GammaValueLabel = placeLabel(this, "GammaValueLabel", 840, 40, 44, right);
    InvertCheck = PlaceControl<QCheckBox>(this, "InvertCheck", 904, 40, 76, 24);
    InvertCheck->setFont(ArialFont(13));
    ResetButton = PlaceControl<QPushButton>(this, "ResetButton", 990, 38, 68, 28);
    ResetButton->setFont(ButtonFont());

    retranslate();
    setTuning(Tuning{});

    // The gamma shown and reported is the slider's only once it is moved, so
    // a stored value between two positions is kept as it was.
    connect(GammaSlider, &QSlider::valueChanged, this, [this](int position) {
        if (m_quiet)
            return;
        m_gamma = gammaAt(position);
        controlMoved();
    });
    connect(InvertCheck, &QCheckBox::toggled, this, [this] { controlMoved(); });
    connect(RenderingCombo, &QComboBox::currentIndexChanged, this, [this] {
        RenderingCombo->setToolTip(CommandLineTip(rightRendering()));
        if (!m_quiet)
            emit rightRenderingChanged(rightRendering());
    });
    connect(ContactSheetButton, &QPushButton::clicked, this, [this] { emit contactSheetRequested(); });
    // Reset brings the tone controls back to neutral; the rendering stays.
    connect(ResetButton, &QPushButton::clicked, this, [this] {
        setTuning(Tuning{});
        emit tuningChanged(tuning());
    });
}

QString RenderingTitle(rendering::Rendering rendering)
{
    return QCoreApplication::translate("kovra::rendering", rendering::RenderingLabel(rendering).toUtf8().constData());
}

void TuningStrip::retranslate()
{
    setFittingText(ThresholdLabel, tr("Threshold"));
    setFittingText(RenderingLabel, tr("Rendering"));
    for (int i = 0; i < RenderingCombo->count(); ++i) {
        const auto r = rendering::Rendering(RenderingCombo->itemData(i).toInt());
        RenderingCombo->setItemText(i, RenderingTitle(r));
        RenderingCombo->setItemData(i, CommandLineTip(r), Qt::ToolTipRole);
    }
    RenderingCombo->setToolTip(CommandLineTip(rightRendering()));
    ContactSheetButton->setText(tr("All renderings side by side"));
    setFittingText(BrightnessLabel, tr("Brightness"));
    setFittingText(ContrastLabel, tr("Contrast"));
    setFittingText(GammaLabel, tr("Gamma"));
    InvertCheck->setText(tr("Invert"));
    ResetButton->setText(tr("Reset"));
}

void TuningStrip::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

QSlider* TuningStrip::placeSlider(const char* name, int x, int y, int width, int lo, int hi, bool report)
{
    auto* slider = PlaceControl<QSlider>(this, name, x, y, width, 24);
    slider->setOrientation(Qt::Horizontal);
    slider->setRange(lo, hi);
    // Tracking: every move is a change, so the boards follow the drag.
    slider->setTracking(true);
    slider->setPageStep(qMax(1, (hi - lo) / 20));
    if (report)
        connect(slider, &QSlider::valueChanged, this, [this] { controlMoved(); });
    return slider;
}

void TuningStrip::setTuning(const rendering::Tuning& tuning)
{
    m_quiet = true;
    ThresholdSlider->setValue(tuning.threshold);
    BrightnessSlider->setValue(tuning.brightness);
    ContrastSlider->setValue(tuning.contrast);
    GammaSlider->setValue(gammaPosition(tuning.gamma));
    m_gamma = tuning.gamma;
    InvertCheck->setChecked(tuning.invert);
    m_quiet = false;
    showValues();
}

rendering::Tuning TuningStrip::tuning() const
{
    Tuning t;
    t.threshold = ThresholdSlider->value();
    t.brightness = BrightnessSlider->value();
    t.contrast = ContrastSlider->value();
    t.gamma = m_gamma;
    t.invert = InvertCheck->isChecked();
    return t;
}

void TuningStrip::setRightRendering(rendering::Rendering rendering)
{
    const int index = RenderingCombo->findData(int(rendering));
    if (index < 0)
        return;
    m_quiet = true;
    RenderingCombo->setCurrentIndex(index);
    m_quiet = false;
}

rendering::Rendering TuningStrip::rightRendering() const
{
    return rendering::Rendering(RenderingCombo->currentData().toInt());
}

void TuningStrip::showValues()
{
    const Tuning t = tuning();
    ThresholdValueLabel->setText(QString::number(t.threshold));
    BrightnessValueLabel->setText(QString::number(t.brightness));
    ContrastValueLabel->setText(QString::number(t.contrast));
    GammaValueLabel->setText(QString::number(t.gamma, 'f', 2));
}

void TuningStrip::controlMoved()
{
    if (m_quiet)
        return;
    showValues();
    emit tuningChanged(tuning());
}

} // namespace kovra::shell
