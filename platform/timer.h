#pragma once
// The program's timers: a period in milliseconds, 0 meaning stopped.
// Setting the period a timer already has keeps its schedule; another non-zero
// period restarts it; 0 stops it. Tests drive a ManualTimer by hand.

#include <QObject>
#include <QTimer>
#include <functional>

namespace kovra::platform {

class Timer {
public:
    virtual ~Timer() = default;
    virtual void setPeriod(int ms) = 0;
    virtual int period() const = 0;
    void setOnTick(std::function<void()> onTick) { m_onTick = std::move(onTick); }

protected:
    void fireTick()
    {
        if (m_onTick)
            m_onTick();
    }

private:
    std::function<void()> m_onTick;
};

// A Timer on the user-interface thread's event loop.
class QtTimer final : public Timer {
public:
    QtTimer();
    void setPeriod(int ms) override;
    int period() const override { return m_period; }

private:
    QTimer m_timer;
    int m_period = 0;
};

} // namespace kovra::platform
