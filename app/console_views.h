#pragma once
// The views of the link, the job and the picture flow for the command-line
// engraving: log texts go to the terminal as they come, the picture transfer
// and the engraving show their progress, and the steps the engraving waits
// for are reported to it.

#include "image/image_view.h"
#include "job/job_view.h"
#include "link/link_view.h"

#include <QTextStream>
#include <functional>

namespace kovra::app {

class ConsoleViews final : public link::LinkView, public job::JobView, public image::ImageView {
public:
    struct Events {
        std::function<void()> machineControlsEnabled; // handshake answer, picture written
        std::function<void()> carveFinished;          // the machine's CarveFinished
        std::function<void(int row)> rowReported;      // PositionX
    };

    explicit ConsoleViews(QTextStream& out);
    void setEvents(Events events) { m_events = std::move(events); }

    void AppendLogLine(const QString& text) override;
    void AppendLogText(const QString& text) override;
    void EnableMachineControls() override;
    void DisableMachineControls() override {}
    void ResetLocationControls() override {}
    void SetXEdit(const QString& text) override;
    void SetYEdit(const QString&) override {}

    void SetConnectButtonCaption(const QString&) override {}
    void SetConnectButtonEnabled(bool) override {}
    void SetBreakButtonVisible(bool) override {}
    void SetBurnTime(int) override {}
    void ShowMessageBox(const QString& text, const QString& title) override;
    void ShowTransferProgress(qint64 written, qint64 total) override;
    void HideTransferProgress() override;

    void LockLocationControls() override {}
    void SetTimeValueLabel(const QString&) override {}
    bool IsRadioChecked(job::LocationRadio) const override { return false; }
    void UncheckRadio(job::LocationRadio) override {}

    void OpenEffectWindow() override {}
    void CloseEffectWindow() override {}
    void PauseCarving() override {}
    void ResetRunClock() override {}
    void EnablePictureButtons() override {}
    void SetPositionBoxes(const QString&) override {}

    // One progress line, rewritten in place on a terminal.
    void showProgress(const QString& line);
    void endProgress();

private:
    QTextStream& m_out;
    Events m_events;
    bool m_progressShown = false;
    // On a terminal progress rewrites one line; into a file or pipe it prints a line per step.
    bool m_terminal = false;
    int m_lastPercent = -1;
};

} // namespace kovra::app
