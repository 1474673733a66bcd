#include "doctor/doctor_report.h"

#include "doctor/known_adapters.h"

namespace kovra::doctor {

namespace {

constexpr int Width = 78;

// Words wrapped at Width, every line indented; the first line may carry a lead.
QString wrap(const QString& text, int indent, const QString& lead = {})
{
    const QString pad(indent, u' ');
    QString out;
    QString line = pad + lead;
    bool fresh = true;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!fresh && line.size() + 1 + word.size() > Width) {
            out += line + u'\n';
            line = pad + QString(lead.size(), u' ');
            fresh = true;
        }
        if (!fresh)
            line += u' ';
        line += word;
        fresh = false;
    }
    return out + line + u'\n';
}

QString openWords(OpenResult r)
{
    switch (r) {
    case OpenResult::Opens: return QStringLiteral("can be opened");
    case OpenResult::Denied: return QStringLiteral("permission denied");
    case OpenResult::Busy: return QStringLiteral("in use by another program");
    case OpenResult::NoHardware: return QStringLiteral("no serial port behind it");
    case OpenResult::Failed: return QStringLiteral("cannot be opened");
    }
    return {};
}

QString severityWord(Severity s)
{
    switch (s) {
    case Severity::Problem: return QStringLiteral("Problem: ");
    case Severity::Warning: return QStringLiteral("Warning: ");
    case Severity::Note: return QStringLiteral("Note: ");
    }
    return {};
}

QString portList(const QList<int>& ports)
{
    QStringList names;
    for (int n : ports)
        names << QStringLiteral("COM%1").arg(n);
    return names.join(QStringLiteral(", "));
}

QString usbLine(const UsbIdentity& usb, const QString& driver)
{
    QStringList words;
    if (!usb.isEmpty()) {
        words << QStringLiteral("USB ") + usb.id();
        if (const KnownAdapter* known = FindKnownAdapter(usb.vendorId, usb.productId))
            words << u'(' + QString::fromLatin1(known->chip) + u')';
        if (!usb.manufacturer.isEmpty())
            words << usb.manufacturer;
        if (!usb.product.isEmpty())
            words << usb.product;
    }
    QString line = words.join(u' ');
    // A port without USB ids may have a driver with a name like "port",
    // which reads as nonsense alone.
    if (!driver.isEmpty())
        line += line.isEmpty() ? QStringLiteral("not a USB device; the port's driver is \"%1\"").arg(driver)
                               : QStringLiteral(", driver ") + driver;
    return line;
}

void writeDevices(QString& out, const DoctorReport& r)
{
    out += QStringLiteral("Serial devices\n");
    if (r.devices.isEmpty())
        out += QStringLiteral("  none\n");
    for (const SerialDevice& d : r.devices) {
        out += QStringLiteral("  %1: %2\n").arg(d.path, d.ports.isEmpty() ? QStringLiteral("not scanned by the program")
                                                                           : QStringLiteral("the program's ") + portList(d.ports));
        if (!d.stableName.isEmpty())
            out += QStringLiteral("      stable name %1\n").arg(d.stableName);
        const QString usb = usbLine(d.usb, d.driver);
        if (!usb.isEmpty())
            out += QStringLiteral("      %1\n").arg(usb);
        if (!d.exists)
            out += QStringLiteral("      no device node in /dev\n");
        else
            out += QStringLiteral("      group %1; you %2 open it\n").arg(d.group, d.mayOpen ? QStringLiteral("may") : QStringLiteral("may not"));
        for (const ProcessRef& h : d.holders)
            out += QStringLiteral("      open in %1 (pid %2)\n").arg(h.command).arg(h.pid);
    }
    for (const AdapterWithoutDevice& a : r.adaptersWithoutDevice)
        out += QStringLiteral("  %1: plugged in, but no serial device%2\n")
                   .arg(usbLine(a.usb, QString()),
                        a.interfaceDriver.isEmpty() ? QString() : QStringLiteral(" (claimed by ") + a.interfaceDriver + u')');
}

void writePortDirectory(QString& out, const DoctorReport& r)
{
    out += QStringLiteral("Port directory %1\n").arg(r.portDirectory.isEmpty() ? QStringLiteral("(none)") : r.portDirectory);
    if (!r.portDirectoryExists) {
        out += QStringLiteral("  does not exist (kovra doctor --link makes it)\n");
        return;
    }
    if (!r.portDirectoryReadable)
        out += QStringLiteral("  cannot be read\n");
    else if (r.entries.isEmpty())
        out += QStringLiteral("  empty\n");
    for (const PortEntry& e : r.entries) {
        QString state;
        if (!e.number)
            state = QStringLiteral("passed over: not a port name");
        else if (!e.exists)
            state = e.isLink ? QStringLiteral("missing: a dangling link") : QStringLiteral("missing");
        else
            state = QStringLiteral("exists");
        if (e.isLink)
            out += QStringLiteral("  %1 -> %2  %3\n").arg(e.fileName, e.target, state);
        else
            out += QStringLiteral("  %1  %2\n").arg(e.fileName, state);
    }
}

