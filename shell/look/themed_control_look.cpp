#include "shell/look/themed_control_look.h"

#include "shell/look/themed_painting.h"

#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <QSlider>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace kovra::shell {

using namespace themed;

namespace {

// 1: blue, the program's own; 2: olive; 3: silver.
constexpr Colours kSchemes[] = {
    {qRgb(0, 60, 115), qRgb(245, 244, 234), {qRgb(209, 204, 193), qRgb(242, 241, 238)},
        {qRgb(255, 240, 207), qRgb(229, 151, 0)}, {qRgb(214, 203, 189), qRgb(247, 243, 239)},
        {qRgb(206, 231, 255), qRgb(105, 130, 238)}, {qRgb(255, 255, 255), qRgb(226, 223, 214)},
        {qRgb(231, 227, 222), qRgb(231, 227, 222)}, {qRgb(252, 252, 251), qRgb(236, 235, 230)}},
    {qRgb(55, 98, 6), qRgb(245, 244, 234), {qRgb(190, 200, 160), qRgb(238, 241, 230)},
        {qRgb(255, 240, 207), qRgb(229, 151, 0)}, {qRgb(200, 210, 170), qRgb(244, 246, 236)},
        {qRgb(212, 232, 178), qRgb(120, 168, 52)}, {qRgb(255, 255, 255), qRgb(220, 226, 204)},
        {qRgb(228, 232, 216), qRgb(228, 232, 216)}, {qRgb(252, 253, 249), qRgb(234, 238, 224)}},
    {qRgb(92, 92, 116), qRgb(245, 245, 248), {qRgb(196, 196, 208), qRgb(240, 240, 244)},
        {qRgb(255, 240, 207), qRgb(229, 151, 0)}, {qRgb(206, 206, 218), qRgb(244, 244, 248)},
        {qRgb(218, 226, 250), qRgb(124, 140, 214)}, {qRgb(255, 255, 255), qRgb(214, 214, 226)},
        {qRgb(226, 226, 234), qRgb(226, 226, 234)}, {qRgb(253, 253, 255), qRgb(232, 232, 240)}},
};

} // namespace

ThemedControlLook::ThemedControlLook(int scheme)
    : QProxyStyle(QStringLiteral("Fusion"))
    , m_scheme(scheme)
    , m_colours(scheme >= 1 && scheme <= 3 ? &kSchemes[scheme - 1] : nullptr)
{
}

// ---- the bevel shared by buttons, handles, combo boxes and scroll bar parts ----

void ThemedControlLook::paintBevel(
    QPainter* p, const QRect& borderRect, const Bevel& b, const QColor& cornerFill, const QColor& face) const
{
    const Colours& k = *m_colours;
    const QColor border = b.enabled ? QColor(k.border) : darkened(face, 32);
    frameRect(p, borderRect, border);

    const QRect ring = borderRect.adjusted(1, 1, -1, -1);
    if (!b.enabled)
        p->fillRect(ring, QColor(k.disabledFill));
    else if (b.pressed)
        fillGradient(p, ring, k.pressed);
    else if (b.hover)
        fillGradient(p, ring, k.hover);
    else if (b.checked || b.indeterminate)
        fillGradient(p, ring, k.checked);
    else if (b.focused)
        fillGradient(p, ring, k.focused);
    else
        fillGradient(p, ring, k.normal);

    if (b.enabled || b.pressed || b.checked) {
        const bool pushed = b.pressed || b.checked || b.indeterminate;
        fillGradient(p, borderRect.adjusted(3, 3, -3, -3), pushed ? k.facePushed : k.faceNormal);
    }

    if (borderRect.width() < 4 || borderRect.height() < 4)
        return;
    const QColor corner = b.enabled ? cornerFill : darkened(face, 21);
    const QColor beside = b.enabled ? border : darkened(face, 17);
    const int l = borderRect.left(), t = borderRect.top(), r = borderRect.right(), btm = borderRect.bottom();
    setPixel(p, l, t, corner);
    setPixel(p, r, t, corner);
    setPixel(p, l, btm, corner);
    setPixel(p, r, btm, corner);
    setPixel(p, l + 1, t + 1, beside);
    setPixel(p, r - 1, t + 1, beside);
    setPixel(p, l + 1, btm - 1, beside);
    setPixel(p, r - 1, btm - 1, beside);
}

