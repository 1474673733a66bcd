#include "app/scanned_ports.h"

#include <QFileInfo>
#include <QStringList>

namespace kovra::app {

namespace {

using platform::kHighestListedPort;

QString portName(int n) { return QStringLiteral("COM%1").arg(n); }

// The device family of port n in the default table: "/dev/ttyUSB" for COM1.
QString family(int n)
{
    QString device = platform::DefaultSerialDevice(n);
    while (!device.isEmpty() && device.back().isDigit())
        device.chop(1);
    return device;
}

// "COM1..COM16 = /dev/ttyUSB0..15, ...": the default table in runs of one family.
QString tableText()
{
    QStringList runs;
    int first = 1;
    for (int n = 1; n <= kHighestListedPort; ++n) {
        if (n < kHighestListedPort && family(n + 1) == family(n))
            continue;
        runs << QStringLiteral("%1..%2 = %3..%4")
                    .arg(portName(first), portName(n), platform::DefaultSerialDevice(first),
                        platform::DefaultSerialDevice(n).mid(family(n).size()));
        first = n + 1;
    }
    return runs.join(u", ");
}

// The port directory and what of it the program reads: the entries COM1..COM64.
QString directoryText(const platform::SerialPortNames& names)
{
    const QString dir = names.portDirectory();
    if (dir.isEmpty())
        return QStringLiteral("no port directory");
    QStringList held;
    for (int n = 1; n <= kHighestListedPort; ++n)
        if (names.deviceName(n) == dir + QLatin1Char('/') + portName(n))
            held << portName(n);
    QString text = QStringLiteral("the port directory %1").arg(dir);
    if (!names.usesDefaultTable())
        text += QStringLiteral(" (KOVRA_PORT_TABLE=0)");
    if (!QFileInfo(dir).isDir())
        return text + QStringLiteral(", which does not exist");
    if (held.isEmpty())
        return text + QStringLiteral(", which holds no entry COM1..COM64");
    return text + QStringLiteral(", which holds ") + held.join(u", ");
}

QString presentText(const platform::SerialPortNames& names)
{
    const platform::SerialPortList list = names.listPresent();
    if (!list.ok)
        return QStringLiteral("the list of ports could not be read (error %1)").arg(list.status);
    // "COM3ACOM7A": each name followed by 'A'. A port of the table is named
    // with its device; one of the directory is its entry.
    QStringList present;
    for (const QString& name : list.names.split(QLatin1Char('A'), Qt::SkipEmptyParts)) {
        const QString device = names.deviceName(name.mid(3).toInt());
        const bool entry = device.isEmpty() || device == names.portDirectory() + QLatin1Char('/') + name;
        present << (entry ? name : QStringLiteral("%1 (%2)").arg(name, device));
    }
    return present.isEmpty() ? QStringLiteral("no port was present") : QStringLiteral("present: ") + present.join(u", ");
}

} // namespace

QString DescribeScannedPorts(const platform::SerialPortNames& names)
{
    QString looked;
    // Where the system names the ports itself (\\.\COMn), there is neither
    // a directory nor a table: a bare name list still names port 1.
    if (!platform::SerialPortNames(QString(), false).deviceName(1).isEmpty())
        looked = QStringLiteral("the scan looked at the system's ports COM1..COM%1").arg(kHighestListedPort);
    else if (names.usesDefaultTable())
        looked = QStringLiteral("the scan looked at %1, then at the device table (%2)").arg(directoryText(names), tableText());
    else
        looked = QStringLiteral("the scan looked only at %1").arg(directoryText(names));
    return looked + QStringLiteral("; ") + presentText(names);
}

} // namespace kovra::app
