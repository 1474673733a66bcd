#include "shell/control_groups.h"

#include "image/drawing_board.h"
#include "shell/widgets/board_widget.h"
#include "shell/main_window.h"

#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace kovra::shell {

ControlGroups::ControlGroups(MainWindow& window, image::DrawingBoard& previewBoard)
    : m_window(window)
    , m_previewBoard(previewBoard)
{
    MainWindow& w = window;
    m_machine = {w.UpButton, w.DownButton, w.LeftButton, w.RightButton, w.PauseButton, w.StartButton, w.PointRadio,
        w.CenterRadio, w.BoxRadio, w.SendImageButton, w.RestartButton, w.BurnTimeSlider, w.SettingButton,
        w.FastForwardButton, w.FastBackwardButton, w.RecarveButton, w.ClearButton, w.ZoomOutButton, w.RotateButton,
        w.ReloadButton};
}

void ControlGroups::EnableMachineControls()
{
    for (QWidget* control : m_machine)
        control->setEnabled(true);
}

void ControlGroups::DisableMachineControls()
{
    for (QWidget* control : m_machine)
        control->setEnabled(false);
}

void ControlGroups::ResetLocationControls()
{
    MainWindow& w = m_window;
    for (QRadioButton* radio : {w.PointRadio, w.CenterRadio, w.BoxRadio})
        radio->setEnabled(true);
    for (QRadioButton* radio : {w.PointRadio, w.CenterRadio, w.BoxRadio})
        UncheckRadio(radio);
    for (QPushButton* jog : {w.UpButton, w.DownButton, w.LeftButton, w.RightButton})
        jog->setEnabled(true);
    m_previewBoard.SetPointer(DefaultPointer);
}

void ControlGroups::LockLocationControls()
{
    MainWindow& w = m_window;
    for (QWidget* control : std::initializer_list<QWidget*>{
             w.PointRadio, w.CenterRadio, w.BoxRadio, w.UpButton, w.DownButton, w.LeftButton, w.RightButton})
        control->setEnabled(false);
}

void UncheckRadio(QRadioButton* radio)
{
    if (!radio->isChecked())
        return;
    const bool exclusive = radio->autoExclusive();
    radio->setAutoExclusive(false);
    radio->setChecked(false);
    radio->setAutoExclusive(exclusive);
}

} // namespace kovra::shell
