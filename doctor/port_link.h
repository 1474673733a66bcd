#pragma once
// `kovra doctor --link COMn DEVICE`: the port directory entry made for the
// user, so nobody has to write symbolic links by hand. A device with a stable
// /dev/serial/by-id name is linked by that name, which survives replugging.

#include "doctor/system_tree.h"

namespace kovra::doctor {

struct LinkResult {
    bool ok = false;
    QString message;   // what was done, or why nothing was
};

LinkResult LinkPort(const SystemTree& tree, const QString& portDirectory, int number, const QString& device);

} // namespace kovra::doctor
