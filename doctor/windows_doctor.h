#pragma once
// The serial doctor for Windows: every COM port the program's scan can
// reach, with what the system tells of it (description, maker, USB ids) and
// whether it opens; the USB serial chips that are plugged in but got no COM
// port, named with the driver to install; and the ports another program holds.
//
// What it looks at is gathered first into plain values (ofThisSystem), so the
// findings are worked out, and tested, on any system.

#include "doctor/doctor_report.h"
#include "platform/serial_ports.h"
#include "platform/usb_devices.h"

#include <QMap>

namespace kovra::doctor {

struct WindowsSystemView {
    platform::SerialPortList present;                  // the program's port list
    QList<platform::SerialPortDetails> described;      // what the device database tells
    QList<platform::UsbDevice> usb;
    QMap<int, platform::PortProbeResult> probes;       // each present port, opened once

    // The running system: the program's own port list, each of those ports
    // opened and closed again at once.
    static WindowsSystemView ofThisSystem();
};

// The report on what the view shows, findings included.
DoctorReport ExamineWindows(const WindowsSystemView& view);

} // namespace kovra::doctor