void writeScan(QString& out, const DoctorReport& r)
{
    out += QStringLiteral("Ports present for the program's scan\n");
    if (r.scanned.isEmpty())
        out += QStringLiteral("  none\n");
    for (const ScannedPort& p : r.scanned) {
        QString where = p.name;
        if (p.device != p.name)
            where += QStringLiteral(" -> ") + p.device;
        QString state = openWords(p.open);
        if (!p.detail.isEmpty())
            state += QStringLiteral(" (") + p.detail + u')';
        out += QStringLiteral("  %1  %2  %3\n").arg(QStringLiteral("COM%1").arg(p.number).leftJustified(5), where, state);
    }
}

// Windows: one list of the COM ports with what the system tells of each,
// then the adapters that got none.
void writeComPorts(QString& out, const DoctorReport& r)
{
    out += QStringLiteral("COM ports\n");
    if (r.devices.isEmpty() && r.adaptersWithoutDevice.isEmpty())
        out += QStringLiteral("  none\n");
    for (int i = 0; i < r.devices.size(); ++i) {
        const SerialDevice& d = r.devices[i];
        QString line = d.name + u':';
        if (!d.description.isEmpty())
            line += u' ' + d.description;
        if (!d.usb.manufacturer.isEmpty())
            line += QStringLiteral(" (") + d.usb.manufacturer + u')';
        out += QStringLiteral("  %1\n").arg(line);
        if (!d.usb.isEmpty())
            out += QStringLiteral("      %1\n").arg(usbLine(UsbIdentity{d.usb.vendorId, d.usb.productId, {}, {}, {}}, {}));
        if (i < r.scanned.size()) {
            const ScannedPort& p = r.scanned[i];
            out += QStringLiteral("      %1%2\n").arg(openWords(p.open), p.detail.isEmpty() ? QString() : QStringLiteral(" (") + p.detail + u')');
        }
    }
    for (const AdapterWithoutDevice& a : r.adaptersWithoutDevice)
        out += QStringLiteral("  %1: plugged in, but no COM port%2\n")
                   .arg(usbLine(a.usb, QString()),
                        a.interfaceDriver.isEmpty() ? QString() : QStringLiteral(" (") + a.interfaceDriver + u')');
}

void writeSystemSections(QString& out, const DoctorReport& r)
{
    if (r.system == DoctorSystem::Windows) {
        out += wrap(QStringLiteral("The program scans COM1 to COM64 by name (\\\\.\\COM1 to \\\\.\\COM64): the ports "
                                   "Windows lists, and any other COM name that exists."), 0);
        out += u'\n';
        writeComPorts(out, r);
        out += u'\n';
        return;
    }
    if (r.defaultTable)
        out += wrap(QStringLiteral("The program scans COM1 to COM64: an entry named COMn in the port directory %1 first, "
                                   "else the default table (COM1-16 /dev/ttyUSB0-15, COM17-32 /dev/ttyACM0-15, "
                                   "COM33-64 /dev/ttyS0-31).").arg(r.portDirectory), 0);
    else
        out += wrap(QStringLiteral("The program scans the entries COM1 to COM64 of the port directory %1 alone: "
                                   "the default table is off (KOVRA_PORT_TABLE=0).").arg(r.portDirectory), 0);
    out += u'\n';
    writeDevices(out, r);
    out += u'\n';
    writePortDirectory(out, r);
    out += u'\n';
    writeScan(out, r);
    out += u'\n';
}

} // namespace

bool DoctorReport::anyPortOpens() const
{
    return !openablePorts().isEmpty();
}

QList<const ScannedPort*> DoctorReport::openablePorts() const
{
    QList<const ScannedPort*> ports;
    for (const ScannedPort& p : scanned)
        if (p.open == OpenResult::Opens)
            ports.append(&p);
    return ports;
}

QString FormatDoctorReport(const DoctorReport& r)
{
    QString out;
    out += QStringLiteral("Kovra doctor: the serial ports the program scans, and why it may find no machine.\n\n");
    writeSystemSections(out, r);

    if (r.findings.isEmpty())
        out += QStringLiteral("Nothing wrong found.\n\n");
    else
        out += QStringLiteral("What to fix\n");
    for (int i = 0; i < r.findings.size(); ++i) {
        const Finding& f = r.findings[i];
        out += wrap(severityWord(f.severity) + f.text, 2, QStringLiteral("%1. ").arg(i + 1));
        for (const Fix& fix : f.fixes) {
            if (!fix.text.isEmpty())
                out += wrap(fix.text, 5);
            for (const QString& command : fix.commands)
                out += QStringLiteral("         ") + command + u'\n';
        }
        out += u'\n';
    }

    const QList<const ScannedPort*> open = r.openablePorts();
    if (open.isEmpty()) {
        out += wrap(QStringLiteral("Result: no port the program scans can be opened now, so it cannot find the machine."), 0);
    } else {
        QStringList names;
        for (const ScannedPort* p : open)
            names << (r.system == DoctorSystem::Windows ? QStringLiteral("COM%1").arg(p->number)
                                                         : QStringLiteral("COM%1 (%2)").arg(p->number).arg(p->device));
        out += wrap(QStringLiteral("Result: %1 can be opened; the program finds the machine there when it answers.")
                        .arg(names.join(QStringLiteral(", "))), 0);
    }
    return out;
}

} // namespace kovra::doctor
