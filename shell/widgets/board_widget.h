#pragma once
// Shows a DrawingBoard inside a one-pixel single-line frame and reports the
// mouse in board coordinates (the picture area, frame excluded). The board's
// pointer number becomes the cursor. Controls that live on the board (the
// text box and its button) are children of canvas(), so their positions are
// board coordinates too.

#include <QFrame>

namespace kovra::image {
class DrawingBoard;
}

namespace kovra::shell {

// Standard mouse pointers by number, as a board keeps them. The pointer
// doubles as the board's click mode: crosshair arms point positioning, the
// I-beam arms text placement; the effect boards wait until their renderings
// are drawn.
enum BoardPointer : int {
    DefaultPointer = 0,
    CrosshairPointer = 2,
    IBeamPointer = 3,
    WaitPointer = 4,
    HandPointer = 14,
};

class BoardWidget : public QFrame {
    Q_OBJECT
public:
    // The widget's size is the board's picture size plus the frame.
    explicit BoardWidget(image::DrawingBoard& board, QWidget* parent = nullptr);

    image::DrawingBoard& board() { return m_board; }
    // The picture area inside the frame.
    QWidget* canvas() { return m_canvas; }

signals:
    // keyState: 1 Ctrl, 2 Shift, 4 Alt, added.
    void leftButtonDown(int x, int y, int keyState);
    void leftButtonUp(int x, int y, int keyState);
    void doubleClicked(int x, int y, int keyState);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    image::DrawingBoard& m_board;
    QWidget* m_canvas = nullptr;
};

// The cursor shape for a standard pointer number (0 default, 2 crosshair,
// 3 I-beam, 4 hourglass, 14 hand).
Qt::CursorShape CursorForPointer(int pointer);
// Ctrl 1, Shift 2, Alt 4, added.
int KeyState(Qt::KeyboardModifiers modifiers);
// A pointer position in whole pixels, truncated toward zero (with fractional
// display scaling, rounding could name the pixel past the one clicked).
QPoint TruncatedPoint(const QPointF& position);

} // namespace kovra::shell
