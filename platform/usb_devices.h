#pragma once
// The USB devices plugged in now, as the system's device database knows
// them: enough to tell a USB-serial chip that got a COM port from one whose
// driver is missing. Windows reads its device manager's data; elsewhere the
// list is empty (the serial doctor reads /sys there itself).

#include <QList>
#include <QString>

namespace kovra::platform {

struct UsbDevice {
    QString vendorId;        // "1a86", lower-case hex
    QString productId;
    QString description;     // as the device or its driver names it
    QString manufacturer;
    QString instanceId;      // the system's name for this device
    QString portName;        // "COM5" when it (or a device below it) is a COM port
    int problem = 0;         // the device manager's problem code; 0 none
    bool driverMissing = false; // no driver installed for it
};

QList<UsbDevice> ListUsbDevices();

} // namespace kovra::platform
