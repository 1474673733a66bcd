#pragma once
// The controls of the main window that show the machine and the job, as the
// presenter drives them. The window implements it once (ShellViews), the
// command-line engraving prints it (ConsoleViews), tests record it.

#include "job/job_events.h"

#include <QString>
#include <QtGlobal>

namespace kovra::shell {

class MachineSurface {
public:
    virtual ~MachineSurface() = default;

    // MessageLog: the text followed by "\r\n" / the text unchanged; both
    // append at the end and scroll it into view.
    virtual void AppendLogLine(const QString& text) = 0;
    virtual void AppendLogText(const QString& text) = 0;

    // The fixed control groups of the main window.
    virtual void EnableMachineControls() = 0;
    virtual void DisableMachineControls() = 0;
    virtual void ResetLocationControls() = 0;
    virtual void LockLocationControls() = 0;
    virtual void UncheckRadio(job::LocationMode radio) = 0;

    // ConnectButton ("Connecting...", "OK", "Connect") and BreakButton.
    virtual void SetConnectButtonCaption(const QString& caption) = 0;
    virtual void SetConnectButtonEnabled(bool enabled) = 0;
    virtual void SetBreakButtonVisible(bool visible) = 0;

    // The position boxes and the run clock's label.
    virtual void SetXEdit(const QString& text) = 0;
    virtual void SetYEdit(const QString& text) = 0;
    virtual void SetTimeValueLabel(const QString& caption) = 0;

    // BurnTimeSlider position and BurnTimeValueLabel caption (the position in
    // decimal). Setting it must not send anything to the machine.
    virtual void SetBurnTime(int position) = 0;

    // A box with an OK button and no icon, modal for the whole program.
    virtual void ShowMessageBox(const QString& text, const QString& title) = 0;

    // Progress of the picture transfer: first (0, total), then rising values,
    // last (total, total). HideTransferProgress follows once the transfer has
    // ended, whether it completed or failed.
    virtual void ShowTransferProgress(qint64 written, qint64 total) = 0;
    virtual void HideTransferProgress() = 0;
};

} // namespace kovra::shell
