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
#include <memory>

// Group boxes, drop-down lists, sliders, scroll bars and progress bars in
// the themed colours.

namespace kovra::shell {

using namespace themed;

// ---- group boxes ----

QRect ThemedControlLook::groupBoxRect(const QStyleOptionComplex* o, SubControl sub, const QWidget* w) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(o);
    if (!box || (box->subControls & SC_GroupBoxCheckBox))
        return QProxyStyle::subControlRect(CC_GroupBox, o, sub, w);
    const QRect r = box->rect;
    const int textHeight = box->text.isEmpty() ? 0 : box->fontMetrics.height();
    switch (sub) {
    case SC_GroupBoxFrame: return r.adjusted(0, textHeight / 2, 0, 0);
    case SC_GroupBoxContents: return r.adjusted(2, std::max(textHeight, 2), -2, -2);
    case SC_GroupBoxLabel: {
        if (box->text.isEmpty())
            return QRect();
        // Two pixels of gap on each side of the caption, where the frame line breaks.
        const int width = std::min(box->fontMetrics.size(Qt::TextShowMnemonic, box->text).width() + 4, r.width() - 14);
        QRect label(r.left() + 7, r.top(), std::max(0, width), textHeight);
        const Qt::Alignment align = visualAlignment(box->direction, box->textAlignment);
        if (align & Qt::AlignHCenter)
            label.moveLeft(r.left() + (r.width() - label.width()) / 2);
        else if (align & Qt::AlignRight)
            label.moveRight(r.right() - 7);
        return label;
    }
    default: return QProxyStyle::subControlRect(CC_GroupBox, o, sub, w);
    }
}

void ThemedControlLook::paintGroupBox(const QStyleOptionComplex* o, QPainter* p, const QWidget* w) const
{
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(o);
    if (!box || (box->subControls & SC_GroupBoxCheckBox)) {
        QProxyStyle::drawComplexControl(CC_GroupBox, o, p, w);
        return;
    }
    const bool enabled = isSet(o, State_Enabled);
    const QColor border = enabled ? QColor(m_colours->border) : darkened(buttonFace(o->palette), 32);
    const QRect label =
        (box->subControls & SC_GroupBoxLabel) ? proxy()->subControlRect(CC_GroupBox, box, SC_GroupBoxLabel, w) : QRect();
    if (box->subControls & SC_GroupBoxFrame) {
        const QRect frame = proxy()->subControlRect(CC_GroupBox, box, SC_GroupBoxFrame, w);
        p->save();
        if (!label.isEmpty())
            p->setClipRegion(QRegion(box->rect).subtracted(QRegion(label)), Qt::IntersectClip);
        if (box->features & QStyleOptionFrame::Flat)
            p->fillRect(QRect(frame.left(), frame.top(), frame.width(), 1), border);
        else
            roundedFrame(p, frame, border);
        p->restore();
    }
    if (!label.isEmpty()) {
        p->save();
        p->setPen(captionColour(o));
        const int mnemonic = proxy()->styleHint(SH_UnderlineShortcut, o, w) ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
        p->drawText(label, Qt::AlignCenter | mnemonic, box->text);
        p->restore();
    }
}

// ---- combo boxes ----

QRect ThemedControlLook::comboBoxRect(const QStyleOptionComplex* o, SubControl sub) const
{
    const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(o);
    const QRect r = o->rect;
    const int arrowWidth = std::min(16, std::max(0, r.width() - 8));
    // An editable box holds its arrow button inside the field, one pixel clear of the frame.
    const int inset = (combo && combo->editable) ? 2 : 1;
    const QRect arrow(r.right() - inset - arrowWidth + 1, r.top() + inset, arrowWidth, std::max(0, r.height() - 2 * inset));
    switch (sub) {
    case SC_ComboBoxFrame:
    case SC_ComboBoxListBoxPopup: return r;
    case SC_ComboBoxArrow: return arrow;
    case SC_ComboBoxEditField:
        if (combo && combo->editable)
            return QRect(r.left() + 3, r.top() + 3, std::max(0, arrow.left() - r.left() - 4), std::max(0, r.height() - 6));
        return QRect(r.left() + 6, r.top() + 1, std::max(0, arrow.left() - r.left() - 7), std::max(0, r.height() - 2));
    default: return QRect();
    }
}

