#include "shell/machine_presenter.h"

#include "shell/machine_texts.h"

#include <QStringList>

namespace kovra::shell {

MachinePresenter::MachinePresenter(link::LinkEvents& link, job::JobEvents& job, MachineSurface& surface)
    : m_surface(surface)
{
    wireLink(link);
    wireJob(job);
}

QString MachinePresenter::RunClockCaption(int seconds)
{
    if (seconds == 0)
        return texts::RunClockReset;
    const int minutes = seconds / 60;
    const int rest = seconds % 60;
    return (minutes < 10 ? QStringLiteral(" 0") : QStringLiteral(" ")) + QString::number(minutes)
           + (rest < 10 ? QStringLiteral(":0") : QStringLiteral(":")) + QString::number(rest);
}

QString MachinePresenter::DeniedDevicesLine(const QString& group, const QStringList& devices)
{
    constexpr int kNamed = 4;
    QString named = devices.mid(0, kNamed).join(QStringLiteral(", "));
    if (devices.size() > kNamed)
        named += tr(" and %1 more").arg(devices.size() - kNamed);
    QString line = tr("Cannot open %1: permission denied.").arg(named);
    if (!group.isEmpty())
        line += tr(" Join the group \"%1\" that owns the device (sudo usermod -aG %1 $USER), then log in again.")
                    .arg(group);
    return line;
}

void MachinePresenter::wireLink(link::LinkEvents& link)
{
    using L = link::LinkEvents;
    MachineSurface& s = m_surface;
    connect(&link, &L::scanStarted, this, [&s] {
        s.AppendLogText(texts::AutomaticConnecting);
        s.SetConnectButtonCaption(QStringLiteral("Connecting..."));
    });
    connect(&link, &L::devicesDenied, this,
        [&s](const QString& group, const QStringList& devices) { s.AppendLogLine(DeniedDevicesLine(group, devices)); });
    connect(&link, &L::connected, this, [&s](int) {
        s.SetConnectButtonCaption(QStringLiteral("OK"));
        s.SetConnectButtonEnabled(false);
        s.SetBreakButtonVisible(true);
        s.EnableMachineControls();
        s.AppendLogLine(texts::ConnectedBanner);
    });
    // The machine controls stay as they are: the new scan will tell.
    connect(&link, &L::connectionBroken, this, [&s](int) { s.AppendLogLine(texts::ConnectionBreak); });
    connect(&link, &L::disconnected, this, [&s] {
        s.SetConnectButtonCaption(QStringLiteral("Connect"));
        s.SetConnectButtonEnabled(true);
        s.AppendLogText(texts::DisconnectedConnection);
        s.DisableMachineControls();
    });
    connect(&link, &L::portListUnreadable, this, [&s](int status) {
        s.ShowMessageBox(QStringLiteral("打开状态=") + QString::number(status) + QStringLiteral(", 键句柄=0"),
            QStringLiteral("提示信息"));
    });
    connect(&link, &L::firmwareReported, this,
        [&s](int version) { s.AppendLogLine(texts::FirmwareVersionPrefix + QString::number(version)); });
    connect(&link, &L::firmwareNewerThanSupported, this,
        [&s] { s.ShowMessageBox(texts::FirmwareWarning, texts::FirmwareWarningTitle); });
    connect(&link, &L::rowReported, this, [&s](int row) { s.SetXEdit(QString::number(row)); });
    connect(&link, &L::positionReported, this, [&s](int, int column) { s.SetYEdit(QString::number(column)); });
    connect(&link, &L::carvingFinished, this, [&s] {
        s.AppendLogLine(texts::CarvedFinish);
        s.ResetLocationControls();
    });
    connect(&link, &L::motorStatusReported, this, [&s](int status) {
        s.AppendLogLine(status == 0 ? texts::MotorPowerMissing : texts::InitializationBanner);
    });
    connect(&link, &L::valueReported, this, [&s](int value) { s.AppendLogLine(QString::number(value)); });
    connect(&link, &L::burnTimeReported, this, [&s](int value) { s.SetBurnTime(value); });
    connect(&link, &L::pictureSending, this, [&s](qint64) { s.AppendLogText(texts::SendingNewImage); });
    connect(&link, &L::pictureProgress, this,
        [&s](qint64 written, qint64 total) { s.ShowTransferProgress(written, total); });
    connect(&link, &L::pictureSent, this, [&s](bool ok, qint64 written, qint64 total) {
        if (total > 0)
            s.HideTransferProgress();
        if (!ok) {
            // Not "Sending Complete !": the machine did not get the picture.
            s.AppendLogText(texts::SendingFailed.arg(written).arg(total));
            return;
        }
        s.AppendLogText(texts::SendingComplete);
        s.EnableMachineControls();
    });
    connect(&link, &L::burnTimeSent, this, [&s](int value) {
        s.AppendLogLine(QStringLiteral("Burning Time: ") + QString::number(value));
        if (value == 100)
            s.AppendLogLine(QStringLiteral("按按键可以继续调节灼烧时间"));
    });
    connect(&link, &L::motorReversed, this, [&s](char) { s.ShowMessageBox(QStringLiteral("Saved !"), QStringLiteral("Info")); });
}

void MachinePresenter::wireJob(job::JobEvents& job)
{
    using J = job::JobEvents;
    MachineSurface& s = m_surface;
    connect(&job, &J::pictureAnnounced, this, [&s] {
        s.AppendLogText(QStringLiteral("\r\n----------Please wait-----------\r\n"));
        s.AppendLogText(QStringLiteral("Erasing Last Image...\r\n"));
    });
    connect(&job, &J::carvingStarted, this, [&s] {
        s.AppendLogText(QStringLiteral("Start carving\r\n\r\n"));
        s.ResetLocationControls();
        s.LockLocationControls();
    });
    connect(&job, &J::carvingPaused, this, [&s] { s.AppendLogText(QStringLiteral("Engraving Pause !\r\n\r\n")); });
    connect(&job, &J::recarved, this, [&s] { s.AppendLogText(QStringLiteral("Recarve\r\n\r\n")); });
    connect(&job, &J::restarted, this, [&s] {
        s.AppendLogText(QStringLiteral("Restarting...\r\n\r\n"));
        s.EnableMachineControls();
        s.SetTimeValueLabel(texts::RunClockReset);
        s.SetXEdit(QStringLiteral("000"));
        s.SetYEdit(QStringLiteral("000"));
    });
    connect(&job, &J::rowsSkipped, this, [&s](int rows) {
        s.AppendLogText(rows > 0 ? QStringLiteral("Fast Forward for 15 row\r\n\r\n")
                                 : QStringLiteral("Fast Backward for 15 row\r\n\r\n"));
    });
    connect(&job, &J::runClockChanged, this, [&s](int seconds) { s.SetTimeValueLabel(RunClockCaption(seconds)); });
    connect(&job, &J::pointPositioningArmed, this, [&s] {
        s.AppendLogLine(QStringLiteral("\r\n>>>>>>>>>>>>>>>>>>>>>>Click the drawing board to location.<<<<<<<<<<<<<<<<"));
    });
    connect(&job, &J::centrePositioning, this,
        [&s] { s.AppendLogLine(QStringLiteral("Laser positioning to image center.")); });
    connect(&job, &J::boxPositioning, this, [&s] {
        s.AppendLogLine(QStringLiteral("\r\nTo carve content will be limited in the box."));
        s.AppendLogLine(QStringLiteral("Press the direction button to adjust the position."));
    });
    connect(&job, &J::locationModeOff, this, [&s](job::LocationMode radio) { s.UncheckRadio(radio); });
    connect(&job, &J::laserLocated, this,
        [&s](int x, int y) { s.AppendLogLine(QStringLiteral("Position to: %1,%2").arg(x).arg(y)); });
    connect(&job, &J::laserJogged, this, [&s](job::JogDirection direction) {
        static const char* const names[] = {"Up", "Down", "Left", "Right"};
        s.AppendLogText(QStringLiteral("Laser Movement : %1\r\n").arg(QLatin1String(names[int(direction) - 1])));
    });
    connect(&job, &J::arrowKeysFocusOnly, this, [&s] {
        s.AppendLogLine(tr("The arrow keys move the laser only while this program has the focus."));
    });
}

} // namespace kovra::shell
