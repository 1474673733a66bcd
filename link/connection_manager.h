#pragma once
// Finding and watching the machine. A scan tries COM ports in rising order,
// sends Handshake on each port that opens and gives it a second to answer;
// a scan that runs past COM64 is repeated every two seconds until the
// machine answers. Once connected, a one-second check watches the system's
// port list and starts a new scan when the machine's port has gone.
//
// The constructor binds the three timers' ticks: RetryTimer -> AutoConnect,
// VerifyTimer -> VerifyTick, PortCheckTimer -> CheckPortPresence.

#include "link/command_frames.h"
#include "link/link_view.h"
#include "link/serial_channel.h"
#include "platform/timer.h"

#include <QList>
#include <QSet>
#include <QString>

namespace kovra::link {

class ConnectionManager {
public:
    static constexpr int kRetryPeriodMs = 2000;
    static constexpr int kVerifyPeriodMs = 1000;
    static constexpr int kPortCheckPeriodMs = 1000;
    static constexpr int kLastPort = 64;

    ConnectionManager(SerialChannel& channel, CommandFrames& frames, LinkView& view,
                      platform::Timer& retryTimer, platform::Timer& verifyTimer,
                      platform::Timer& portCheckTimer);
    ~ConnectionManager();
    ConnectionManager(const ConnectionManager&) = delete;
    ConnectionManager& operator=(const ConnectionManager&) = delete;

    // Startup, ConnectButton click, each RetryTimer tick, and a lost port.
    void AutoConnect();
    void TryNextPort();
    // VerifyTimer tick: the port under test did not answer in time.
    void VerifyTick();
    // PortCheckTimer tick.
    void CheckPortPresence();
    // BreakButton click. Touches no timer.
    void Disconnect();
    // The handshake answer (called by the reply handler), every time it comes.
    void ConnectionEstablished();

    int PortCounter() const { return m_portCounter; }
    int ConnectedPortNumber() const { return m_connectedPortNumber; }

private:
    void noteOpenFailure();
    void reportDeniedDevices();

    SerialChannel& m_channel;
    CommandFrames& m_frames;
    LinkView& m_view;
    platform::Timer& m_retryTimer;
    platform::Timer& m_verifyTimer;
    platform::Timer& m_portCheckTimer;

    int m_portCounter = 0;
    int m_connectedPortNumber = 0;
    // The port list box is shown once per run of failed reads, not per tick.
    bool m_portListFailureShown = false;
    // Devices refused for lack of permission: logged once per scan.
    struct Denied {
        int port;
        QString device;
        QString group;
    };
    QList<Denied> m_deniedPending;
    QSet<QString> m_deniedThisScan;
};

// The texts of this part, exactly.
namespace texts {
inline const QString ConnectedBanner =
    QStringLiteral(">>>>>>>>>>>>>>>>>>>>>>             CONNECTED !    <<<<<<<<<<<<<<<<<<<<<<");
inline const QString AutomaticConnecting = QStringLiteral("Automatic Connecting...\r\n");
inline const QString ConnectionBreak = QStringLiteral(">>>Connection BREAK !<<<");
inline const QString DisconnectedConnection = QStringLiteral("Disconnected Connection\r\n\r\n");
} // namespace texts

} // namespace kovra::link
