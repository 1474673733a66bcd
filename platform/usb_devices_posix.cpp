// On POSIX systems the serial doctor reads the USB devices from /sys itself.

#include "platform/usb_devices.h"

namespace kovra::platform {

QList<UsbDevice> ListUsbDevices()
{
    return {};
}

} // namespace kovra::platform
