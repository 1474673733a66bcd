#pragma once
// Keeps the computer from sleeping on idle while the machine engraves: from
// Start (or Recarve) until the engraving finishes, pauses, restarts, the
// connection breaks or is broken off, or the program ends.

#include "job/job_events.h"

#include <QObject>

namespace kovra::link {
class LinkEvents;
}
namespace kovra::platform {
class SleepInhibitor;
}

namespace kovra::job {

class KeepAwake final : public QObject {
public:
    KeepAwake(JobEvents& job, link::LinkEvents& link, platform::SleepInhibitor& inhibitor);
    ~KeepAwake() override;

private:
    void hold();
    void release();

    platform::SleepInhibitor& m_inhibitor;
};

} // namespace kovra::job
