#pragma once
// The serial channel for this system: on the platform's own serial device
// where it has one (Windows, where QSerialPort waits for port events that
// not every driver, nor Wine, delivers), else on QSerialPort.

#include "link/serial_channel.h"
#include "platform/serial_ports.h"

#include <memory>

namespace kovra::link {

std::unique_ptr<SerialChannel> CreateSerialChannel(
    platform::SerialPortNames names = platform::SerialPortNames::fromEnvironment());

} // namespace kovra::link
