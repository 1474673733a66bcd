#include "shell/settings/folder_settings.h"

#include "shell/settings/config_file.h"

#include <QFileInfo>

namespace kovra::shell {

namespace {
const QString Section = QStringLiteral("Files");
const QString Key = QStringLiteral("LastFolder");
} // namespace

QString ReadLastFolder(const ConfigFile& config, const QString& fallback)
{
    const QString folder = config.Read(Section, Key, QString());
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallback;
}

bool WriteLastFolder(ConfigFile& config, const QString& folder)
{
    if (config.Read(Section, Key, QString()) == folder)
        return true;
    return config.Write(Section, Key, folder);
}

} // namespace kovra::shell
