#include "shell/board_widget.h"

#include "image/drawing_board.h"

#include <QMouseEvent>
#include <QPainter>

namespace kovra::shell {

Qt::CursorShape CursorForPointer(int pointer)
{
    switch (pointer) {
    case image::CrosshairPointer:
        return Qt::CrossCursor;
    case image::IBeamPointer:
        return Qt::IBeamCursor;
    case image::WaitPointer:
        return Qt::WaitCursor;
    case image::HandPointer:
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

BoardWidget::BoardWidget(image::DrawingBoard& board, QWidget* parent)
    : QFrame(parent)
    , m_board(board)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(board.width() + 2, board.height() + 2);
    followPointer(board.Pointer());
    connect(&board, &image::DrawingBoard::pointerChanged, this, &BoardWidget::followPointer);
    connect(&board, &image::DrawingBoard::changed, this, &BoardWidget::boardChanged);
}

void BoardWidget::followPointer(int pointer)
{
    setCursor(CursorForPointer(pointer));
}

void BoardWidget::boardChanged(const QRect& area)
{
    update(area.translated(1, 1).adjusted(0, 0, 1, 1));
}

void BoardWidget::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.setClipRegion(event->region());
    p.fillRect(rect(), palette().window());
    p.drawImage(1, 1, m_board.picture());
    p.setPen(QColor(100, 100, 100));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void BoardWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint() - QPoint(1, 1);
        emit leftButtonDown(at.x(), at.y(), KeyState(event->modifiers()));
    }
    QFrame::mousePressEvent(event);
}

void BoardWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint() - QPoint(1, 1);
        emit leftButtonUp(at.x(), at.y(), KeyState(event->modifiers()));
    }
    QFrame::mouseReleaseEvent(event);
}

void BoardWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint() - QPoint(1, 1);
        emit doubleClicked(at.x(), at.y(), KeyState(event->modifiers()));
    }
    QFrame::mouseDoubleClickEvent(event);
}

} // namespace kovra::shell
