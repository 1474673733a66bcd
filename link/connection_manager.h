#pragma once
// Finding and watching the machine. A scan tries COM ports in rising order,
// sends Handshake on each port that opens and gives it a second to answer;
// a scan that runs past COM64 is repeated every two seconds until the
// machine answers. Once connected, a one-second check watches the system's
// port list and starts a new scan when the machine's port has gone; a port
// that closes on its own (the adapter reset or vanished) counts the same.
//
// The constructor binds the three timers' ticks: the retry timer ->
// AutoConnect, the verify timer -> VerifyTick, the port check timer ->
// CheckPortPresence, and the channel's Failed sink.

#include "link/command_frames.h"
#include "link/link_events.h"
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

    ConnectionManager(SerialChannel& channel, CommandFrames& frames, LinkEvents& events,
                      platform::Timer& retryTimer, platform::Timer& verifyTimer,
                      platform::Timer& portCheckTimer);
    ~ConnectionManager();
    ConnectionManager(const ConnectionManager&) = delete;
    ConnectionManager& operator=(const ConnectionManager&) = delete;

    // Startup, the user's connect, each retry tick, and a lost port.
    void AutoConnect();
    void TryNextPort();
    // The verify tick: the port under test did not answer in time.
    void VerifyTick();
    // The port check tick.
    void CheckPortPresence();
    // The user breaks the connection off. Touches no timer.
    void Disconnect();
    // The handshake answer (called by the reply handler), every time it comes.
    void ConnectionEstablished();

    ConnectionState State() const { return m_state; }
    int PortCounter() const { return m_portCounter; }
    int ConnectedPortNumber() const { return m_connectedPortNumber; }

private:
    void setState(ConnectionState state);
    void connectionLost();
    void noteOpenFailure();
    void reportDeniedDevices();

    SerialChannel& m_channel;
    CommandFrames& m_frames;
    LinkEvents& m_events;
    platform::Timer& m_retryTimer;
    platform::Timer& m_verifyTimer;
    platform::Timer& m_portCheckTimer;

    ConnectionState m_state = ConnectionState::Closed;
    int m_portCounter = 0;
    int m_connectedPortNumber = 0;
    // The port list failure is reported once per run of failed reads, not per tick.
    bool m_portListFailureShown = false;
    // Devices refused for lack of permission: reported once per scan.
    struct Denied {
        int port;
        QString device;
        QString group;
    };
    QList<Denied> m_deniedPending;
    QSet<QString> m_deniedThisScan;
};

} // namespace kovra::link
