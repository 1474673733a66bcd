#include "platform/process_memory.h"

#include <QByteArray>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#include <psapi.h>
#endif

namespace kovra::platform {

namespace {

constexpr double kMb = 1024.0 * 1024.0;

#ifndef Q_OS_WIN
// A field of /proc/self/status in kB ("VmRSS", "VmHWM"), -1 when absent.
qint64 statusKb(const QByteArray& status, const char* field)
{
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}
#endif

} // namespace

ProcessMemory CurrentProcessMemory()
{
    ProcessMemory memory;
#ifdef Q_OS_WIN
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
        memory.residentMb = double(counters.WorkingSetSize) / kMb;
        memory.peakResidentMb = double(counters.PeakWorkingSetSize) / kMb;
    }
#else
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return memory;
    const QByteArray status = file.readAll();
    if (const qint64 kb = statusKb(status, "VmRSS"); kb >= 0)
        memory.residentMb = double(kb) * 1024.0 / kMb;
    if (const qint64 kb = statusKb(status, "VmHWM"); kb >= 0)
        memory.peakResidentMb = double(kb) * 1024.0 / kMb;
#endif
    return memory;
}

} // namespace kovra::platform
