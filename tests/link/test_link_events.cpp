// The link's events in order for the scan, an unplug, a port that dies under
// the program and the picture, from the whole link put together.
#include "link/machine_link.h"
#include "link_fakes.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;
using kovra::test::bytes;

namespace {

struct LinkEventsFixture : ::testing::Test {
    test::FakeSerialChannel channel;
    test::ManualTimer retry, verify, portCheck, output, transfer;
    qint64 now = 0;
    link::MachineLink machine{channel, {retry, verify, portCheck, output, transfer}, [this] { return now; }};
    test::LinkEventLog log{machine.events()};

    void feed(const QByteArray& data)
    {
        for (char b : data)
            machine.replies().HandleReplyByte(quint8(b));
    }
    void connectOn(int port)
    {
        channel.openable = {port};
        channel.present.names = QStringLiteral("COM%1A").arg(port);
        machine.connection().AutoConnect();
        feed(bytes({0xFF, 0x01, 0x00, 0x00}));
        ASSERT_EQ(machine.connection().State(), link::ConnectionState::Connected);
        log.take();
    }
};

} // namespace

TEST_F(LinkEventsFixture, ScanVerifiesEachOpenPortUntilTheMachineAnswers)
{
    channel.openable = {1, 5};
    machine.connection().AutoConnect();
    ASSERT_TRUE(verify.tick()); // COM1 again (counter 0, then 1)
    ASSERT_TRUE(verify.tick()); // COM2..COM4 fail at once, COM5 opens
    feed(bytes({0xFF, 0x01, 0x00, 0x00, 0xFF, 0x02, 0x01, 0x00, 0xFF, 0x0A, 0x00, 0x28}));
    // Verifying stays the state while the scan moves from port to port.
    EXPECT_EQ(log.take(), (QStringList{"state scanning", "scan", "state verifying", "state connected", "connected 5",
                              "firmware 1", "burn time 40"}));
    EXPECT_EQ(machine.connection().State(), link::ConnectionState::Connected);

    machine.connection().Disconnect();
    EXPECT_EQ(log.take(), (QStringList{"state closed", "disconnected"}));
}

TEST_F(LinkEventsFixture, NoPortsLeaveTheScanWaitingForItsNextRound)
{
    machine.connection().AutoConnect();
    EXPECT_EQ(log.take(), (QStringList{"state scanning", "scan"}));
    EXPECT_EQ(machine.connection().State(), link::ConnectionState::Scanning);
    EXPECT_EQ(retry.period(), 2000);
}

// Gone from the port list, or closed under the program while still listed (a
// USB reset brings the adapter back before the check looks): both are a break.
TEST_F(LinkEventsFixture, AVanishedOrDeadPortBreaksTheConnectionAndScansAgain)
{
    enum Way { Unplugged, ClosedOnError, ClosedSilently };
    for (Way way : {Unplugged, ClosedOnError, ClosedSilently}) {
        SCOPED_TRACE(way);
        connectOn(3);
        if (way == Unplugged) {
            channel.present.names.clear();
            channel.openable.clear();
            ASSERT_TRUE(portCheck.tick());
        } else if (way == ClosedOnError) {
            channel.fail();
        } else {
            channel.PortClose();
            ASSERT_TRUE(portCheck.tick());
        }
        const QStringList expected = way == Unplugged
            ? QStringList{"state broken", "broken 3", "state scanning", "scan"}
            : QStringList{"state broken", "broken 3", "state scanning", "scan", "state verifying"};
        EXPECT_EQ(log.take(), expected) << "never connected on a closed port";
        EXPECT_EQ(portCheck.period(), 0);
        if (way != Unplugged) {
            feed(bytes({0xFF, 0x01, 0x00, 0x00})); // the machine answers again
            EXPECT_EQ(log.take(), (QStringList{"state connected", "connected 3"}));
        }
    }
}

TEST_F(LinkEventsFixture, AfterBreakingOffOnlyAMissingPortStartsAScan)
{
    connectOn(2);
    machine.connection().Disconnect();
    ASSERT_TRUE(portCheck.tick()); // closed by the user, still listed: nothing
    channel.fail();                 // a failure of a port already closed is not reported
    EXPECT_EQ(log.take(), (QStringList{"state closed", "disconnected"}));
}

TEST_F(LinkEventsFixture, ThePictureIsSentOrFailsWithTheBytesThatLeft)
{
    connectOn(4);
    machine.picture().SetEngraveBuffer(QByteArray(32768, '\x0F'));
    feed(bytes({0xFF, 0x05, 0x00, 0x00}));
    ASSERT_TRUE(transfer.tick());
    now += 6000; // the line's time
    ASSERT_TRUE(transfer.tick());
    EXPECT_EQ(log.take(), (QStringList{"sending 32768", "sent ok 32768/32768"}));

    channel.instantWrite = false;
    feed(bytes({0xFF, 0x05, 0x00, 0x00}));
    ASSERT_TRUE(transfer.tick());
    channel.completeWrite(1000);
    now += 6000;
    channel.fail();
    EXPECT_EQ(log.take(), (QStringList{"sending 32768", "sent failed 1000/32768", "state broken", "broken 4",
                              "state scanning", "scan", "state verifying"}));
}

TEST_F(LinkEventsFixture, RepliesDuringThePictureAreHandledAtOnce)
{
    connectOn(4);
    channel.instantWrite = false;
    machine.picture().SetEngraveBuffer(QByteArray(32768, '\x55'));
    feed(bytes({0xFF, 0x05, 0x00, 0x00}));
    ASSERT_TRUE(transfer.tick());
    channel.completeWrite(4096);
    feed(bytes({0xFF, 0x08, 0x00, 0x01})); // not lost to the write
    EXPECT_EQ(log.take(), (QStringList{"sending 32768", "value 1"}));
    now += 6000;
    channel.completeWrite(32768 - 4096);
    EXPECT_EQ(log.take(), (QStringList{"sent ok 32768/32768"}));
}

TEST_F(LinkEventsFixture, RepliesDuringAJobBecomeEvents)
{
    connectOn(1);
    feed(bytes({0xFF, 0x04, 0x00, 0x07, 0xFF, 0x03, 0x00, 0x0C, 0xFF, 0x07, 0x00, 0x00, 0xFF, 0x08, 0x0C, 0x22,
        0xFF, 0x06, 0x00, 0x00, 0xFF, 0x02, 0x03, 0x00}));
    EXPECT_EQ(log.take(), (QStringList{"row 7", "position 7,12", "motor 0", "value 1234", "finished", "firmware 3",
                              "firmware newer 3>1"}));
    machine.parameters().SendBurnTime(60);
    machine.parameters().ReverseMotorYClicked();
    EXPECT_EQ(log.take(), (QStringList{"burn time sent 60", "reversed Y"}));
}
