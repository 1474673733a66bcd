#include "doctor/process_table.h"

#include <QSet>

namespace kovra::doctor {

ProcessTable::ProcessTable(const SystemTree& tree, qint64 selfPid)
    : m_tree(tree)
    , m_selfPid(selfPid)
{
    const QString proc = tree.at(QStringLiteral("/proc"));
    const QString devPrefix = tree.at(QStringLiteral("/dev")) + u'/';
    for (const QString& entry : SystemTree::list(proc, QDir::Dirs)) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        const QString dir = proc + u'/' + entry;
        const QString command = SystemTree::readLine(dir + QStringLiteral("/comm"));
        m_commands.insert(pid, command);
        const QString fdDir = dir + QStringLiteral("/fd");
        for (const QString& fd : SystemTree::list(fdDir)) {
            const QString target = SystemTree::readLink(fdDir + u'/' + fd);
            if (!target.startsWith(u'/'))
                continue; // sockets, pipes, anon inodes
            const QString device = tree.rebase(target);
            if (!device.startsWith(devPrefix))
                continue;
            if (pid == selfPid) {
                m_selfOpen.insert(device);
                continue;
            }
            QList<ProcessRef>& holders = m_openDevices[device];
            if (holders.isEmpty() || holders.constLast().pid != pid)
                holders.append(ProcessRef{pid, command});
        }
    }
}

QList<ProcessRef> ProcessTable::holdersOf(const QString& treePath) const
{
    return m_openDevices.value(treePath);
}

bool ProcessTable::isRunning(const QString& command) const
{
    for (auto it = m_commands.cbegin(); it != m_commands.cend(); ++it)
        if (it.key() != m_selfPid && it.value() == command)
            return true;
    return false;
}

ProcessRef ProcessTable::lockOwner(const QString& deviceName) const
{
    // The lock files serial programs (Qt's among them) leave: the owner's
    // pid on the first line. A dead owner's file is stale and taken over.
    for (const char* folder : {"/var/lock", "/run/lock"}) {
        const QString line =
            SystemTree::readLine(m_tree.at(QString::fromLatin1(folder) + QStringLiteral("/LCK..") + deviceName));
        bool ok = false;
        const qint64 pid = line.toLongLong(&ok);
        if (!ok || pid <= 0 || pid == m_selfPid)
            continue;
        if (SystemTree::lexists(m_tree.at(QStringLiteral("/proc/%1").arg(pid))))
            return ProcessRef{pid, m_commands.value(pid)};
    }
    return {};
}

} // namespace kovra::doctor
