#include "link/command_frames.h"
#include "link/connection_manager.h"
#include "link_fakes.h"
#include "shell/machine_presenter.h"
#include "shell/machine_texts.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;
using kovra::test::bytes;

namespace {

const QByteArray kHandshake = bytes({0xFF, 0x09, 0x00, 0x00});

struct ConnectionFixture : ::testing::Test {
    test::FakeSerialChannel channel;
    test::FakeLinkView view;
    link::LinkEvents events;
    job::JobEvents jobEvents;
    shell::MachinePresenter presenter{events, jobEvents, view};
    test::LinkEventLog eventLog{events};
    test::ManualTimer retry, verify, portCheck, transfer;
    link::PortWriter writer{channel, transfer};
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
    int logCount(const QString& text) const { return int(view.log.count(text)); }
    void connectOn(int port)
    {
        channel.openable = {port};
        connection.AutoConnect();
        ASSERT_TRUE(channel.IsOpen());
        connection.ConnectionEstablished();
    }
};

} // namespace

TEST_F(ConnectionFixture, MachineBehindASilentCom1IsFoundOnCom5)
{
    channel.openable = {1, 5};
    connection.AutoConnect();
    EXPECT_EQ(view.log, "Automatic Connecting...\r\n");
    EXPECT_EQ(view.connectCaption, "Connecting...");
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
    EXPECT_EQ(view.connectCaption, "OK");
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
    EXPECT_EQ(logCount("Automatic Connecting...\r\n"), 3);
    EXPECT_EQ(retry.restarts(), 1); // the same period keeps its schedule
    EXPECT_EQ(view.connectCaption, "Connecting...");
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
    EXPECT_FALSE(view.log.contains(">>>Connection BREAK !<<<"));
    EXPECT_EQ(portCheck.period(), 1000);

    channel.present.names = "COM1A";
    view.log.clear();
    ASSERT_TRUE(portCheck.tick());
    EXPECT_TRUE(view.log.startsWith(">>>Connection BREAK !<<<\r\nAutomatic Connecting...\r\n"));
    EXPECT_EQ(portCheck.period(), 0);
    EXPECT_EQ(view.connectCaption, "Connecting...");
}

TEST_F(ConnectionFixture, Com1IsNotFoundInCom10)
{
    connectOn(1);
    channel.present.names = "COM10ACOM11A";
    ASSERT_TRUE(portCheck.tick());
    EXPECT_TRUE(view.log.contains(">>>Connection BREAK !<<<"));
}

TEST_F(ConnectionFixture, BreakThenUnplugStillStartsAScan)
{
    connectOn(3);
    channel.present.names = "COM3A";
    view.calls.clear();
    connection.Disconnect();
    EXPECT_EQ(view.calls, QStringList({"caption:Connect", "connectEnabled:1", "text:Disconnected Connection\r\n\r\n",
                                       "disable"}));
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_EQ(portCheck.period(), 1000);
    ASSERT_TRUE(portCheck.tick());
    EXPECT_FALSE(view.log.contains("BREAK"));

    channel.present.names.clear();
    ASSERT_TRUE(portCheck.tick());
    EXPECT_TRUE(view.log.contains(">>>Connection BREAK !<<<\r\nAutomatic Connecting...\r\n"));
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
    EXPECT_EQ(logCount(shell::texts::ConnectedBanner), 2);
    EXPECT_EQ(portCheck.restarts(), restarts);
    EXPECT_EQ(connection.ConnectedPortNumber(), 6);
    EXPECT_TRUE(channel.IsOpen());
}

TEST_F(ConnectionFixture, AnUnreadablePortListShowsItsBoxOncePerEpisode)
{
    connectOn(2);
    channel.present = {false, 5, {}};
    int nested = 0;
    view.whileBoxOpen = [&] {
        // Ticks keep coming while the box is open.
        ++nested;
        portCheck.tick();
    };
    ASSERT_TRUE(portCheck.tick());
    ASSERT_TRUE(portCheck.tick());
    ASSERT_EQ(view.boxes.size(), 1);
    EXPECT_EQ(view.boxes[0], qMakePair(QStringLiteral("打开状态=5, 键句柄=0"), QStringLiteral("提示信息")));
    EXPECT_EQ(nested, 1);
    EXPECT_FALSE(view.log.contains("BREAK"));

    channel.present = {true, 0, "COM2A"};
    ASSERT_TRUE(portCheck.tick());
    channel.present = {false, 2, {}};
    ASSERT_TRUE(portCheck.tick());
    EXPECT_EQ(view.boxes.size(), 2);
}

TEST_F(ConnectionFixture, DeniedDevicesAreNamedOncePerScan)
{
    channel.denied[1] = {"/dev/ttyUSB0", "dialout"};
    channel.denied[33] = {"/dev/ttyS0", "dialout"};
    channel.denied[40] = {"/dev/ttyS7", "uucp"};
    connection.AutoConnect();
    EXPECT_EQ(view.log.count("Cannot open"), 2);
    EXPECT_EQ(view.log.count("/dev/ttyUSB0"), 1); // COM1 is tried twice, named once
    EXPECT_TRUE(view.log.contains("Cannot open COM1 (/dev/ttyUSB0), COM33 (/dev/ttyS0): permission denied. "
                                  "Join the group \"dialout\""));
    EXPECT_TRUE(view.log.contains("COM40 (/dev/ttyS7): permission denied. Join the group \"uucp\""));
    ASSERT_TRUE(retry.tick());
    EXPECT_EQ(view.log.count("/dev/ttyUSB0"), 2);
}
