#pragma once
// The fixed control groups that the connection, the replies, the job,
// positioning, picture loading and the edits switch together. No procedure
// reads a control's state first; only the enabled flag, the radios' check
// marks and the preview board's pointer change.

#include <QList>

class QRadioButton;
class QWidget;

namespace kovra::image {
class DrawingBoard;
}

namespace kovra::shell {

class MainWindow;

class ControlGroups {
public:
    ControlGroups(MainWindow& window, image::DrawingBoard& previewBoard);

    void EnableMachineControls();
    void DisableMachineControls();
    void ResetLocationControls();
    void LockLocationControls();

    // The 20 machine controls, in the order the procedures walk them.
    const QList<QWidget*>& machineControls() const { return m_machine; }

private:
    MainWindow& m_window;
    image::DrawingBoard& m_previewBoard;
    QList<QWidget*> m_machine;
};

// Unchecks a radio of an auto-exclusive group (Qt refuses to uncheck the
// checked member of such a group otherwise).
void UncheckRadio(QRadioButton* radio);

} // namespace kovra::shell
