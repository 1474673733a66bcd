#include "platform/timer.h"

namespace kovra::platform {

QtTimer::QtTimer()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { fireTick(); });
}

void QtTimer::setPeriod(int ms)
{
    if (ms < 0)
        ms = 0;
    if (ms == m_period)
        return;
    m_period = ms;
    if (ms == 0)
        m_timer.stop();
    else
        m_timer.start(ms);
}

} // namespace kovra::platform
