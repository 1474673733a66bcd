#pragma once
// The processes the doctor can see in /proc: their names, the devices they
// hold open, and the owners of the serial lock files in /var/lock and
// /run/lock. Other users' open files are visible to root alone; their names
// are visible to everyone, which is enough to spot a service.

#include "doctor/doctor_report.h"
#include "doctor/system_tree.h"

#include <QHash>
#include <QSet>

namespace kovra::doctor {

class ProcessTable {
public:
    // selfPid is left out of the holders: the doctor's own program is not
    // "another program".
    ProcessTable(const SystemTree& tree, qint64 selfPid);

    // Processes other than this one with the device (tree path) open.
    QList<ProcessRef> holdersOf(const QString& treePath) const;
    bool heldBySelf(const QString& treePath) const { return m_selfOpen.contains(treePath); }
    // A running process whose name is command.
    bool isRunning(const QString& command) const;
    // A live process other than this one owning the device's lock file.
    ProcessRef lockOwner(const QString& deviceName) const;

private:
    const SystemTree& m_tree;
    qint64 m_selfPid;
    QHash<qint64, QString> m_commands;
    QHash<QString, QList<ProcessRef>> m_openDevices;
    QSet<QString> m_selfOpen;
};

} // namespace kovra::doctor
