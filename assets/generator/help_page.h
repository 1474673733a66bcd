#pragma once
// A 500 x 500 page of the help tutorial: a title banner, then paragraphs and
// small drawings stacked from the top. Paragraphs take simple rich text
// (<b>, <span style=...>) and wrap between Chinese characters as they should.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include <functional>
#include <memory>

namespace kovra::assets {

inline constexpr int HelpPageSide = 500;

// Colours shared by the pages.
namespace help_colour {
inline const QColor Banner(29, 79, 145);
inline const QColor Text(34, 34, 34);
inline const QColor Accent(198, 40, 40);
inline const QColor Soft(234, 242, 251);
inline const QColor Good(46, 125, 50);
} // namespace help_colour

class HelpPage {
public:
    explicit HelpPage(const QString& title);
    ~HelpPage();
    HelpPage(const HelpPage&) = delete;
    HelpPage& operator=(const HelpPage&) = delete;

    static constexpr int Margin = 22;
    static constexpr int ContentWidth = HelpPageSide - 2 * Margin;

    // Rich text, wrapped to the content width; returns the height used.
    int paragraph(const QString& html, int pixelSize = 18);
    void space(int pixels) { m_y += pixels; }
    // A drawing of the given height at the current position; the painter is
    // translated so that (0, 0) is the drawing's top left, content width wide.
    void drawing(int height, const std::function<void(QPainter&)>& draw);

    int y() const { return m_y; }
    // False when the content ran past the bottom of the page.
    bool fits() const { return m_y <= HelpPageSide; }
    // Ends the drawing and hands out the page; call once, last.
    QImage finish();

private:
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
    int m_y = 0;
};

// Rich text that the paragraphs and drawings use more than once.
QString Emphasis(const QString& text);  // bold, accent colour
QString Strong(const QString& text);    // bold

// Helpers for the drawings.
void DrawLabel(QPainter& p, const QRectF& box, const QString& text, int pixelSize, const QColor& colour,
               bool bold = false, int flags = Qt::AlignCenter);
void DrawArrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& colour, qreal width = 3);
// The usual arrow-shaped mouse pointer with its tip at tip.
void DrawMousePointer(QPainter& p, const QPointF& tip, qreal scale = 1.0);
void DrawCheckMark(QPainter& p, const QPointF& centre, qreal size, const QColor& colour);
void DrawCrossMark(QPainter& p, const QPointF& centre, qreal size, const QColor& colour);

} // namespace kovra::assets
