#pragma once
// The drawing pieces the themed look paints every control with: exact
// one-pixel frames, row-by-row gradients, rounded corners, dotted focus
// rectangles and small glyphs, all without antialiasing.

#include "shell/look/themed_control_look.h"

#include <QColor>
#include <QPainter>
#include <QStyle>

class QStyleOption;

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

namespace themed {

using Colours = ThemedControlLook::Colours;
using Gradient = Colours::Gradient;

inline constexpr QRgb kSystemButtonFace = qRgb(240, 240, 240);
inline constexpr QRgb kCaption = qRgb(0, 0, 0);
inline constexpr QRgb kCaptionGrey = qRgb(165, 162, 148);
inline constexpr int kTickGap = 3;
inline constexpr int kTickLength = 4;

QColor darkened(const QColor& c, int by);

// The system button-face colour, unless a widget's palette sets its own.
QColor buttonFace(const QPalette& pal);

int blend(int from, int to, int row, int lastRow);

QColor gradientColour(const Gradient& g, int row, int lastRow);

// Row by row, so the first row is exactly the top colour and the last exactly the bottom one.
void fillGradient(QPainter* p, const QRect& r, const Gradient& g);

void setPixel(QPainter* p, int x, int y, const QColor& c);

void frameRect(QPainter* p, const QRect& r, const QColor& c);

// An outline without its corner pixels, filled in one pixel diagonally inside: reads as rounded.
void roundedFrame(QPainter* p, const QRect& r, const QColor& c);

// Every other pixel of the outline, like the system's focus rectangle.
void dottedFrame(QPainter* p, const QRect& r, const QColor& c);

// A small solid triangle (7 pixels wide, 4 deep) centred in r.
void arrowGlyph(QPainter* p, const QRect& r, Qt::ArrowType type, const QColor& c);

// The classic 7 x 7 check mark.
void checkMark(QPainter* p, const QRect& r, const QColor& c);

bool isSet(const QStyleOption* o, QStyle::StateFlag flag);

QColor captionColour(const QStyleOption* o);

} // namespace themed
} // namespace kovra::shell
