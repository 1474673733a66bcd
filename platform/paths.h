#pragma once
// The program names two fixed Windows paths: its configuration folder
// "C:\Kovra" and the driver installer "C:\Q-Var\Driver.exe". Everything that
// touches the disk asks MapProgramPath for the place those names stand for here.
//
// On Windows the paths are used as they are, unless $KOVRA_CONFIG_DIR names
// another folder for "C:\Kovra" (tests and several users of one machine).
// Elsewhere "C:\" stands for the per-user kovra folder: $KOVRA_CONFIG_DIR when set, else the XDG config
// folder + "/kovra" (e.g. ~/.config/kovra). "C:\Kovra" is that folder itself,
// so "C:\Kovra\Config.ini" is <kovra>/Config.ini and "C:\Q-Var\Driver.exe" is
// <kovra>/Q-Var/Driver.exe. $KOVRA_DRIVER, when set, names the installer
// directly on every system.

#include <QByteArray>
#include <QString>

namespace kovra::platform {

inline constexpr char16_t ConfigFolderName[] = u"C:\\Kovra";
inline constexpr char16_t ConfigFileName[] = u"C:\\Kovra\\Config.ini";
inline constexpr char16_t DriverInstallerName[] = u"C:\\Q-Var\\Driver.exe";

// The per-user folder that "C:\" and "C:\Kovra" stand for (not created here).
QString KovraFolder();

// Maps one of the program's Windows paths to a local path. A path that is not
// of the form "<drive>:\..." is returned with its backslashes turned into '/'.
QString MapProgramPath(const QString& windowsPath);
// The same mapping onto a given kovra folder (what MapProgramPath uses; tests
// call it directly).
QString MapProgramPath(const QString& windowsPath, const QString& kovraFolder);

// The mapped configuration folder, configuration file and driver installer.
QString ConfigFolderPath();
QString ConfigFilePath();
QString DriverInstallerPath();

// Creates a folder with its parents when it is missing. false when it still
// does not exist afterwards.
bool CreateFolder(const QString& path);

// How this system ends a line in a text file it writes: "\r\n" on Windows,
// "\n" elsewhere (a settings file keeps the ends it already has).
QByteArray TextFileLineEnd();

// Whether the USB-serial driver installer the tutorial names can run here:
// on Windows it is the system's own kind of program. Elsewhere none exists,
// and the tutorial shows what the serial doctor finds instead.
bool DriverInstallersRunHere();

} // namespace kovra::platform
