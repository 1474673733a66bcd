#include "shell/widgets/mouse_events.h"

#include "shell/widgets/board_widget.h"

#include <QMouseEvent>
#include <QWidget>

namespace kovra::shell {

MouseEvents* MouseEvents::Watch(QWidget* widget)
{
    if (auto* existing = widget->findChild<MouseEvents*>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new MouseEvents(widget);
}

MouseEvents::MouseEvents(QWidget* widget)
    : QObject(widget)
{
    widget->installEventFilter(this);
}

bool MouseEvents::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    // Event filters hear the mouse of a disabled control too; a disabled
    // control does nothing.
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !widget->isEnabled())
        return false;
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QPoint at = TruncatedPoint(mouse->position());
            const int keys = KeyState(mouse->modifiers());
            if (type == QEvent::MouseButtonPress)
                emit leftButtonDown(at.x(), at.y(), keys);
            else if (type == QEvent::MouseButtonRelease)
                emit leftButtonUp(at.x(), at.y(), keys);
            else
                emit doubleClicked(at.x(), at.y(), keys);
        }
    }
    return false;
}

} // namespace kovra::shell
