#pragma once
// What the benchmarks read about their own process: resident memory now and
// at its peak, and the open file descriptors. Linux keeps these in /proc;
// elsewhere every value reads as -1 (unknown) and the benches say so.

#include <QByteArray>
#include <QDir>
#include <QFile>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace kovra::bench {

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"), -1 when unknown.
inline qint64 statusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

inline double residentMb()
{
    const qint64 kb = statusKb("VmRSS");
    return kb < 0 ? -1 : double(kb) / 1024.0;
}

inline double peakResidentMb()
{
    const qint64 kb = statusKb("VmHWM");
    return kb < 0 ? -1 : double(kb) / 1024.0;
}

// The bytes the allocator has handed out and not had back, -1 when unknown.
// Unlike resident memory it does not move with the allocator's own growth
// and trimming, so it tells a leak from a heap that merely grew.
inline double heapInUseMb()
{
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 33)
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
#else
    return -1;
#endif
}

inline int openFileDescriptors()
{
    const QDir fds(QStringLiteral("/proc/self/fd"));
    if (!fds.exists())
        return -1;
    // The listing itself holds one descriptor while it runs.
    return int(fds.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size()) - 1;
}

} // namespace kovra::bench
