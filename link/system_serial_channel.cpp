#include "link/system_serial_channel.h"

#include "link/device_serial_channel.h"
#include "link/qt_serial_channel.h"
#include "platform/serial_device.h"

namespace kovra::link {

std::unique_ptr<SerialChannel> CreateSerialChannel(platform::SerialPortNames names)
{
    if (auto device = platform::CreateSerialDevice())
        return std::make_unique<DeviceSerialChannel>(std::move(device), std::move(names));
    return std::make_unique<QtSerialChannel>(std::move(names));
}

} // namespace kovra::link
