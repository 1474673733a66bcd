#include "shell/widgets/window_placement.h"

#include "platform/window_title.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace kovra::shell {

namespace {
// A window manager reports the frame a little after the window is mapped,
// and not always with a geometry event of its own: look again at these delays.
constexpr int kFrameChecksMs[] = {0, 50, 200, 600, 1500};

QSize frameSize(const QMargins& frame)
{
    return {frame.left() + frame.right(), frame.top() + frame.bottom()};
}
} // namespace

WindowPlacement* WindowPlacement::Keep(QWidget* window, const QRect& outer, Sizing sizing, Title title)
{
    return new WindowPlacement(window, outer, sizing, title);
}

WindowPlacement::WindowPlacement(QWidget* window, const QRect& outer, Sizing sizing, Title title)
    : QObject(window)
    , m_window(window)
    , m_asked(outer)
    , m_sizing(sizing)
    , m_title(title)
{
    // Before the window system has framed the window, the outer size is all we know.
    apply(QMargins());
    m_window->installEventFilter(this);
}

QRect WindowPlacement::OuterFor(const QRect& asked, Sizing sizing, const QMargins& frame, const QRect& available,
                                int contentHeight)
{
    switch (sizing) {
    case Sizing::Resizable:
    case Sizing::Fixed: {
        // The sizes were made for Windows' own frame; under a taller title
        // bar the inside still shows as much of the controls as there.
        const int shown = std::min(contentHeight, asked.height() - kDesignFrameHeight);
        QRect outer = asked;
        outer.setHeight(std::max(asked.height(), shown + frame.top() + frame.bottom()));
        return outer;
    }
    case Sizing::FixedInsideHeight:
        return {asked.topLeft(), QSize(asked.width(), asked.height() + frame.top() + frame.bottom())};
    case Sizing::FitScreen: {
        QRect outer(asked.topLeft(), asked.size() + frameSize(frame));
        if (available.isEmpty())
            return outer;
        outer.setSize(outer.size().boundedTo(available.size()));
        outer.moveCenter(available.center());
        return outer;
    }
    }
    return asked;
}

QRect WindowPlacement::outer() const
{
    return OuterFor(m_asked, m_sizing, m_appliedFrame, availableArea(), contentHeight());
}

int WindowPlacement::contentHeight() const
{
    // Hidden controls do not count.
    return m_window->childrenRect().bottom() + 1;
}

void WindowPlacement::setOuter(const QRect& outer)
{
    m_asked = outer;
    apply(currentFrame());
}

QMargins WindowPlacement::currentFrame() const
{
    const QWindow* handle = m_window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

QRect WindowPlacement::availableArea() const
{
    if (m_sizing != Sizing::FitScreen)
        return {};
    const QScreen* screen = m_window->screen();
    return screen ? screen->availableGeometry() : QRect();
}

void WindowPlacement::apply(const QMargins& frame)
{
    m_appliedFrame = frame;
    const QRect outer = OuterFor(m_asked, m_sizing, frame, availableArea(), contentHeight());
    const QSize inside = outer.size() - frameSize(frame);
    if (m_sizing == Sizing::Fixed || m_sizing == Sizing::FixedInsideHeight)
        m_window->setFixedSize(inside);
    else
        m_window->resize(inside);
    // move() places the frame's corner, so the frame's arrival moves the inside.
    m_window->move(outer.topLeft());
}

void WindowPlacement::checkFrame()
{
    if (!m_window->isVisible())
        return;
    const QMargins frame = currentFrame();
    if (frame != m_appliedFrame)
        apply(frame);
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        // Every opening starts at the window's place, wherever the user left
        // it; one that fits the screen also gets its size again.
        if (m_sizing == Sizing::FitScreen)
            apply(m_appliedFrame);
        else
            m_window->move(outer().topLeft());
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
