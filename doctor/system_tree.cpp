#include "doctor/system_tree.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace kovra::doctor {

SystemTree::SystemTree(QString root)
    : m_root(root.isEmpty() ? QString() : QDir::cleanPath(root))
{
    if (m_root == QLatin1String("/"))
        m_root.clear();
}

QString SystemTree::at(const QString& systemPath) const
{
    return m_root.isEmpty() ? systemPath : QDir::cleanPath(m_root + u'/' + systemPath);
}

QString SystemTree::systemPath(const QString& treePath) const
{
    if (m_root.isEmpty())
        return treePath;
    if (treePath == m_root)
        return QStringLiteral("/");
    if (treePath.startsWith(m_root + u'/'))
        return treePath.mid(m_root.size());
    return treePath;
}

QString SystemTree::rebase(const QString& absoluteTarget) const
{
    if (m_root.isEmpty() || absoluteTarget == m_root || absoluteTarget.startsWith(m_root + u'/'))
        return QDir::cleanPath(absoluteTarget);
    return at(absoluteTarget);
}

QString SystemTree::readLink(const QString& path)
{
    char buffer[4096];
    const ssize_t n = ::readlink(QFile::encodeName(path).constData(), buffer, sizeof buffer - 1);
    return n < 0 ? QString() : QFile::decodeName(QByteArray(buffer, int(n)));
}

QString SystemTree::follow(const QString& path) const
{
    QString current = QDir::cleanPath(path);
    for (int hops = 0; hops < 40; ++hops) {
        const QString target = readLink(current);
        if (target.isEmpty())
            return current;
        if (target.startsWith(u'/'))
            current = rebase(target);
        else
            current = QDir::cleanPath(QFileInfo(current).path() + u'/' + target);
    }
    return current;
}

QString SystemTree::readLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    // sysfs and /proc files are small; a line longer than this is not ours to read.
    const QByteArray line = file.readLine(4096);
    return QString::fromUtf8(line).trimmed();
}

QStringList SystemTree::list(const QString& dir, QDir::Filters filters)
{
    return QDir(dir).entryList(filters | QDir::NoDotAndDotDot, QDir::Name);
}

bool SystemTree::lexists(const QString& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

} // namespace kovra::doctor
