#pragma once
// The window's controls for the command-line engraving: log texts go to the
// terminal as they come, and the picture transfer and the engraving show
// their progress on one line (rewritten in place on a terminal, a line per
// step into a file or pipe). Everything else a window would show is left out.

#include "shell/machine_surface.h"

#include <QTextStream>

namespace kovra::app {

class ConsoleViews final : public shell::MachineSurface {
public:
    explicit ConsoleViews(QTextStream& out);
    // For tests: whether progress rewrites one line (a terminal).
    ConsoleViews(QTextStream& out, bool terminal);

    void AppendLogLine(const QString& text) override;
    void AppendLogText(const QString& text) override;
    void EnableMachineControls() override {}
    void DisableMachineControls() override {}
    void ResetLocationControls() override {}
    void LockLocationControls() override {}
    void UncheckRadio(job::LocationMode) override {}
    void SetConnectButtonCaption(const QString&) override {}
    void SetConnectButtonEnabled(bool) override {}
    void SetBreakButtonVisible(bool) override {}
    void SetXEdit(const QString&) override {}
    void SetYEdit(const QString&) override {}
    void SetTimeValueLabel(const QString&) override {}
    void SetBurnTime(int) override {}
    void ShowMessageBox(const QString& text, const QString& title) override;
    void ShowTransferProgress(qint64 written, qint64 total) override;
    void HideTransferProgress() override;

    // One progress line, rewritten in place on a terminal.
    void showProgress(const QString& line);
    void endProgress();
    bool terminal() const { return m_terminal; }

private:
    QTextStream& m_out;
    bool m_progressShown = false;
    bool m_terminal = false;
    int m_lastPercent = -1;
};

} // namespace kovra::app
