#pragma once
// The main window as the lower layers see it: one object that implements the
// link's, the job's and the picture flow's view interfaces on the controls.

#include "image/image_view.h"
#include "job/job_view.h"
#include "link/link_view.h"
#include "shell/message_box.h"

#include <functional>

namespace kovra::shell {

class ControlGroups;
class MainWindow;

class ShellViews final : public link::LinkView, public job::JobView, public image::ImageView {
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

    // Shared by the three views.
    void AppendLogLine(const QString& text) override;
    void AppendLogText(const QString& text) override;
    void EnableMachineControls() override;
    void DisableMachineControls() override;
    void ResetLocationControls() override;
    void SetXEdit(const QString& text) override;
    void SetYEdit(const QString& text) override;

    // link::LinkView
    void SetConnectButtonCaption(const QString& caption) override;
    void SetConnectButtonEnabled(bool enabled) override;
    void SetBreakButtonVisible(bool visible) override;
    void SetBurnTime(int position) override;
    void ShowMessageBox(const QString& text, const QString& title) override;
    void ShowTransferProgress(qint64 written, qint64 total) override;
    void HideTransferProgress() override;

    // job::JobView
    void LockLocationControls() override;
    void SetTimeValueLabel(const QString& caption) override;
    bool IsRadioChecked(job::LocationRadio radio) const override;
    void UncheckRadio(job::LocationRadio radio) override;

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
