#include "shell/shell_views.h"

#include "shell/control_groups.h"
#include "shell/main_window.h"
#include "shell/widgets/message_log.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

namespace kovra::shell {

ShellViews::ShellViews(MainWindow& window, ControlGroups& groups, MessageBox& messageBox)
    : m_window(window)
    , m_groups(groups)
    , m_messageBox(messageBox)
{
}

void ShellViews::AppendLogLine(const QString& text) { m_window.Log->AppendLogLine(text); }
void ShellViews::AppendLogText(const QString& text) { m_window.Log->AppendLogText(text); }
void ShellViews::EnableMachineControls() { m_groups.EnableMachineControls(); }
void ShellViews::DisableMachineControls() { m_groups.DisableMachineControls(); }
void ShellViews::ResetLocationControls() { m_groups.ResetLocationControls(); }
void ShellViews::LockLocationControls() { m_groups.LockLocationControls(); }
void ShellViews::SetXEdit(const QString& text) { m_window.XEdit->setText(text); }
void ShellViews::SetYEdit(const QString& text) { m_window.YEdit->setText(text); }

void ShellViews::SetConnectButtonCaption(const QString& caption) { m_window.ConnectButton->setText(caption); }
void ShellViews::SetConnectButtonEnabled(bool enabled) { m_window.ConnectButton->setEnabled(enabled); }
void ShellViews::SetBreakButtonVisible(bool visible) { m_window.BreakButton->setVisible(visible); }

void ShellViews::SetBurnTime(int position)
{
    // Moving the slider from the program never sends: only a release by the user does.
    m_window.BurnTimeSlider->setValue(position);
    m_window.BurnTimeValueLabel->setText(QString::number(position));
}

void ShellViews::ShowMessageBox(const QString& text, const QString& title)
{
    QMetaObject::invokeMethod(
        &m_window, [this, text, title] { m_messageBox.Show(text, title); }, Qt::QueuedConnection);
}

void ShellViews::ShowTransferProgress(qint64 written, qint64 total)
{
    QProgressBar* bar = m_window.TransferProgress;
    bar->setRange(0, 1000);
    bar->setValue(total > 0 ? int(written * 1000 / total) : 0);
    bar->setFormat(tr("Sending picture %1 / %2 bytes (%p%)").arg(written).arg(total));
    bar->show();
}

void ShellViews::HideTransferProgress() { m_window.TransferProgress->hide(); }

void ShellViews::SetTimeValueLabel(const QString& caption) { m_window.TimeValueLabel->setText(caption); }

namespace {
QRadioButton* radioFor(const MainWindow& w, job::LocationMode radio)
{
    switch (radio) {
    case job::LocationMode::Point:
        return w.PointRadio;
    case job::LocationMode::Center:
        return w.CenterRadio;
    case job::LocationMode::Box:
        break;
    }
    return w.BoxRadio;
}
} // namespace

job::LocationSelection ShellViews::CheckedRadios() const
{
    return {m_window.PointRadio->isChecked(), m_window.CenterRadio->isChecked(), m_window.BoxRadio->isChecked()};
}
void ShellViews::UncheckRadio(job::LocationMode radio) { shell::UncheckRadio(radioFor(m_window, radio)); }

void ShellViews::EnablePictureButtons()
{
    for (QPushButton* b : {m_window.SendImageButton, m_window.ClearButton, m_window.ZoomOutButton,
             m_window.RotateButton, m_window.ReloadButton})
        b->setEnabled(true);
}

void ModalMessageBox::Show(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace kovra::shell
