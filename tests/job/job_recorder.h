#pragma once
// Recording fakes for the job layer. The serial channel, the writer's gaps
// and the job's events write into one list, so tests see the exact order of
// the writes on the wire (through the link's real command frames) and of what
// the job reports.

#include "image/drawing_board.h"
#include "job/job_events.h"
#include "link/machine_link.h"
#include "link/serial_channel.h"
#include "tests/support/manual_timer.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kovra::test {

// An open port that keeps every write.
class RecordingChannel final : public link::SerialChannel {
public:
    explicit RecordingChannel(QStringList& events)
        : m_events(events)
    {
    }
    QList<QByteArray> writes;

    bool PortOpen() override { return m_open = true; }
    void PortClose() override { m_open = false; }
    bool IsOpen() const override { return m_open; }
    link::OpenFailure LastOpenFailure() const override { return {}; }
    bool SendBytes(const QByteArray& bytes) override
    {
        if (!m_open)
            return false;
        writes.append(bytes);
        // Frames as "FF 0A 01 00", trailers as "AA".
        m_events.append(QString::fromLatin1(bytes.toHex(' ').toUpper()));
        fireBytesWritten(bytes.size());
        return true;
    }
    qint64 BytesToWrite() const override { return 0; }
    platform::SerialPortList ListPresentPorts() const override { return {}; }

private:
    QStringList& m_events;
    bool m_open = true;
};

// The writer's gap timer: records each quiet gap ("pause:50") as it begins.
class RecordingTimer final : public platform::Timer {
public:
    explicit RecordingTimer(QStringList& events)
        : m_events(events)
    {
    }
    void setPeriod(int ms) override
    {
        if (ms > 0 && ms != m_period)
            m_events.append(QStringLiteral("pause:%1").arg(ms));
        m_period = ms < 0 ? 0 : ms;
    }
    int period() const override { return m_period; }
    bool tick()
    {
        if (m_period == 0)
            return false;
        fireTick();
        return true;
    }

private:
    QStringList& m_events;
    int m_period = 0;
};

// Every job event as a line ("started", "clock 3", "off center"), into the list.
inline void RecordJobEvents(job::JobEvents& e, QStringList& events)
{
    using J = job::JobEvents;
    auto add = [&events](const QString& text) { events.append(text); };
    static const char* const radios[] = {"point", "center", "box"};
    static const char* const directions[] = {"up", "down", "left", "right"};
    QObject::connect(&e, &J::pictureAnnounced, [add](const QByteArray& r) { add(QStringLiteral("announced %1").arg(r.size())); });
    QObject::connect(&e, &J::carvingStarted, [add](bool resumed) { add(resumed ? "resumed" : "started"); });
    QObject::connect(&e, &J::carvingPaused, [add] { add("paused"); });
    QObject::connect(&e, &J::recarved, [add] { add("recarved"); });
    QObject::connect(&e, &J::restarted, [add] { add("restarted"); });
    QObject::connect(&e, &J::rowsSkipped, [add](int rows) { add(QStringLiteral("skipped %1").arg(rows)); });
    QObject::connect(&e, &J::runClockChanged, [add](int s) { add(QStringLiteral("clock %1").arg(s)); });
    QObject::connect(&e, &J::pointPositioningArmed, [add] { add("point armed"); });
    QObject::connect(&e, &J::centrePositioning, [add] { add("centre"); });
    QObject::connect(&e, &J::boxPositioning, [add] { add("box"); });
    QObject::connect(&e, &J::locationModeOff,
        [add](job::LocationMode r) { add(QStringLiteral("off ") + QLatin1String(radios[int(r)])); });
    QObject::connect(&e, &J::laserLocated, [add](int x, int y) { add(QStringLiteral("located %1,%2").arg(x).arg(y)); });
    QObject::connect(&e, &J::laserJogged,
        [add](job::JogDirection d) { add(QStringLiteral("jogged ") + QLatin1String(directions[int(d) - 1])); });
    QObject::connect(&e, &J::arrowKeysFocusOnly, [add] { add("focus only"); });
}

// The location radios as the radio group sets them for a click: that radio
// checked, the others cleared.
struct RadioGroup {
    job::LocationSelection checked;
    job::LocationSelection click(job::LocationMode radio)
    {
        checked = {radio == job::LocationMode::Point, radio == job::LocationMode::Center,
            radio == job::LocationMode::Box};
        return checked;
    }
};

// The real machine link on a recording channel, with hand-driven timers,
// and the job's events recorded beside the wire.
struct JobRig {
    QStringList events;
    RecordingChannel channel{events};
    image::DrawingBoard board{512, 512};
    ManualTimer retry, verify, portCheck, runTime, transfer;
    RecordingTimer output{events};
    link::MachineLink machine{channel, link::LinkTimers{retry, verify, portCheck, output, transfer}};
    job::JobEvents jobEvents;

    JobRig() { RecordJobEvents(jobEvents, events); }
    link::CommandFrames& frames() { return machine.frames(); }
    // The events since the last take, and forget them.
    QStringList take()
    {
        QStringList out = events;
        events.clear();
        channel.writes.clear();
        return out;
    }
};

} // namespace kovra::test
