#pragma once

#include <QProxyStyle>

class QPainter;
class QPalette;

namespace kovra::shell {

// The program's own control look: rounded, gradient-filled buttons, indicators, frames,
// sliders and scroll bars drawn over the Fusion style. Set it on the whole application
// (QApplication::setStyle takes ownership). Schemes 1, 2 and 3 are colour sets; any other
// number leaves every control to the plain Fusion look. The program uses scheme 1.
class ThemedControlLook : public QProxyStyle {
    Q_OBJECT

public:
    explicit ThemedControlLook(int scheme = 1);

    int scheme() const { return m_scheme; }
    bool isOn() const { return m_colours != nullptr; }

    // Optional widget property (an int holding Qt::Alignment) that moves a push button's
    // caption away from the centre, like the left/right/top/bottom button styles.
    static constexpr const char* CaptionAlignmentProperty = "captionAlignment";

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
        const QWidget* widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
        const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
        QStyleHintReturn* returnData = nullptr) const override;

    struct Colours;

private:
    // What a button-like part shows; decides the gradients of the bevel.
    struct Bevel {
        bool enabled = true;
        bool pressed = false;
        bool hover = false;
        bool checked = false;
        bool indeterminate = false;
        bool focused = false; // focused or default button
    };

    void paintBevel(QPainter* p, const QRect& borderRect, const Bevel& b, const QColor& cornerFill,
        const QColor& face) const;
    void paintPushButton(const QStyleOption* option, QPainter* p, const QWidget* widget) const;
    void paintButtonBevel(const QStyleOption* option, QPainter* p) const;
    void paintButtonCaption(const QStyleOption* option, QPainter* p, const QWidget* widget) const;
    void paintCheckIndicator(const QStyleOption* option, QPainter* p) const;
    void paintRadioIndicator(const QStyleOption* option, QPainter* p) const;
    void paintEditFrame(const QStyleOption* option, QPainter* p, int lineWidth) const;
    void paintGroupBox(const QStyleOptionComplex* option, QPainter* p, const QWidget* widget) const;
    void paintComboBox(const QStyleOptionComplex* option, QPainter* p, const QWidget* widget) const;
    void paintSlider(const QStyleOptionComplex* option, QPainter* p, const QWidget* widget) const;
    void paintScrollBar(const QStyleOptionComplex* option, QPainter* p, const QWidget* widget) const;
    void paintProgressGroove(const QStyleOption* option, QPainter* p) const;
    void paintProgressContents(const QStyleOption* option, QPainter* p, const QWidget* widget) const;
    void paintProgressLabel(const QStyleOption* option, QPainter* p) const;
    QRect groupBoxRect(const QStyleOptionComplex* option, SubControl sub, const QWidget* widget) const;
    QRect sliderRect(const QStyleOptionComplex* option, SubControl sub) const;
    QRect comboBoxRect(const QStyleOptionComplex* option, SubControl sub) const;

    int m_scheme;
    const Colours* m_colours; // null when the look is off
};

} // namespace kovra::shell
