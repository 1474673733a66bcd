#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kovra::platform {

namespace {

QString envPath(const char* name)
{
    return QDir::fromNativeSeparators(qEnvironmentVariable(name).trimmed());
}

bool isDrivePath(const QString& path)
{
    return path.size() >= 3 && path.at(0).isLetter() && path.at(1) == u':' && path.at(2) == u'\\';
}

} // namespace

QString KovraFolder()
{
    const QString overridden = envPath("KOVRA_CONFIG_DIR");
    if (!overridden.isEmpty())
        return QDir::cleanPath(overridden);
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QStringLiteral("/kovra"));
}

QString MapProgramPath(const QString& windowsPath, const QString& kovraFolder)
{
    if (!isDrivePath(windowsPath))
        return QString(windowsPath).replace(u'\\', u'/');
    // "C:\Kovra\..." lives in the kovra folder itself, anything else on the
    // drive below it, so one folder holds everything the program names.
    QString rest = windowsPath.mid(3);
    const QString kovra = QStringLiteral("Kovra");
    if (rest.compare(kovra, Qt::CaseInsensitive) == 0)
        rest.clear();
    else if (rest.startsWith(kovra + u'\\', Qt::CaseInsensitive))
        rest = rest.mid(kovra.size() + 1);
    rest.replace(u'\\', u'/');
    if (rest.isEmpty())
        return QDir::cleanPath(kovraFolder);
    return QDir::cleanPath(kovraFolder + u'/' + rest);
}

QString MapProgramPath(const QString& windowsPath)
{
#ifdef Q_OS_WIN
    if (envPath("KOVRA_CONFIG_DIR").isEmpty())
        return windowsPath;
    return QDir::toNativeSeparators(MapProgramPath(windowsPath, KovraFolder()));
#else
    return MapProgramPath(windowsPath, KovraFolder());
#endif
}

QString ConfigFolderPath()
{
    return MapProgramPath(QString::fromUtf16(ConfigFolderName));
}

QString ConfigFilePath()
{
    return MapProgramPath(QString::fromUtf16(ConfigFileName));
}

QString DriverInstallerPath()
{
    const QString overridden = envPath("KOVRA_DRIVER");
    if (!overridden.isEmpty())
        return QDir::toNativeSeparators(overridden);
    return QDir::toNativeSeparators(MapProgramPath(QString::fromUtf16(DriverInstallerName)));
}

bool CreateFolder(const QString& path)
{
    if (path.isEmpty())
        return false;
    QDir dir;
    dir.mkpath(path);
    return QFileInfo(path).isDir();
}

QByteArray TextFileLineEnd()
{
#ifdef Q_OS_WIN
    return QByteArrayLiteral("\r\n");
#else
    return QByteArrayLiteral("\n");
#endif
}

bool DriverInstallersRunHere()
{
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

} // namespace kovra::platform
