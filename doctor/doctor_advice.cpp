// The doctor's findings: each problem in plain words, with the commands that
// fix it. Problems first (what keeps the program from a port), then warnings
// (what may disturb it), then notes.

#include "doctor/advice_rules.h"
#include "doctor/process_table.h"
#include "doctor/serial_devices.h"
#include "doctor/serial_doctor.h"
#include "doctor/troublemakers.h"
#include "doctor/udev_rule.h"
#include "platform/serial_ports.h"

#include <QFileInfo>
#include <QRegularExpression>

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

QString linkCommand(int n, const QString& device)
{
    return QStringLiteral("kovra doctor --link COM%1 %2").arg(n).arg(ShellQuote(device));
}

// What the rules read and the little they remember between them: the port
// numbers handed out so far and the devices already given one in a fix.
struct LinuxAdvice {
    DoctorReport& r;
    const ProcessTable& processes;
    const SystemTree& tree;
    const UserAccount& account;
    const DoctorOptions& options;
    bool anyOpens = false;
    bool anyUsb = false;
    BrailleService braille{};
    QList<Fix> brailleFixes{};
    bool brailleTold = false;
    QList<int> usedNumbers{};
    QStringList suggested{};

    void add(Severity severity, const QString& text, QList<Fix> fixes = {})
    {
        r.findings.append(MakeFinding(severity, text, std::move(fixes)));
    }

    // Port numbers the program does not use yet, handed out one by one.
    int nextFreeNumber()
    {
        for (int n = 3; n <= platform::kHighestListedPort; ++n) // COM3: the number the machine usually had
            if (!usedNumbers.contains(n)) {
                usedNumbers.append(n);
                return n;
            }
        return 0;
    }

    // A USB serial device no directory entry names yet: what a stale entry should point at.
    const SerialDevice* candidateDevice() const
    {
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
    }

    const SerialDevice* deviceAt(const QString& path) const
    {
        const SerialDevice* found = nullptr;
        for (const SerialDevice& d : r.devices)
            if (d.path == path)
                found = &d;
        return found;
    }
};

void prepare(LinuxAdvice& a)
{
    a.anyOpens = a.r.anyPortOpens();
    a.anyUsb = std::any_of(a.r.devices.cbegin(), a.r.devices.cend(), isUsbSerial);
    for (const ScannedPort& p : a.r.scanned)
        a.usedNumbers.append(p.number);
    for (const PortEntry& e : a.r.entries)
        if (e.number)
            a.usedNumbers.append(e.number);

    QStringList ids;
    for (const KnownAdapter& k : KnownAdapters())
        ids << QString::fromLatin1(k.vendorId) + u':' + QString::fromLatin1(k.productId);
    for (const SerialDevice& d : a.r.devices)
        if (!d.usb.isEmpty() && !ids.contains(d.usb.id()))
            ids << d.usb.id();
    a.braille = FindBrailleService(a.tree, a.processes, ids);
    QStringList units = a.braille.units;
    if (units.isEmpty())
        units << QStringLiteral("brltty.service");
    if (!a.braille.rulesFile.isEmpty() && !units.contains(QStringLiteral("brltty-udev.service")))
        units << QStringLiteral("brltty-udev.service");
    a.brailleFixes = {
        Fix{QStringLiteral("Unless you use a braille display, stop the braille service and keep it from starting again:"),
            {QStringLiteral("sudo systemctl stop ") + units.join(u' '), QStringLiteral("sudo systemctl mask ") + units.join(u' ')}},
        Fix{QStringLiteral("Or remove it:"), {QStringLiteral("sudo apt-get remove brltty")}},
        Fix{QStringLiteral("Then unplug the machine's USB cable and plug it in again."), {}}};
}

// Nothing plugged in.
bool nothingPluggedIn(const LinuxAdvice& a)
{
    const bool anyEntry = std::any_of(a.r.entries.cbegin(), a.r.entries.cend(), [](const PortEntry& e) { return e.number && e.exists; });
    return !a.anyUsb && a.r.adaptersWithoutDevice.isEmpty() && !anyEntry;
}
void adviseNothingPluggedIn(LinuxAdvice& a)
{
    a.add(Severity::Problem,
        QStringLiteral("No USB serial adapter is plugged in: the system shows no ttyUSB or ttyACM device."),
        {Fix{QStringLiteral("Check that the machine is switched on and its USB cable is plugged in. Watch the "
                            "kernel's messages while you plug it in: a new ttyUSB or ttyACM device should be named."),
             {QStringLiteral("sudo dmesg --follow")}},
         Fix{QStringLiteral("If nothing shows, try another cable or USB socket: some cables carry power only."), {}}});
}

