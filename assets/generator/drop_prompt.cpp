#include "assets/generator/drop_prompt.h"

#include "assets/generator/artwork_fonts.h"

#include <QFontMetrics>
#include <QPainter>

namespace kovra::assets {

namespace {

// The text sits a little above the middle, where the board's eye falls
// (the Chinese line covers about y 215 to 265).
constexpr int TextCentreY = 240;
constexpr int LargestPixelSize = 48;
constexpr int WidestLine = 464;

QRect inkBounds(const QImage& image)
{
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(line[x]) < 250) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

QString DropPromptText(int language)
{
    switch (language) {
    case 0: return QStringLiteral("Drag and drop pictures to here");
    case 1: return QStringLiteral("拖放图片到这里");
    case 2: return QStringLiteral("ここまで写真をドラッグ＆ドロップ");
    case 3: return QStringLiteral("Faire glisser et déposer l'image ici");
    case 4: return QStringLiteral("Immagini trascinate in questa zona");
    case 5: return QStringLiteral("Drag & Drop Bilder hier");
    default: return {};
    }
}

QImage DrawDropPrompt(int language)
{
    QImage board(DropPromptSide, DropPromptSide, QImage::Format_RGB32);
    board.fill(Qt::white);
    const QString text = DropPromptText(language);
    if (text.isEmpty())
        return board;

    const Script script = language == 2 ? Script::Japanese : Script::Chinese;
    int pixelSize = LargestPixelSize;
    QFont font = ArtworkFont(pixelSize, false, script);
    while (pixelSize > 12 && QFontMetrics(font).horizontalAdvance(text) > WidestLine)
        font = ArtworkFont(--pixelSize, false, script);

    // Draw on a roomy scratch picture, then centre the ink itself: the font's
    // line box is not where the glyphs are, least of all for CJK faces.
    const QFontMetrics metrics(font);
    QImage scratch(metrics.horizontalAdvance(text) + 2 * pixelSize, metrics.height() * 2, QImage::Format_RGB32);
    scratch.fill(Qt::white);
    {
        QPainter p(&scratch);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(pixelSize, metrics.ascent() + metrics.height() / 2, text);
    }
    const QRect ink = inkBounds(scratch);
    if (ink.isNull())
        return board;

    const int x = DropPromptSide / 2 - ink.width() / 2;
    const int y = TextCentreY - ink.height() / 2;
    QPainter p(&board);
    p.drawImage(QPoint(x, y), scratch, ink);
    return board;
}

} // namespace kovra::assets