void ThemedControlLook::paintButtonBevel(const QStyleOption* o, QPainter* p) const
{
    Bevel b;
    b.enabled = isSet(o, State_Enabled);
    b.pressed = isSet(o, State_Sunken);
    b.hover = isSet(o, State_MouseOver);
    b.checked = isSet(o, State_On);
    b.indeterminate = isSet(o, State_NoChange);
    b.focused = isSet(o, State_HasFocus);
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(o);
    if (button) {
        b.focused = b.focused || (button->features & QStyleOptionButton::DefaultButton);
        if ((button->features & QStyleOptionButton::Flat) && !b.pressed && !b.checked && !b.hover)
            return;
    }
    const QColor face = buttonFace(o->palette);
    const QRect r = o->rect;
    p->fillRect(r, o->palette.brush(QPalette::Button));
    frameRect(p, r, face);
    paintBevel(p, r.adjusted(1, 1, -1, -1), b, face, face);
}

void ThemedControlLook::paintButtonCaption(const QStyleOption* o, QPainter* p, const QWidget* w) const
{
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(o);
    if (!button)
        return;
    QRect textRect = button->rect.adjusted(4, 4, -4, -4);
    if (button->state & State_Sunken)
        textRect.translate(proxy()->pixelMetric(PM_ButtonShiftHorizontal, o, w),
            proxy()->pixelMetric(PM_ButtonShiftVertical, o, w));
    const QColor colour = captionColour(o);

    Qt::Alignment align = Qt::AlignCenter;
    if (w) {
        const QVariant wanted = w->property(CaptionAlignmentProperty);
        if (wanted.isValid()) {
            align = Qt::Alignment(wanted.toInt());
            if (!(align & Qt::AlignHorizontal_Mask))
                align |= Qt::AlignHCenter;
            if (!(align & Qt::AlignVertical_Mask))
                align |= Qt::AlignVCenter;
        }
    }

    p->save();
    p->setClipRect(button->rect.adjusted(2, 2, -2, -2), Qt::IntersectClip);
    if (button->features & QStyleOptionButton::HasMenu) {
        const int indicator = proxy()->pixelMetric(PM_MenuButtonIndicator, o, w);
        arrowGlyph(p, QRect(textRect.right() - indicator + 1, textRect.top(), indicator, textRect.height()),
            Qt::DownArrow, colour);
        textRect.setRight(textRect.right() - indicator);
    }
    if (!button->icon.isNull()) {
        const QIcon::Mode mode = (o->state & State_Enabled) ? QIcon::Normal : QIcon::Disabled;
        const QIcon::State state = (o->state & State_On) ? QIcon::On : QIcon::Off;
        const QPixmap pixmap = button->icon.pixmap(button->iconSize, p->device()->devicePixelRatio(), mode, state);
        QRect iconRect = alignedRect(button->direction, Qt::AlignCenter, button->iconSize, textRect);
        if (!button->text.isEmpty()) {
            iconRect.moveLeft(textRect.left());
            textRect.setLeft(iconRect.right() + 4);
        }
        p->drawPixmap(iconRect, pixmap);
    }
    int flags = int(visualAlignment(button->direction, align)) | Qt::TextWordWrap;
    flags |= proxy()->styleHint(SH_UnderlineShortcut, o, w) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
    p->setPen(colour);
    p->drawText(textRect, flags, button->text);
    p->restore();
}