// Adapters that lost their device: the braille service, or a driver not loaded.
bool adaptersWithoutDevice(const LinuxAdvice& a)
{
    return !a.r.adaptersWithoutDevice.isEmpty();
}
void adviseAdaptersWithoutDevice(LinuxAdvice& a)
{
    for (const AdapterWithoutDevice& adapter : a.r.adaptersWithoutDevice) {
        QString text = QStringLiteral("A USB serial adapter is plugged in (%1), but the system made no serial device for it.")
                           .arg(adapterWords(adapter.usb));
        if (adapter.interfaceDriver == QLatin1String("usbfs") || a.braille.present()) {
            text += a.braille.present()
                ? QStringLiteral(" brltty, the braille display service, takes such adapters for braille displays.")
                : QStringLiteral(" A program has claimed it directly (through usbfs), as the braille display service does.");
            a.add(Severity::Problem, text, a.brailleFixes);
            a.brailleTold = true;
        } else {
            text += QStringLiteral(" Its driver, %1, is not loaded.").arg(adapter.kernelDriver);
            a.add(Severity::Problem, text,
                {Fix{QStringLiteral("Load it, then unplug the adapter and plug it in again:"),
                     {QStringLiteral("sudo modprobe ") + adapter.kernelDriver}}});
        }
    }
}

// The braille service, when no adapter above told of it already.
bool brailleService(const LinuxAdvice& a)
{
    return a.braille.present() && !a.brailleTold;
}
void adviseBrailleService(LinuxAdvice& a)
{
    QString text = a.braille.running
        ? QStringLiteral("brltty, the braille display service, is running.")
        : QStringLiteral("brltty, the braille display service, is started by %1 when an adapter with one of "
                         "these ids is plugged in: %2.").arg(a.braille.rulesFile, a.braille.claimedIds.join(QStringLiteral(", ")));
    text += QStringLiteral(" It takes USB serial adapters with common chips (such as the CH340 and CP210x) for "
                           "braille displays, and their serial device vanishes moments after it appears.");
    const bool knownChipPresent = std::any_of(a.r.devices.cbegin(), a.r.devices.cend(), [](const SerialDevice& d) {
        return FindKnownAdapter(d.usb.vendorId, d.usb.productId) != nullptr;
    });
    a.add(knownChipPresent || !a.anyUsb ? Severity::Problem : Severity::Warning, text, a.brailleFixes);
}

