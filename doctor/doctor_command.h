#pragma once
// `kovra doctor` as this system has it: why the program finds no machine,
// and how to fix it. Its usage text, the command itself, and the findings as
// text for the tutorial's window.

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace kovra::doctor {

// What the command line asked for, read by the program's command-line parser.
struct DoctorRequest {
    QString root;          // read ROOT/dev, /sys, /proc and /etc instead of the system's
    bool udevRule = false; // print the udev rule ...
    QString ruleDevice;    // ... for this device (empty: every adapter present)
    QString linkPort;      // make the port directory entry COMn ...
    QString linkDevice;    // ... pointing to this device
};

QString DoctorUsage();
// The options this system's doctor takes, of "root", "udev-rule" and "link".
QStringList DoctorCommandOptions();
// Exit status: 0 when a port the program scans can be opened (or what was
// asked for was made), 1 when not, 2 for a request that makes no sense (said
// on err, with the usage).
int RunDoctor(const DoctorRequest& request, QTextStream& out, QTextStream& err);
// The findings on the running system, as FormatDoctorReport writes them.
QString DoctorFindings();

} // namespace kovra::doctor
