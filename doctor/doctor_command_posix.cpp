// `kovra doctor` on POSIX systems: the examination of /dev, /sys and /proc,
// the udev rule and the port directory's links.

#include "doctor/doctor_command.h"

#include "doctor/port_link.h"
#include "doctor/serial_doctor.h"
#include "doctor/udev_rule.h"

#include <QFileInfo>

namespace kovra::doctor {

QString DoctorUsage()
{
    return QStringLiteral(
        "usage: kovra doctor [--root DIR]\n"
        "       kovra doctor --udev-rule [DEVICE]\n"
        "       kovra doctor --link COMn DEVICE\n"
        "Explains why the program finds no machine, and how to fix it. It looks at the\n"
        "ports the program scans (the port directory, then the default table unless\n"
        "KOVRA_PORT_TABLE=0), at every serial device present with its stable name, USB\n"
        "ids, driver, owner group and whether you may open it, and at services that\n"
        "take adapters away (brltty, ModemManager, a program holding the port). Each\n"
        "problem comes with the command that fixes it.\n"
        "\n"
        "Exit status: 0 when a port the program scans can be opened, 1 when none can,\n"
        "2 for a wrong command line.\n"
        "\n"
        "Options:\n"
        "  --udev-rule [DEVICE]  Print a udev rule that gives the machine's USB adapter\n"
        "                        (DEVICE, else the adapters plugged in) the stable name\n"
        "                        /dev/kovra-engraver, lets the user logged in at the\n"
        "                        computer open it and keeps ModemManager off it; the\n"
        "                        rule's first lines say how to install it.\n"
        "  --link COMn DEVICE    Make the port directory entry COMn pointing to DEVICE\n"
        "                        (by its stable /dev/serial/by-id name when it has one),\n"
        "                        replacing an older link of that name.\n"
        "  --root DIR            Read DIR/dev, DIR/sys, DIR/proc and DIR/etc instead of\n"
        "                        the system's (a copy of another system), opening nothing.\n"
        "\n"
        "Environment:\n"
        "  KOVRA_PORT_DIR        The port directory (default ~/.config/kovra/ports).\n"
        "  KOVRA_PORT_TABLE      0: only the port directory names ports.\n");
}

namespace {

// The adapters the rule is for: the device named, or every USB serial adapter present.
bool ruleAdapters(const SerialDoctor& doctor, const DoctorReport& report, const QString& device,
                  QList<UsbIdentity>& adapters, QString& error)
{
    const SystemTree& tree = doctor.tree();
    QString wanted;
    if (!device.isEmpty()) {
        QString path = device.startsWith(u'/') ? device : QStringLiteral("/dev/") + device;
        wanted = tree.follow(tree.rebase(path));
    }
    for (const SerialDevice& d : report.devices)
        if (!d.usb.isEmpty() && (wanted.isEmpty() || tree.at(d.path) == wanted))
            adapters.append(d.usb);
    if (wanted.isEmpty()) {
        for (const AdapterWithoutDevice& a : report.adaptersWithoutDevice)
            adapters.append(a.usb);
    } else if (adapters.isEmpty()) {
        error = QFileInfo::exists(wanted)
            ? QStringLiteral("%1 is not a USB device: a rule by USB ids does not fit it").arg(device)
            : QStringLiteral("%1 is not present now").arg(device);
        return false;
    }
    return true;
}

} // namespace

QStringList DoctorCommandOptions()
{
    return {QStringLiteral("root"), QStringLiteral("udev-rule"), QStringLiteral("link")};
}

int RunDoctor(const DoctorRequest& request, QTextStream& out, QTextStream& err)
{
    auto usageError = [&](const QString& message) {
        err << "kovra doctor: " << message << "\n" << DoctorUsage();
        return 2;
    };
    const bool link = !request.linkPort.isEmpty();
    if (request.udevRule && link)
        return usageError(QStringLiteral("--udev-rule and --link are separate commands"));
    if (link && request.linkDevice.isEmpty())
        return usageError(QStringLiteral("--link needs a port (COM1..COM64) and a device"));
    const int linkNumber = link ? ParsePortName(request.linkPort) : 0;
    if (link && !linkNumber)
        return usageError(QStringLiteral("--link takes a port from COM1 to COM64, not \"%1\"").arg(request.linkPort));

    const SerialDoctor doctor = SerialDoctor::ForThisProgram(request.root);
    if (linkNumber) {
        const LinkResult result =
            LinkPort(doctor.tree(), doctor.options().portDirectory, linkNumber, request.linkDevice);
        (result.ok ? out : err) << (result.ok ? "" : "kovra doctor: ") << result.message << "\n";
        return result.ok ? 0 : 1;
    }
    const DoctorReport report = doctor.Examine();
    if (request.udevRule) {
        QList<UsbIdentity> adapters;
        QString error;
        if (!ruleAdapters(doctor, report, request.ruleDevice, adapters, error)) {
            err << "kovra doctor: " << error << "\n";
            return 1;
        }
        out << UdevRule(adapters);
        return 0;
    }
    out << FormatDoctorReport(report);
    return report.anyPortOpens() ? 0 : 1;
}

QString DoctorFindings()
{
    return FormatDoctorReport(SerialDoctor::ForThisProgram().Examine());
}

} // namespace kovra::doctor
