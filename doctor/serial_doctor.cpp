#include "doctor/serial_doctor.h"

#include "doctor/process_table.h"
#include "doctor/serial_devices.h"
#include "platform/serial_ports.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kovra::doctor {

Q_LOGGING_CATEGORY(lcDoctor, "kovra.doctor", QtInfoMsg)

QString PortEntryPath(const QString& portDirectory, int number)
{
    return portDirectory + QStringLiteral("/COM%1").arg(number);
}

int ParsePortName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^(?:COM)?0*([0-9]{1,2})$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(name.trimmed());
    if (!m.hasMatch())
        return 0;
    const int n = m.captured(1).toInt();
    return n >= 1 && n <= platform::kHighestListedPort ? n : 0;
}

QString ShellQuote(const QString& text)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    if (plain.match(text).hasMatch())
        return text;
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}

SerialDoctor::SerialDoctor(SystemTree tree, UserAccount account, DoctorOptions options)
    : m_tree(std::move(tree))
    , m_account(std::move(account))
    , m_options(std::move(options))
{
}

SerialDoctor SerialDoctor::ForThisProgram(const QString& root)
{
    const platform::SerialPortNames names = platform::SerialPortNames::fromEnvironment();
    DoctorOptions options;
    options.portDirectory = names.portDirectory();
    options.defaultTable = names.usesDefaultTable();
    SystemTree tree(root);
    options.openPorts = tree.isRunningSystem();
    return SerialDoctor(std::move(tree), UserAccount::current(), options);
}

DoctorReport SerialDoctor::Examine() const
{
    DoctorReport report;
    report.portDirectory = m_options.portDirectory;
    report.defaultTable = m_options.defaultTable;
    report.userName = m_account.name;
    report.asRoot = m_account.isRoot();

    const ProcessTable processes(m_tree, m_account.pid);
    report.devices = FindSerialDevices(m_tree, m_account);
    for (SerialDevice& d : report.devices)
        d.holders = processes.holdersOf(m_tree.at(d.path));
    report.adaptersWithoutDevice = FindAdaptersWithoutDevice(m_tree);
    readPortDirectory(report);
    scanPorts(report, processes);
    advise(report, processes);
    qCDebug(lcDoctor) << "examined" << report.devices.size() << "devices," << report.scanned.size()
                      << "ports present," << report.findings.size() << "findings";
    return report;
}

void SerialDoctor::readPortDirectory(DoctorReport& report) const
{
    const QString dir = m_options.portDirectory;
    const QFileInfo info(dir);
    report.portDirectoryExists = !dir.isEmpty() && info.isDir();
    if (!report.portDirectoryExists)
        return;
    report.portDirectoryReadable = info.isReadable() && info.isExecutable();
    static const QRegularExpression exact(QStringLiteral("^COM([1-9][0-9]?)$"));
    for (const QString& name : SystemTree::list(dir)) {
        PortEntry e;
        e.fileName = name;
        const QRegularExpressionMatch m = exact.match(name);
        if (m.hasMatch() && m.captured(1).toInt() <= platform::kHighestListedPort)
            e.number = m.captured(1).toInt();
        e.path = dir + u'/' + name;
        e.isLink = !SystemTree::readLink(e.path).isEmpty();
        const QString end = m_tree.follow(e.path);
        if (e.isLink)
            e.target = m_tree.systemPath(end);
        e.exists = QFileInfo::exists(end);
        report.entries.append(e);
    }
    std::stable_sort(report.entries.begin(), report.entries.end(), [](const PortEntry& a, const PortEntry& b) {
        if ((a.number == 0) != (b.number == 0))
            return a.number != 0;
        return a.number < b.number;
    });
}

void SerialDoctor::scanPorts(DoctorReport& report, const ProcessTable& processes) const
{
    const bool haveDirectory = report.portDirectoryExists;
    for (int n = 1; n <= platform::kHighestListedPort; ++n) {
        // The same order as the program: the directory's entry wins, even a dangling one.
        QString name;
        PortSource source = PortSource::Table;
        const QString entry = haveDirectory ? PortEntryPath(m_options.portDirectory, n) : QString();
        if (!entry.isEmpty() && SystemTree::lexists(entry)) {
            name = entry;
            source = PortSource::Directory;
        } else if (m_options.defaultTable) {
            name = m_tree.at(platform::DefaultSerialDevice(n));
        } else {
            continue;
        }
        const QString end = m_tree.follow(name);
        if (!QFileInfo::exists(end))
            continue; // an absent port, as for the program
        ScannedPort port;
        port.number = n;
        port.source = source;
        port.name = source == PortSource::Directory ? name : m_tree.systemPath(name);
        port.device = m_tree.systemPath(end);
        port.holders = processes.holdersOf(end);
        port.open = tryPort(end, processes, port);
        for (SerialDevice& d : report.devices)
            if (m_tree.at(d.path) == end)
                d.ports.append(n);
        report.scanned.append(port);
    }
}

OpenResult SerialDoctor::tryPort(const QString& treePath, const ProcessTable& processes, ScannedPort& port) const
{
    const NodeAccess access = InspectNode(treePath, m_account);
    if (access.isFolder) {
        port.detail = QStringLiteral("it is a folder, not a device");
        return OpenResult::Failed;
    }
    const QString deviceName = QFileInfo(treePath).fileName();
    const bool inDev = treePath.startsWith(m_tree.at(QStringLiteral("/dev")) + u'/');
    if (inDev && IsEmptySerialSlot(m_tree, deviceName))
        return OpenResult::NoHardware;
    if (!access.mayOpen)
        return OpenResult::Denied;
    if (processes.heldBySelf(treePath)) {
        port.detail = QStringLiteral("this program has it open now");
        return OpenResult::Opens;
    }
    const ProcessRef locker = inDev ? processes.lockOwner(deviceName) : ProcessRef{};
    if (locker.pid > 0) {
        if (std::none_of(port.holders.cbegin(), port.holders.cend(),
                         [&](const ProcessRef& h) { return h.pid == locker.pid; }))
            port.holders.append(locker);
        port.detail = QStringLiteral("its lock file belongs to a running process");
        return OpenResult::Busy;
    }
    if (!m_options.openPorts)
        return OpenResult::Opens;
    // Non-blocking, and never as a controlling terminal; closed again at once.
    const int fd = ::open(QFile::encodeName(treePath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return OpenResult::Opens;
    }
    const int error = errno;
    qCDebug(lcDoctor) << "cannot open" << treePath << std::strerror(error);
    switch (error) {
    case EACCES:
    case EPERM:
        return OpenResult::Denied;
    case EBUSY:
        return OpenResult::Busy;
    case EIO:
    case ENXIO:
    case ENODEV:
        return OpenResult::NoHardware;
    default:
        port.detail = QString::fromLocal8Bit(std::strerror(error));
        return OpenResult::Failed;
    }
}

} // namespace kovra::doctor
