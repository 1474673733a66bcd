#include "rendering/test_card.h"

#include "rendering/fitting.h"
#include "rendering/rendering.h"

#include <QFont>
#include <QPainter>

#include <cmath>

namespace kovra::rendering {

namespace {

// The ramp as a picture: level 0 on the left to 255 on the right.
QImage ramp()
{
    QImage img(TestCardRampWidth, TestCardRampHeight, QImage::Format_RGB32);
    for (int x = 0; x < TestCardRampWidth; ++x) {
        const int level = int(std::lround(255.0 * x / (TestCardRampWidth - 1)));
        for (int y = 0; y < TestCardRampHeight; ++y)
            img.setPixel(x, y, qRgb(level, level, level));
    }
    return img;
}

QFont cardFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    // Text for a one-bit board: no grey edges.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

QRect TestCardRamp(int strip)
{
    const int top = TestCardScaleHeight + strip * TestCardStripHeight + (TestCardStripHeight - TestCardRampHeight) / 2;
    return QRect(TestCardLabelWidth, top, TestCardRampWidth, TestCardRampHeight);
}

QImage MakeTestCard(const Tuning& tuning)
{
    QImage card(TestCardSide, TestCardSide, QImage::Format_RGB32);
    card.fill(Qt::white);

    // Each rendering sees the ramp as a fitted picture: one pixel in from the
    // square's corner (the diffusion never dots row and column 0), white
    // around it. Only the ramp's own area is taken.
    const QRect place(1, 1, TestCardRampWidth, TestCardRampHeight);
    QImage fitted(FitSize, FitSize, QImage::Format_RGB32);
    fitted.fill(Qt::white);
    {
        QPainter p(&fitted);
        p.drawImage(place.topLeft(), ramp());
    }
    const QImage tuned = TunePicture(fitted, place, tuning);

    QPainter p(&card);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(cardFont());
    p.setPen(Qt::black);
    for (int i = 0; i < RenderingCount; ++i) {
        const Rendering r = AllRenderings[size_t(i)];
        const QRect at = TestCardRamp(i);
        p.drawImage(at.topLeft(), RenderPicture(r, tuned, place, tuning.threshold).copy(place));
        p.drawText(QRect(4, at.top(), TestCardLabelWidth - 8, at.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   RenderingName(r));
    }
    // The scale above the ramps: the grey level at five places.
    for (int level : {0, 64, 128, 192, 255}) {
        const int x = TestCardLabelWidth + int(std::lround((TestCardRampWidth - 1) * level / 255.0));
        p.drawLine(x, TestCardScaleHeight - 5, x, TestCardScaleHeight - 1);
        const Qt::Alignment align = level == 0 ? Qt::AlignLeft : level == 255 ? Qt::AlignRight : Qt::AlignHCenter;
        const QRect box = level == 0 ? QRect(x, 0, 40, 15) : level == 255 ? QRect(x - 39, 0, 40, 15) : QRect(x - 20, 0, 40, 15);
        p.drawText(box, align | Qt::AlignBottom, QString::number(level));
    }
    p.drawText(QRect(4, 0, TestCardLabelWidth - 8, 15), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("grey level"));
    return card;
}

} // namespace kovra::rendering
