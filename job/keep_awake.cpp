#include "job/keep_awake.h"

#include "link/link_events.h"
#include "platform/sleep_inhibitor.h"

namespace kovra::job {

KeepAwake::KeepAwake(JobEvents& job, link::LinkEvents& link, platform::SleepInhibitor& inhibitor)
    : m_inhibitor(inhibitor)
{
    connect(&job, &JobEvents::carvingStarted, this, [this] { hold(); });
    connect(&job, &JobEvents::recarved, this, [this] { hold(); });
    connect(&job, &JobEvents::carvingPaused, this, [this] { release(); });
    connect(&job, &JobEvents::restarted, this, [this] { release(); });
    connect(&link, &link::LinkEvents::carvingFinished, this, [this] { release(); });
    connect(&link, &link::LinkEvents::connectionBroken, this, [this] { release(); });
    connect(&link, &link::LinkEvents::disconnected, this, [this] { release(); });
}

KeepAwake::~KeepAwake()
{
    release();
}

void KeepAwake::hold()
{
    if (!m_inhibitor.Held())
        m_inhibitor.Acquire(QStringLiteral("The laser engraver is working"));
}

void KeepAwake::release()
{
    if (m_inhibitor.Held())
        m_inhibitor.Release();
}

} // namespace kovra::job
