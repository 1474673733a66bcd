#include "doctor/port_link.h"

#include "doctor/serial_doctor.h"
#include "platform/paths.h"
#include "platform/serial_ports.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace kovra::doctor {

namespace {

// The by-id name that ends at the same device, if udev made one.
QString stableNameOf(const SystemTree& tree, const QString& treePath)
{
    const QString end = tree.follow(treePath);
    const QString byId = tree.at(QStringLiteral("/dev/serial/by-id"));
    for (const QString& entry : SystemTree::list(byId))
        if (tree.follow(byId + u'/' + entry) == end)
            return tree.systemPath(byId + u'/' + entry);
    return QString();
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

LinkResult LinkPort(const SystemTree& tree, const QString& portDirectory, int number, const QString& device)
{
    if (number < 1 || number > platform::kHighestListedPort)
        return {false, QStringLiteral("the port must be COM1 to COM64")};
    if (portDirectory.isEmpty())
        return {false, QStringLiteral("there is no port directory to write to")};

    // "ttyUSB0" is short for /dev/ttyUSB0.
    QString target = device;
    if (!target.startsWith(u'/') && !QFileInfo::exists(target) && QFileInfo::exists(tree.at(QStringLiteral("/dev/") + target)))
        target = QStringLiteral("/dev/") + target;
    if (!target.startsWith(u'/'))
        target = QFileInfo(target).absoluteFilePath();
    const QString treePath = tree.rebase(target);
    const QFileInfo info(treePath);
    if (!info.exists())
        return {false, QStringLiteral("%1 does not exist: plug the machine in first (kovra doctor lists the serial devices present)").arg(target)};
    if (info.isDir())
        return {false, QStringLiteral("%1 is a folder, not a device").arg(target)};

    QString note;
    if (!tree.systemPath(treePath).startsWith(QLatin1String("/dev/serial/"))) {
        const QString stable = stableNameOf(tree, treePath);
        if (!stable.isEmpty()) {
            note = QStringLiteral(" (the stable name of %1, which keeps working when adapters are plugged in another order)").arg(target);
            target = stable;
        }
    }

    const QString entry = PortEntryPath(portDirectory, number);
    const QString previous = SystemTree::readLink(entry);
    if (SystemTree::lexists(entry) && previous.isEmpty())
        return {false, QStringLiteral("%1 exists and is not a link: move it away first").arg(entry)};
    if (!platform::CreateFolder(portDirectory))
        return {false, QStringLiteral("cannot create the port directory %1").arg(portDirectory)};

    // A new link renamed over the old one: the entry is never missing midway.
    const QString temporary = portDirectory + QStringLiteral("/.COM%1.%2.new").arg(number).arg(::getpid());
    ::unlink(QFile::encodeName(temporary).constData());
    if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(temporary).constData()) != 0)
        return {false, QStringLiteral("cannot make a link in %1: %2").arg(portDirectory, systemError())};
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(entry).constData()) != 0) {
        const QString error = systemError();
        ::unlink(QFile::encodeName(temporary).constData());
        return {false, QStringLiteral("cannot write %1: %2").arg(entry, error)};
    }
    QString message = QStringLiteral("COM%1 is now %2 -> %3%4").arg(number).arg(entry, target, note);
    if (!previous.isEmpty() && previous != target)
        message += QStringLiteral("; it pointed to %1 before").arg(previous);
    return {true, message};
}

} // namespace kovra::doctor
