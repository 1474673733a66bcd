// USB devices from the device manager's data (SetupAPI, Configuration
// Manager): each with its ids, its names, its problem code, and the COM port
// it carries, found by walking up from every device of the Ports class.

#include "platform/usb_devices.h"

#include <QHash>
#include <QRegularExpression>

#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>

namespace kovra::platform {

namespace {

// The Ports (COM & LPT) device class.
const GUID PortsClass = {0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

QString instanceIdOf(DEVINST node)
{
    wchar_t id[MAX_DEVICE_ID_LEN + 1] = {};
    if (CM_Get_Device_IDW(node, id, MAX_DEVICE_ID_LEN, 0) != CR_SUCCESS)
        return {};
    return QString::fromWCharArray(id).toUpper();
}

QString registryText(HDEVINFO set, SP_DEVINFO_DATA& data, DWORD property)
{
    wchar_t buffer[1024] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(set, &data, property, &type, reinterpret_cast<BYTE*>(buffer),
                                           sizeof buffer - sizeof(wchar_t), nullptr))
        return {};
    // A multi-string (hardware ids) gives its first string, the most precise.
    return QString::fromWCharArray(buffer);
}

QString portNameOf(HDEVINFO set, SP_DEVINFO_DATA& data)
{
    HKEY key = SetupDiOpenDevRegKey(set, &data, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE)
        return {};
    wchar_t name[64] = {};
    DWORD size = sizeof name - sizeof(wchar_t);
    DWORD type = 0;
    const LONG status = RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_SZ ? QString::fromWCharArray(name) : QString();
}

// Every device at or above a COM port, by instance id, with that port's name.
QHash<QString, QString> portsByAncestor()
{
    QHash<QString, QString> ports;
    HDEVINFO set = SetupDiGetClassDevsW(&PortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return ports;
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof data;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &data); ++i) {
        const QString port = portNameOf(set, data);
        if (!port.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
            continue;
        DEVINST node = data.DevInst;
        for (int depth = 0; depth < 8; ++depth) {
            const QString id = instanceIdOf(node);
            if (!id.isEmpty() && !ports.contains(id))
                ports.insert(id, port);
            DEVINST parent = 0;
            if (CM_Get_Parent(&parent, node, 0) != CR_SUCCESS)
                break;
            node = parent;
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return ports;
}

} // namespace

QList<UsbDevice> ListUsbDevices()
{
    QList<UsbDevice> devices;
    const QHash<QString, QString> ports = portsByAncestor();
    HDEVINFO set = SetupDiGetClassDevsW(nullptr, L"USB", nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return devices;
    static const QRegularExpression ids(QStringLiteral("VID_([0-9A-F]{4}).*PID_([0-9A-F]{4})"),
                                        QRegularExpression::CaseInsensitiveOption);
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof data;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &data); ++i) {
        UsbDevice d;
        d.instanceId = instanceIdOf(data.DevInst);
        const QRegularExpressionMatch m = ids.match(d.instanceId);
        if (!m.hasMatch())
            continue; // hubs and host controllers
        d.vendorId = m.captured(1).toLower();
        d.productId = m.captured(2).toLower();
        d.description = registryText(set, data, SPDRP_FRIENDLYNAME);
        if (d.description.isEmpty())
            d.description = registryText(set, data, SPDRP_DEVICEDESC);
        d.manufacturer = registryText(set, data, SPDRP_MFG);
        d.portName = ports.value(d.instanceId);
        ULONG status = 0;
        ULONG problem = 0;
        if (CM_Get_DevNode_Status(&status, &problem, data.DevInst, 0) == CR_SUCCESS && (status & DN_HAS_PROBLEM)) {
            d.problem = int(problem);
            d.driverMissing = problem == CM_PROB_FAILED_INSTALL || problem == CM_PROB_NOT_CONFIGURED;
        }
        devices.append(d);
    }
    SetupDiDestroyDeviceInfoList(set);
    return devices;
}

} // namespace kovra::platform
