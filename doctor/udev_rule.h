#pragma once
// The udev rule `kovra doctor --udev-rule` prints: for each adapter, a stable
// name (/dev/kovra-engraver), access for the user logged in at the computer
// (the "uaccess" tag), and a word to the modem manager to leave it alone.

#include "doctor/doctor_report.h"

namespace kovra::doctor {

inline constexpr char UdevRuleFile[] = "/etc/udev/rules.d/70-kovra-engraver.rules";
inline constexpr char StableDeviceName[] = "/dev/kovra-engraver";

// The rule text for these adapters; none: the usual chips (CH340, CP210x).
QString UdevRule(const QList<UsbIdentity>& adapters);

// The commands that install the rule for device (empty: the adapters present).
QStringList UdevRuleInstallCommands(const QString& device = {});

} // namespace kovra::doctor
