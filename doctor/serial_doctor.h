#pragma once
// The serial doctor: why the program finds no machine, and how to fix it.
// It looks at exactly the ports the program's scan looks at (the port
// directory, then the default table unless it is off), at every serial device
// present, and at the services known to take adapters away, and writes down
// each problem with the command that fixes it.

#include "doctor/doctor_report.h"
#include "doctor/system_tree.h"
#include "doctor/user_account.h"

#include <QLoggingCategory>

namespace kovra::doctor {

Q_DECLARE_LOGGING_CATEGORY(lcDoctor)

struct DoctorOptions {
    QString portDirectory;     // may be empty: no directory
    bool defaultTable = true;
    // Try to open every port the scan would open (closed again at once): the
    // only way to see a port another program holds exclusively, or a UART
    // name with nothing behind it. Off for fake trees.
    bool openPorts = false;
};

class ProcessTable;

class SerialDoctor {
public:
    SerialDoctor(SystemTree tree, UserAccount account, DoctorOptions options);

    // The running system as the program sees it: $KOVRA_PORT_DIR (or the
    // default port directory) and $KOVRA_PORT_TABLE, the current user. A root
    // other than "/" reads a copy of a system's folders instead (no ports opened).
    static SerialDoctor ForThisProgram(const QString& root = {});

    DoctorReport Examine() const;

    const SystemTree& tree() const { return m_tree; }
    const DoctorOptions& options() const { return m_options; }

private:
    void readPortDirectory(DoctorReport& report) const;
    void scanPorts(DoctorReport& report, const ProcessTable& processes) const;
    OpenResult tryPort(const QString& treePath, const ProcessTable& processes, ScannedPort& port) const;
    // The findings and their fixes (doctor_advice.cpp).
    void advise(DoctorReport& report, const ProcessTable& processes) const;

    SystemTree m_tree;
    UserAccount m_account;
    DoctorOptions m_options;
};

// The port directory entry a port number has: "<dir>/COMn".
QString PortEntryPath(const QString& portDirectory, int number);
// A port name "COM3" or "3" as its number; 0 outside 1..64.
int ParsePortName(const QString& name);
// Quotes a path for a POSIX shell when it needs it.
QString ShellQuote(const QString& text);

} // namespace kovra::doctor
