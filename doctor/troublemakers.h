#pragma once
// Services known to take a USB serial adapter away from the program: the
// braille display service, which claims common adapter chips for braille
// displays (the serial device vanishes moments after it appears), and the
// modem manager, which probes new ttyACM/ttyUSB devices with modem commands.

#include "doctor/process_table.h"
#include "doctor/system_tree.h"

#include <QStringList>

namespace kovra::doctor {

struct BrailleService {
    bool running = false;
    QString rulesFile;          // the active udev rules that start it (system form)
    QStringList claimedIds;     // of the ids asked about, those its rules name
    QStringList units;          // its systemd units that exist and are not masked

    bool present() const { return running || !rulesFile.isEmpty(); }
};

// ids: "vvvv:pppp" adapter ids to look for in its udev rules.
BrailleService FindBrailleService(const SystemTree& tree, const ProcessTable& processes, const QStringList& ids);

// Whether a udev rules line names the adapter, in either form these rules use:
// ENV{PRODUCT}=="1a86/7523/*" or ATTRS{idVendor}=="1a86" ... ATTRS{idProduct}=="7523".
bool RuleLineNamesAdapter(const QString& line, const QString& vendorId, const QString& productId);

bool ModemManagerRunning(const ProcessTable& processes);

} // namespace kovra::doctor
