#include "shell/window_placement.h"

#include "platform/window_title.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace kovra::shell {

namespace {
// A window manager reports the frame a little after the window is mapped,
// and not always with a geometry event of its own: look again at these delays.
constexpr int kFrameChecksMs[] = {0, 50, 200, 600, 1500};
} // namespace

WindowPlacement* WindowPlacement::Keep(QWidget* window, const QRect& outer, Sizing sizing, Title title)
{
    return new WindowPlacement(window, outer, sizing, title);
}

WindowPlacement::WindowPlacement(QWidget* window, const QRect& outer, Sizing sizing, Title title)
    : QObject(window)
    , m_window(window)
    , m_outer(outer)
    , m_sizing(sizing)
    , m_title(title)
{
    // Before the window system has framed the window, the outer size is all we know.
    applySize(QMargins());
    m_window->move(m_outer.topLeft());
    m_window->installEventFilter(this);
}

void WindowPlacement::setOuter(const QRect& outer)
{
    m_outer = outer;
    applySize(currentFrame());
    m_window->move(m_outer.topLeft());
}

QMargins WindowPlacement::currentFrame() const
{
    const QWindow* handle = m_window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

void WindowPlacement::applySize(const QMargins& frame)
{
    m_appliedFrame = frame;
    const QSize inside(m_outer.width() - frame.left() - frame.right(), m_outer.height() - frame.top() - frame.bottom());
    if (m_sizing == Sizing::Fixed)
        m_window->setFixedSize(inside);
    else
        m_window->resize(inside);
}

void WindowPlacement::checkFrame()
{
    if (!m_window->isVisible())
        return;
    const QMargins frame = currentFrame();
    if (frame == m_appliedFrame)
        return;
    applySize(frame);
    // move() places the frame's corner, so the frame's arrival moves the inside.
    m_window->move(m_outer.topLeft());
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        // Every opening starts at the window's place, wherever the user left it.
        m_window->move(m_outer.topLeft());
        if (m_title == Title::Untitled)
            platform::ClearWindowTitle(m_window->windowHandle());
        for (int delay : kFrameChecksMs)
            QTimer::singleShot(delay, this, &WindowPlacement::checkFrame);
        break;
    case QEvent::Move:
    case QEvent::Resize:
        checkFrame();
        break;
    default:
        break;
    }
    return false;
}

} // namespace kovra::shell
