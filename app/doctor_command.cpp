#include "app/doctor_command.h"

#include "app/command_line.h"

#ifdef KOVRA_HAVE_DOCTOR
#include "doctor/port_link.h"
#include "doctor/serial_doctor.h"
#include "doctor/udev_rule.h"
#endif

#include <QCoreApplication>
#include <QFileInfo>

namespace kovra::app {

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

// The options, for the parser (DoctorUsage says them in full).
void describe(CommandLine& line)
{
    line.addFlag(QStringLiteral("udev-rule"), QString());
    line.addValue(QStringLiteral("link"), QStringLiteral("COMn"), QString(),
        QStringLiteral("needs a port (COM1..COM64) and a device"));
    line.addValue(QStringLiteral("root"), QStringLiteral("DIR"), QString(), QStringLiteral("needs a folder"));
}

} // namespace

#ifdef KOVRA_HAVE_DOCTOR

namespace {

// The adapters the rule is for: the device named, or every USB serial adapter present.
bool ruleAdapters(const doctor::SerialDoctor& doctor, const doctor::DoctorReport& report, const QString& device,
                  QList<doctor::UsbIdentity>& adapters, QString& error)
{
    const doctor::SystemTree& tree = doctor.tree();
    QString wanted;
    if (!device.isEmpty()) {
        QString path = device.startsWith(u'/') ? device : QStringLiteral("/dev/") + device;
        wanted = tree.follow(tree.rebase(path));
    }
    for (const doctor::SerialDevice& d : report.devices)
        if (!d.usb.isEmpty() && (wanted.isEmpty() || tree.at(d.path) == wanted))
            adapters.append(d.usb);
    if (wanted.isEmpty()) {
        for (const doctor::AdapterWithoutDevice& a : report.adaptersWithoutDevice)
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

int RunDoctorCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    auto usageError = [&](const QString& message) {
        err << "kovra doctor: " << message << "\n" << DoctorUsage();
        return 2;
    };
    // The rule's device is optional, so it comes as the next word; the
    // usual "--udev-rule=DEVICE" is taken as the same.
    QStringList words;
    for (const QString& word : args) {
        if (word.startsWith(QLatin1String("--udev-rule=")))
            words << QStringLiteral("--udev-rule") << word.section(u'=', 1);
        else
            words << word;
    }
    CommandLine line;
    describe(line);
    const bool parsed = line.parse(words);
    if (line.helpWanted()) {
        out << DoctorUsage();
        return 0;
    }
    if (!parsed)
        return usageError(line.error());
    const QString root = line.value(QStringLiteral("root"));
    const bool rule = line.isSet(QStringLiteral("udev-rule"));
    const bool link = line.isSet(QStringLiteral("link"));
    if (rule && link)
        return usageError(QStringLiteral("--udev-rule and --link are separate commands"));
    // The words beside the options: the rule's device, or the link's.
    words = line.words();
    const qsizetype most = rule || link ? 1 : 0;
    if (words.size() > most)
        return usageError(QStringLiteral("unknown argument \"%1\"").arg(words[most]));
    if (link && words.isEmpty())
        return usageError(QStringLiteral("--link needs a port (COM1..COM64) and a device"));
    const QString ruleDevice = rule ? words.value(0) : QString();
    const int linkNumber = link ? doctor::ParsePortName(line.value(QStringLiteral("link"))) : 0;
    if (link && !linkNumber)
        return usageError(QStringLiteral("--link takes a port from COM1 to COM64, not \"%1\"")
                              .arg(line.value(QStringLiteral("link"))));
    const QString linkDevice = link ? words.value(0) : QString();

    const doctor::SerialDoctor doctor = doctor::SerialDoctor::ForThisProgram(root);
    if (linkNumber) {
        const doctor::LinkResult result =
            doctor::LinkPort(doctor.tree(), doctor.options().portDirectory, linkNumber, linkDevice);
        (result.ok ? out : err) << (result.ok ? "" : "kovra doctor: ") << result.message << "\n";
        return result.ok ? 0 : 1;
    }
    const doctor::DoctorReport report = doctor.Examine();
    if (rule) {
        QList<doctor::UsbIdentity> adapters;
        QString error;
        if (!ruleAdapters(doctor, report, ruleDevice, adapters, error)) {
            err << "kovra doctor: " << error << "\n";
            return 1;
        }
        out << doctor::UdevRule(adapters);
        return 0;
    }
    out << doctor::FormatDoctorReport(report);
    return report.anyPortOpens() ? 0 : 1;
}

#else

int RunDoctorCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    CommandLine line;
    describe(line);
    line.parse(args);
    if (line.helpWanted()) {
        out << DoctorUsage();
        return 0;
    }
    err << "kovra doctor: this system's serial ports are not examined here; the system's own device list "
           "shows whether the adapter and its driver are present\n";
    return 1;
}

#endif

int RunDoctorCommand(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kovra"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return RunDoctorCommand(QCoreApplication::arguments().mid(2), out, err);
}

} // namespace kovra::app
