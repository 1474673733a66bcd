// The serial doctor against made-up systems: what it finds, which ports the
// program could open (the exit status), and the fix it names for each problem.

#include "tests/doctor/fake_system.h"

#include "doctor/serial_doctor.h"
#include "doctor/troublemakers.h"

#include <gtest/gtest.h>

namespace kovra::test {
namespace {

using namespace doctor;

// Every command of every finding, and the findings' texts, to look things up.
QStringList commandsOf(const DoctorReport& r)
{
    QStringList all;
    for (const Finding& f : r.findings)
        for (const Fix& fix : f.fixes)
            all << fix.commands;
    return all;
}
const Finding* findingWith(const DoctorReport& r, const QString& words)
{
    for (const Finding& f : r.findings)
        if (f.text.contains(words))
            return &f;
    return nullptr;
}
int problems(const DoctorReport& r)
{
    return int(std::count_if(r.findings.cbegin(), r.findings.cend(),
                             [](const Finding& f) { return f.severity == Severity::Problem; }));
}

TEST(SerialDoctor, AllWellAdapterFoundWithItsNamesAndPort)
{
    FakeSystem sys;
    sys.usbSerial("ttyUSB0", "1a86", "7523", "ch341-uart");
    const DoctorReport r = sys.examine(sys.user(true));

    ASSERT_EQ(r.devices.size(), 1);
    const SerialDevice& d = r.devices[0];
    EXPECT_EQ(d.path, "/dev/ttyUSB0");
    EXPECT_EQ(d.stableName, sys.stableName("1a86", "7523"));
    EXPECT_EQ(d.usb.id(), "1a86:7523");
    EXPECT_EQ(d.usb.product, "USB Serial");
    EXPECT_EQ(d.driver, "ch341-uart");
    EXPECT_EQ(d.group, "dialout");
    EXPECT_TRUE(d.mayOpen);
    EXPECT_EQ(d.ports, QList<int>{1});
    ASSERT_EQ(r.scanned.size(), 1);
    EXPECT_EQ(r.scanned[0].open, OpenResult::Opens);
    EXPECT_TRUE(r.anyPortOpens());
    EXPECT_EQ(problems(r), 0);

    const QString text = FormatDoctorReport(r);
    EXPECT_TRUE(text.contains("/dev/ttyUSB0: the program's COM1"));
    EXPECT_TRUE(text.contains("stable name " + sys.stableName("1a86", "7523")));
    EXPECT_TRUE(text.contains("USB 1a86:7523 (CH340) USB Serial, driver ch341-uart"));
    EXPECT_TRUE(text.contains("Result: COM1 (/dev/ttyUSB0) can be opened"));
}

TEST(SerialDoctor, AnAcmDeviceIsServedByItsInterface)
{
    FakeSystem sys;
    sys.usbSerial("ttyACM0", "2341", "0043", "cdc_acm");
    const DoctorReport r = sys.examine(sys.user(true));
    ASSERT_EQ(r.devices.size(), 1);
    EXPECT_EQ(r.devices[0].driver, "cdc_acm");
    EXPECT_EQ(r.devices[0].usb.id(), "2341:0043");
    EXPECT_EQ(r.devices[0].ports, QList<int>{17});
}

TEST(SerialDoctor, PermissionDeniedNamesTheGroupToJoinOrTheNewLogin)
{
    struct Case {
        bool joinedSinceLogin;
        const char* words;
        const char* command;
    };
    for (const Case c : {Case{false, "you are not in that group", "sudo usermod -aG dialout ann"},
                         Case{true, "added to that group after this login began", "newgrp dialout"}}) {
        FakeSystem sys;
        sys.usbSerial("ttyUSB0", "1a86", "7523", "ch341-uart");
        const DoctorReport r = sys.examine(sys.user(false, c.joinedSinceLogin));
        ASSERT_EQ(r.scanned.size(), 1);
        EXPECT_EQ(r.scanned[0].open, OpenResult::Denied);
        EXPECT_FALSE(r.anyPortOpens());
        const Finding* f = findingWith(r, "You may not open /dev/ttyUSB0 (COM1)");
        ASSERT_TRUE(f) << c.words;
        EXPECT_TRUE(f->text.contains(c.words)) << f->text.toStdString();
        EXPECT_TRUE(commandsOf(r).contains(c.command)) << c.command;
        // The udev rule is offered for a USB adapter either way.
        EXPECT_TRUE(commandsOf(r).contains(
            "kovra doctor --udev-rule /dev/ttyUSB0 | sudo tee /etc/udev/rules.d/70-kovra-engraver.rules"));
        EXPECT_TRUE(FormatDoctorReport(r).contains("Result: no port the program scans can be opened"));
    }
}

TEST(SerialDoctor, PortDirectoryWithWorkingDanglingAndForbiddenEntries)
{
    FakeSystem sys;
    sys.file("/dev/pts/3", {}, 0666);  // the simulator's end, open to all
    sys.file("/dev/secret0", {}, 0600); // root's alone
    sys.portEntry("COM3", sys.at("/dev/pts/3"));
    sys.portEntry("COM4", "/dev/serial/by-id/usb-gone-if00-port0");
    sys.portEntry("COM5", sys.at("/dev/secret0"));
    sys.portEntry("com6", sys.at("/dev/pts/3"));
    sys.file("/proc/77/comm", "kovra-sim\n");
    sys.link("/proc/77/fd/5", "/dev/pts/3");
    const DoctorReport r = sys.examine(sys.user(true), false);

    ASSERT_EQ(r.entries.size(), 4);
    EXPECT_EQ(r.entries[0].fileName, "COM3");
    EXPECT_TRUE(r.entries[0].exists);
    EXPECT_EQ(r.entries[1].target, "/dev/serial/by-id/usb-gone-if00-port0");
    EXPECT_FALSE(r.entries[1].exists);
    EXPECT_EQ(r.entries[3].number, 0); // "com6" is not a name the program reads

    ASSERT_EQ(r.scanned.size(), 2); // the dangling COM4 is an absent port
    EXPECT_EQ(r.scanned[0].number, 3);
    EXPECT_EQ(r.scanned[0].open, OpenResult::Opens);
    EXPECT_EQ(r.scanned[1].number, 5);
    EXPECT_EQ(r.scanned[1].open, OpenResult::Denied);
    EXPECT_TRUE(r.anyPortOpens());

    EXPECT_TRUE(findingWith(r, "COM4 in the port directory points to /dev/serial/by-id/usb-gone-if00-port0, which does not exist"));
    EXPECT_TRUE(commandsOf(r).contains("rm " + sys.ports() + "/COM4"));
    EXPECT_TRUE(findingWith(r, "You may not open /dev/secret0 (COM5, through " + sys.ports() + "/COM5)"));
    EXPECT_TRUE(commandsOf(r).contains("rm " + sys.ports() + "/COM5"));
    EXPECT_TRUE(commandsOf(r).contains(QString("mv %1/com6 %1/COM6").arg(sys.ports())));
    // The simulator holding its own end is no warning.
    EXPECT_FALSE(findingWith(r, "is also open in"));

    const QString text = FormatDoctorReport(r);
    EXPECT_TRUE(text.contains("COM4 -> /dev/serial/by-id/usb-gone-if00-port0  missing: a dangling link"));
    EXPECT_TRUE(text.contains("COM5   " + sys.ports() + "/COM5 -> /dev/secret0  permission denied"));
    EXPECT_TRUE(text.contains("Result: COM3 (/dev/pts/3) can be opened"));
}

TEST(SerialDoctor, ADanglingEntryIsPointedAtTheAdapterPluggedInNow)
{
    FakeSystem sys;
    sys.usbSerial("ttyUSB0", "1a86", "7523", "ch341-uart");
    sys.portEntry("COM3", "/dev/serial/by-id/usb-old-if00-port0");
    const DoctorReport r = sys.examine(sys.user(true), false);
    EXPECT_FALSE(r.anyPortOpens());
    EXPECT_TRUE(commandsOf(r).contains("kovra doctor --link COM3 " + sys.stableName("1a86", "7523")));
    // The same device is not offered a second port number as well.
    EXPECT_FALSE(findingWith(r, "is not among the ports the program scans"));
}

TEST(SerialDoctor, BrailleServiceTakingTheAdapter)
{
    // brltty running has claimed the CH340 through usbfs: no tty is left.
    FakeSystem sys;
    sys.usbSerial({}, "1a86", "7523", {});
    sys.relativeLink("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-1/1-1:1.0/driver", "/sys/bus/usb/drivers/usbfs");
    sys.process(612, "brltty");
    sys.file("/lib/systemd/system/brltty.service", "[Unit]\n");
    DoctorReport r = sys.examine(sys.user(true));
    ASSERT_EQ(r.adaptersWithoutDevice.size(), 1);
    EXPECT_EQ(r.adaptersWithoutDevice[0].interfaceDriver, "usbfs");
    EXPECT_TRUE(r.devices.isEmpty());
    const Finding* f = findingWith(r, "A USB serial adapter is plugged in (USB 1a86:7523, a CH340 chip)");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->severity, Severity::Problem);
    EXPECT_TRUE(f->text.contains("brltty"));
    EXPECT_TRUE(commandsOf(r).contains("sudo systemctl mask brltty.service"));
    EXPECT_TRUE(commandsOf(r).contains("sudo apt-get remove brltty"));
    EXPECT_FALSE(findingWith(r, "No USB serial adapter is plugged in"));
}

TEST(SerialDoctor, BrailleUdevRulesCountUnlessTheirServiceIsMasked)
{
    FakeSystem sys;
    sys.usbSerial("ttyUSB0", "1a86", "7523", "ch341-uart");
    sys.file("/usr/lib/udev/rules.d/85-brltty.rules",
             "# Device: 1A86:7523\nENV{PRODUCT}==\"1a86/7523/*\", ENV{BRLTTY_BRAILLE_DRIVER}=\"bm\", GOTO=\"brltty_usb_run\"\n");
    sys.file("/usr/lib/systemd/system/brltty-udev.service", "[Unit]\n");
    const DoctorReport r = sys.examine(sys.user(true));
    const Finding* f = findingWith(r, "is started by /usr/lib/udev/rules.d/85-brltty.rules");
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->text.contains("1a86:7523"));
    EXPECT_TRUE(commandsOf(r).contains("sudo systemctl mask brltty-udev.service"));

