#pragma once
// What the benchmarks read about their own process: resident memory now and
// at its peak (from the system, see platform/process_memory.h), the heap in
// use and the open file descriptors (Linux alone keeps these; elsewhere they
// read as -1, unknown, and the benches say so).

#include "platform/process_memory.h"

#include <QDir>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace kovra::bench {

inline double residentMb()
{
    return platform::CurrentProcessMemory().residentMb;
}

inline double peakResidentMb()
{
    return platform::CurrentProcessMemory().peakResidentMb;
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
