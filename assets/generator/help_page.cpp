#include "assets/generator/help_page.h"

#include "assets/generator/artwork_fonts.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainterPath>
#include <QTextDocument>

#include <cmath>

namespace kovra::assets {

namespace {

constexpr int BannerHeight = 72;

QFont fittingFont(const QString& text, int pixelSize, int width, bool bold)
{
    QFont font = ArtworkFont(pixelSize, bold);
    while (pixelSize > 12 && QFontMetrics(font).horizontalAdvance(text) > width)
        font = ArtworkFont(--pixelSize, bold);
    return font;
}

} // namespace

HelpPage::HelpPage(const QString& title)
    : m_image(HelpPageSide, HelpPageSide, QImage::Format_RGB32)
{
    m_image.fill(Qt::white);
    m_painter = std::make_unique<QPainter>(&m_image);
    QPainter& p = *m_painter;
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient banner(0, 0, 0, BannerHeight);
    banner.setColorAt(0, help_colour::Banner.lighter(125));
    banner.setColorAt(1, help_colour::Banner);
    p.fillRect(QRect(0, 0, HelpPageSide, BannerHeight), banner);
    p.fillRect(QRect(0, BannerHeight, HelpPageSide, 4), help_colour::Accent);

    DrawLabel(p, QRectF(Margin, 6, ContentWidth, 18), QStringLiteral("Kovra Laser  ·  电子教程"), 13,
              QColor(200, 220, 245), false, Qt::AlignLeft | Qt::AlignVCenter);
    p.setFont(fittingFont(title, 26, ContentWidth, true));
    p.setPen(Qt::white);
    p.drawText(QRectF(Margin, 24, ContentWidth, BannerHeight - 28), Qt::AlignLeft | Qt::AlignVCenter, title);
    m_y = BannerHeight + 4 + 18;
}

HelpPage::~HelpPage() = default;

QImage HelpPage::finish()
{
    m_painter.reset();
    return m_image;
}

int HelpPage::paragraph(const QString& html, int pixelSize)
{
    if (!m_painter)
        return 0;
    QTextDocument doc;
    doc.setDefaultFont(ArtworkFont(pixelSize));
    doc.setDocumentMargin(0);
    doc.setTextWidth(ContentWidth);
    doc.setDefaultStyleSheet(QStringLiteral("body { color: %1; }").arg(help_colour::Text.name()));
    doc.setHtml(QStringLiteral("<body><p style=\"line-height:135%\">%1</p></body>").arg(html));

    QPainter& p = *m_painter;
    p.save();
    p.translate(Margin, m_y);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, help_colour::Text);
    doc.documentLayout()->draw(&p, context);
    p.restore();

    const int height = int(std::ceil(doc.size().height()));
    m_y += height;
    return height;
}

void HelpPage::drawing(int height, const std::function<void(QPainter&)>& draw)
{
    if (!m_painter)
        return;
    QPainter& p = *m_painter;
    p.save();
    p.translate(Margin, m_y);
    draw(p);
    p.restore();
    m_y += height;
}

QString Emphasis(const QString& text)
{
    return QStringLiteral("<span style=\"color:%1; font-weight:bold\">%2</span>").arg(help_colour::Accent.name(), text);
}

QString Strong(const QString& text)
{
    return QStringLiteral("<b>%1</b>").arg(text);
}

void DrawLabel(QPainter& p, const QRectF& box, const QString& text, int pixelSize, const QColor& colour, bool bold,
               int flags)
{
    p.save();
    p.setFont(ArtworkFont(pixelSize, bold));
    p.setPen(colour);
    p.drawText(box, flags, text);
    p.restore();
}

void DrawArrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& colour, qreal width)
{
    p.save();
    const QPointF d = to - from;
    const qreal length = std::hypot(d.x(), d.y());
    if (length < 1) {
        p.restore();
        return;
    }
    const QPointF unit = d / length;
    const QPointF normal(-unit.y(), unit.x());
    const qreal head = 4 * width + 4;
    const QPointF base = to - unit * head;
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, base);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF() << to << base + normal * head * 0.55 << base - normal * head * 0.55);
    p.restore();
}

void DrawMousePointer(QPainter& p, const QPointF& tip, qreal scale)
{
    // Outline of the standard pointer, in units of a 12 x 19 cell.
    static const QPointF shape[] = {{0, 0},  {0, 16}, {4, 12.5}, {7, 19}, {9.5, 18},
                                    {6.5, 11.5}, {11.5, 11.5}};
    QPolygonF polygon;
    for (const QPointF& point : shape)
        polygon << tip + point * 2.2 * scale;
    p.save();
    p.setPen(QPen(Qt::black, 1.6 * scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(polygon);
    p.restore();
}

void DrawCheckMark(QPainter& p, const QPointF& centre, qreal size, const QColor& colour)
{
    p.save();
    p.setPen(QPen(colour, size * 0.18, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(centre + QPointF(-size * 0.4, 0));
    path.lineTo(centre + QPointF(-size * 0.1, size * 0.32));
    path.lineTo(centre + QPointF(size * 0.45, -size * 0.35));
    p.drawPath(path);
    p.restore();
}

void DrawCrossMark(QPainter& p, const QPointF& centre, qreal size, const QColor& colour)
{
    p.save();
    p.setPen(QPen(colour, size * 0.18, Qt::SolidLine, Qt::RoundCap));
    const qreal h = size * 0.35;
    p.drawLine(centre + QPointF(-h, -h), centre + QPointF(h, h));
    p.drawLine(centre + QPointF(-h, h), centre + QPointF(h, -h));
    p.restore();
}

} // namespace kovra::assets