    sys.link("/etc/systemd/system/brltty-udev.service", "/dev/null");
    EXPECT_FALSE(findingWith(sys.examine(sys.user(true)), "brltty"));
}

TEST(SerialDoctor, RuleLinesNameAdaptersInBothForms)
{
    struct Case {
        const char* line;
        bool names;
    };
    for (const Case c : {Case{"ENV{PRODUCT}==\"1a86/7523/*\", GOTO=\"brltty_usb_run\"", true},
                         Case{"ENV{PRODUCT}==\"403/6001/*\", GOTO=\"x\"", false}, // another adapter
                         Case{"ATTRS{idVendor}==\"1A86\", ATTRS{idProduct}==\"7523\", RUN+=\"x\"", true},
                         Case{"ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"75230\"", false},
                         Case{"# ENV{PRODUCT}==\"1a86/7523/*\"", false}}) // a comment
        EXPECT_EQ(RuleLineNamesAdapter(c.line, "1a86", "7523"), c.names) << c.line;
    EXPECT_TRUE(RuleLineNamesAdapter("ENV{PRODUCT}==\"403/6001/*\"", "0403", "6001"));
}

TEST(SerialDoctor, NoDevicesAtAll)
{
    FakeSystem sys;
    const DoctorReport r = sys.examine(sys.user(true));
    EXPECT_TRUE(r.devices.isEmpty());
    EXPECT_TRUE(r.scanned.isEmpty());
    EXPECT_FALSE(r.portDirectoryExists);
    EXPECT_FALSE(r.anyPortOpens());
    const Finding* f = findingWith(r, "No USB serial adapter is plugged in");
    ASSERT_TRUE(f);
    EXPECT_TRUE(commandsOf(r).contains("sudo dmesg --follow"));
    const QString text = FormatDoctorReport(r);
    EXPECT_TRUE(text.contains("Serial devices\n  none\n"));
    EXPECT_TRUE(text.contains("does not exist (kovra doctor --link makes it)"));

    // With the table off and nothing in the directory, the scan reaches nothing.
    EXPECT_TRUE(findingWith(sys.examine(sys.user(true), false), "the program scans no port"));
}

