// The program's machine link, on the real Qt serial channel, against the
// simulated engraver on a pseudo-terminal in a private port directory.
#include "link/machine_link.h"
#include "link/qt_serial_channel.h"
#include "shell/machine_presenter.h"
#include "shell/machine_texts.h"
#include "sim/pty_machine.h"
#include "tests/link/pty_pair.h"
#include "tests/shell/recording_surface.h"
#include "tests/support/manual_timer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kovra;

namespace {

constexpr int kMachinePort = 3;

QByteArray testPicture()
{
    QByteArray picture(32768, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char((i * 37 + i / 64) & 0xFF); // every value, 0xFF included
    return picture;
}

struct LinkAgainstSim : ::testing::Test {
    QTemporaryDir portDir;
    std::unique_ptr<sim::PtyMachine> machine;
    // The scan's timers are ticked by hand; the picture's 5 ms wait is real.
    test::ManualTimer retry, verify, portCheck;
    platform::QtTimer output, transfer;
    test::RecordingSurface view;
    job::JobEvents jobEvents;
    std::unique_ptr<shell::MachinePresenter> presenter;
    std::unique_ptr<link::QtSerialChannel> channel;
    std::unique_ptr<link::MachineLink> machineLink;

    void SetUp() override
    {
        ASSERT_TRUE(portDir.isValid());
        sim::PtyMachineOptions options;
        options.portNumber = kMachinePort;
        options.portDir = portDir.path();
        machine = std::make_unique<sim::PtyMachine>(sim::FirmwareOptions{}, options);
        ASSERT_TRUE(machine->start()) << machine->errorString().toStdString();
        // Only the private directory: the test never touches real devices.
        channel = std::make_unique<link::QtSerialChannel>(platform::SerialPortNames(portDir.path(), false));
        machineLink = std::make_unique<link::MachineLink>(*channel,
                                                          link::LinkTimers{retry, verify, portCheck, output, transfer});
        presenter = std::make_unique<shell::MachinePresenter>(machineLink->events(), jobEvents, view);
    }
    void TearDown() override
    {
        presenter.reset();
        machineLink.reset();
        channel.reset();
        machine.reset();
    }
    int banners() const { return int(view.log.count(shell::texts::ConnectedBanner)); }
    bool connect()
    {
        const int before = banners();
        machineLink->connection().AutoConnect();
        return test::waitUntil([&] { return banners() > before && view.burnTime >= 0; });
    }
    QStringList handshakesAndCarves()
    {
        QStringList seen;
        for (const QString& line : machine->transcript())
            if (line.contains("Handshake") || line.contains("StartCarve"))
                seen << line;
        return seen;
    }
};

} // namespace

TEST_F(LinkAgainstSim, ScanFindsTheMachineAndLogsItsBanners)
{
    ASSERT_TRUE(connect()) << view.log.toStdString();
    EXPECT_TRUE(view.log.startsWith("Automatic Connecting...\r\n" + shell::texts::ConnectedBanner + "\r\n"));
    ASSERT_TRUE(test::waitUntil([&] { return view.log.contains("Firmware version : 1\r\n"); }));
    EXPECT_EQ(view.connectCaption, "OK");
    EXPECT_TRUE(view.machineControlsEnabled);
    EXPECT_EQ(machineLink->connection().ConnectedPortNumber(), kMachinePort);
    EXPECT_EQ(verify.period(), 0);
    EXPECT_EQ(portCheck.period(), 1000);
    EXPECT_EQ(view.burnTime, 50);
    EXPECT_TRUE(view.boxes.isEmpty());
}

TEST_F(LinkAgainstSim, UnpluggingBreaksAndAFreshScanFindsTheMachineAgain)
{
    ASSERT_TRUE(connect());
    ASSERT_TRUE(portCheck.tick());
    EXPECT_FALSE(view.log.contains(shell::texts::ConnectionBreak));

    machine->unplug();
    // The channel notices the far end going by itself.
    ASSERT_TRUE(test::waitUntil([&] { return !channel->IsOpen(); }));
    ASSERT_TRUE(portCheck.tick());
    EXPECT_TRUE(view.log.contains(shell::texts::ConnectionBreak + "\r\nAutomatic Connecting...\r\n"));
    EXPECT_EQ(retry.period(), 2000); // nothing to find now

    ASSERT_TRUE(machine->start());
    ASSERT_TRUE(retry.tick());
    ASSERT_TRUE(test::waitUntil([&] { return banners() == 2; })) << view.log.toStdString();
    EXPECT_EQ(retry.period(), 0);
    EXPECT_TRUE(channel->IsOpen());
}

TEST_F(LinkAgainstSim, ACommandWhileClosedNeverReachesTheMachine)
{
    ASSERT_TRUE(connect());
    machineLink->connection().Disconnect();
    machineLink->frames().StartCarve();
    ASSERT_TRUE(connect());
    // The only frames the machine saw are the two handshakes.
    const QStringList seen = handshakesAndCarves();
    ASSERT_EQ(seen.size(), 2) << seen.join(" | ").toStdString();
    EXPECT_FALSE(seen.join(" ").contains("StartCarve"));
}

TEST_F(LinkAgainstSim, ThePictureArrivesByteForByteOnImageRequest)
{
    ASSERT_TRUE(connect());
    const QByteArray picture = testPicture();
    machineLink->picture().SetEngraveBuffer(picture);
    view.machineControlsEnabled = false;
    machineLink->frames().BeginImage();
    ASSERT_TRUE(test::waitUntil([&] { return view.log.contains("Sending Complete !\r\n\r\n"); }, 20000))
        << view.log.toStdString();
    ASSERT_TRUE(test::waitUntil([&] {
        int received = 0;
        machine->withModel([&](sim::FirmwareModel& m) { received = m.picturesReceived(); });
        return received == 1;
    }));
    EXPECT_EQ(machine->storedPicture(), picture);
    EXPECT_TRUE(view.log.contains("Sending New Image...\r\nSending Complete !\r\n\r\n"));
    EXPECT_TRUE(view.machineControlsEnabled);
    ASSERT_FALSE(view.progress.isEmpty());
    EXPECT_EQ(view.progress.last(), qMakePair(qint64(32768), qint64(32768)));

    // The job runs on the stored picture and its positions come back.
    machineLink->frames().StartCarve();
    ASSERT_TRUE(test::waitUntil([&] { return view.log.contains("Carved finish !"); }, 30000));
    EXPECT_GT(view.yEdit.toInt(), 0);
}