void ThemedControlLook::paintComboBox(const QStyleOptionComplex* o, QPainter* p, const QWidget* w) const
{
    const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(o);
    if (!combo) {
        QProxyStyle::drawComplexControl(CC_ComboBox, o, p, w);
        return;
    }
    const bool enabled = isSet(o, State_Enabled);
    const QColor face = buttonFace(o->palette);
    const QColor mark = enabled ? QColor(kCaption) : QColor(kCaptionGrey);
    const QRect arrow = proxy()->subControlRect(CC_ComboBox, combo, SC_ComboBoxArrow, w);
    Bevel b;
    b.enabled = enabled;
    b.hover = isSet(o, State_MouseOver);
    b.pressed = isSet(o, State_On) || isSet(o, State_Sunken);
    b.focused = isSet(o, State_HasFocus);
    if (!combo->editable) {
        // A drop-down list is one button with a separated arrow part.
        p->fillRect(o->rect, o->palette.brush(QPalette::Button));
        frameRect(p, o->rect, face);
        paintBevel(p, o->rect.adjusted(1, 1, -1, -1), b, face, face);
        const QColor line = enabled ? QColor(m_colours->border) : darkened(face, 32);
        if (o->rect.height() > 8)
            p->fillRect(QRect(arrow.left(), o->rect.top() + 4, 1, o->rect.height() - 8), line);
        arrowGlyph(p, arrow.adjusted(1, 0, 0, 0), Qt::DownArrow, mark);
        return;
    }
    p->fillRect(o->rect.adjusted(1, 1, -1, -1), o->palette.brush(QPalette::Base));
    paintEditFrame(o, p, 1);
    b.focused = false;
    b.pressed = isSet(o, State_On) || (isSet(o, State_Sunken) && (combo->activeSubControls & SC_ComboBoxArrow));
    b.hover = b.hover && (combo->activeSubControls & SC_ComboBoxArrow);
    paintBevel(p, arrow, b, o->palette.color(QPalette::Base), face);
    arrowGlyph(p, arrow, Qt::DownArrow, mark);
}

// ---- sliders ----

// Horizontal layout: the handle band, centred across, with tick rows above and/or below it.
// Vertical sliders use the same layout turned a quarter.
QRect ThemedControlLook::sliderRect(const QStyleOptionComplex* o, SubControl sub) const
{
    const auto* s = qstyleoption_cast<const QStyleOptionSlider*>(o);
    if (!s)
        return QRect();
    const bool horizontal = s->orientation == Qt::Horizontal;
    const QRect r = s->rect;
    const int length = proxy()->pixelMetric(PM_SliderLength, o);
    const int thickness = proxy()->pixelMetric(PM_SliderControlThickness, o);
    const int tickSpace = kTickGap + kTickLength;
    const bool above = s->tickPosition & QSlider::TicksAbove;
    const bool below = s->tickPosition & QSlider::TicksBelow;
    const int along = horizontal ? r.width() : r.height();
    const int across = horizontal ? r.height() : r.width();
    const int block = thickness + (above ? tickSpace : 0) + (below ? tickSpace : 0);
    const int band = std::max(0, (across - block) / 2) + (above ? tickSpace : 0);
    const int span = std::max(0, along - length);

    QRect area;
    switch (sub) {
    case SC_SliderGroove: area = QRect(0, band, along, thickness); break;
    case SC_SliderHandle:
        area = QRect(sliderPositionFromValue(s->minimum, s->maximum, s->sliderPosition, span, s->upsideDown), band,
            length, thickness);
        break;
    case SC_SliderTickmarks:
        area = QRect(0, band - (above ? tickSpace : 0), along, thickness + (above ? tickSpace : 0) + (below ? tickSpace : 0));
        break;
    default: return QRect();
    }
    if (horizontal)
        return area.translated(r.topLeft());
    return QRect(r.left() + area.top(), r.top() + area.left(), area.height(), area.width());
}

