#pragma once
// The memory this process holds: what is resident now and the most it ever
// held. On Linux from /proc; on Windows the working set (Wine answers from
// the Linux process behind the program). -1 where the system does not say.

namespace kovra::platform {

struct ProcessMemory {
    double residentMb = -1;
    double peakResidentMb = -1;
};

ProcessMemory CurrentProcessMemory();

} // namespace kovra::platform
