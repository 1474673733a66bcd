// POSIX systems talk to serial ports through QSerialPort, which reads and
// writes them on the event loop without blocking: no device of our own here.

#include "platform/serial_device.h"

namespace kovra::platform {

std::unique_ptr<SerialDevice> CreateSerialDevice()
{
    return nullptr;
}

} // namespace kovra::platform
