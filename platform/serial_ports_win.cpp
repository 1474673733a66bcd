// Serial ports on Windows: "\\.\COMn", the system's list of ports, and a
// port's state as CreateFile reports it.

#include "platform/serial_ports.h"

#include <QStringList>

#include <windows.h>

namespace kovra::platform {

namespace {

QString comDevice(int n)
{
    // This form also reaches ports above COM9.
    return QStringLiteral("\\\\.\\COM%1").arg(n);
}

// The registry's list, where serial drivers register their ports, in its
// order. status is the registry's error code.
QStringList registryPorts(LONG& status)
{
    QStringList names;
    HKEY key = nullptr;
    status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key);
    if (status != ERROR_SUCCESS || !key)
        return names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[255];
        BYTE data[512];
        DWORD nameSize = 255;
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueW(key, index, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        if (type != REG_SZ)
            continue;
        // The data is the port name with its terminating zero.
        const auto* text = reinterpret_cast<const wchar_t*>(data);
        qsizetype length = 0;
        while (length < qsizetype(dataSize / sizeof(wchar_t)) && text[length] != 0)
            ++length;
        names.append(QString::fromWCharArray(text, length));
    }
    RegCloseKey(key);
    return names;
}

// A COM name the system knows as a device, without opening it: first the
// DOS device table, then a query-only open, which reaches the driver for a
// port that has no entry there (and touches none of the port's lines).
bool existsByName(int n)
{
    const std::wstring dos = QStringLiteral("COM%1").arg(n).toStdWString();
    wchar_t target[512];
    if (QueryDosDeviceW(dos.c_str(), target, 512) != 0)
        return true;
    const std::wstring device = comDevice(n).toStdWString();
    HANDLE h = CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return true;
    }
    const DWORD error = GetLastError();
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

} // namespace

QString SerialPortNames::deviceName(int n) const
{
    return n >= 1 ? comDevice(n) : QString();
}

SerialPortList SerialPortNames::listPresent() const
{
    SerialPortList list;
    LONG status = ERROR_SUCCESS;
    const QStringList listed = registryPorts(status);
    if (status != ERROR_SUCCESS) {
        list.ok = false;
        list.status = int(status);
        return list;
    }
    for (const QString& name : listed)
        list.names += name + QLatin1Char('A');
    for (int n = 1; n <= kHighestListedPort; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        if (!listed.contains(name, Qt::CaseInsensitive) && existsByName(n))
            list.names += name + QLatin1Char('A');
    }
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

PortProbeResult ProbeSerialPort(const QString& device)
{
    const std::wstring name = device.toStdWString();
    HANDLE h = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return {PortProbe::Opens, 0};
    }
    const DWORD error = GetLastError();
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return {PortProbe::Missing, int(error)};
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        // Serial ports are opened exclusively: denied means held.
        return {PortProbe::Busy, int(error)};
    default:
        return {PortProbe::Failed, int(error)};
    }
}

} // namespace kovra::platform
