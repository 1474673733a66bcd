#pragma once
// The main window's controls as the machine presenter and the picture flow
// drive them.

#include "image/image_view.h"
#include "shell/machine_surface.h"
#include "shell/message_box.h"

#include <functional>

namespace kovra::shell {

class ControlGroups;
class MainWindow;

class ShellViews final : public MachineSurface, public image::ImageView {
public:
    // The actions the picture flow asks for that belong to other parts; the
    // composition root fills them in once those parts exist.
    struct Actions {
        std::function<void()> openEffectWindow;
        std::function<void()> closeEffectWindow;
        std::function<void()> pauseCarving;
        std::function<void()> resetRunClock;
    };

    ShellViews(MainWindow& window, ControlGroups& groups, MessageBox& messageBox);

    void setActions(Actions actions) { m_actions = std::move(actions); }

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

    // image::ImageView
    void OpenEffectWindow() override;
    void CloseEffectWindow() override;
    void PauseCarving() override;
    void ResetRunClock() override;
    void EnablePictureButtons() override;
    void SetPositionBoxes(const QString& text) override;

private:
    MainWindow& m_window;
    ControlGroups& m_groups;
    MessageBox& m_messageBox;
    Actions m_actions;
};

// Message boxes with no owner window, modal for the whole program, OK only, no icon.
class ModalMessageBox final : public MessageBox {
public:
    void Show(const QString& text, const QString& title) override;
};

} // namespace kovra::shell
