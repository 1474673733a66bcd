#include "link/connection_manager.h"

#include "link/link_log.h"

#include <QStringList>

namespace kovra::link {

ConnectionManager::ConnectionManager(SerialChannel& channel, CommandFrames& frames, LinkEvents& events,
                                     platform::Timer& retryTimer, platform::Timer& verifyTimer,
                                     platform::Timer& portCheckTimer)
    : m_channel(channel)
    , m_frames(frames)
    , m_events(events)
    , m_retryTimer(retryTimer)
    , m_verifyTimer(verifyTimer)
    , m_portCheckTimer(portCheckTimer)
{
    m_retryTimer.setOnTick([this] { AutoConnect(); });
    m_verifyTimer.setOnTick([this] { VerifyTick(); });
    m_portCheckTimer.setOnTick([this] { CheckPortPresence(); });
    m_channel.setOnFailed([this] {
        if (m_state == ConnectionState::Connected)
            connectionLost();
    });
}

ConnectionManager::~ConnectionManager()
{
    m_retryTimer.setOnTick(nullptr);
    m_verifyTimer.setOnTick(nullptr);
    m_portCheckTimer.setOnTick(nullptr);
    m_channel.setOnFailed(nullptr);
}

void ConnectionManager::setState(ConnectionState state)
{
    if (state == m_state)
        return;
    qCInfo(lcLink) << "connection" << ConnectionStateName(m_state) << "->" << ConnectionStateName(state);
    m_state = state;
    emit m_events.connectionStateChanged(state);
}

void ConnectionManager::AutoConnect()
{
    m_portCounter = 0;
    m_deniedThisScan.clear();
    m_deniedPending.clear();
    setState(ConnectionState::Scanning);
    emit m_events.scanStarted();
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
            setState(ConnectionState::Scanning);
            m_retryTimer.setPeriod(kRetryPeriodMs);
            emit m_events.scanFoundNothing();
            return;
        }
    }
    reportDeniedDevices();
    setState(ConnectionState::Verifying);
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
            emit m_events.portListUnreadable(list.status);
        }
        return;
    }
    m_portListFailureShown = false;
    // The 'A' after the number keeps COM1 from matching COM10.
    const QString needle = QStringLiteral("COM") + QString::number(m_connectedPortNumber) + QLatin1Char('A');
    if (!list.names.contains(needle)) {
        connectionLost();
        return;
    }
    // Listed, but closed under us: a reset adapter can come back under the
    // same name before this check sees it missing.
    if (m_state == ConnectionState::Connected && !m_channel.IsOpen())
        connectionLost();
}

void ConnectionManager::connectionLost()
{
    setState(ConnectionState::Broken);
    emit m_events.connectionBroken(m_connectedPortNumber);
    m_portCheckTimer.setPeriod(0);
    AutoConnect();
}

void ConnectionManager::Disconnect()
{
    m_channel.PortClose();
    setState(ConnectionState::Closed);
    emit m_events.disconnected();
}

void ConnectionManager::ConnectionEstablished()
{
    m_retryTimer.setPeriod(0);
    m_verifyTimer.setPeriod(0);
    m_connectedPortNumber = m_channel.PortNumber();
    setState(ConnectionState::Connected);
    emit m_events.connected(m_connectedPortNumber);
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
    // One report per group, naming the devices, so a user outside the serial
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
        emit m_events.devicesDenied(group, devices);
    }
}

} // namespace kovra::link