void ThemedControlLook::paintPushButton(const QStyleOption* o, QPainter* p, const QWidget* w) const
{
    proxy()->drawControl(CE_PushButtonBevel, o, p, w);
    proxy()->drawControl(CE_PushButtonLabel, o, p, w);
    if (o->state & State_HasFocus)
        dottedFrame(p, o->rect.adjusted(3, 3, -3, -3), QColor(kCaption));
}

// ---- check boxes and radio buttons ----

void ThemedControlLook::paintCheckIndicator(const QStyleOption* o, QPainter* p) const
{
    const Colours& k = *m_colours;
    const QRect r = o->rect;
    const bool enabled = isSet(o, State_Enabled);
    const QColor face = buttonFace(o->palette);
    const QRect ring = r.adjusted(1, 1, -1, -1);
    if (!enabled)
        p->fillRect(ring, QColor(k.disabledFill));
    else {
        // The mark shows checked and indeterminate; the ring shows pressing and hovering.
        fillGradient(p, ring, isSet(o, State_Sunken) ? k.pressed : isSet(o, State_MouseOver) ? k.hover : k.normal);
        fillGradient(p, r.adjusted(3, 3, -3, -3), isSet(o, State_Sunken) ? k.facePushed : k.faceNormal);
    }
    roundedFrame(p, r, enabled ? QColor(k.border) : darkened(face, 32));
    if (o->state & State_On)
        checkMark(p, r, enabled ? QColor(k.border) : QColor(kCaptionGrey));
    else if (o->state & State_NoChange)
        p->fillRect(r.adjusted(4, 4, -4, -4), QColor(kCaptionGrey));
}

void ThemedControlLook::paintRadioIndicator(const QStyleOption* o, QPainter* p) const
{
    // A 13 x 13 circle drawn from masks: border, the state ring, the face and the dot.
    static constexpr const char* outline[13] = {
        "....BBBBB....", "..BBiiiiiBB..", ".BiiiiiiiiiB.", ".BiiiiiiiiiB.", "BiiiiiiiiiiiB", "BiiiiiiiiiiiB",
        "BiiiiiiiiiiiB", "BiiiiiiiiiiiB", "BiiiiiiiiiiiB", ".BiiiiiiiiiB.", ".BiiiiiiiiiB.", "..BBiiiiiBB..",
        "....BBBBB....",
    };
    static constexpr const char* faceMask[7] = {"..###..", ".#####.", "#######", "#######", "#######", ".#####.", "..###.."};
    static constexpr const char* dotMask[5] = {".###.", "#####", "#####", "#####", ".###."};

    const Colours& k = *m_colours;
    const bool enabled = isSet(o, State_Enabled);
    const bool dot = isSet(o, State_On);
    const QColor border = enabled ? QColor(k.border) : darkened(buttonFace(o->palette), 32);
    const QColor mark = enabled ? QColor(k.border) : QColor(kCaptionGrey);
    const Gradient& ring = isSet(o, State_Sunken) ? k.pressed : isSet(o, State_MouseOver) ? k.hover : k.normal;
    const Gradient& face = isSet(o, State_Sunken) ? k.facePushed : k.faceNormal;
    const QPoint origin = o->rect.center() - QPoint(6, 6);

    for (int y = 0; y < 13; ++y) {
        // Runs of equal colour along the row, so each row costs a few fills.
        int runStart = 0;
        QColor runColour;
        bool runPainted = false;
        for (int x = 0; x <= 13; ++x) {
            bool painted = false;
            QColor c;
            if (x < 13 && outline[y][x] != '.') {
                painted = true;
                const bool inFace = y >= 3 && y < 10 && x >= 3 && x < 10 && faceMask[y - 3][x - 3] == '#';
                const bool inDot = dot && y >= 4 && y < 9 && x >= 4 && x < 9 && dotMask[y - 4][x - 4] == '#';
                if (outline[y][x] == 'B')
                    c = border;
                else if (inDot)
                    c = mark;
                else if (!enabled)
                    c = QColor(k.disabledFill);
                else if (inFace)
                    c = gradientColour(face, y - 3, 6);
                else
                    c = gradientColour(ring, y - 1, 10);
            }
            if (x == 13 || painted != runPainted || c != runColour) {
                if (runPainted && x > runStart)
                    p->fillRect(QRect(origin.x() + runStart, origin.y() + y, x - runStart, 1), runColour);
                runStart = x;
                runColour = c;
                runPainted = painted;
            }
        }
    }
}