void ThemedControlLook::paintSlider(const QStyleOptionComplex* o, QPainter* p, const QWidget* w) const
{
    const auto* s = qstyleoption_cast<const QStyleOptionSlider*>(o);
    if (!s) {
        QProxyStyle::drawComplexControl(CC_Slider, o, p, w);
        return;
    }
    const Colours& k = *m_colours;
    const bool horizontal = s->orientation == Qt::Horizontal;
    const bool enabled = isSet(o, State_Enabled);
    const QColor face = buttonFace(o->palette);
    const QColor line = enabled ? QColor(k.border) : darkened(face, 32);
    const int length = proxy()->pixelMetric(PM_SliderLength, o, w);
    const QRect groove = proxy()->subControlRect(CC_Slider, s, SC_SliderGroove, w);

    if (s->subControls & SC_SliderGroove) {
        // A four-pixel channel from the handle's centre at the minimum to its centre at the maximum.
        const QPoint c = groove.center();
        const QRect channel = horizontal
            ? QRect(groove.left() + length / 2 - 2, c.y() - 1, std::max(4, groove.width() - length + 4), 4)
            : QRect(c.x() - 1, groove.top() + length / 2 - 2, 4, std::max(4, groove.height() - length + 4));
        p->fillRect(channel.adjusted(1, 1, -1, -1), QColor(k.disabledFill));
        roundedFrame(p, channel, line);
    }

    if ((s->subControls & SC_SliderTickmarks) && s->tickPosition != QSlider::NoTicks && s->maximum > s->minimum) {
        const int span = std::max(0, (horizontal ? groove.width() : groove.height()) - length);
        const qint64 range = qint64(s->maximum) - s->minimum;
        qint64 interval = s->tickInterval > 0 ? s->tickInterval : std::max(1, s->singleStep);
        if (span > 0 && range / interval > span) // never more ticks than pixels
            interval = range / span + 1;
        auto tick = [&](int value) {
            const int at = sliderPositionFromValue(s->minimum, s->maximum, value, span, s->upsideDown) + length / 2;
            if (s->tickPosition & QSlider::TicksAbove) {
                if (horizontal)
                    p->fillRect(QRect(groove.left() + at, groove.top() - kTickGap - kTickLength, 1, kTickLength), line);
                else
                    p->fillRect(QRect(groove.left() - kTickGap - kTickLength, groove.top() + at, kTickLength, 1), line);
            }
            if (s->tickPosition & QSlider::TicksBelow) {
                if (horizontal)
                    p->fillRect(QRect(groove.left() + at, groove.bottom() + 1 + kTickGap, 1, kTickLength), line);
                else
                    p->fillRect(QRect(groove.right() + 1 + kTickGap, groove.top() + at, kTickLength, 1), line);
            }
        };
        for (qint64 v = s->minimum; v <= s->maximum; v += interval)
            tick(int(v));
        tick(s->maximum);
    }

    if (s->subControls & SC_SliderHandle) {
        const bool active = s->activeSubControls & SC_SliderHandle;
        Bevel b;
        b.enabled = enabled;
        b.pressed = active && isSet(o, State_Sunken);
        b.hover = active && isSet(o, State_MouseOver);
        paintBevel(p, proxy()->subControlRect(CC_Slider, s, SC_SliderHandle, w), b, o->palette.color(QPalette::Window),
            face);
    }
    if (o->state & State_HasFocus)
        dottedFrame(p, o->rect, QColor(kCaption));
}

// ---- scroll bars ----