TEST(SerialDoctor, PortsHeldByOtherProgramsAndTheirLockFiles)
{
    FakeSystem sys;
    sys.usbSerial("ttyUSB0", "1a86", "7523", "ch341-uart");
    sys.usbSerial("ttyUSB1", "10c4", "ea60", "cp210x", "1-2");
    sys.process(4321, "minicom", {"/dev/ttyUSB0"});
    sys.process(5555, "kovra");
    sys.file("/var/lock/LCK..ttyUSB1", "      5555\nkovra\nhost\n");
    sys.file("/run/lock/LCK..ttyUSB0", "12345\n"); // stale: no such process
    const DoctorReport r = sys.examine(sys.user(true));
    ASSERT_EQ(r.scanned.size(), 2);
    EXPECT_EQ(r.scanned[0].open, OpenResult::Opens);
    EXPECT_EQ(r.scanned[1].open, OpenResult::Busy);
    EXPECT_EQ(r.devices[0].holders.size(), 1);
    const Finding* shared = findingWith(r, "/dev/ttyUSB0 (COM1) is also open in minicom (pid 4321)");
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->severity, Severity::Warning);
    EXPECT_TRUE(findingWith(r, "/dev/ttyUSB1 (COM2) is in use by kovra (pid 5555)"));
    EXPECT_TRUE(commandsOf(r).contains("kill 5555"));
}

