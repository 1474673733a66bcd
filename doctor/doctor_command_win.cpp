// `kovra doctor` on Windows: the COM ports, the adapters without one, and
// the ports other programs hold.

#include "doctor/doctor_command.h"

#include "doctor/windows_doctor.h"

namespace kovra::doctor {

QString DoctorUsage()
{
    return QStringLiteral(
        "usage: kovra doctor\n"
        "Explains why the program finds no machine, and how to fix it. It looks at the\n"
        "ports the program scans, COM1 to COM64: each COM port with its description,\n"
        "maker and USB ids as Windows knows them and whether it can be opened now (a\n"
        "port another program holds is named), and at the USB serial chips plugged in\n"
        "without a COM port, naming the driver each needs.\n"
        "\n"
        "Exit status: 0 when a port the program scans can be opened, 1 when none can,\n"
        "2 for a wrong command line.\n");
}

QStringList DoctorCommandOptions()
{
    return {};
}

int RunDoctor(const DoctorRequest& /*request*/, QTextStream& out, QTextStream& /*err*/)
{
    const DoctorReport report = ExamineWindows(WindowsSystemView::ofThisSystem());
    out << FormatDoctorReport(report);
    return report.anyPortOpens() ? 0 : 1;
}

QString DoctorFindings()
{
    return FormatDoctorReport(ExamineWindows(WindowsSystemView::ofThisSystem()));
}

} // namespace kovra::doctor
