#pragma once
// Runs the event loop until done() or a deadline; a 1 ms probe timer
// records the longest gap between its ticks, the longest the window's
// thread was kept from its events.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace kovra::bench {

struct LoopProbe {
    qint64 longestGapUs = 0;
    bool run(const std::function<bool()>& done, int timeoutMs)
    {
        QEventLoop loop;
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        QElapsedTimer clock;
        clock.start();
        qint64 last = clock.nsecsElapsed();
        bool finished = false;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            longestGapUs = std::max(longestGapUs, (now - last) / 1000);
            last = now;
            if (done()) {
                finished = true;
                loop.quit();
            } else if (clock.elapsed() > timeoutMs) {
                loop.quit();
            }
        });
        probe.start(1);
        loop.exec();
        return finished;
    }
};

} // namespace kovra::bench
