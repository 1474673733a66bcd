#pragma once
// Lines of text drawn into a drawing board's picture, the way the preview
// board writes engraving text: board text font, black, transparent background.

#include <QFont>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace kovra::image {

class DrawingBoard;

// Splits text into lines. A line ends at a carriage return or a line feed, and
// a line feed directly after that ending character belongs to the same break
// (CR LF is one break, and so are two LF in a row). Trailing breaks add no
// line. Empty lines between lines are kept as empty strings.
QStringList SplitTextLines(const QString& text);

// The text of an edit box in the platform's own line-break form: every LF not
// already preceded by CR becomes CR LF, so a blank line typed in a box that
// reports plain LF stays a blank line when split.
QString WithCrLfBreaks(const QString& text);

// The height the current point moves down after a line (without the 2-pixel
// gap). A line's text height is the font's height (ascent plus descent)
// whatever its letters, so an empty line, measured by "W", moves the same.
int TextLineHeight(const QFont& font);

// Draws the lines of text with their top-left corners at (x, y), (x, y + h1 + 2),
// ... in the board's text font, black on a transparent background; clipped by
// the board's edge. Returns the point below the last line.
QPoint DrawTextLines(DrawingBoard& board, const QString& text, int x, int y);

} // namespace kovra::image
