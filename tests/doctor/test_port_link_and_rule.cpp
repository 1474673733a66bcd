// `kovra doctor --link` and `--udev-rule`: the entries and the rule the user
// is told to make.

#include "tests/doctor/fake_system.h"

#include "doctor/port_link.h"
#include "doctor/udev_rule.h"

#include <gtest/gtest.h>

namespace kovra::test {
namespace {

using namespace doctor;

TEST(PortLink, LinksTheStableNameAndReplacesAnOlderLink)
{
    FakeSystem sys;
    sys.usbSerial("ttyUSB0", "1a86", "7523", "ch341-uart");
    const SystemTree tree(sys.root());
    const QString entry = sys.ports() + "/COM3";

    // The plain name is linked by its stable name; the folder is made.
    LinkResult r = LinkPort(tree, sys.ports(), 3, "ttyUSB0");
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(SystemTree::readLink(entry), sys.stableName("1a86", "7523"));
    EXPECT_TRUE(r.message.contains("the stable name of /dev/ttyUSB0"));

    sys.file("/dev/pts/4");
    r = LinkPort(tree, sys.ports(), 3, sys.at("/dev/pts/4"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(SystemTree::readLink(entry), sys.at("/dev/pts/4"));
    EXPECT_TRUE(r.message.contains("it pointed to " + sys.stableName("1a86", "7523") + " before"));
    // Nothing is left behind but the entry.
    EXPECT_EQ(SystemTree::list(sys.ports(), QDir::AllEntries | QDir::System | QDir::Hidden), QStringList{"COM3"});

    // The doctor then finds the port through the new entry.
    const DoctorReport report = sys.examine(sys.user(true), false);
    ASSERT_EQ(report.scanned.size(), 1);
    EXPECT_EQ(report.scanned[0].device, "/dev/pts/4");
}

TEST(PortLink, RefusesWhatWouldLoseDataOrPointNowhere)
{
    FakeSystem sys;
    sys.file("/dev/ttyUSB0");
    QDir().mkpath(sys.ports());
    QFile kept(sys.ports() + "/COM5");
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("mine");
    kept.close();
    const SystemTree tree(sys.root());
    struct Case {
        int number;
        QString device;
        const char* reason;
    };
    for (const Case& c : {Case{5, "/dev/ttyUSB0", "is not a link"}, Case{6, "/dev/ttyUSB9", "does not exist"},
                          Case{65, "/dev/ttyUSB0", "COM1 to COM64"}, Case{6, "/dev", "is a folder"}}) {
        const LinkResult r = LinkPort(tree, sys.ports(), c.number, c.device);
        EXPECT_FALSE(r.ok) << c.reason;
        EXPECT_TRUE(r.message.contains(c.reason)) << r.message.toStdString();
    }
    EXPECT_TRUE(QFileInfo(sys.ports() + "/COM5").isFile()); // untouched
    EXPECT_FALSE(SystemTree::lexists(sys.ports() + "/COM6"));
}

TEST(UdevRule, NamesTheAdaptersGivenOrTheUsualChips)
{
    UsbIdentity ch340;
    ch340.vendorId = "1a86";
    ch340.productId = "7523";
    const QString one = UdevRule({ch340});
    EXPECT_TRUE(one.contains("SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"7523\", "
                             "SYMLINK+=\"kovra-engraver\", TAG+=\"uaccess\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n"));
    EXPECT_EQ(one.count("SUBSYSTEM=="), 1);
    EXPECT_TRUE(one.contains("kovra doctor --udev-rule | sudo tee /etc/udev/rules.d/70-kovra-engraver.rules"));

    const QString usual = UdevRule({});
    EXPECT_TRUE(usual.contains("ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"7523\""));
    EXPECT_TRUE(usual.contains("ATTRS{idVendor}==\"10c4\", ATTRS{idProduct}==\"ea60\""));
    // Every line is a comment or a rule: the text can go into the file as it stands.
    for (const QString& line : usual.split('\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(line.startsWith('#') || line.startsWith("SUBSYSTEM==")) << line.toStdString();
}

} // namespace
} // namespace kovra::test