TEST(SerialDoctor, EmptyUartSlotsAreNoDevicesAndRealOnesAre)
{
    FakeSystem sys;
    for (int n : {0, 1}) {
        sys.file(QString("/sys/devices/platform/serial8250/tty/ttyS%1/type").arg(n), n == 0 ? "0\n" : "4\n");
        sys.relativeLink(QString("/sys/class/tty/ttyS%1").arg(n), QString("/sys/devices/platform/serial8250/tty/ttyS%1").arg(n));
        sys.relativeLink(QString("/sys/devices/platform/serial8250/tty/ttyS%1/device").arg(n), "/sys/devices/platform/serial8250");
        sys.file(QString("/dev/ttyS%1").arg(n), {}, 0660);
    }
    sys.portEntry("COM2", "/dev/ttyS0"); // linked to an empty slot by mistake
    const DoctorReport r = sys.examine(sys.user(true));
    ASSERT_EQ(r.devices.size(), 1);
    EXPECT_EQ(r.devices[0].name, "ttyS1");
    ASSERT_EQ(r.scanned.size(), 3); // COM2, COM33 (ttyS0), COM34 (ttyS1)
    EXPECT_EQ(r.scanned[0].open, OpenResult::NoHardware);
    EXPECT_EQ(r.scanned[1].open, OpenResult::NoHardware);
    EXPECT_EQ(r.scanned[2].open, OpenResult::Opens);
    EXPECT_TRUE(findingWith(r, "COM2 in the port directory names /dev/ttyS0, but no serial port is behind that name"));
    EXPECT_TRUE(commandsOf(r).contains("rm " + sys.ports() + "/COM2"));
}

