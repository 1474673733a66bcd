#pragma once
// Keeps the computer from sleeping on idle while the machine engraves: on
// Linux an inhibitor lock from logind ("sleep:idle"), on Windows the thread's
// execution state. Where neither exists, Acquire says so once in the log and
// returns false; the job goes on all the same.

#include <QString>

#include <memory>

namespace kovra::platform {

class SleepInhibitor {
public:
    virtual ~SleepInhibitor() = default;
    // Asks for the lock (again harmless); false when the system has no way.
    virtual bool Acquire(const QString& why) = 0;
    // Gives the lock back; harmless when none is held.
    virtual void Release() = 0;
    // Whether a lock is asked for or held now.
    virtual bool Held() const = 0;
};

// The system's inhibitor; never null.
std::unique_ptr<SleepInhibitor> CreateSleepInhibitor();

} // namespace kovra::platform
