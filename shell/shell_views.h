#pragma once
// The main window's controls as the machine and picture presenters drive
// them.

#include "shell/machine_surface.h"
#include "shell/widgets/message_box.h"

#include <QCoreApplication>

namespace kovra::shell {

class ControlGroups;
class MainWindow;

class ShellViews final : public MachineSurface {
    Q_DECLARE_TR_FUNCTIONS(ShellViews)
public:
    ShellViews(MainWindow& window, ControlGroups& groups, MessageBox& messageBox);

    // MachineSurface
    void AppendLogLine(const QString& text) override;
    void AppendLogText(const QString& text) override;
    void EnableMachineControls() override;
    void DisableMachineControls() override;
    void ResetLocationControls() override;
    void SetXEdit(const QString& text) override;
    void SetYEdit(const QString& text) override;
    void SetConnectButtonCaption(const QString& caption) override;
    void SetConnectButtonEnabled(bool enabled) override;
    void SetBreakButtonVisible(bool visible) override;
    void SetBurnTime(int position) override;
    // Shown once the event that asked for it has been handled, so no handler
    // is re-entered from inside a box.
    void ShowMessageBox(const QString& text, const QString& title) override;
    void ShowTransferProgress(qint64 written, qint64 total) override;
    void HideTransferProgress() override;
    void LockLocationControls() override;
    void SetTimeValueLabel(const QString& caption) override;
    void UncheckRadio(job::LocationMode radio) override;
    // The three location radios' check marks now.
    job::LocationSelection CheckedRadios() const;

    // SendImageButton, ClearButton, ZoomOutButton, RotateButton, ReloadButton,
    // enabled in that order.
    void EnablePictureButtons();

private:
    MainWindow& m_window;
    ControlGroups& m_groups;
    MessageBox& m_messageBox;
};

// Message boxes with no owner window, modal for the whole program, OK only, no icon.
class ModalMessageBox final : public MessageBox {
public:
    void Show(const QString& text, const QString& title) override;
};

} // namespace kovra::shell
