#include "link/command_frames.h"
#include "link/connection_manager.h"
#include "link_fakes.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;
using kovra::test::bytes;

namespace {

const QByteArray kHandshake = bytes({0xFF, 0x09, 0x00, 0x00});

struct ConnectionFixture : ::testing::Test {
    test::FakeSerialChannel channel;
    link::LinkEvents events;
    test::LinkEventLog log{events};
    test::ManualTimer retry, verify, portCheck, output;
    link::PortWriter writer{channel, output};
    link::CommandFrames frames{writer};
    link::ConnectionManager connection{channel, frames, events, retry, verify, portCheck};

    QList<int> handshakePorts() const
    {
        QList<int> ports;
        for (const auto& w : channel.writes)
            if (w.bytes == kHandshake)
                ports << w.port;
        return ports;
    }
    int count(const QString& event) const { return int(log.events.count(event)); }
    void connectOn(int port)
    {
        channel.openable = {port};
        connection.AutoConnect();
        ASSERT_TRUE(channel.IsOpen());
        connection.ConnectionEstablished();
        log.take();
    }
};

} // namespace

TEST_F(ConnectionFixture, MachineBehindASilentCom1IsFoundOnCom5)
{
    channel.openable = {1, 5};
    connection.AutoConnect();
    EXPECT_EQ(log.take(), (QStringList{"state scanning", "scan", "state verifying"}));
    EXPECT_EQ(verify.period(), 1000);
    EXPECT_EQ(handshakePorts(), QList<int>({1}));

    ASSERT_TRUE(verify.tick()); // COM1 again: counter 0 and 1 both name it
    EXPECT_EQ(handshakePorts(), QList<int>({1, 1}));
    EXPECT_EQ(verify.period(), 1000);

    ASSERT_TRUE(verify.tick());
    EXPECT_EQ(channel.openAttempts, QList<int>({1, 1, 2, 3, 4, 5}));
    EXPECT_EQ(handshakePorts(), QList<int>({1, 1, 5}));
    EXPECT_EQ(channel.PortNumber(), 5);

    connection.ConnectionEstablished();
    EXPECT_EQ(log.take(), (QStringList{"state connected", "connected 5"})) << "one scan, verifying from port to port";
    EXPECT_EQ(retry.period(), 0);
    EXPECT_EQ(verify.period(), 0);
    EXPECT_EQ(portCheck.period(), 1000);
    EXPECT_EQ(connection.ConnectedPortNumber(), 5);
    EXPECT_EQ(retry.restarts(), 0);
}

TEST_F(ConnectionFixture, NoPortsAtAllRepeatsTheScanEveryTwoSeconds)
{
    connection.AutoConnect();
    EXPECT_EQ(channel.openAttempts.size(), 65); // COM1 twice, then COM2..COM64
    EXPECT_EQ(channel.openAttempts.last(), 64);
    EXPECT_EQ(connection.PortCounter(), 65);
    EXPECT_EQ(channel.PortNumber(), 65);
    EXPECT_EQ(retry.period(), 2000);
    EXPECT_EQ(verify.period(), 0);
    EXPECT_TRUE(channel.writes.isEmpty());

    ASSERT_TRUE(retry.tick());
    ASSERT_TRUE(retry.tick());
    EXPECT_EQ(count("scan"), 3);
    EXPECT_EQ(retry.restarts(), 1); // the same period keeps its schedule
    EXPECT_EQ(connection.State(), link::ConnectionState::Scanning);
}

TEST_F(ConnectionFixture, RetryKeepsRestartingScansUntilTheMachineAnswers)
{
    connection.AutoConnect();
    channel.openable = {1}; // a silent device appears
    ASSERT_TRUE(retry.tick());
    EXPECT_EQ(handshakePorts(), QList<int>({1}));
    ASSERT_TRUE(retry.tick()); // restarts in the middle of verifying COM1
    EXPECT_EQ(handshakePorts(), QList<int>({1, 1}));
    EXPECT_EQ(connection.PortCounter(), 0);
    EXPECT_EQ(channel.closes, 1);
    connection.ConnectionEstablished();
    EXPECT_EQ(retry.period(), 0);
    EXPECT_FALSE(retry.tick());
}