// Ports that exist but cannot be opened, one finding per device.
Finding deniedFinding(LinuxAdvice& a, const ScannedPort& p)
{
    const NodeAccess access = InspectNode(a.tree.at(p.device), a.account);
    // A serial port built into the computer that only its owner may open
    // (often root's ttyS0 with nothing behind it): the default table names
    // it, but the machine, a USB device, is never there.
    static const QRegularExpression builtIn(QStringLiteral("^/dev/tty(S|AMA)[0-9]+$"));
    const SerialDevice* device = a.deviceAt(p.device);
    if (p.source == PortSource::Table && !access.groupMayOpen && builtIn.match(p.device).hasMatch()
        && (!device || device->usb.isEmpty()))
        return MakeFinding(Severity::Note,
            QStringLiteral("Only its owner may open %1 (%2), a serial port built into the computer. The machine "
                           "connects by USB and is never there, so this does not keep the program from it.")
                .arg(p.device, portWords(p)),
            {});
    QString text = QStringLiteral("You may not open %1 (%2): it belongs to group %3").arg(p.device, portWords(p), access.group);
    QList<Fix> fixes;
    if (access.groupMayOpen && access.gid != 0) {
        if (a.account.inAccount(access.gid) && !a.account.inSession(access.gid)) {
            text += QStringLiteral(", and you were added to that group after this login began.");
            fixes.append(Fix{QStringLiteral("Log out and log in again (or restart the computer) so the login has the "
                                            "group. To try at once in this terminal alone:"),
                             {QStringLiteral("newgrp ") + access.group}});
        } else {
            text += QStringLiteral(", and you are not in that group.");
            fixes.append(Fix{QStringLiteral("Join the group, then log out and log in again:"),
                             {QStringLiteral("sudo usermod -aG %1 %2").arg(access.group, ShellQuote(a.account.name))}});
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
    return MakeFinding(Severity::Problem, text, fixes);
}

Finding busyFinding(const ScannedPort& p)
{
    const QString text = QStringLiteral("%1 (%2) is in use by %3, and the program cannot open it while it is.")
                             .arg(p.device, portWords(p),
                                  p.holders.isEmpty() ? QStringLiteral("another program") : holderWords(p.holders));
    if (p.holders.isEmpty())
        return MakeFinding(Severity::Problem, text,
            {Fix{QStringLiteral("Find that program, then close it:"), {QStringLiteral("sudo fuser -v ") + ShellQuote(p.device)}}});
    return MakeFinding(Severity::Problem, text,
        {Fix{QStringLiteral("Close that program, or end it:"), {QStringLiteral("kill %1").arg(p.holders.first().pid)}}});
}

bool portsThatDoNotOpen(const LinuxAdvice& a)
{
    return std::any_of(a.r.scanned.cbegin(), a.r.scanned.cend(), [](const ScannedPort& p) { return p.open != OpenResult::Opens; });
}
void advisePortsThatDoNotOpen(LinuxAdvice& a)
{
    QStringList told;
    for (const ScannedPort& p : a.r.scanned) {
        if (p.open == OpenResult::Opens || told.contains(p.device))
            continue;
        told.append(p.device);
        if (p.open == OpenResult::Denied) {
            a.r.findings.append(deniedFinding(a, p));
        } else if (p.open == OpenResult::Busy) {
            a.r.findings.append(busyFinding(p));
        } else if (p.open == OpenResult::NoHardware && p.source == PortSource::Directory) {
            const SerialDevice* other = a.candidateDevice();
            a.add(Severity::Problem,
                QStringLiteral("COM%1 in the port directory names %2, but no serial port is behind that name.").arg(p.number).arg(p.device),
                {Fix{other ? QStringLiteral("Point it at the machine's adapter:") : QStringLiteral("Remove the entry:"),
                     {other ? linkCommand(p.number, bestName(*other)) : QStringLiteral("rm ") + ShellQuote(p.name)}}});
        } else if (p.open == OpenResult::Failed) {
            a.add(Severity::Problem, QStringLiteral("%1 (%2) cannot be opened: %3.").arg(p.device, portWords(p), p.detail));
        }
    }
}

// The port directory itself.
bool unreadablePortDirectory(const LinuxAdvice& a)
{
    return a.r.portDirectoryExists && !a.r.portDirectoryReadable;
}
void adviseUnreadablePortDirectory(LinuxAdvice& a)
{
    const QString dir = a.options.portDirectory;
    a.add(Severity::Problem, QStringLiteral("The port directory %1 cannot be read.").arg(dir),
        {Fix{QStringLiteral("Give yourself access to it:"), {QStringLiteral("chmod u+rwx ") + ShellQuote(dir)}}});
}

// Entries that point nowhere, and names the program passes over.
void adviseDanglingEntry(LinuxAdvice& a, const PortEntry& e)
{
    const SerialDevice* other = a.candidateDevice();
    const QString text = QStringLiteral("COM%1 in the port directory points to %2, which does not exist now (a dangling "
                                        "link): the machine is unplugged or switched off, or its name changed.")
                             .arg(e.number).arg(e.target.isEmpty() ? e.path : e.target);
    QList<Fix> fixes;
    if (other) {
        fixes.append(Fix{QStringLiteral("Point it at the adapter that is plugged in now:"), {linkCommand(e.number, bestName(*other))}});
        a.suggested.append(other->path);
    }
    fixes.append(Fix{other ? QStringLiteral("Or remove it:") : QStringLiteral("Plug the machine in, or remove the entry:"),
                     {QStringLiteral("rm ") + ShellQuote(e.path)}});
    a.add(Severity::Problem, text, fixes);
}

void advisePassedOverEntry(LinuxAdvice& a, const PortEntry& e)
{
    const int n = ParsePortName(e.fileName);
    const QString dir = a.options.portDirectory;
    QList<Fix> fixes;
    // Renamed, an entry that leads to a device would be scanned; an ordinary
    // file (made by mistake, often empty) is no port under any name.
    const QFileInfo entry(e.path);
    const bool ordinaryFile = !e.isLink && entry.isFile();
    if (ordinaryFile)
        fixes.append(Fix{QStringLiteral("It is an ordinary file, not a link to a port: remove it, and make the entry "
                                        "with kovra doctor --link instead:"),
                         {QStringLiteral("rm ") + ShellQuote(e.path)}});
    else if (n && !SystemTree::lexists(PortEntryPath(dir, n)))
        fixes.append(Fix{QStringLiteral("Rename it:"),
                         {QStringLiteral("mv %1 %2").arg(ShellQuote(e.path), ShellQuote(PortEntryPath(dir, n)))}});
    a.add(Severity::Warning,
        QStringLiteral("%1 in the port directory is passed over: the program looks only at entries named COM1 to COM64, "
                       "written exactly so.").arg(e.fileName), fixes);
}

bool troubledEntries(const LinuxAdvice& a)
{
    return !a.r.entries.isEmpty();
}
void adviseTroubledEntries(LinuxAdvice& a)
{
    for (const PortEntry& e : a.r.entries) {
        if (e.number && !e.exists)
            adviseDanglingEntry(a, e);
        else if (!e.number && e.fileName.startsWith(QLatin1String("com"), Qt::CaseInsensitive))
            advisePassedOverEntry(a, e);
    }
}

// The table is off and the directory names no port.
bool noPortAtAll(const LinuxAdvice& a)
{
    const bool anyNumberedEntry = std::any_of(a.r.entries.cbegin(), a.r.entries.cend(), [](const PortEntry& e) { return e.number != 0; });
    return !a.r.defaultTable && !anyNumberedEntry;
}
void adviseNoPortAtAll(LinuxAdvice& a)
{
    const SerialDevice* other = a.candidateDevice();
    a.add(Severity::Problem,
        QStringLiteral("Only the port directory counts (KOVRA_PORT_TABLE=0), and it has no COM entries: the program scans no port."),
        {Fix{QStringLiteral("Give the machine's adapter a port number:"),
             {linkCommand(3, other ? bestName(*other) : QStringLiteral("/dev/ttyUSB0"))}}});
}

// USB serial devices the scan never reaches.
bool devicesNotScanned(const LinuxAdvice& a)
{
    return std::any_of(a.r.devices.cbegin(), a.r.devices.cend(), [](const SerialDevice& d) { return d.exists && d.ports.isEmpty(); });
}
void adviseDevicesNotScanned(LinuxAdvice& a)
{
    for (const SerialDevice& d : a.r.devices) {
        if (!d.exists || !d.ports.isEmpty() || !isUsbSerial(d) || a.suggested.contains(d.path))
            continue;
        const int n = a.nextFreeNumber();
        a.add(a.anyOpens ? Severity::Warning : Severity::Problem,
            QStringLiteral("%1%2 is not among the ports the program scans.")
                .arg(d.path, d.usb.isEmpty() ? QString() : QStringLiteral(" (") + adapterWords(d.usb) + u')'),
            {Fix{QStringLiteral("Give it a port number:"), {linkCommand(n ? n : 3, bestName(d))}}});
    }
}

// Entries that name an adapter by a name that changes with the plugging order.
bool linkedEntries(const LinuxAdvice& a)
{
    return std::any_of(a.r.entries.cbegin(), a.r.entries.cend(), [](const PortEntry& e) { return e.number && e.exists && e.isLink; });
}
void adviseUnstableNames(LinuxAdvice& a)
{
    for (const PortEntry& e : a.r.entries) {
        if (!e.number || !e.exists || !e.isLink)
            continue;
        const QString first = SystemTree::readLink(e.path);
        for (const SerialDevice& d : a.r.devices) {
            if (d.stableName.isEmpty() || a.tree.systemPath(a.tree.follow(e.path)) != d.path)
                continue;
            if (first.startsWith(u'/') && a.tree.systemPath(a.tree.rebase(first)) == d.path)
                a.add(Severity::Note,
                    QStringLiteral("COM%1 points to %2, a name that changes when adapters are plugged in another order; "
                                   "the adapter's stable name is %3.").arg(e.number).arg(d.path, d.stableName),
                    {Fix{QStringLiteral("Link the stable name instead:"), {linkCommand(e.number, d.stableName)}}});
        }
    }
}

// The modem manager probing new devices.
bool modemManagerInTheWay(const LinuxAdvice& a)
{
    if (!ModemManagerRunning(a.processes))
        return false;
    return !a.anyUsb || std::any_of(a.r.devices.cbegin(), a.r.devices.cend(), [](const SerialDevice& d) {
        return isUsbSerial(d) && !d.modemManagerIgnores;
    });
}
void adviseModemManager(LinuxAdvice& a)
{
    a.add(Severity::Warning,
        QStringLiteral("ModemManager is running. It probes new ttyACM and ttyUSB devices with modem commands for a few "
                       "seconds after they appear, which can disturb the machine or keep its port busy."),
        {Fix{QStringLiteral("Tell it to leave the adapter alone with the udev rule:"), UdevRuleInstallCommands()},
         Fix{QStringLiteral("Or, if this computer uses no mobile-broadband modem, stop it:"),
             {QStringLiteral("sudo systemctl disable --now ModemManager.service")}}});
}

// Other programs with a port open that the program can open too.
QList<ProcessRef> otherHolders(const ScannedPort& p)
{
    QList<ProcessRef> others;
    for (const ProcessRef& h : p.holders)
        if (h.command != QLatin1String("kovra-sim")) // the simulator keeps its own end open
            others.append(h);
    return p.open == OpenResult::Opens ? others : QList<ProcessRef>{};
}
bool sharedPorts(const LinuxAdvice& a)
{
    return std::any_of(a.r.scanned.cbegin(), a.r.scanned.cend(), [](const ScannedPort& p) { return !otherHolders(p).isEmpty(); });
}
void adviseSharedPorts(LinuxAdvice& a)
{
    for (const ScannedPort& p : a.r.scanned) {
        const QList<ProcessRef> others = otherHolders(p);
        if (others.isEmpty())
            continue;
        a.add(Severity::Warning,
            QStringLiteral("%1 (%2) is also open in %3. Two programs on one port garble each other's bytes.")
                .arg(p.device, portWords(p), holderWords(others)),
            {Fix{QStringLiteral("Close that program, or end it:"), {QStringLiteral("kill %1").arg(others.first().pid)}}});
    }
}

// Root sees no permission problems.
bool runAsRoot(const LinuxAdvice& a)
{
    return a.r.asRoot;
}
void adviseRunAsRoot(LinuxAdvice& a)
{
    a.add(Severity::Note,
        QStringLiteral("You are running this as root, and root may open every device: run kovra doctor as the user "
                       "who runs the program to see that user's problems."));
}

// Tried in this order; a rule may leave a mark for the ones after it.
const AdviceRule<LinuxAdvice> linuxRules[] = {
    {nothingPluggedIn, adviseNothingPluggedIn},
    {adaptersWithoutDevice, adviseAdaptersWithoutDevice},
    {brailleService, adviseBrailleService},
    {portsThatDoNotOpen, advisePortsThatDoNotOpen},
    {unreadablePortDirectory, adviseUnreadablePortDirectory},
    {troubledEntries, adviseTroubledEntries},
    {noPortAtAll, adviseNoPortAtAll},
    {devicesNotScanned, adviseDevicesNotScanned},
    {linkedEntries, adviseUnstableNames},
    {modemManagerInTheWay, adviseModemManager},
    {sharedPorts, adviseSharedPorts},
    {runAsRoot, adviseRunAsRoot},
};

} // namespace

void SerialDoctor::advise(DoctorReport& r, const ProcessTable& processes) const
{
    LinuxAdvice advice{r, processes, m_tree, m_account, m_options};
    prepare(advice);
    ApplyAdvice(advice, linuxRules, r.findings);
}

} // namespace kovra::doctor
