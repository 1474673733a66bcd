#pragma once
// What the port scan looked at, said to a user who waited in vain for the
// machine: the port directory and the entries it holds, the device table
// when it is used, and the ports present.

#include "platform/serial_ports.h"

#include <QString>

namespace kovra::app {

// One sentence without a capital or full stop, e.g. "the scan looked only
// at the port directory /tmp/p (KOVRA_PORT_TABLE=0), which holds COM3;
// present: COM3".
QString DescribeScannedPorts(const platform::SerialPortNames& names);

} // namespace kovra::app