TEST_F(ConnectionFixture, PresenceCheckMatchesTheWholePortName)
{
    connectOn(12);
    channel.present.names = "COM1ACOM12A";
    ASSERT_TRUE(portCheck.tick());
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(portCheck.period(), 1000);

    channel.present.names = "COM1A";
    ASSERT_TRUE(portCheck.tick());
    EXPECT_EQ(log.take().mid(0, 4), (QStringList{"state broken", "broken 12", "state scanning", "scan"}));
    EXPECT_EQ(portCheck.period(), 0);
}

TEST_F(ConnectionFixture, Com1IsNotFoundInCom10)
{
    connectOn(1);
    channel.present.names = "COM10ACOM11A";
    ASSERT_TRUE(portCheck.tick());
    EXPECT_EQ(count("broken 1"), 1);
}

TEST_F(ConnectionFixture, BreakThenUnplugStillStartsAScan)
{
    connectOn(3);
    channel.present.names = "COM3A";
    connection.Disconnect();
    EXPECT_EQ(log.take(), (QStringList{"state closed", "disconnected"}));
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_EQ(portCheck.period(), 1000);
    ASSERT_TRUE(portCheck.tick());
    EXPECT_TRUE(log.take().isEmpty());

    channel.present.names.clear();
    ASSERT_TRUE(portCheck.tick());
    EXPECT_EQ(log.take().mid(0, 4), (QStringList{"state broken", "broken 3", "state scanning", "scan"}));
    EXPECT_TRUE(channel.IsOpen()); // the machine is still openable in this fake
}

TEST_F(ConnectionFixture, BreakDuringAScanDoesNotStopIt)
{
    channel.openable = {1, 4};
    connection.AutoConnect();
    connection.Disconnect();
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_EQ(verify.period(), 1000);
    ASSERT_TRUE(verify.tick());
    EXPECT_TRUE(channel.IsOpen());
    EXPECT_EQ(channel.PortNumber(), 1);
    ASSERT_TRUE(verify.tick());
    EXPECT_EQ(channel.PortNumber(), 4);
    EXPECT_EQ(handshakePorts(), QList<int>({1, 1, 4}));
}

TEST_F(ConnectionFixture, ASecondHandshakeAnswerOnlyRepeatsTheSteps)
{
    connectOn(6);
    const int restarts = portCheck.restarts();
    connection.ConnectionEstablished();
    EXPECT_EQ(log.take(), (QStringList{"connected 6"})) << "the connected steps again, the state unchanged";
    EXPECT_EQ(portCheck.restarts(), restarts);
    EXPECT_EQ(connection.ConnectedPortNumber(), 6);
    EXPECT_TRUE(channel.IsOpen());
}

TEST_F(ConnectionFixture, AnUnreadablePortListShowsItsBoxOncePerEpisode)
{
    connectOn(2);
    channel.present = {false, 5, {}};
    int nested = 0;
    QObject::connect(&events, &link::LinkEvents::portListUnreadable, [&] {
        // Ticks keep coming while whoever listens shows the failure.
        ++nested;
        portCheck.tick();
    });
    ASSERT_TRUE(portCheck.tick());
    ASSERT_TRUE(portCheck.tick());
    EXPECT_EQ(log.take(), (QStringList{"port list 5"}));
    EXPECT_EQ(nested, 1);

    channel.present = {true, 0, "COM2A"};
    ASSERT_TRUE(portCheck.tick());
    channel.present = {false, 2, {}};
    ASSERT_TRUE(portCheck.tick());
    EXPECT_EQ(log.take(), (QStringList{"port list 2"}));
}

TEST_F(ConnectionFixture, DeniedDevicesAreNamedOncePerScan)
{
    channel.denied[1] = {"/dev/ttyUSB0", "dialout"};
    channel.denied[33] = {"/dev/ttyS0", "dialout"};
    channel.denied[40] = {"/dev/ttyS7", "uucp"};
    connection.AutoConnect();
    // COM1 is tried twice, named once.
    EXPECT_EQ(log.take().filter("denied"),
        (QStringList{"denied dialout: COM1 (/dev/ttyUSB0), COM33 (/dev/ttyS0)", "denied uucp: COM40 (/dev/ttyS7)"}));
    ASSERT_TRUE(retry.tick());
    EXPECT_EQ(log.take().filter("/dev/ttyUSB0").size(), 1);
}
