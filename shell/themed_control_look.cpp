#include "shell/themed_control_look.h"

#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <QSlider>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <memory>

namespace kovra::shell {

struct ThemedControlLook::Colours {
    struct Gradient {
        QRgb top;
        QRgb bottom;
    };
    QRgb border;       // the one-pixel outline of buttons, indicators and frames
    QRgb disabledFill; // disabled controls; also tracks and grooves
    Gradient pressed;  // the two-pixel ring, by state
    Gradient hover;
    Gradient checked;
    Gradient focused;
    Gradient normal;
    Gradient facePushed; // the face inside the ring
    Gradient faceNormal;
};

namespace {

using Colours = ThemedControlLook::Colours;
using Gradient = Colours::Gradient;

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

constexpr QRgb kSystemButtonFace = qRgb(240, 240, 240);
constexpr QRgb kCaption = qRgb(0, 0, 0);
constexpr QRgb kCaptionGrey = qRgb(165, 162, 148);
constexpr int kTickGap = 3;
constexpr int kTickLength = 4;

QColor darkened(const QColor& c, int by)
{
    return QColor(std::max(0, c.red() - by), std::max(0, c.green() - by), std::max(0, c.blue() - by));
}

// The system button-face colour, unless a widget's palette sets its own.
QColor buttonFace(const QPalette& pal)
{
    if (pal.isBrushSet(pal.currentColorGroup(), QPalette::Button))
        return pal.color(QPalette::Button);
    return QColor(kSystemButtonFace);
}

int blend(int from, int to, int row, int lastRow)
{
    return from + static_cast<int>(std::lround(double(to - from) * row / lastRow));
}

QColor gradientColour(const Gradient& g, int row, int lastRow)
{
    if (lastRow <= 0)
        return QColor(g.top);
    return QColor(blend(qRed(g.top), qRed(g.bottom), row, lastRow), blend(qGreen(g.top), qGreen(g.bottom), row, lastRow),
        blend(qBlue(g.top), qBlue(g.bottom), row, lastRow));
}

// Row by row, so the first row is exactly the top colour and the last exactly the bottom one.
void fillGradient(QPainter* p, const QRect& r, const Gradient& g)
{
    if (r.isEmpty())
        return;
    const int last = r.height() - 1;
    if (last == 0 || g.top == g.bottom) {
        p->fillRect(r, QColor(g.top));
        return;
    }
    for (int i = 0; i <= last; ++i)
        p->fillRect(QRect(r.left(), r.top() + i, r.width(), 1), gradientColour(g, i, last));
}

void setPixel(QPainter* p, int x, int y, const QColor& c)
{
    p->fillRect(QRect(x, y, 1, 1), c);
}

void frameRect(QPainter* p, const QRect& r, const QColor& c)
{
    if (r.isEmpty())
        return;
    p->fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
    if (r.height() > 1)
        p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
    if (r.height() > 2) {
        p->fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), c);
        if (r.width() > 1)
            p->fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), c);
    }
}

// An outline without its corner pixels, filled in one pixel diagonally inside: reads as rounded.
void roundedFrame(QPainter* p, const QRect& r, const QColor& c)
{
    if (r.width() < 4 || r.height() < 4) {
        frameRect(p, r, c);
        return;
    }
    p->fillRect(QRect(r.left() + 1, r.top(), r.width() - 2, 1), c);
    p->fillRect(QRect(r.left() + 1, r.bottom(), r.width() - 2, 1), c);
    p->fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), c);
    p->fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), c);
    setPixel(p, r.left() + 1, r.top() + 1, c);
    setPixel(p, r.right() - 1, r.top() + 1, c);
    setPixel(p, r.left() + 1, r.bottom() - 1, c);
    setPixel(p, r.right() - 1, r.bottom() - 1, c);
}

// Every other pixel of the outline, like the system's focus rectangle.
void dottedFrame(QPainter* p, const QRect& r, const QColor& c)
{
    if (r.isEmpty())
        return;
    QPolygon dots;
    for (int x = r.left(); x <= r.right(); x += 2) {
        dots << QPoint(x, r.top());
        if (r.height() > 1)
            dots << QPoint(x, r.bottom());
    }
    for (int y = r.top() + 2; y < r.bottom(); y += 2) {
        dots << QPoint(r.left(), y);
        if (r.width() > 1)
            dots << QPoint(r.right(), y);
    }
    p->save();
    p->setPen(QPen(c, 0));
    p->setBrush(Qt::NoBrush);
    p->drawPoints(dots);
    p->restore();
}

// A small solid triangle (7 pixels wide, 4 deep) centred in r.
void arrowGlyph(QPainter* p, const QRect& r, Qt::ArrowType type, const QColor& c)
{
    const QPoint m = r.center();
    for (int i = 0; i < 4; ++i) {
        const int half = 3 - i;
        switch (type) {
        case Qt::DownArrow: p->fillRect(QRect(m.x() - half, m.y() - 1 + i, 2 * half + 1, 1), c); break;
        case Qt::UpArrow: p->fillRect(QRect(m.x() - half, m.y() + 2 - i, 2 * half + 1, 1), c); break;
        case Qt::RightArrow: p->fillRect(QRect(m.x() - 1 + i, m.y() - half, 1, 2 * half + 1), c); break;
        case Qt::LeftArrow: p->fillRect(QRect(m.x() + 2 - i, m.y() - half, 1, 2 * half + 1), c); break;
        default: return;
        }
    }
}

// The classic 7 x 7 check mark.
void checkMark(QPainter* p, const QRect& r, const QColor& c)
{
    static constexpr const char* rows[7] = {
        "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
    };
    const QPoint origin = r.center() - QPoint(3, 3);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x)
            if (rows[y][x] == '#')
                setPixel(p, origin.x() + x, origin.y() + y, c);
}

bool isSet(const QStyleOption* o, QStyle::StateFlag flag)
{
    return (o->state & flag) != 0;
}

QColor captionColour(const QStyleOption* o)
{
    const bool grey = !(o->state & QStyle::State_Enabled) || (o->state & QStyle::State_NoChange);
    return QColor(grey ? kCaptionGrey : kCaption);
}

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
        // The base style draws these; only the caption colours are ours.
        std::unique_ptr<QStyleOption> copy;
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(o))
            copy = std::make_unique<QStyleOptionButton>(*button);
        else if (const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(o))
            copy = std::make_unique<QStyleOptionComboBox>(*combo);
        else
            copy = std::make_unique<QStyleOption>(*o);
        const QColor colour = captionColour(o);
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            copy->palette.setColor(role, colour);
        p->setPen(colour);
        QProxyStyle::drawControl(element, copy.get(), p, w);
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
