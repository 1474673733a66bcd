#pragma once
// Recording fakes for the job layer. The serial channel and the views write
// into one event list, so tests see the exact order of the writes on the
// wire (through the link's real command frames) and the log texts.

#include "job/job_events.h"
#include "link/machine_link.h"
#include "link/serial_channel.h"
#include "shell/machine_presenter.h"
#include "tests/support/manual_timer.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <map>

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

// The window's controls as the presenter drives them, into the same list.
class RecordingJobView final : public shell::MachineSurface {
public:
    explicit RecordingJobView(QStringList& events)
        : m_events(events)
    {
    }
    std::map<job::LocationRadio, bool> radios{
        {job::LocationRadio::Point, false}, {job::LocationRadio::Center, false}, {job::LocationRadio::Box, false}};
    QString timeValueLabel = QStringLiteral("00:00");
    QString xEdit = QStringLiteral("000");
    QString yEdit = QStringLiteral("000");

    void AppendLogLine(const QString& text) override { m_events.append(QStringLiteral("line:") + text); }
    void AppendLogText(const QString& text) override { m_events.append(QStringLiteral("text:") + text); }
    void EnableMachineControls() override { m_events.append(QStringLiteral("enable")); }
    void DisableMachineControls() override { m_events.append(QStringLiteral("disable")); }
    void ResetLocationControls() override
    {
        for (auto& radio : radios)
            radio.second = false;
        m_events.append(QStringLiteral("reset"));
    }
    void LockLocationControls() override { m_events.append(QStringLiteral("lock")); }
    void SetTimeValueLabel(const QString& caption) override { timeValueLabel = caption; }
    void SetXEdit(const QString& text) override { xEdit = text; }
    void SetYEdit(const QString& text) override { yEdit = text; }
    void UncheckRadio(job::LocationRadio radio) override
    {
        radios[radio] = false;
        m_events.append(QStringLiteral("uncheck"));
    }
    void SetConnectButtonCaption(const QString&) override {}
    void SetConnectButtonEnabled(bool) override {}
    void SetBreakButtonVisible(bool) override {}
    void SetBurnTime(int) override {}
    void ShowMessageBox(const QString& text, const QString&) override { m_events.append(QStringLiteral("box:") + text); }
    void ShowTransferProgress(qint64, qint64) override {}
    void HideTransferProgress() override {}

    // A click on a radio as the radio group does it: that radio checked, the
    // others cleared.
    void click(job::LocationRadio radio)
    {
        for (auto& r : radios)
            r.second = r.first == radio;
    }
    job::LocationRadios checked() const
    {
        return {radios.at(job::LocationRadio::Point), radios.at(job::LocationRadio::Center),
            radios.at(job::LocationRadio::Box)};
    }

private:
    QStringList& m_events;
};

// The writer's timer: records each quiet gap ("pause:50") as it begins.
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

// The real machine link on a recording channel, with hand-driven timers,
// its events shown through the real presenter.
struct JobRig {
    QStringList events;
    RecordingChannel channel{events};
    RecordingJobView view{events};
    image::DrawingBoard board{512, 512};
    ManualTimer retry, verify, portCheck, runTime;
    RecordingTimer transfer{events};
    link::MachineLink machine{channel, board, link::LinkTimers{retry, verify, portCheck, transfer}};
    job::JobEvents jobEvents;
    shell::MachinePresenter presenter{machine.events(), jobEvents, view};

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
