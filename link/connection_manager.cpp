#include "link/connection_manager.h"

#include <QStringList>

namespace kovra::link {

ConnectionManager::ConnectionManager(SerialChannel& channel, CommandFrames& frames, LinkView& view,
                                     platform::Timer& retryTimer, platform::Timer& verifyTimer,
                                     platform::Timer& portCheckTimer)
    : m_channel(channel)
    , m_frames(frames)
    , m_view(view)
    , m_retryTimer(retryTimer)
    , m_verifyTimer(verifyTimer)
    , m_portCheckTimer(portCheckTimer)
{
    m_retryTimer.setOnTick([this] { AutoConnect(); });
    m_verifyTimer.setOnTick([this] { VerifyTick(); });
    m_portCheckTimer.setOnTick([this] { CheckPortPresence(); });
}

ConnectionManager::~ConnectionManager()
{
    m_retryTimer.setOnTick(nullptr);
    m_verifyTimer.setOnTick(nullptr);
    m_portCheckTimer.setOnTick(nullptr);
}

void ConnectionManager::AutoConnect()
{
    m_portCounter = 0;
    m_deniedThisScan.clear();
    m_deniedPending.clear();
    m_view.AppendLogText(texts::AutomaticConnecting);
    m_view.SetConnectButtonCaption(QStringLiteral("Connecting..."));
    TryNextPort();
}

void ConnectionManager::TryNextPort()
{
    // The stored port number is never below 1, so counter 0 and 1 both try
    // COM1; every PortOpen first closes whatever was open.
    m_channel.SetPortNumber(m_portCounter);
    while (!m_channel.PortOpen()) {
        noteOpenFailure();
        ++m_portCounter;
        m_channel.SetPortNumber(m_portCounter);
        if (m_portCounter > kLastPort) {
            reportDeniedDevices();
            m_retryTimer.setPeriod(kRetryPeriodMs);
            return;
        }
    }
    reportDeniedDevices();
    m_verifyTimer.setPeriod(kVerifyPeriodMs);
    m_frames.Handshake();
}

void ConnectionManager::VerifyTick()
{
    m_verifyTimer.setPeriod(0);
    m_channel.PortClose();
    ++m_portCounter;
    TryNextPort();
}

void ConnectionManager::CheckPortPresence()
{
    const platform::SerialPortList list = m_channel.ListPresentPorts();
    if (!list.ok) {
        // Once per run of failures: a box every second would bury the window.
        if (!m_portListFailureShown) {
            m_portListFailureShown = true;
            m_view.ShowMessageBox(QStringLiteral("打开状态=") + QString::number(list.status) + QStringLiteral(", 键句柄=0"),
                                  QStringLiteral("提示信息"));
        }
        return;
    }
    m_portListFailureShown = false;
    // The 'A' after the number keeps COM1 from matching COM10.
    const QString needle = QStringLiteral("COM") + QString::number(m_connectedPortNumber) + QLatin1Char('A');
    if (list.names.contains(needle))
        return;
    m_view.AppendLogLine(texts::ConnectionBreak);
    m_portCheckTimer.setPeriod(0);
    AutoConnect();
}

void ConnectionManager::Disconnect()
{
    m_channel.PortClose();
    m_view.SetConnectButtonCaption(QStringLiteral("Connect"));
    m_view.SetConnectButtonEnabled(true);
    m_view.AppendLogText(texts::DisconnectedConnection);
    m_view.DisableMachineControls();
}

void ConnectionManager::ConnectionEstablished()
{
    m_view.SetConnectButtonCaption(QStringLiteral("OK"));
    m_view.SetConnectButtonEnabled(false);
    m_view.SetBreakButtonVisible(true);
    m_view.EnableMachineControls();
    m_retryTimer.setPeriod(0);
    m_verifyTimer.setPeriod(0);
    m_view.AppendLogLine(texts::ConnectedBanner);
    m_connectedPortNumber = m_channel.PortNumber();
    m_portCheckTimer.setPeriod(kPortCheckPeriodMs);
}

void ConnectionManager::noteOpenFailure()
{
    const OpenFailure failure = m_channel.LastOpenFailure();
    if (failure.kind != OpenFailure::PermissionDenied || m_deniedThisScan.contains(failure.device))
        return;
    m_deniedThisScan.insert(failure.device);
    m_deniedPending.append(Denied{m_channel.PortNumber(), failure.device, failure.group});
}

void ConnectionManager::reportDeniedDevices()
{
    // One line per group, naming the devices, so a user outside the serial
    // group learns why the machine is never found.
    while (!m_deniedPending.isEmpty()) {
        const QString group = m_deniedPending.first().group;
        QStringList devices;
        for (qsizetype i = 0; i < m_deniedPending.size();) {
            if (m_deniedPending[i].group == group) {
                devices.append(QStringLiteral("COM%1 (%2)").arg(m_deniedPending[i].port).arg(m_deniedPending[i].device));
                m_deniedPending.removeAt(i);
            } else {
                ++i;
            }
        }
        constexpr int kNamed = 4;
        QString named = devices.mid(0, kNamed).join(QStringLiteral(", "));
        if (devices.size() > kNamed)
            named += QStringLiteral(" and %1 more").arg(devices.size() - kNamed);
        QString line = QStringLiteral("Cannot open ") + named + QStringLiteral(": permission denied.");
        if (!group.isEmpty())
            line += QStringLiteral(" Join the group \"%1\" that owns the device (sudo usermod -aG %1 $USER), then log in again.")
                        .arg(group);
        m_view.AppendLogLine(line);
    }
}

} // namespace kovra::link