// What is no fault of the user's gets no alarm and no wrong fix: root's own
// built-in port the default table names, a driver called "port", and an
// ordinary file in the port directory that renaming would not make a port.
TEST(SerialDoctor, BuiltInPortsAndOrdinaryFilesGetNoWrongAdvice)
{
    FakeSystem sys;
    sys.file("/dev/ttyS0", {}, 0600); // no device behind it in /sys
    sys.file("/sys/devices/platform/serial8250/tty/ttyS1/type", "4\n");
    sys.relativeLink("/sys/class/tty/ttyS1", "/sys/devices/platform/serial8250/tty/ttyS1");
    sys.relativeLink("/sys/devices/platform/serial8250/tty/ttyS1/device", "/sys/devices/platform/serial8250:0.1");
    sys.relativeLink("/sys/devices/platform/serial8250:0.1/driver", "/sys/bus/serial-base/drivers/port");
    sys.file("/dev/ttyS1", {}, 0660);
    QDir().mkpath(sys.ports());
    QFile(sys.ports() + "/com3").open(QIODevice::WriteOnly);
    const DoctorReport r = sys.examine(sys.user(true));

    const Finding* rootsOwn = findingWith(r, "Only its owner may open /dev/ttyS0 (COM33)");
    ASSERT_TRUE(rootsOwn);
    EXPECT_EQ(rootsOwn->severity, Severity::Note);
    EXPECT_FALSE(findingWith(r, "You may not open /dev/ttyS0"));
    EXPECT_TRUE(FormatDoctorReport(r).contains("not a USB device; the port's driver is \"port\""));
    EXPECT_TRUE(commandsOf(r).contains("rm " + sys.ports() + "/com3"));
    EXPECT_FALSE(commandsOf(r).contains(QString("mv %1/com3 %1/COM3").arg(sys.ports())));
}

TEST(SerialDoctor, DevicesOutsideTheScanGetAPortNumber)
{
    FakeSystem sys;
    sys.usbSerial("ttyCH341USB0", "1a86", "7523", "ch34x");  // the maker's own driver's name
    sys.usbSerial("ttyUSB0", "10c4", "ea60", "cp210x", "1-2");
    sys.portEntry("COM3", "/dev/ttyUSB0"); // a name that may change
    const DoctorReport r = sys.examine(sys.user(true), false);
    EXPECT_TRUE(r.anyPortOpens());
    const Finding* outside = findingWith(r, "/dev/ttyCH341USB0 (USB 1a86:7523, a CH340 chip) is not among the ports");
    ASSERT_TRUE(outside);
    EXPECT_EQ(outside->severity, Severity::Warning); // COM3 works, so this one may not matter
    EXPECT_TRUE(commandsOf(r).contains("kovra doctor --link COM4 " + sys.stableName("1a86", "7523")));
    EXPECT_TRUE(commandsOf(r).contains("kovra doctor --link COM3 " + sys.stableName("10c4", "ea60")));
}

TEST(SerialDoctor, ModemManagerIsNamedUnlessUdevToldItToKeepOff)
{
    FakeSystem sys;
    sys.usbSerial("ttyACM0", "2341", "0043", "cdc_acm");
    sys.process(300, "ModemManager");
    EXPECT_TRUE(findingWith(sys.examine(sys.user(true)), "ModemManager is running"));
    sys.file("/run/udev/data/c166:0", "E:ID_MM_DEVICE_IGNORE=1\n");
    EXPECT_FALSE(findingWith(sys.examine(sys.user(true)), "ModemManager"));
}

TEST(SerialDoctor, PortNamesAndShellQuoting)
{
    EXPECT_EQ(ParsePortName("COM3"), 3);
    EXPECT_EQ(ParsePortName("com03"), 3);
    EXPECT_EQ(ParsePortName("64"), 64);
    EXPECT_EQ(ParsePortName("COM65"), 0);
    EXPECT_EQ(ParsePortName("COM0"), 0);
    EXPECT_EQ(ParsePortName("ttyUSB0"), 0);
    EXPECT_EQ(ShellQuote("/dev/serial/by-id/usb-1a86_x-if00"), "/dev/serial/by-id/usb-1a86_x-if00");
    EXPECT_EQ(ShellQuote("/home/a b/it's"), "'/home/a b/it'\\''s'");
}

} // namespace
} // namespace kovra::test