// ---- edit frames ----

void ThemedControlLook::paintEditFrame(const QStyleOption* o, QPainter* p, int lineWidth) const
{
    const Colours& k = *m_colours;
    const bool enabled = isSet(o, State_Enabled);
    const QColor base = o->palette.color(QPalette::Base);
    for (int i = 1; i < lineWidth; ++i)
        frameRect(p, o->rect.adjusted(i, i, -i, -i),
            i == 1 && enabled && isSet(o, State_HasFocus) ? QColor(k.focused.top) : base);
    roundedFrame(p, o->rect, enabled ? QColor(k.border) : darkened(buttonFace(o->palette), 32));
}

// ---- QStyle entry points ----

void ThemedControlLook::drawPrimitive(PrimitiveElement element, const QStyleOption* o, QPainter* p, const QWidget* w) const
{
    if (!m_colours || !o) {
        QProxyStyle::drawPrimitive(element, o, p, w);
        return;
    }
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    switch (element) {
    case PE_PanelButtonCommand:
    case PE_PanelButtonBevel:
    case PE_PanelButtonTool: paintButtonBevel(o, p); break;
    case PE_FrameDefaultButton: break; // the default button shows in its ring colour
    case PE_FrameFocusRect: dottedFrame(p, o->rect, QColor(kCaption)); break;
    case PE_IndicatorCheckBox: paintCheckIndicator(o, p); break;
    case PE_IndicatorRadioButton: paintRadioIndicator(o, p); break;
    case PE_FrameGroupBox:
        roundedFrame(p, o->rect, isSet(o, State_Enabled) ? QColor(m_colours->border) : darkened(buttonFace(o->palette), 32));
        break;
    case PE_PanelLineEdit: {
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(o);
        if (frame && frame->lineWidth > 0) {
            p->fillRect(o->rect.adjusted(1, 1, -1, -1), o->palette.brush(QPalette::Base));
            paintEditFrame(o, p, proxy()->pixelMetric(PM_DefaultFrameWidth, o, w));
        } else {
            p->fillRect(o->rect, o->palette.brush(QPalette::Base));
        }
        break;
    }
    case PE_FrameLineEdit:
    case PE_Frame: paintEditFrame(o, p, proxy()->pixelMetric(PM_DefaultFrameWidth, o, w)); break;
    default: QProxyStyle::drawPrimitive(element, o, p, w); break;
    }
    p->restore();
}

