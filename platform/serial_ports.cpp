#include "platform/serial_ports.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#ifdef _WIN32
#include <windows.h>
#ifdef _MSC_VER
#pragma comment(lib, "advapi32")
#endif
#else
#include <cerrno>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace kovra::platform {

SerialPortNames::SerialPortNames(QString portDirectory, bool useDefaultTable)
    : m_portDirectory(std::move(portDirectory))
    , m_useDefaultTable(useDefaultTable)
{
}

QString SerialPortNames::defaultPortDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/kovra/ports");
}

SerialPortNames SerialPortNames::fromEnvironment()
{
    QString dir = qEnvironmentVariable("KOVRA_PORT_DIR");
    if (dir.isEmpty())
        dir = defaultPortDirectory();
    // KOVRA_PORT_TABLE=0 leaves the default device table out: only the port
    // directory names ports (tests and demos keep away from real devices).
    const bool table = qEnvironmentVariable("KOVRA_PORT_TABLE") != QLatin1String("0");
    return SerialPortNames(dir, table);
}

QString DefaultSerialDevice(int n)
{
    if (n >= 1 && n <= 16)
        return QStringLiteral("/dev/ttyUSB%1").arg(n - 1);
    if (n >= 17 && n <= 32)
        return QStringLiteral("/dev/ttyACM%1").arg(n - 17);
    if (n >= 33 && n <= kHighestListedPort)
        return QStringLiteral("/dev/ttyS%1").arg(n - 33);
    return QString();
}

#ifdef _WIN32

QString SerialPortNames::deviceName(int n) const
{
    // This form also reaches ports above COM9.
    return n >= 1 ? QStringLiteral("\\\\.\\COM%1").arg(n) : QString();
}

SerialPortList SerialPortNames::listPresent() const
{
    SerialPortList list;
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key);
    if (status != ERROR_SUCCESS || !key) {
        list.ok = false;
        list.status = int(status);
        return list;
    }
    for (DWORD index = 0;; ++index) {
        char name[255];
        BYTE data[512];
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        // The data is the port name with its terminating zero.
        qsizetype length = 0;
        while (length < qsizetype(dataSize) && data[length] != 0)
            ++length;
        list.names += QString::fromLatin1(reinterpret_cast<const char*>(data), length);
        list.names += QLatin1Char('A');
    }
    RegCloseKey(key);
    return list;
}

SerialDeviceAccess CheckSerialDeviceAccess(const QString&)
{
    // Access denied on Windows means another program holds the port.
    return {};
}

qint64 SerialOutputQueued(qintptr handle)
{
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(reinterpret_cast<HANDLE>(handle), &errors, &status))
        return -1;
    return qint64(status.cbOutQue);
}

#else

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

#endif

} // namespace kovra::platform
