#pragma once
// What the machine link needs from the main window. The shell implements it
// once; tests implement it with a recording fake. Texts are the program's own,
// passed exactly as they are to be shown.

#include <QString>
#include <QtGlobal>

namespace kovra::link {

class LinkView {
public:
    virtual ~LinkView() = default;

    // MessageLog: the text followed by "\r\n" / the text unchanged; both
    // append at the end and scroll it into view.
    virtual void AppendLogLine(const QString& text) = 0;
    virtual void AppendLogText(const QString& text) = 0;

    // The fixed control groups of the main window.
    virtual void EnableMachineControls() = 0;
    virtual void DisableMachineControls() = 0;
    virtual void ResetLocationControls() = 0;

    // ConnectButton ("Connecting...", "OK", "Connect") and BreakButton.
    virtual void SetConnectButtonCaption(const QString& caption) = 0;
    virtual void SetConnectButtonEnabled(bool enabled) = 0;
    virtual void SetBreakButtonVisible(bool visible) = 0;

    // The position boxes, filled from the machine's position replies.
    virtual void SetXEdit(const QString& text) = 0;
    virtual void SetYEdit(const QString& text) = 0;

    // BurnTimeSlider position and BurnTimeValueLabel caption (the position in
    // decimal). Setting it must not send anything to the machine.
    virtual void SetBurnTime(int position) = 0;

    // A modal box with an OK button and no icon; returns when it is closed.
    virtual void ShowMessageBox(const QString& text, const QString& title) = 0;

    // Progress of the picture transfer: first (0, total), then rising values,
    // last (total, total). HideTransferProgress follows once the transfer has
    // ended, whether it completed or failed.
    virtual void ShowTransferProgress(qint64 written, qint64 total) = 0;
    virtual void HideTransferProgress() = 0;
};

} // namespace kovra::link
