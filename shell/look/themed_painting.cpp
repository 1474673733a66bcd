#include "shell/look/themed_painting.h"

#include <QPolygon>
#include <QRegion>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace kovra::shell::themed {

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
} // namespace kovra::shell::themed
