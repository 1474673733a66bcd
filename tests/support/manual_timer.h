#pragma once
// A timer that ticks only when a test says so, with the program's period rules.

#include "platform/timer.h"

namespace kovra::test {

class ManualTimer final : public platform::Timer {
public:
    void setPeriod(int ms) override
    {
        if (ms < 0)
            ms = 0;
        if (ms != m_period && ms != 0)
            ++m_restarts;
        m_period = ms;
    }
    int period() const override { return m_period; }
    bool running() const { return m_period != 0; }
    // Number of times the schedule was (re)started by a new non-zero period.
    int restarts() const { return m_restarts; }
    // Fires one tick when running; returns whether it fired.
    bool tick()
    {
        if (m_period == 0)
            return false;
        fireTick();
        return true;
    }

private:
    int m_period = 0;
    int m_restarts = 0;
};

} // namespace kovra::test
