// The doctor's findings: each problem in plain words, with the commands that
// fix it. Problems first (what keeps the program from a port), then warnings
// (what may disturb it), then notes.

#include "doctor/process_table.h"
#include "doctor/serial_devices.h"
#include "doctor/serial_doctor.h"
#include "doctor/troublemakers.h"
#include "doctor/udev_rule.h"
#include "platform/serial_ports.h"

#include <QFileInfo>

namespace kovra::doctor {

namespace {

bool isUsbSerial(const SerialDevice& d)
{
    return !d.usb.isEmpty() || d.name.startsWith(QLatin1String("ttyUSB")) || d.name.startsWith(QLatin1String("ttyACM"));
}

QString bestName(const SerialDevice& d)
{
    return d.stableName.isEmpty() ? d.path : d.stableName;
}

QString adapterWords(const UsbIdentity& usb)
{
    if (usb.isEmpty())
        return QString();
    QString words = QStringLiteral("USB ") + usb.id();
    if (const KnownAdapter* known = FindKnownAdapter(usb.vendorId, usb.productId))
        words += QStringLiteral(", a ") + QString::fromLatin1(known->chip) + QStringLiteral(" chip");
    return words;
}

QString portWords(const ScannedPort& p)
{
    if (p.source == PortSource::Directory)
        return QStringLiteral("COM%1, through %2").arg(p.number).arg(p.name);
    return QStringLiteral("COM%1").arg(p.number);
}

QString holderWords(const QList<ProcessRef>& holders)
{
    QStringList words;
    for (const ProcessRef& h : holders)
        words << QStringLiteral("%1 (pid %2)").arg(h.command.isEmpty() ? QStringLiteral("a process") : h.command).arg(h.pid);
    return words.join(QStringLiteral(", "));
}

Finding finding(Severity severity, const QString& text, QList<Fix> fixes = {})
{
    return Finding{severity, text, std::move(fixes)};
}

} // namespace

void SerialDoctor::advise(DoctorReport& r, const ProcessTable& processes) const
{
    QList<Finding>& out = r.findings;
    const bool anyOpens = r.anyPortOpens();
    const QString dir = m_options.portDirectory;

    // Port numbers the program does not use yet, handed out one by one to
    // devices that need an entry.
    QList<int> usedNumbers;
    for (const ScannedPort& p : r.scanned)
        usedNumbers.append(p.number);
    for (const PortEntry& e : r.entries)
        if (e.number)
            usedNumbers.append(e.number);
    auto nextFreeNumber = [&]() {
        for (int n = 3; n <= platform::kHighestListedPort; ++n) // COM3: the number the machine usually had
            if (!usedNumbers.contains(n)) {
                usedNumbers.append(n);
                return n;
            }
        return 0;
    };
    auto linkCommand = [](int n, const QString& device) {
        return QStringLiteral("kovra doctor --link COM%1 %2").arg(n).arg(ShellQuote(device));
    };
    // A USB serial device no directory entry names yet: what a stale entry should point at.
    QStringList suggested; // devices already given a port number in a fix
    auto candidateDevice = [&]() -> const SerialDevice* {
        for (const SerialDevice& d : r.devices) {
            if (!d.exists || !isUsbSerial(d) || suggested.contains(d.path))
                continue;
            const bool linked = std::any_of(r.scanned.cbegin(), r.scanned.cend(), [&](const ScannedPort& p) {
                return p.source == PortSource::Directory && p.device == d.path;
            });
            if (!linked)
                return &d;
        }
        return nullptr;
    };

    // Nothing plugged in.
    const bool anyUsb = std::any_of(r.devices.cbegin(), r.devices.cend(), isUsbSerial);
    const bool anyEntry = std::any_of(r.entries.cbegin(), r.entries.cend(), [](const PortEntry& e) { return e.number && e.exists; });
    if (!anyUsb && r.adaptersWithoutDevice.isEmpty() && !anyEntry) {
        out.append(finding(Severity::Problem,
            QStringLiteral("No USB serial adapter is plugged in: the system shows no ttyUSB or ttyACM device."),
            {Fix{QStringLiteral("Check that the machine is switched on and its USB cable is plugged in. Watch the "
                                "kernel's messages while you plug it in: a new ttyUSB or ttyACM device should be named."),
                 {QStringLiteral("sudo dmesg --follow")}},
             Fix{QStringLiteral("If nothing shows, try another cable or USB socket: some cables carry power only."), {}}}));
    }

    // The braille service, and adapters that lost their device.
    QStringList ids;
    for (const KnownAdapter& a : KnownAdapters())
        ids << QString::fromLatin1(a.vendorId) + u':' + QString::fromLatin1(a.productId);
    for (const SerialDevice& d : r.devices)
        if (!d.usb.isEmpty() && !ids.contains(d.usb.id()))
            ids << d.usb.id();
    const BrailleService braille = FindBrailleService(m_tree, processes, ids);
    QStringList units = braille.units;
    if (units.isEmpty())
        units << QStringLiteral("brltty.service");
    if (!braille.rulesFile.isEmpty() && !units.contains(QStringLiteral("brltty-udev.service")))
        units << QStringLiteral("brltty-udev.service");
    const QList<Fix> brailleFixes{
        Fix{QStringLiteral("Unless you use a braille display, stop the braille service and keep it from starting again:"),
            {QStringLiteral("sudo systemctl stop ") + units.join(u' '), QStringLiteral("sudo systemctl mask ") + units.join(u' ')}},
        Fix{QStringLiteral("Or remove it:"), {QStringLiteral("sudo apt-get remove brltty")}},
        Fix{QStringLiteral("Then unplug the machine's USB cable and plug it in again."), {}}};

    bool brailleTold = false;
    for (const AdapterWithoutDevice& a : r.adaptersWithoutDevice) {
        QString text = QStringLiteral("A USB serial adapter is plugged in (%1), but the system made no serial device for it.")
                           .arg(adapterWords(a.usb));
        if (a.interfaceDriver == QLatin1String("usbfs") || braille.present()) {
            text += braille.present()
                ? QStringLiteral(" brltty, the braille display service, takes such adapters for braille displays.")
                : QStringLiteral(" A program has claimed it directly (through usbfs), as the braille display service does.");
            out.append(finding(Severity::Problem, text, brailleFixes));
            brailleTold = true;
        } else {
            text += QStringLiteral(" Its driver, %1, is not loaded.").arg(a.kernelDriver);
            out.append(finding(Severity::Problem, text,
                {Fix{QStringLiteral("Load it, then unplug the adapter and plug it in again:"),
                     {QStringLiteral("sudo modprobe ") + a.kernelDriver}}}));
        }
    }
    if (braille.present() && !brailleTold) {
        QString text = braille.running
            ? QStringLiteral("brltty, the braille display service, is running.")
            : QStringLiteral("brltty, the braille display service, is started by %1 when an adapter with one of "
                             "these ids is plugged in: %2.").arg(braille.rulesFile, braille.claimedIds.join(QStringLiteral(", ")));
        text += QStringLiteral(" It takes USB serial adapters with common chips (such as the CH340 and CP210x) for "
                               "braille displays, and their serial device vanishes moments after it appears.");
        const bool knownChipPresent = std::any_of(r.devices.cbegin(), r.devices.cend(), [](const SerialDevice& d) {
            return FindKnownAdapter(d.usb.vendorId, d.usb.productId) != nullptr;
        });
        out.append(finding(knownChipPresent || !anyUsb ? Severity::Problem : Severity::Warning, text, brailleFixes));
    }

    // Ports that exist but cannot be opened.
    QStringList told;
    for (const ScannedPort& p : r.scanned) {
        if (p.open == OpenResult::Opens || told.contains(p.device))
            continue;
        told.append(p.device);
        const SerialDevice* device = nullptr;
        for (const SerialDevice& d : r.devices)
            if (d.path == p.device)
                device = &d;
        if (p.open == OpenResult::Denied) {
            const NodeAccess a = InspectNode(m_tree.at(p.device), m_account);
            QString text = QStringLiteral("You may not open %1 (%2): it belongs to group %3").arg(p.device, portWords(p), a.group);
            QList<Fix> fixes;
            if (a.groupMayOpen && a.gid != 0) {
                if (m_account.inAccount(a.gid) && !m_account.inSession(a.gid)) {
                    text += QStringLiteral(", and you were added to that group after this login began.");
                    fixes.append(Fix{QStringLiteral("Log out and log in again (or restart the computer) so the login has the "
                                                    "group. To try at once in this terminal alone:"),
                                     {QStringLiteral("newgrp ") + a.group}});
                } else {
                    text += QStringLiteral(", and you are not in that group.");
                    fixes.append(Fix{QStringLiteral("Join the group, then log out and log in again:"),
                                     {QStringLiteral("sudo usermod -aG %1 %2").arg(a.group, ShellQuote(m_account.name))}});
                }
            } else {
                text += QStringLiteral(", and neither that group nor other users may open it.");
            }
            if (device && !device->usb.isEmpty())
                fixes.append(Fix{QStringLiteral("Or let whoever is logged in at the computer open the adapter with a udev "
                                                "rule, which also gives it a stable name:"),
                                 UdevRuleInstallCommands(p.device)});
            if (p.source == PortSource::Directory && fixes.isEmpty())
                fixes.append(Fix{QStringLiteral("If the entry names the wrong file, remove it (or point it elsewhere with "
                                                "kovra doctor --link):"),
                                 {QStringLiteral("rm ") + ShellQuote(p.name)}});
            out.append(finding(Severity::Problem, text, fixes));
        } else if (p.open == OpenResult::Busy) {
            const QString text = QStringLiteral("%1 (%2) is in use by %3, and the program cannot open it while it is.")
                                     .arg(p.device, portWords(p),
                                          p.holders.isEmpty() ? QStringLiteral("another program") : holderWords(p.holders));
            if (p.holders.isEmpty())
                out.append(finding(Severity::Problem, text,
                    {Fix{QStringLiteral("Find that program, then close it:"), {QStringLiteral("sudo fuser -v ") + ShellQuote(p.device)}}}));
            else
                out.append(finding(Severity::Problem, text,
                    {Fix{QStringLiteral("Close that program, or end it:"), {QStringLiteral("kill %1").arg(p.holders.first().pid)}}}));
        } else if (p.open == OpenResult::NoHardware && p.source == PortSource::Directory) {
            const SerialDevice* other = candidateDevice();
            out.append(finding(Severity::Problem,
                QStringLiteral("COM%1 in the port directory names %2, but no serial port is behind that name.").arg(p.number).arg(p.device),
                {Fix{other ? QStringLiteral("Point it at the machine's adapter:") : QStringLiteral("Remove the entry:"),
                     {other ? linkCommand(p.number, bestName(*other)) : QStringLiteral("rm ") + ShellQuote(p.name)}}}));
        } else if (p.open == OpenResult::Failed) {
            out.append(finding(Severity::Problem,
                QStringLiteral("%1 (%2) cannot be opened: %3.").arg(p.device, portWords(p), p.detail)));
        }
    }

    // The port directory.
    if (r.portDirectoryExists && !r.portDirectoryReadable)
        out.append(finding(Severity::Problem, QStringLiteral("The port directory %1 cannot be read.").arg(dir),
            {Fix{QStringLiteral("Give yourself access to it:"), {QStringLiteral("chmod u+rwx ") + ShellQuote(dir)}}}));
    for (const PortEntry& e : r.entries) {
        if (e.number && !e.exists) {
            const SerialDevice* other = candidateDevice();
            const QString text = QStringLiteral("COM%1 in the port directory points to %2, which does not exist now (a dangling "
                                                "link): the machine is unplugged or switched off, or its name changed.")
                                     .arg(e.number).arg(e.target.isEmpty() ? e.path : e.target);
            QList<Fix> fixes;
            if (other) {
                fixes.append(Fix{QStringLiteral("Point it at the adapter that is plugged in now:"), {linkCommand(e.number, bestName(*other))}});
                suggested.append(other->path);
            }
            fixes.append(Fix{other ? QStringLiteral("Or remove it:") : QStringLiteral("Plug the machine in, or remove the entry:"),
                             {QStringLiteral("rm ") + ShellQuote(e.path)}});
            out.append(finding(Severity::Problem, text, fixes));
        } else if (!e.number && e.fileName.startsWith(QLatin1String("com"), Qt::CaseInsensitive)) {
            const int n = ParsePortName(e.fileName);
            QList<Fix> fixes;
            if (n && !SystemTree::lexists(PortEntryPath(dir, n)))
                fixes.append(Fix{QStringLiteral("Rename it:"),
                                 {QStringLiteral("mv %1 %2").arg(ShellQuote(e.path), ShellQuote(PortEntryPath(dir, n)))}});
            out.append(finding(Severity::Warning,
                QStringLiteral("%1 in the port directory is passed over: the program looks only at entries named COM1 to COM64, "
                               "written exactly so.").arg(e.fileName), fixes));
        }
    }
    const bool anyNumberedEntry = std::any_of(r.entries.cbegin(), r.entries.cend(), [](const PortEntry& e) { return e.number != 0; });
    if (!r.defaultTable && !anyNumberedEntry) {
        const SerialDevice* other = candidateDevice();
        out.append(finding(Severity::Problem,
            QStringLiteral("Only the port directory counts (KOVRA_PORT_TABLE=0), and it has no COM entries: the program scans no port."),
            {Fix{QStringLiteral("Give the machine's adapter a port number:"),
                 {linkCommand(3, other ? bestName(*other) : QStringLiteral("/dev/ttyUSB0"))}}}));
    }

    // Devices the scan never reaches, and entries with names that may change.
    for (const SerialDevice& d : r.devices) {
        if (!d.exists || !d.ports.isEmpty() || !isUsbSerial(d) || suggested.contains(d.path))
            continue;
        const int n = nextFreeNumber();
        out.append(finding(anyOpens ? Severity::Warning : Severity::Problem,
            QStringLiteral("%1%2 is not among the ports the program scans.")
                .arg(d.path, d.usb.isEmpty() ? QString() : QStringLiteral(" (") + adapterWords(d.usb) + u')'),
            {Fix{QStringLiteral("Give it a port number:"), {linkCommand(n ? n : 3, bestName(d))}}}));
    }
    for (const PortEntry& e : r.entries) {
        if (!e.number || !e.exists || !e.isLink)
            continue;
        const QString first = SystemTree::readLink(e.path);
        for (const SerialDevice& d : r.devices) {
            if (d.stableName.isEmpty() || m_tree.systemPath(m_tree.follow(e.path)) != d.path)
                continue;
            if (first.startsWith(u'/') && m_tree.systemPath(m_tree.rebase(first)) == d.path)
                out.append(finding(Severity::Note,
                    QStringLiteral("COM%1 points to %2, a name that changes when adapters are plugged in another order; "
                                   "the adapter's stable name is %3.").arg(e.number).arg(d.path, d.stableName),
                    {Fix{QStringLiteral("Link the stable name instead:"), {linkCommand(e.number, d.stableName)}}}));
        }
    }

    // The modem manager, and other programs holding a port.
    if (ModemManagerRunning(processes)) {
        const bool exposed = !anyUsb || std::any_of(r.devices.cbegin(), r.devices.cend(), [](const SerialDevice& d) {
            return isUsbSerial(d) && !d.modemManagerIgnores;
        });
        if (exposed)
            out.append(finding(Severity::Warning,
                QStringLiteral("ModemManager is running. It probes new ttyACM and ttyUSB devices with modem commands for a few "
                               "seconds after they appear, which can disturb the machine or keep its port busy."),
                {Fix{QStringLiteral("Tell it to leave the adapter alone with the udev rule:"), UdevRuleInstallCommands()},
                 Fix{QStringLiteral("Or, if this computer uses no mobile-broadband modem, stop it:"),
                     {QStringLiteral("sudo systemctl disable --now ModemManager.service")}}}));
    }
    for (const ScannedPort& p : r.scanned) {
        QList<ProcessRef> others;
        for (const ProcessRef& h : p.holders)
            if (h.command != QLatin1String("kovra-sim")) // the simulator keeps its own end open
                others.append(h);
        if (p.open != OpenResult::Opens || others.isEmpty())
            continue;
        out.append(finding(Severity::Warning,
            QStringLiteral("%1 (%2) is also open in %3. Two programs on one port garble each other's bytes.")
                .arg(p.device, portWords(p), holderWords(others)),
            {Fix{QStringLiteral("Close that program, or end it:"), {QStringLiteral("kill %1").arg(others.first().pid)}}}));
    }

    if (r.asRoot)
        out.append(finding(Severity::Note,
            QStringLiteral("You are running this as root, and root may open every device: run kovra doctor as the user "
                           "who runs the program to see that user's problems.")));

    std::stable_sort(out.begin(), out.end(), [](const Finding& a, const Finding& b) { return a.severity < b.severity; });
}

} // namespace kovra::doctor
