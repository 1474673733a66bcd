// libFuzzer target: the configuration file reader and writer on arbitrary
// file content. A write either leaves the file as it was or makes the value
// read back exactly, and never changes what other keys read.
#include "shell/settings/config_file.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// The C library's reading of a decimal integer, clamped to int.
int referenceInt(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    errno = 0;
    const long long v = std::strtoll(bytes.constData(), nullptr, 10);
    return int(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kovra::shell;
    // In memory where the system has it: every write ends with a sync to disk.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/kovra-fuzz-config-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/kovra-fuzz-config-XXXXXX"));
    static const QString path = dir.filePath(QStringLiteral("Config.ini"));
    static const QString sections[] = {QStringLiteral("MainWindow"), QStringLiteral("Front"), QStringLiteral("front "),
                                       QStringLiteral("a b")};
    static const QString keys[] = {QStringLiteral("Language"), QStringLiteral("Name"), QStringLiteral("size"),
                                   QStringLiteral("k")};
    if (size == 0)
        return 0;
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(data) + 1, qint64(size - 1));
    }
    const QString section = sections[data[0] & 3];
    const QString key = keys[(data[0] >> 2) & 3];
    const QString value = QStringLiteral("v%1 w").arg(size);

    QString before[4][4];
    for (int s = 0; s < 4; ++s)
        for (int k = 0; k < 4; ++k) {
            before[s][k] = ReadProfileText(path, sections[s], keys[k], QStringLiteral("<none>"));
            if (DecimalTextToInt(before[s][k]) != referenceInt(before[s][k]))
                std::abort();
            (void)DecimalTextToNumber(before[s][k]);
        }

    const QByteArray original = fileBytes(path);
    if (!WriteProfileText(path, section, key, value)) {
        if (fileBytes(path) != original)
            std::abort();
        return 0;
    }
    if (ReadProfileText(path, section, key, QString()) != value)
        std::abort();
    for (int s = 0; s < 4; ++s)
        for (int k = 0; k < 4; ++k) {
            const bool same = sections[s].trimmed().compare(section.trimmed(), Qt::CaseInsensitive) == 0
                && keys[k].compare(key, Qt::CaseInsensitive) == 0;
            if (!same && ReadProfileText(path, sections[s], keys[k], QStringLiteral("<none>")) != before[s][k])
                std::abort();
        }
    return 0;
}
