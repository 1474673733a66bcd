#include "platform/serial_ports.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <QSerialPortInfo>

namespace kovra::platform {

SerialPortNames::SerialPortNames(QString portDirectory, bool useDefaultTable)
    : m_portDirectory(std::move(portDirectory))
    , m_useDefaultTable(useDefaultTable)
{
}

QString SerialPortNames::defaultPortDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/kovra/ports");
}

SerialPortNames SerialPortNames::fromEnvironment()
{
    QString dir = qEnvironmentVariable("KOVRA_PORT_DIR");
    if (dir.isEmpty())
        dir = defaultPortDirectory();
    // KOVRA_PORT_TABLE=0 leaves the default device table out: only the port
    // directory names ports (tests and demos keep away from real devices).
    const bool table = qEnvironmentVariable("KOVRA_PORT_TABLE") != QLatin1String("0");
    return SerialPortNames(dir, table);
}

QString DefaultSerialDevice(int n)
{
    if (n >= 1 && n <= 16)
        return QStringLiteral("/dev/ttyUSB%1").arg(n - 1);
    if (n >= 17 && n <= 32)
        return QStringLiteral("/dev/ttyACM%1").arg(n - 17);
    if (n >= 33 && n <= kHighestListedPort)
        return QStringLiteral("/dev/ttyS%1").arg(n - 33);
    return QString();
}

QList<SerialPortDetails> DescribeSerialPorts()
{
    QList<SerialPortDetails> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialPortDetails d;
        d.name = info.portName();
        if (d.name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
            d.number = d.name.mid(3).toInt();
        d.description = info.description();
        d.manufacturer = info.manufacturer();
        d.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier()) {
            d.vendorId = QStringLiteral("%1").arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'));
            d.productId = QStringLiteral("%1").arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
        }
        ports.append(d);
    }
    return ports;
}

} // namespace kovra::platform
