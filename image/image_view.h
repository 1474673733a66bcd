#pragma once
// What the picture flow (drop, effect window, edits) asks of the windows it
// does not own. The shell implements this once; tests use a recording fake.

#include <QString>

namespace kovra::image {

class ImageView {
public:
    virtual ~ImageView() = default;

    // The effect window: opened non-modally (or raised when already open) on a
    // drop; closed after a choice. Closing it must not call back into the
    // session synchronously in a way that expects it to still be open (the
    // session's EffectWindowClosed is safe to call at any moment, also twice).
    virtual void OpenEffectWindow() = 0;
    virtual void CloseEffectWindow() = 0;

    // The pause action of the job controls: PauseCarve frame, run clock
    // stopped, "Engraving Pause !\r\n\r\n" in the log.
    virtual void PauseCarving() = 0;
    // RunSeconds := 0 and the run clock shows "00:00".
    virtual void ResetRunClock() = 0;

    // The 20 machine controls, in their fixed order.
    virtual void EnableMachineControls() = 0;
    virtual void DisableMachineControls() = 0;
    // SendImageButton, ClearButton, ZoomOutButton, RotateButton, ReloadButton,
    // enabled in that order.
    virtual void EnablePictureButtons() = 0;

    // XEdit and YEdit both show text.
    virtual void SetPositionBoxes(const QString& text) = 0;

    // Appends text followed by "\r\n" to the message log.
    virtual void AppendLogLine(const QString& text) = 0;
};

} // namespace kovra::image
