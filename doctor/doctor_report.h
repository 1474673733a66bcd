#pragma once
// What the serial doctor found: the serial devices, the port directory, the
// ports the program's scan would open, and the problems with their fixes.
// Plain values; FormatDoctorReport turns them into the text users read.

#include <QList>
#include <QString>
#include <QStringList>

namespace kovra::doctor {

struct UsbIdentity {
    QString vendorId;      // "1a86"
    QString productId;     // "7523"
    QString manufacturer;  // as the adapter names itself, when it does
    QString product;
    QString sysPath;       // the USB device's folder (in the tree)

    bool isEmpty() const { return vendorId.isEmpty(); }
    QString id() const { return vendorId + u':' + productId; }
};

struct ProcessRef {
    qint64 pid = 0;
    QString command;
};

struct SerialDevice {
    QString name;          // "ttyUSB0", "COM3"
    QString path;          // "/dev/ttyUSB0", "\\.\COM3", as the system names it
    QString description;   // Windows: the port's name in the device manager
    QString stableName;    // "/dev/serial/by-id/usb-...", when udev made one
    UsbIdentity usb;
    QString driver;        // "ch341-uart", "cdc_acm", ...
    bool exists = false;   // the device node is there
    QString group;         // the owner group
    bool groupMayOpen = false;
    bool mayOpen = false;
    bool noHardware = false;        // a ttyS name with no UART behind it
    bool modemManagerIgnores = false;
    QList<ProcessRef> holders;      // other processes with it open
    QList<int> ports;               // the COMn numbers that name it
};

// A USB serial chip that is plugged in but has no serial device.
struct AdapterWithoutDevice {
    UsbIdentity usb;
    QString interfaceDriver;   // "usbfs": a program claimed it; empty: no driver
    QString kernelDriver;      // the module that would serve it ("ch341")
};

struct PortEntry {
    QString fileName;          // "COM3"
    int number = 0;            // 0: a name the program does not look at
    QString path;              // the entry itself
    bool isLink = false;
    QString target;            // where it points in the end (system form)
    bool exists = false;       // whatever it points at exists
};

enum class PortSource { Directory, Table };

enum class OpenResult {
    Opens,       // it can be opened now
    Denied,      // permission denied
    Busy,        // another program holds it exclusively
    NoHardware,  // the name exists but nothing is behind it
    Failed,      // another reason (detail)
};

struct ScannedPort {
    int number = 0;
    PortSource source = PortSource::Table;
    QString name;              // what the program opens (system form)
    QString device;            // the device it ends at (system form)
    OpenResult open = OpenResult::Failed;
    QString detail;
    QList<ProcessRef> holders;
};

enum class Severity { Problem, Warning, Note };

// One way to fix a finding: what to do, and the commands to type as they stand.
struct Fix {
    QString text;
    QStringList commands;
};

struct Finding {
    Severity severity = Severity::Problem;
    QString text;
    QList<Fix> fixes;
};

// Which system was examined: the report says what that system shows.
enum class DoctorSystem { Posix, Windows };

struct DoctorReport {
    DoctorSystem system = DoctorSystem::Posix;
    QString portDirectory;
    bool portDirectoryExists = false;
    bool portDirectoryReadable = true;
    bool defaultTable = true;
    QString userName;
    bool asRoot = false;
    QList<SerialDevice> devices;
    QList<AdapterWithoutDevice> adaptersWithoutDevice;
    QList<PortEntry> entries;
    QList<ScannedPort> scanned;  // every port whose name exists now
    QList<Finding> findings;

    // The doctor's answer: some port the program scans can be opened.
    bool anyPortOpens() const;
    QList<const ScannedPort*> openablePorts() const;
};

// The report as plain text for a terminal or a text window.
QString FormatDoctorReport(const DoctorReport& report);

} // namespace kovra::doctor
