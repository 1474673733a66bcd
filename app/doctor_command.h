#pragma once
// "kovra doctor": why the program finds no machine, and how to fix it; also
// prints the udev rule for the machine's adapter and makes port directory
// entries. The examination itself lives in doctor/.

#include <QStringList>
#include <QTextStream>

namespace kovra::app {

QString DoctorUsage();

// args are the words after "doctor". Exit status: 0 when a port the program
// scans can be opened (or the rule or link was made), 1 when not, 2 for a
// wrong command line.
int RunDoctorCommand(const QStringList& args, QTextStream& out, QTextStream& err);
// From main: no window and no display needed.
int RunDoctorCommand(int argc, char** argv);

} // namespace kovra::app
