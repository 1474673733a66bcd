#pragma once
// The folder the open and save dialogs start in: the last one used, kept in
// section "Files" of the configuration file.

#include <QString>

namespace kovra::shell {

class ConfigFile;

// The folder last used; fallback when none is kept or it is gone.
QString ReadLastFolder(const ConfigFile& config, const QString& fallback);
// False when it could not be written (then it is only not remembered).
bool WriteLastFolder(ConfigFile& config, const QString& folder);

} // namespace kovra::shell
