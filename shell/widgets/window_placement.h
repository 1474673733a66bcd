#pragma once
// Places a top-level window by its outer rectangle, frame included: at its
// position each time it opens, and at its outer size once the window system
// has told us how wide its frame is (and again whenever that changes; a
// window manager frames a window only after it is mapped).

#include <QMargins>
#include <QObject>
#include <QRect>

class QWidget;

namespace kovra::shell {

class WindowPlacement : public QObject {
    Q_OBJECT
public:
    enum class Sizing {
        Resizable,         // the user may resize the window afterwards
        Fixed,             // the inside size is fixed to the outer size less the frame
        // (Both keep their outer size unless the frame is taller than
        // Windows' own and would cut off controls that show there: then
        // they grow by what they lack.)
        FixedInsideHeight, // as Fixed, but the height given is the inside's: the
                           // window grows by whatever the frame takes, so all of
                           // its content shows under any window manager
        FitScreen,         // resizable; the size given is the inside's, and the
                           // window is kept within the screen's free area, centred
    };
    enum class Title {
        AsSet,   // the window's own title
        Untitled // an empty title, also where Qt would show the program's name
    };

    // Lives as the window's child. outer: the outer rectangle, or for
    // FixedInsideHeight and FitScreen what the enum says.
    // The frame the outer sizes were made for: Windows' title bar and
    // borders, top and bottom together.
    static constexpr int kDesignFrameHeight = 39;

    static WindowPlacement* Keep(QWidget* window, const QRect& outer, Sizing sizing, Title title = Title::AsSet);

    // The outer rectangle for a frame and the screen's free area (an empty
    // area leaves the window where it was asked to be); contentHeight: how
    // far down the window's controls reach inside it.
    static QRect OuterFor(const QRect& asked, Sizing sizing, const QMargins& frame, const QRect& available,
                          int contentHeight = 0);

    QRect outer() const;
    // A new rectangle, applied at once (a window that grows, say).
    void setOuter(const QRect& outer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowPlacement(QWidget* window, const QRect& outer, Sizing sizing, Title title);
    QMargins currentFrame() const;
    QRect availableArea() const;
    int contentHeight() const;
    void apply(const QMargins& frame);
    void checkFrame();

    QWidget* m_window;
    QRect m_asked;
    Sizing m_sizing;
    Title m_title;
    QMargins m_appliedFrame;
};

} // namespace kovra::shell
