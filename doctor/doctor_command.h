#pragma once
// `kovra doctor` as this system has it: why the program finds no machine,
// and how to fix it. Its usage text, the command itself, and the findings as
// text for the tutorial's window.

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace kovra::doctor {

QString DoctorUsage();
// args are the words after "doctor". Exit status: 0 when a port the program
// scans can be opened (or what was asked for was made), 1 when not, 2 for a
// wrong command line.
int RunDoctor(const QStringList& args, QTextStream& out, QTextStream& err);
// The findings on the running system, as FormatDoctorReport writes them.
QString DoctorFindings();

} // namespace kovra::doctor