void ThemedControlLook::drawControl(ControlElement element, const QStyleOption* o, QPainter* p, const QWidget* w) const
{
    if (!m_colours || !o) {
        QProxyStyle::drawControl(element, o, p, w);
        return;
    }
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    switch (element) {
    case CE_PushButton: paintPushButton(o, p, w); break;
    case CE_PushButtonBevel: paintButtonBevel(o, p); break;
    case CE_PushButtonLabel: paintButtonCaption(o, p, w); break;
    case CE_CheckBoxLabel:
    case CE_RadioButtonLabel:
    case CE_ComboBoxLabel: {
        // The base style draws these; only the caption colours are ours. The
        // copy lives as its own type: QStyleOption has no virtual destructor,
        // so a derived option must never be deleted through a base pointer.
        const QColor colour = captionColour(o);
        const auto drawRecoloured = [&](QStyleOption& copy) {
            for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
                copy.palette.setColor(role, colour);
            p->setPen(colour);
            QProxyStyle::drawControl(element, &copy, p, w);
        };
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(o)) {
            QStyleOptionButton copy(*button);
            drawRecoloured(copy);
        } else if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(o)) {
            QStyleOptionComboBox copy(*combo);
            drawRecoloured(copy);
        } else {
            QStyleOption copy(*o);
            drawRecoloured(copy);
        }
        break;
    }
    case CE_ProgressBar:
        if (const auto* bar = qstyleoption_cast<const QStyleOptionProgressBar*>(o)) {
            QStyleOptionProgressBar part = *bar;
            part.rect = proxy()->subElementRect(SE_ProgressBarGroove, bar, w);
            proxy()->drawControl(CE_ProgressBarGroove, &part, p, w);
            part.rect = proxy()->subElementRect(SE_ProgressBarContents, bar, w);
            proxy()->drawControl(CE_ProgressBarContents, &part, p, w);
            if (bar->textVisible) {
                part.rect = proxy()->subElementRect(SE_ProgressBarLabel, bar, w);
                proxy()->drawControl(CE_ProgressBarLabel, &part, p, w);
            }
        }
        break;
    case CE_ProgressBarGroove: paintProgressGroove(o, p); break;
    case CE_ProgressBarContents: paintProgressContents(o, p, w); break;
    case CE_ProgressBarLabel: paintProgressLabel(o, p); break;
    default: QProxyStyle::drawControl(element, o, p, w); break;
    }
    p->restore();
}

void ThemedControlLook::drawComplexControl(
    ComplexControl control, const QStyleOptionComplex* o, QPainter* p, const QWidget* w) const
{
    if (!m_colours || !o) {
        QProxyStyle::drawComplexControl(control, o, p, w);
        return;
    }
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    switch (control) {
    case CC_GroupBox: paintGroupBox(o, p, w); break;
    case CC_ComboBox: paintComboBox(o, p, w); break;
    case CC_Slider: paintSlider(o, p, w); break;
    case CC_ScrollBar: paintScrollBar(o, p, w); break;
    default: QProxyStyle::drawComplexControl(control, o, p, w); break;
    }
    p->restore();
}

QRect ThemedControlLook::subControlRect(
    ComplexControl control, const QStyleOptionComplex* o, SubControl sub, const QWidget* w) const
{
    if (m_colours && o) {
        switch (control) {
        case CC_GroupBox: return groupBoxRect(o, sub, w);
        case CC_ComboBox: return comboBoxRect(o, sub);
        case CC_Slider: return sliderRect(o, sub);
        default: break;
        }
    }
    return QProxyStyle::subControlRect(control, o, sub, w);
}

QRect ThemedControlLook::subElementRect(SubElement element, const QStyleOption* o, const QWidget* w) const
{
    if (m_colours && o && (element == SE_ProgressBarGroove || element == SE_ProgressBarContents))
        return o->rect;
    return QProxyStyle::subElementRect(element, o, w);
}

int ThemedControlLook::pixelMetric(PixelMetric metric, const QStyleOption* o, const QWidget* w) const
{
    if (m_colours) {
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight: return 13;
        case PM_ButtonShiftHorizontal:
        case PM_ButtonShiftVertical: return 1;
        case PM_DefaultFrameWidth:
        case PM_ComboBoxFrameWidth: return 2;
        case PM_ScrollBarExtent: return 17;
        case PM_SliderLength: return 11;
        case PM_SliderControlThickness: return 21;
        case PM_SliderThickness: return 21 + 2 * (kTickGap + kTickLength);
        case PM_SliderTickmarkOffset: return kTickGap;
        default: break;
        }
    }
    return QProxyStyle::pixelMetric(metric, o, w);
}

int ThemedControlLook::styleHint(StyleHint hint, const QStyleOption* o, const QWidget* w, QStyleHintReturn* data) const
{
    // A drop-down list opens below its box, not over it.
    if (m_colours && hint == SH_ComboBox_Popup)
        return 0;
    return QProxyStyle::styleHint(hint, o, w, data);
}

} // namespace kovra::shell
