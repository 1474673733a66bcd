// What the engrave command says it scanned when no machine answered: the
// port directory and the device table, as this system has them.
#include "app/scanned_ports.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kovra::test {
namespace {

TEST(ScannedPorts, SayTheDirectoryWithWhatItHeldAndTheTableAsTheyWere)
{
    QTemporaryDir dir;
    const QString held = dir.filePath("held"), empty = dir.filePath("empty"), missing = dir.filePath("missing");
    QDir().mkpath(held);
    QDir().mkpath(empty);
    QFile(dir.filePath("device")).open(QIODevice::WriteOnly);
    // A link to a device present, one whose device is gone, and names the scan passes over.
    QFile::link(dir.filePath("device"), held + "/COM3");
    QFile::link(dir.filePath("gone"), held + "/COM9");
    QFile(held + "/com5").open(QIODevice::WriteOnly);
    QFile(held + "/COM70").open(QIODevice::WriteOnly);
    const QString only = QStringLiteral("the scan looked only at the port directory %1 (KOVRA_PORT_TABLE=0), ");
    const struct {
        QString directory;
        bool table;
        QString said; // all of it, or its start where the machine's own devices follow
    } cases[] = {
        {held, false, only.arg(held) + "which holds COM3, COM9; present: COM3"},
        {empty, false, only.arg(empty) + "which holds no entry COM1..COM64; no port was present"},
        {missing, false, only.arg(missing) + "which does not exist; no port was present"},
        {missing, true, QStringLiteral("the scan looked at the port directory %1, which does not exist, then at the "
                                       "device table (COM1..COM16 = /dev/ttyUSB0..15, COM17..COM32 = "
                                       "/dev/ttyACM0..15, COM33..COM64 = /dev/ttyS0..31); ")
                            .arg(missing)},
    };
    for (const auto& c : cases) {
        const QString said = app::DescribeScannedPorts(platform::SerialPortNames(c.directory, c.table));
        if (c.table)
            EXPECT_TRUE(said.startsWith(c.said)) << said.toStdString();
        else
            EXPECT_EQ(said, c.said);
    }
}

} // namespace
} // namespace kovra::test
