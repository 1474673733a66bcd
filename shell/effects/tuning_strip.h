#pragma once
// The effect window's tuning strip, under its two boards: the threshold of
// the black and white (under the left board), the rendering the right-hand
// board shows and the contact sheet button (under the right one), then
// brightness, contrast, gamma, invert and "Reset". Every change is reported
// at once, also while a slider is dragged.

#include "rendering/rendering.h"
#include "rendering/tuning.h"

#include <QWidget>

class QEvent;

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace kovra::shell {

// The name of a rendering as the window shows it, in the user's language.
QString RenderingTitle(rendering::Rendering rendering);

class TuningStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int Height = 72;

    explicit TuningStrip(QWidget* parent = nullptr);

    // The tool tip that gives a rendering's name on the command line
    // ("--effect bayer" for "Bayer 8 x 8"), as the chooser and the contact
    // sheet show it.
    static QString CommandLineTip(rendering::Rendering rendering);

    // Shows values without reporting them as changes.
    void setTuning(const rendering::Tuning& tuning);
    rendering::Tuning tuning() const;
    void setRightRendering(rendering::Rendering rendering);
    rendering::Rendering rightRendering() const;

    QLabel* ThresholdLabel = nullptr;
    QSlider* ThresholdSlider = nullptr;
    QLabel* ThresholdValueLabel = nullptr;
    QLabel* RenderingLabel = nullptr;
    QComboBox* RenderingCombo = nullptr;
    QPushButton* ContactSheetButton = nullptr;
    QLabel* BrightnessLabel = nullptr;
    QSlider* BrightnessSlider = nullptr;
    QLabel* BrightnessValueLabel = nullptr;
    QLabel* ContrastLabel = nullptr;
    QSlider* ContrastSlider = nullptr;
    QLabel* ContrastValueLabel = nullptr;
    QLabel* GammaLabel = nullptr;
    QSlider* GammaSlider = nullptr;
    QLabel* GammaValueLabel = nullptr;
    QCheckBox* InvertCheck = nullptr;
    QPushButton* ResetButton = nullptr;

signals:
    void tuningChanged(const rendering::Tuning& tuning);
    void rightRenderingChanged(rendering::Rendering rendering);
    void contactSheetRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    // report: every move is reported as a change of the tuning.
    QSlider* placeSlider(const char* name, int x, int y, int width, int lo, int hi, bool report = true);
    void showValues();
    void controlMoved();

    // Set while the strip itself moves its controls.
    bool m_quiet = false;
    double m_gamma = 1.0;
};

} // namespace kovra::shell