void ThemedControlLook::paintScrollBar(const QStyleOptionComplex* o, QPainter* p, const QWidget* w) const
{
    const auto* s = qstyleoption_cast<const QStyleOptionSlider*>(o);
    if (!s) {
        QProxyStyle::drawComplexControl(CC_ScrollBar, o, p, w);
        return;
    }
    const Colours& k = *m_colours;
    const bool horizontal = s->orientation == Qt::Horizontal;
    const bool enabled = isSet(o, State_Enabled);
    const QColor face = buttonFace(o->palette);
    const QColor track(k.disabledFill);
    p->fillRect(o->rect, track);

    auto part = [&](SubControl sc) {
        Bevel b;
        b.enabled = enabled;
        b.pressed = (s->activeSubControls & sc) && isSet(o, State_Sunken);
        b.hover = (s->activeSubControls & sc) && isSet(o, State_MouseOver);
        return b;
    };
    for (SubControl page : {SC_ScrollBarSubPage, SC_ScrollBarAddPage})
        if ((s->activeSubControls & page) && isSet(o, State_Sunken))
            p->fillRect(proxy()->subControlRect(CC_ScrollBar, s, page, w), QColor(k.pressed.top));

    const QColor mark = enabled ? QColor(kCaption) : QColor(kCaptionGrey);
    const QRect sub = proxy()->subControlRect(CC_ScrollBar, s, SC_ScrollBarSubLine, w);
    const QRect add = proxy()->subControlRect(CC_ScrollBar, s, SC_ScrollBarAddLine, w);
    if (!sub.isEmpty()) {
        paintBevel(p, sub, part(SC_ScrollBarSubLine), track, face);
        arrowGlyph(p, sub, horizontal ? Qt::LeftArrow : Qt::UpArrow, mark);
    }
    if (!add.isEmpty()) {
        paintBevel(p, add, part(SC_ScrollBarAddLine), track, face);
        arrowGlyph(p, add, horizontal ? Qt::RightArrow : Qt::DownArrow, mark);
    }
    if (s->maximum > s->minimum) {
        const QRect slider = proxy()->subControlRect(CC_ScrollBar, s, SC_ScrollBarSlider, w);
        if (!slider.isEmpty())
            paintBevel(p, slider, part(SC_ScrollBarSlider), track, face);
    }
}

// ---- progress bars ----

void ThemedControlLook::paintProgressGroove(const QStyleOption* o, QPainter* p) const
{
    const bool enabled = isSet(o, State_Enabled);
    p->fillRect(o->rect.adjusted(1, 1, -1, -1), QColor(m_colours->disabledFill));
    roundedFrame(p, o->rect, enabled ? QColor(m_colours->border) : darkened(buttonFace(o->palette), 32));
}

void ThemedControlLook::paintProgressContents(const QStyleOption* o, QPainter* p, const QWidget* w) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionProgressBar*>(o);
    if (!bar || bar->maximum <= bar->minimum) { // busy bars keep the base style's animation
        QProxyStyle::drawControl(CE_ProgressBarContents, o, p, w);
        return;
    }
    const QRect inner = o->rect.adjusted(2, 2, -2, -2);
    const qint64 range = qint64(bar->maximum) - bar->minimum;
    const qint64 done = std::clamp<qint64>(qint64(bar->progress) - bar->minimum, 0, range);
    const bool horizontal = isSet(o, State_Horizontal);
    QRect chunk = inner;
    if (horizontal) {
        const int width = int(inner.width() * done / range);
        const bool fromRight = bar->invertedAppearance != (bar->direction == Qt::RightToLeft);
        chunk = QRect(fromRight ? inner.right() - width + 1 : inner.left(), inner.top(), width, inner.height());
    } else {
        const int height = int(inner.height() * done / range);
        chunk = QRect(inner.left(), bar->invertedAppearance ? inner.top() : inner.bottom() - height + 1, inner.width(), height);
    }
    if (!chunk.isEmpty())
        fillGradient(p, chunk, isSet(o, State_Enabled) ? m_colours->focused : m_colours->pressed);
}

// The chunk is a light colour: the caption stays in the dark text colour
// across it (a light caption over a light chunk could not be read).
void ThemedControlLook::paintProgressLabel(const QStyleOption* o, QPainter* p) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionProgressBar*>(o);
    if (!bar || bar->text.isEmpty())
        return;
    const bool enabled = isSet(o, State_Enabled);
    p->setPen(o->palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    p->drawText(o->rect, Qt::AlignCenter | Qt::TextSingleLine, bar->text);
}

} // namespace kovra::shell
