#include "image/text_drawing.h"

#include "image/drawing_board.h"

#include <QFontMetrics>
#include <QPainter>

namespace kovra::image {

QStringList SplitTextLines(const QString& text)
{
    QStringList lines;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n') {
            current += c;
            continue;
        }
        lines << current;
        current.clear();
        if (i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
    }
    if (!current.isEmpty())
        lines << current;
    // Trailing breaks draw nothing.
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString WithCrLfBreaks(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\n' && (i == 0 || text.at(i - 1) != u'\r'))
            out += u'\r';
        out += text.at(i);
    }
    return out;
}

int TextLineHeight(const QFont& font)
{
    return QFontMetrics(font).height();
}

QPoint DrawTextLines(DrawingBoard& board, const QString& text, int x, int y)
{
    const QStringList lines = SplitTextLines(text);
    if (lines.isEmpty())
        return QPoint(x, y);
    const QFont font = board.TextFont();
    QPoint point(x, y);
    // Italic and overhanging glyphs may reach past a line's advance, so the
    // whole board is shown again rather than a guessed rectangle.
    board.Paint([&](QPainter& painter) {
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.setBackgroundMode(Qt::TransparentMode);
        const QFontMetrics metrics = painter.fontMetrics();
        for (const QString& line : lines) {
            if (!line.isEmpty())
                painter.drawText(QPoint(point.x(), point.y() + metrics.ascent()), line);
            // An empty line measures "W": the same font height.
            point.ry() += metrics.height() + 2;
        }
    });
    return point;
}

} // namespace kovra::image
