// The Windows doctor's findings from what the system shows: COM ports with
// their names and USB ids, adapters that got no COM port, ports held by
// another program. Worked out from plain values, so they run on any system.

#include "doctor/windows_doctor.h"

#include <gtest/gtest.h>

namespace kovra::doctor {
namespace {

using platform::PortProbe;

platform::SerialPortDetails ch340(int n)
{
    return {n, QStringLiteral("COM%1").arg(n), QStringLiteral("USB-SERIAL CH340"), QStringLiteral("wch.cn"),
            QStringLiteral("1a86"), QStringLiteral("7523"), {}};
}

platform::UsbDevice usbDevice(const char* vid, const char* pid, const char* port, bool driverMissing)
{
    platform::UsbDevice d;
    d.vendorId = QLatin1String(vid);
    d.productId = QLatin1String(pid);
    d.description = QStringLiteral("USB2.0-Serial");
    d.portName = QLatin1String(port);
    d.driverMissing = driverMissing;
    d.problem = driverMissing ? 28 : 0;
    return d;
}

struct Expected {
    Severity severity;
    const char* words; // a piece of the finding's text
};

struct Case {
    const char* what;
    WindowsSystemView view;
    QList<Expected> findings;
    bool anyOpens;
};

WindowsSystemView view(const char* present, QList<platform::SerialPortDetails> described = {},
                       QList<platform::UsbDevice> usb = {}, QMap<int, PortProbe> probes = {})
{
    WindowsSystemView v;
    v.present.names = QLatin1String(present);
    v.described = std::move(described);
    v.usb = std::move(usb);
    for (auto it = probes.cbegin(); it != probes.cend(); ++it)
        v.probes.insert(it.key(), {it.value(), it.value() == PortProbe::Failed ? 31 : 0});
    return v;
}

TEST(WindowsDoctor, FindingsFollowWhatTheSystemShows)
{
    WindowsSystemView unreadable = view("");
    unreadable.present.ok = false;
    unreadable.present.status = 2;
    const Case cases[] = {
        {"nothing at all", view(""), {{Severity::Problem, "No COM port is present and no USB serial adapter"}}, false},
        {"the machine's adapter opens", view("COM3A", {ch340(3)}, {usbDevice("1a86", "7523", "COM3", false)},
                                             {{3, PortProbe::Opens}}), {}, true},
        {"a CH340 without its driver", view("", {}, {usbDevice("1a86", "7523", "", true)}),
         {{Severity::Problem, "(USB 1a86:7523, a CH340 chip), but Windows gave it no COM port"}}, false},
        {"a port another program holds", view("COM4ACOM3A", {ch340(3), ch340(4)}, {},
                                              {{3, PortProbe::Opens}, {4, PortProbe::Busy}}),
         {{Severity::Problem, "COM4 (USB-SERIAL CH340) is in use by another program"}}, true},
        {"a port that fails", view("COM3A", {ch340(3)}, {}, {{3, PortProbe::Failed}}),
         {{Severity::Problem, "COM3 (USB-SERIAL CH340) cannot be opened: system error 31."}}, false},
        {"only the computer's own port", view("COM1A", {}, {usbDevice("046d", "c077", "", false)},
                                              {{1, PortProbe::Opens}}),
         {{Severity::Warning, "None of the COM ports belongs to a USB serial adapter"}}, true},
        {"the list cannot be read", unreadable, {{Severity::Problem, "cannot be read (registry error 2)"}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DoctorReport report = ExamineWindows(c.view);
        ASSERT_EQ(report.findings.size(), c.findings.size()) << FormatDoctorReport(report).toStdString();
        for (qsizetype i = 0; i < c.findings.size(); ++i) {
            EXPECT_EQ(report.findings[i].severity, c.findings[i].severity);
            EXPECT_TRUE(report.findings[i].text.contains(QLatin1String(c.findings[i].words)))
                << report.findings[i].text.toStdString();
        }
        EXPECT_EQ(report.anyPortOpens(), c.anyOpens);
    }
}

TEST(WindowsDoctor, TheReportNamesEachPortAndTheDriverAMissingOneNeeds)
{
    const DoctorReport report = ExamineWindows(view("COM5ACOM3A", {ch340(3)},
        {usbDevice("10c4", "ea60", "", true), usbDevice("1a86", "7523", "COM3", false)},
        {{3, PortProbe::Opens}, {5, PortProbe::Busy}}));
    // The system's order of ports is kept.
    ASSERT_EQ(report.devices.size(), 2);
    EXPECT_EQ(report.devices[0].name, QStringLiteral("COM5"));
    EXPECT_EQ(report.devices[1].path, QStringLiteral("\\\\.\\COM3"));
    const QString text = FormatDoctorReport(report);
    for (const char* words : {"COM3: USB-SERIAL CH340 (wch.cn)", "USB 1a86:7523 (CH340)", "can be opened",
                              "COM5:\n      in use by another program",
                              "USB 10c4:ea60 (CP210x) USB2.0-Serial: plugged in, but no COM port (no driver installed)",
                              "the CP210x VCP driver of the chip maker Silicon Labs",
                              "Result: COM3 can be opened"})
        EXPECT_TRUE(text.contains(QLatin1String(words))) << words << "\n" << text.toStdString();
}

} // namespace
} // namespace kovra::doctor
