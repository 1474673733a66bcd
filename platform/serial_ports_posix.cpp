// Serial ports on POSIX systems: the port directory, the default device
// table, and the device node's permissions.

#include "platform/serial_ports.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace kovra::platform {

QString SerialPortNames::deviceName(int n) const
{
    if (n < 1)
        return QString();
    if (!m_portDirectory.isEmpty()) {
        const QString entry = m_portDirectory + QStringLiteral("/COM%1").arg(n);
        struct stat st;
        // The entry itself wins, even a link whose target is gone (then the
        // port is simply absent).
        if (::lstat(QFile::encodeName(entry).constData(), &st) == 0)
            return entry;
    }
    return m_useDefaultTable ? DefaultSerialDevice(n) : QString();
}

SerialPortList SerialPortNames::listPresent() const
{
    SerialPortList list;
    for (int n = 1; n <= kHighestListedPort; ++n) {
        const QString device = deviceName(n);
        if (device.isEmpty())
            continue;
        struct stat st;
        if (::stat(QFile::encodeName(device).constData(), &st) == 0) {
            list.names += QStringLiteral("COM%1A").arg(n);
            continue;
        }
        const int error = errno;
        // Missing devices and dangling links are absent ports; anything else
        // (an unreadable port directory) means the list cannot be read.
        if (error != ENOENT && error != ENOTDIR && error != ELOOP) {
            list.ok = false;
            list.status = error;
            list.names.clear();
            return list;
        }
    }
    return list;
}

SerialDeviceAccess CheckSerialDeviceAccess(const QString& device)
{
    SerialDeviceAccess access;
    const QByteArray path = QFile::encodeName(device);
    struct stat st;
    if (::stat(path.constData(), &st) != 0)
        return access;
    if (::access(path.constData(), R_OK | W_OK) == 0 || errno != EACCES)
        return access;
    access.denied = true;
    if (const struct group* owner = ::getgrgid(st.st_gid))
        access.group = QString::fromLocal8Bit(owner->gr_name);
    else
        access.group = QString::number(st.st_gid);
    return access;
}

qint64 SerialOutputQueued(qintptr handle)
{
    int queued = 0;
    if (handle < 0 || ::ioctl(int(handle), TIOCOUTQ, &queued) != 0)
        return -1;
    return queued;
}

PortProbeResult ProbeSerialPort(const QString& device)
{
    // Non-blocking, and never as a controlling terminal; closed again at once.
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return {PortProbe::Opens, 0};
    }
    const int error = errno;
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return {PortProbe::Missing, error};
    case EACCES:
    case EPERM:
        return {PortProbe::Denied, error};
    case EBUSY:
        return {PortProbe::Busy, error};
    default:
        return {PortProbe::Failed, error};
    }
}

} // namespace kovra::platform
