#pragma once
// What the link benchmarks watch while the event loop runs: the link's events
// of interest, and the longest stall of the loop seen by a 1 ms probe.

#include "link/link_events.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace kovra::bench {

constexpr double kLineBytesPerSecond = 5760.0; // 57600 baud, 10 bits a byte
constexpr int kPictureBytes = 32768;

// The picture both transfer benchmarks send: every byte value, 0xFF included.
inline QByteArray BenchPicture()
{
    QByteArray picture(kPictureBytes, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char((i * 29 + i / 64) & 0xFF);
    return picture;
}

// What the benchmarks watch of the link's events.
struct Watch {
    bool firmware = false;
    bool sent = false;
    int progressCalls = 0;
    explicit Watch(link::LinkEvents& events)
    {
        QObject::connect(&events, &link::LinkEvents::firmwareReported, [this] { firmware = true; });
        QObject::connect(&events, &link::LinkEvents::pictureProgress, [this] { ++progressCalls; });
        QObject::connect(&events, &link::LinkEvents::pictureSent, [this](bool ok) { sent = ok; });
    }
};

// Runs the event loop until done() or the deadline; a 1 ms probe records
// the longest gap between its ticks.
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
