#pragma once
// The serial hardware as /dev and /sys show it: the serial devices with their
// stable names, USB identities and drivers, and the USB serial chips that are
// plugged in but got no serial device (a braille service took them, or their
// driver is missing).

#include "doctor/doctor_report.h"
#include "doctor/known_adapters.h"
#include "doctor/system_tree.h"
#include "doctor/user_account.h"

namespace kovra::doctor {

// Every serial device present: /dev/ttyUSB*, /dev/ttyACM* and any other tty
// with hardware behind it in /sys (a ttyS only when a UART is there).
QList<SerialDevice> FindSerialDevices(const SystemTree& tree, const UserAccount& account);

// Whether /dev/ttySn has no UART behind it, as /sys tells ("type" 0).
bool IsEmptySerialSlot(const SystemTree& tree, const QString& deviceName);

// Known USB serial chips in /sys/bus/usb/devices without a tty below them.
QList<AdapterWithoutDevice> FindAdaptersWithoutDevice(const SystemTree& tree);

// The owner group of a device node and what it allows.
struct NodeAccess {
    bool exists = false;
    bool isFolder = false;
    uint gid = 0;
    QString group;
    bool groupMayOpen = false;
    bool mayOpen = false;
};
NodeAccess InspectNode(const QString& treePath, const UserAccount& account);

} // namespace kovra::doctor
