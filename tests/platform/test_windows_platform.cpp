// What the platform layer does on Windows alone: the fixed paths and line
// ends, COM port names and the port list, the system's hot keys, keeping the
// computer awake, the device manager's USB devices.
#include "platform/global_hotkeys.h"
#include "platform/paths.h"
#include "platform/serial_ports.h"
#include "platform/sleep_inhibitor.h"
#include "platform/usb_devices.h"

#include "tests/support/scoped_env.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <windows.h>

namespace kovra::test {
namespace {

using namespace kovra::platform;

TEST(WindowsPaths, TheProgramsPathsStandAsTheyAreUnlessAFolderIsGiven)
{
    {
        const ScopedEnv dir("KOVRA_CONFIG_DIR", "");
        const ScopedEnv driver("KOVRA_DRIVER", "");
        EXPECT_EQ(ConfigFolderPath(), QStringLiteral("C:\\Kovra"));
        EXPECT_EQ(ConfigFilePath(), QStringLiteral("C:\\Kovra\\Config.ini"));
        EXPECT_EQ(DriverInstallerPath(), QStringLiteral("C:\\Q-Var\\Driver.exe"));
    }
    QTemporaryDir temp;
    const ScopedEnv dir("KOVRA_CONFIG_DIR", temp.path().toUtf8());
    EXPECT_EQ(ConfigFilePath(), QDir::toNativeSeparators(temp.path() + QStringLiteral("/Config.ini")));
    EXPECT_EQ(TextFileLineEnd(), QByteArray("\r\n"));
    EXPECT_TRUE(DriverInstallersRunHere());
}

TEST(WindowsSerialPorts, PortNIsItsDeviceNameAndTheListHoldsOnlyComNames)
{
    const SerialPortNames names = SerialPortNames::fromEnvironment();
    EXPECT_EQ(names.deviceName(3), QStringLiteral("\\\\.\\COM3"));
    EXPECT_EQ(names.deviceName(12), QStringLiteral("\\\\.\\COM12"));
    EXPECT_TRUE(names.deviceName(0).isEmpty());

    const SerialPortList list = names.listPresent();
    ASSERT_TRUE(list.ok) << list.status;
    static const QRegularExpression form(QStringLiteral("^(COM[1-9][0-9]*A)*$"));
    EXPECT_TRUE(form.match(list.names).hasMatch()) << list.names.toStdString();
    const QStringList each = list.names.split(u'A', Qt::SkipEmptyParts);
    EXPECT_EQ(QSet<QString>(each.begin(), each.end()).size(), each.size()) << "each port once";

    EXPECT_EQ(ProbeSerialPort(QStringLiteral("\\\\.\\COM63")).result, PortProbe::Missing);
}

TEST(WindowsHotKeys, TheSystemsKeysReachTheProgramAndAreGivenBack)
{
    auto keys = CreateGlobalHotKeys();
    ASSERT_TRUE(keys);
    EXPECT_FALSE(keys->IsFallback());
    QList<int> pressed;
    keys->setOnHotKey([&](int id) { pressed.append(id); });
    const int left = keys->Register(VirtualKeyLeft);
    ASSERT_GT(left, 0x100);
    const int up = keys->Register(VirtualKeyUp);
    EXPECT_NE(up, left);

    // What the system sends when the key is pressed anywhere.
    PostThreadMessageW(GetCurrentThreadId(), WM_HOTKEY, WPARAM(left), MAKELPARAM(0, VirtualKeyLeft));
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, QList<int>{left});

    keys->Unregister(left);
    PostThreadMessageW(GetCurrentThreadId(), WM_HOTKEY, WPARAM(left), MAKELPARAM(0, VirtualKeyLeft));
    QCoreApplication::processEvents();
    EXPECT_EQ(pressed, QList<int>{left}) << "an identifier given back is no longer ours";
    // The key is free again for the next registration, under a fresh identifier.
    const int again = keys->Register(VirtualKeyLeft);
    EXPECT_GT(again, up);
}

TEST(WindowsSleepInhibitor, HoldsTheExecutionStateUntilReleased)
{
    auto inhibitor = CreateSleepInhibitor();
    EXPECT_FALSE(inhibitor->Held());
    EXPECT_TRUE(inhibitor->Acquire(QStringLiteral("engraving")));
    EXPECT_TRUE(inhibitor->Held());
    EXPECT_TRUE(inhibitor->Acquire(QStringLiteral("engraving")));
    inhibitor->Release();
    EXPECT_FALSE(inhibitor->Held());
}

TEST(WindowsUsbDevices, EachDeviceCarriesItsIds)
{
    static const QRegularExpression id(QStringLiteral("^[0-9a-f]{4}$"));
    for (const UsbDevice& d : ListUsbDevices()) {
        EXPECT_TRUE(id.match(d.vendorId).hasMatch()) << d.instanceId.toStdString();
        EXPECT_TRUE(id.match(d.productId).hasMatch()) << d.instanceId.toStdString();
    }
}

} // namespace
} // namespace kovra::test
