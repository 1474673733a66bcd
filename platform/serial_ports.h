#pragma once
// Which device a port number names, and which port numbers are present now.
//
// On Windows port n is "\\.\COMn". The present ports are the ones the
// system lists under HARDWARE\DEVICEMAP\SERIALCOMM, in the order listed,
// then any other COM1..COM64 that exists by name (a port whose driver does
// not register there, or a link in a Wine prefix), in rising order.
//
// Elsewhere an entry named COMn in the port directory ($KOVRA_PORT_DIR, by
// default "kovra/ports" in the per-user config folder) names the device for
// port n; it is usually a symlink to a /dev/serial/by-id path or to the
// simulator's pseudo-terminal. Without such an entry a fixed table applies:
// COM1-16 = /dev/ttyUSB0-15, COM17-32 = /dev/ttyACM0-15, COM33-64 =
// /dev/ttyS0-31. A port is present when its device exists now, so removing a
// link is pulling the cable.

#include <QList>
#include <QString>
#include <QtGlobal>

namespace kovra::platform {

// The highest port number the default table and the port list cover.
inline constexpr int kHighestListedPort = 64;

struct SerialPortList {
    bool ok = true;   // false: the list could not be read
    int status = 0;   // the system's error code when !ok
    QString names;    // "COM3ACOM10A": each name followed by 'A'
};

class SerialPortNames {
public:
    // portDirectory may be empty (no directory); useDefaultTable off leaves
    // only the directory's entries, which keeps tests off the real devices.
    SerialPortNames(QString portDirectory, bool useDefaultTable);

    // $KOVRA_PORT_DIR, else the default directory, with the default table
    // unless $KOVRA_PORT_TABLE is "0".
    static SerialPortNames fromEnvironment();
    static QString defaultPortDirectory();

    const QString& portDirectory() const { return m_portDirectory; }
    bool usesDefaultTable() const { return m_useDefaultTable; }

    // The device path for port n; empty when n names no device.
    QString deviceName(int n) const;
    // Every port 1..64 whose device exists now, in rising order.
    SerialPortList listPresent() const;

private:
    QString m_portDirectory;
    bool m_useDefaultTable;
};

// The default table alone (POSIX); empty outside 1..64.
QString DefaultSerialDevice(int n);

// Whether the current user lacks read/write permission on an existing device,
// and the group that owns it (the one to join). Never denied on Windows.
struct SerialDeviceAccess {
    bool denied = false;
    QString group;
};
SerialDeviceAccess CheckSerialDeviceAccess(const QString& device);

// Bytes still waiting in the driver's output queue of an open port handle,
// or -1 when the system cannot tell.
qint64 SerialOutputQueued(qintptr handle);

// What the system tells of a serial port besides its name (its device
// database, as QSerialPortInfo reads it). Ports it does not know are absent.
struct SerialPortDetails {
    int number = 0;          // n of "COMn"; 0 for other names
    QString name;            // "COM3", "ttyUSB0"
    QString description;     // "USB-SERIAL CH340"
    QString manufacturer;
    QString vendorId;        // "1a86", lower-case; empty without USB ids
    QString productId;
    QString serialNumber;
};
QList<SerialPortDetails> DescribeSerialPorts();

// Whether a port can be opened now: opened for reading and writing the way
// the program opens it, and closed again at once.
enum class PortProbe {
    Opens,
    Missing,   // no such device
    Denied,    // the user may not open it
    Busy,      // another program holds it
    Failed,    // another reason (systemError)
};
struct PortProbeResult {
    PortProbe result = PortProbe::Failed;
    int systemError = 0;
};
PortProbeResult ProbeSerialPort(const QString& device);

} // namespace kovra::platform
