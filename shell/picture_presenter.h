#pragma once
// Turns what the picture flow reports into what the window does: a loaded
// picture opens the effect window, pauses the job and switches the machine
// controls to the picture-loaded state; the effect boards show the wait
// pointer until their renderings are drawn and the hand after; a choice
// closes the window; a refused file is one log line; Clear enables the
// machine controls and resets the position boxes. The command-line
// engraving uses it too, with its own surface and no actions.

#include "picture/picture_events.h"
#include "shell/machine_surface.h"

#include <QObject>

#include <functional>

namespace kovra::image {
class DrawingBoard;
}

namespace kovra::shell {

class PicturePresenter final : public QObject {
    Q_OBJECT
public:
    // What a loaded picture and a choice set going in other parts; an empty
    // one is left out.
    struct Actions {
        std::function<void()> openEffectWindow;
        std::function<void()> closeEffectWindow;
        // The pause action of the job controls: PauseCarve frame, run clock
        // stopped, "Engraving Pause !\r\n\r\n" in the log.
        std::function<void()> pauseCarving;
        // RunSeconds := 0 and the run clock shows "00:00".
        std::function<void()> resetRunClock;
        // SendImageButton, ClearButton, ZoomOutButton, RotateButton and
        // ReloadButton enabled, in that order.
        std::function<void()> enablePictureButtons;
    };

    // blackWhiteBoard, ditherBoard: the effect window's boards, whose
    // pointers show whether a click chooses yet.
    PicturePresenter(picture::PictureEvents& events, image::DrawingBoard& blackWhiteBoard,
                     image::DrawingBoard& ditherBoard, MachineSurface& surface, Actions actions = {});

    // The log line for a dropped file that cannot be used.
    static QString RefusedLine(const QString& path, const QString& reason);

private:
    void loaded();
    void edited(picture::Edit edit);
    static void run(const std::function<void()>& action);

    image::DrawingBoard& m_blackWhiteBoard;
    image::DrawingBoard& m_ditherBoard;
    MachineSurface& m_surface;
    Actions m_actions;
};

} // namespace kovra::shell
