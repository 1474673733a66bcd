#include "doctor/windows_doctor.h"

#include "doctor/advice_rules.h"
#include "doctor/known_adapters.h"


namespace kovra::doctor {

namespace {

QList<int> presentNumbers(const platform::SerialPortList& list)
{
    QList<int> numbers;
    for (const QString& name : list.names.split(u'A', Qt::SkipEmptyParts)) {
        if (!name.startsWith(QLatin1String("COM")))
            continue;
        const int n = name.mid(3).toInt();
        if (n >= 1 && n <= platform::kHighestListedPort && !numbers.contains(n))
            numbers.append(n);
    }
    return numbers;
}

OpenResult openResultOf(const platform::PortProbeResult& probe, QString& detail)
{
    switch (probe.result) {
    case platform::PortProbe::Opens: return OpenResult::Opens;
    case platform::PortProbe::Busy: return OpenResult::Busy;
    case platform::PortProbe::Denied: return OpenResult::Denied;
    case platform::PortProbe::Missing: return OpenResult::NoHardware;
    case platform::PortProbe::Failed: break;
    }
    detail = QStringLiteral("system error %1").arg(probe.systemError);
    return OpenResult::Failed;
}

SerialDevice comPort(int n, const WindowsSystemView& view)
{
    SerialDevice d;
    d.name = QStringLiteral("COM%1").arg(n);
    d.path = QStringLiteral("\\\\.\\COM%1").arg(n);
    d.exists = true;
    d.ports = {n};
    for (const platform::SerialPortDetails& info : view.described) {
        if (info.number != n)
            continue;
        d.description = info.description;
        d.usb.vendorId = info.vendorId;
        d.usb.productId = info.productId;
        d.usb.manufacturer = info.manufacturer;
    }
    return d;
}

void addAdaptersWithoutPort(DoctorReport& report, const WindowsSystemView& view)
{
    for (const platform::UsbDevice& u : view.usb) {
        const KnownAdapter* known = FindKnownAdapter(u.vendorId, u.productId);
        if (!known || !u.portName.isEmpty())
            continue;
        AdapterWithoutDevice a;
        a.usb.vendorId = u.vendorId;
        a.usb.productId = u.productId;
        a.usb.manufacturer = u.manufacturer;
        a.usb.product = u.description;
        a.kernelDriver = QString::fromUtf8(known->windowsDriver);
        if (u.problem != 0)
            a.interfaceDriver = u.driverMissing ? QStringLiteral("no driver installed")
                                                : QStringLiteral("device manager problem code %1").arg(u.problem);
        report.adaptersWithoutDevice.append(a);
    }
}

QString portWords(const DoctorReport& r, int n)
{
    for (const SerialDevice& d : r.devices)
        if (d.ports.contains(n) && !d.description.isEmpty())
            return QStringLiteral("COM%1 (%2)").arg(n).arg(d.description);
    return QStringLiteral("COM%1").arg(n);
}

struct WindowsAdvice {
    DoctorReport& r;
    const WindowsSystemView& view;
};

bool anyScanned(const WindowsAdvice& a, OpenResult result)
{
    return std::any_of(a.r.scanned.cbegin(), a.r.scanned.cend(), [&](const ScannedPort& p) { return p.open == result; });
}

bool anyUsbPort(const DoctorReport& r)
{
    return std::any_of(r.devices.cbegin(), r.devices.cend(), [](const SerialDevice& d) { return !d.usb.isEmpty(); });
}

const Fix deviceManagerFix{
    QStringLiteral("Open the Device Manager and look under \"Ports (COM & LPT)\" while you plug the machine in: "
                   "a new COM port should appear."),
    {QStringLiteral("devmgmt.msc")}};

const AdviceRule<WindowsAdvice> windowsRules[] = {
    // The system's list of ports cannot be read.
    {[](const WindowsAdvice& a) { return !a.view.present.ok; },
     [](WindowsAdvice& a) {
         a.r.findings.append(MakeFinding(Severity::Problem,
             QStringLiteral("Windows' list of serial ports cannot be read (registry error %1).").arg(a.view.present.status)));
     }},
    // Nothing plugged in.
    {[](const WindowsAdvice& a) {
         return a.view.present.ok && a.r.devices.isEmpty() && a.r.adaptersWithoutDevice.isEmpty();
     },
     [](WindowsAdvice& a) {
         a.r.findings.append(MakeFinding(Severity::Problem,
             QStringLiteral("No COM port is present and no USB serial adapter is plugged in."),
             {Fix{QStringLiteral("Check that the machine is switched on and its USB cable is plugged in."), {}},
              deviceManagerFix,
              Fix{QStringLiteral("If nothing shows, try another cable or USB socket: some cables carry power only."), {}}}));
     }},
    // A USB serial chip without a COM port: its driver is missing.
    {[](const WindowsAdvice& a) { return !a.r.adaptersWithoutDevice.isEmpty(); },
     [](WindowsAdvice& a) {
         for (const AdapterWithoutDevice& adapter : a.r.adaptersWithoutDevice) {
             const KnownAdapter* known = FindKnownAdapter(adapter.usb.vendorId, adapter.usb.productId);
             a.r.findings.append(MakeFinding(Severity::Problem,
                 QStringLiteral("A USB serial adapter is plugged in (USB %1, a %2 chip), but Windows gave it no COM "
                                "port: its driver is not installed.")
                     .arg(adapter.usb.id(), QString::fromLatin1(known ? known->chip : "serial")),
                 {Fix{QStringLiteral("Install %1, then unplug the adapter and plug it in again.").arg(adapter.kernelDriver), {}},
                  deviceManagerFix}));
         }
     }},
    // Ports another program holds.
    {[](const WindowsAdvice& a) { return anyScanned(a, OpenResult::Busy); },
     [](WindowsAdvice& a) {
         for (const ScannedPort& p : a.r.scanned)
             if (p.open == OpenResult::Busy)
                 a.r.findings.append(MakeFinding(Severity::Problem,
                     QStringLiteral("%1 is in use by another program, and the program cannot open it while it is.")
                         .arg(portWords(a.r, p.number)),
                     {Fix{QStringLiteral("Close the program that uses it (a terminal, another engraving or printing "
                                         "program, or a second Kovra window), then connect again."), {}}}));
     }},
    // Ports that fail to open for another reason.
    {[](const WindowsAdvice& a) { return anyScanned(a, OpenResult::Failed); },
     [](WindowsAdvice& a) {
         for (const ScannedPort& p : a.r.scanned)
             if (p.open == OpenResult::Failed)
                 a.r.findings.append(MakeFinding(Severity::Problem,
                     QStringLiteral("%1 cannot be opened: %2.").arg(portWords(a.r, p.number), p.detail)));
     }},
    // Only ports that are no USB adapter (the computer's own COM1).
    {[](const WindowsAdvice& a) {
         return !a.r.devices.isEmpty() && !anyUsbPort(a.r) && a.r.adaptersWithoutDevice.isEmpty();
     },
     [](WindowsAdvice& a) {
         a.r.findings.append(MakeFinding(Severity::Warning,
             QStringLiteral("None of the COM ports belongs to a USB serial adapter, as far as Windows tells: the "
                            "machine's adapter is not plugged in, or Windows does not know it."),
             {deviceManagerFix}));
     }},
};

} // namespace

WindowsSystemView WindowsSystemView::ofThisSystem()
{
    WindowsSystemView view;
    const platform::SerialPortNames names = platform::SerialPortNames::fromEnvironment();
    view.present = names.listPresent();
    view.described = platform::DescribeSerialPorts();
    view.usb = platform::ListUsbDevices();
    for (int n : presentNumbers(view.present))
        view.probes.insert(n, platform::ProbeSerialPort(names.deviceName(n)));
    return view;
}

DoctorReport ExamineWindows(const WindowsSystemView& view)
{
    DoctorReport report;
    report.system = DoctorSystem::Windows;
    report.defaultTable = false;
    for (int n : presentNumbers(view.present)) {
        SerialDevice d = comPort(n, view);
        ScannedPort p;
        p.number = n;
        p.name = d.path;
        p.device = d.name;
        p.open = openResultOf(view.probes.value(n, {platform::PortProbe::Missing, 0}), p.detail);
        d.mayOpen = p.open == OpenResult::Opens;
        report.devices.append(d);
        report.scanned.append(p);
    }
    addAdaptersWithoutPort(report, view);
    WindowsAdvice advice{report, view};
    ApplyAdvice(advice, windowsRules, report.findings);
    return report;
}

} // namespace kovra::doctor
