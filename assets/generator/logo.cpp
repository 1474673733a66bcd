#include "assets/generator/logo.h"

#include "assets/generator/artwork_fonts.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace kovra::assets {

namespace {

const QColor Navy(22, 38, 72);
const QColor LaserRed(226, 38, 38);
const QColor Glow(255, 196, 64);

void drawEmblem(QPainter& p, const QPointF& centre, qreal radius)
{
    // Disc with a soft top light.
    QLinearGradient disc(centre.x(), centre.y() - radius, centre.x(), centre.y() + radius);
    disc.setColorAt(0, QColor(44, 70, 122));
    disc.setColorAt(1, Navy);
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(centre, radius, radius);

    // Laser head: a block with a nozzle, in the upper part of the disc.
    const qreal headW = radius * 0.62;
    const qreal headTop = centre.y() - radius * 0.68;
    const QRectF head(centre.x() - headW / 2, headTop, headW, radius * 0.42);
    QLinearGradient metal(head.topLeft(), head.topRight());
    metal.setColorAt(0, QColor(170, 180, 196));
    metal.setColorAt(0.5, QColor(236, 240, 246));
    metal.setColorAt(1, QColor(150, 160, 178));
    p.setBrush(metal);
    p.drawRoundedRect(head, radius * 0.06, radius * 0.06);
    QPolygonF nozzle;
    const qreal nozzleTop = head.bottom();
    const qreal nozzleBottom = nozzleTop + radius * 0.16;
    nozzle << QPointF(centre.x() - headW * 0.28, nozzleTop) << QPointF(centre.x() + headW * 0.28, nozzleTop)
           << QPointF(centre.x() + headW * 0.1, nozzleBottom) << QPointF(centre.x() - headW * 0.1, nozzleBottom);
    p.drawPolygon(nozzle);

    // Beam narrowing to the focal dot on the work line.
    const QPointF dot(centre.x(), centre.y() + radius * 0.52);
    QPolygonF beam;
    beam << QPointF(centre.x() - headW * 0.07, nozzleBottom) << QPointF(centre.x() + headW * 0.07, nozzleBottom)
         << QPointF(dot.x() + 2, dot.y()) << QPointF(dot.x() - 2, dot.y());
    QLinearGradient beamFill(0, nozzleBottom, 0, dot.y());
    beamFill.setColorAt(0, QColor(255, 90, 80, 200));
    beamFill.setColorAt(1, LaserRed);
    p.setBrush(beamFill);
    p.drawPolygon(beam);

    p.setPen(QPen(QColor(120, 140, 176), radius * 0.035, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(centre.x() - radius * 0.62, dot.y()), QPointF(centre.x() + radius * 0.62, dot.y()));
    p.setPen(Qt::NoPen);

    QRadialGradient glow(dot, radius * 0.3);
    glow.setColorAt(0, QColor(255, 255, 230));
    glow.setColorAt(0.18, Glow);
    glow.setColorAt(0.45, QColor(LaserRed.red(), LaserRed.green(), LaserRed.blue(), 150));
    glow.setColorAt(1, QColor(LaserRed.red(), LaserRed.green(), LaserRed.blue(), 0));
    p.setBrush(glow);
    p.drawEllipse(dot, radius * 0.3, radius * 0.3);

    // Sparks around the dot.
    p.setPen(QPen(Glow, radius * 0.03, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const qreal a = M_PI * (i + 0.5) / 8.0 + M_PI;
        const QPointF dir(std::cos(a), std::sin(a));
        if (dir.y() > -0.2)
            continue; // sparks fly up, not into the work
        p.drawLine(dot + dir * radius * 0.2, dot + dir * radius * 0.3);
    }
}

} // namespace

QImage DrawLogo()
{
    QImage image(LogoWidth, LogoHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    drawEmblem(p, QPointF(250, 236), 196);

    // The name as large as the space right of the emblem allows.
    const QString kovra = QStringLiteral("Kovra");
    const int textLeft = 500;
    const int widest = LogoWidth - textLeft - 50;
    int nameSize = 300;
    QFont name = ArtworkFont(nameSize, true);
    while (QFontMetrics(name).horizontalAdvance(kovra) > widest)
        name = ArtworkFont(--nameSize, true);
    const int nameWidth = QFontMetrics(name).horizontalAdvance(kovra);
    p.setFont(name);
    p.setPen(Navy);
    p.drawText(textLeft, 300, kovra);

    // A red rule under the name, then "LASER", smaller and spaced out.
    p.setPen(Qt::NoPen);
    p.setBrush(LaserRed);
    p.drawRect(textLeft + 10, 334, nameWidth - 20, 10);
    QFont word = ArtworkFont(96, true);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 26);
    p.setFont(word);
    p.setPen(LaserRed);
    p.drawText(textLeft + 12, 444, QStringLiteral("LASER"));
    return image;
}

QImage DrawAppIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A small margin, as the desktop's icons have.
    drawEmblem(p, QPointF(size / 2.0, size / 2.0), size * 0.47);
    return image;
}

} // namespace kovra::assets
