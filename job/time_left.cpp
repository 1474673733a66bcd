#include "job/time_left.h"

#include <algorithm>
#include <cmath>

namespace kovra::job {

int TimeLeftSmoother::Update(qint64 activeMs, double estimate)
{
    estimate = std::max(estimate, 0.0);
    const double elapsed = std::max<qint64>(activeMs - m_atMs, 0) / 1000.0;
    const double countdown = m_shown - elapsed;
    if (m_shown < 0 || std::abs(estimate - countdown) > std::max(JumpSeconds, JumpPart * estimate)) {
        m_shown = estimate;
        m_whole = -1;
    } else {
        const double pull = 1.0 - std::exp(-elapsed / FollowSeconds);
        m_shown = std::max(countdown + pull * (estimate - countdown), 0.0);
    }
    m_atMs = activeMs;
    const int whole = int(std::lround(m_shown));
    // A second up and back down again is the jitter people notice.
    if (m_whole >= 0 && whole == m_whole + 1)
        return m_whole;
    m_whole = whole;
    return whole;
}

void TimeLeftSmoother::Reset()
{
    m_shown = -1;
    m_atMs = 0;
    m_whole = -1;
}

} // namespace kovra::job
