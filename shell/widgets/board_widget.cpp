#include "shell/widgets/board_widget.h"

#include "image/drawing_board.h"

#include <QMouseEvent>
#include <QPainter>

namespace kovra::shell {

Qt::CursorShape CursorForPointer(int pointer)
{
    switch (pointer) {
    case CrosshairPointer:
        return Qt::CrossCursor;
    case IBeamPointer:
        return Qt::IBeamCursor;
    case WaitPointer:
        return Qt::WaitCursor;
    case HandPointer:
        return Qt::PointingHandCursor;
    default:
        return Qt::ArrowCursor;
    }
}

int KeyState(Qt::KeyboardModifiers modifiers)
{
    int state = 0;
    if (modifiers & Qt::ControlModifier)
        state += 1;
    if (modifiers & Qt::ShiftModifier)
        state += 2;
    if (modifiers & Qt::AltModifier)
        state += 4;
    return state;
}

QPoint TruncatedPoint(const QPointF& position)
{
    return QPoint(int(position.x()), int(position.y()));
}

namespace {

// The picture area: paints the backing picture and reports the left button.
class BoardCanvas final : public QWidget {
public:
    BoardCanvas(image::DrawingBoard& board, BoardWidget& frame)
        : QWidget(&frame)
        , m_board(board)
        , m_frame(frame)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setCursor(CursorForPointer(board.Pointer()));
        connect(&board, &image::DrawingBoard::pointerChanged, this,
            [this](int pointer) { setCursor(CursorForPointer(pointer)); });
        connect(&board, &image::DrawingBoard::changed, this, [this](const QRect& area) { update(area); });
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter p(this);
        p.setClipRegion(event->region());
        p.fillRect(rect(), palette().window());
        p.drawImage(0, 0, m_board.picture());
    }
    void mousePressEvent(QMouseEvent* event) override { report(event, &BoardWidget::leftButtonDown); }
    void mouseReleaseEvent(QMouseEvent* event) override { report(event, &BoardWidget::leftButtonUp); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { report(event, &BoardWidget::doubleClicked); }

private:
    void report(QMouseEvent* event, void (BoardWidget::*signal)(int, int, int))
    {
        if (event->button() != Qt::LeftButton)
            return;
        const QPoint at = TruncatedPoint(event->position());
        emit(m_frame.*signal)(at.x(), at.y(), KeyState(event->modifiers()));
    }

    image::DrawingBoard& m_board;
    BoardWidget& m_frame;
};

} // namespace

BoardWidget::BoardWidget(image::DrawingBoard& board, QWidget* parent)
    : QFrame(parent)
    , m_board(board)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    m_canvas = new BoardCanvas(board, *this);
    resize(board.width() + 2, board.height() + 2);
    // Placed now as well: a hidden widget hears of its size only when shown.
    m_canvas->setGeometry(contentsRect());
}

void BoardWidget::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    m_canvas->setGeometry(contentsRect());
}

} // namespace kovra::shell
