#pragma once
// Recording fakes for the machine link: a serial channel that keeps every
// write and lets the test decide which ports open and when bytes leave, and
// a log of the link's events as lines of text, in order.

#include "link/link_events.h"
#include "link/serial_channel.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

namespace kovra::test {

class FakeSerialChannel final : public link::SerialChannel {
public:
    struct Write {
        int port;
        QByteArray bytes;
    };

    // Port numbers whose open succeeds.
    QSet<int> openable;
    // Port numbers whose open fails for lack of permission (device, group).
    QHash<int, QPair<QString, QString>> denied;
    QList<int> openAttempts;
    QList<Write> writes;
    platform::SerialPortList present;
    // When on, written bytes leave at once (bytesWritten right after the write).
    bool instantWrite = true;
    qint64 outputQueued = -1;
    int closes = 0;

    // The device vanished or was reset: the port closes on its own.
    void fail()
    {
        PortClose();
        fireFailed();
    }

    bool PortOpen() override
    {
        PortClose();
        openAttempts.append(PortNumber());
        m_failure = {};
        if (openable.contains(PortNumber())) {
            m_open = true;
            return true;
        }
        if (denied.contains(PortNumber())) {
            m_failure.kind = link::OpenFailure::PermissionDenied;
            m_failure.device = denied[PortNumber()].first;
            m_failure.group = denied[PortNumber()].second;
        } else {
            m_failure.kind = link::OpenFailure::NoDevice;
        }
        return false;
    }
    void PortClose() override
    {
        if (!m_open)
            return;
        m_open = false;
        m_pending = 0;
        ++closes;
        fireClosed();
    }
    bool IsOpen() const override { return m_open; }
    link::OpenFailure LastOpenFailure() const override { return m_failure; }

    bool SendBytes(const QByteArray& bytes) override
    {
        if (!m_open)
            return false;
        if (bytes.isEmpty())
            return true;
        writes.append(Write{PortNumber(), bytes});
        m_pending += bytes.size();
        if (instantWrite)
            completeWrite(bytes.size());
        return true;
    }
    using link::SerialChannel::SendBytes;
    qint64 BytesToWrite() const override { return m_pending; }
    qint64 OutputQueued() const override { return outputQueued; }
    platform::SerialPortList ListPresentPorts() const override { return present; }

    // count bytes leave the output buffer.
    void completeWrite(qint64 count)
    {
        m_pending -= count;
        fireBytesWritten(count);
    }
    void receive(const QByteArray& bytes)
    {
        for (char b : bytes)
            fireDataArrived(quint8(b));
    }
    // Everything written, as one byte string.
    QByteArray wire() const
    {
        QByteArray all;
        for (const Write& w : writes)
            all += w.bytes;
        return all;
    }

private:
    bool m_open = false;
    qint64 m_pending = 0;
    link::OpenFailure m_failure;
};

// Every link event as a line ("connected 3", "state Verifying"), in order;
// the picture's progress apart, as (written, total) pairs.
class LinkEventLog {
public:
    QStringList events;
    QList<QPair<qint64, qint64>> progress;
    explicit LinkEventLog(link::LinkEvents& e)
    {
        using L = link::LinkEvents;
        auto add = [this](const QString& text) { events << text; };
        QObject::connect(&e, &L::connectionStateChanged, [add](link::ConnectionState s) {
            add(QStringLiteral("state ") + QLatin1String(link::ConnectionStateName(s)));
        });
        QObject::connect(&e, &L::scanStarted, [add] { add("scan"); });
        QObject::connect(&e, &L::devicesDenied, [add](const QString& g, const QStringList& d) {
            add(QStringLiteral("denied %1: %2").arg(g, d.join(", ")));
        });
        QObject::connect(&e, &L::connected, [add](int p) { add(QStringLiteral("connected %1").arg(p)); });
        QObject::connect(&e, &L::connectionBroken, [add](int p) { add(QStringLiteral("broken %1").arg(p)); });
        QObject::connect(&e, &L::disconnected, [add] { add("disconnected"); });
        QObject::connect(&e, &L::portListUnreadable, [add](int s) { add(QStringLiteral("port list %1").arg(s)); });
        QObject::connect(&e, &L::firmwareReported, [add](int v) { add(QStringLiteral("firmware %1").arg(v)); });
        QObject::connect(&e, &L::firmwareNewerThanSupported,
            [add](int v, int s) { add(QStringLiteral("firmware newer %1>%2").arg(v).arg(s)); });
        QObject::connect(&e, &L::rowReported, [add](int r) { add(QStringLiteral("row %1").arg(r)); });
        QObject::connect(&e, &L::positionReported,
            [add](int r, int c) { add(QStringLiteral("position %1,%2").arg(r).arg(c)); });
        QObject::connect(&e, &L::carvingFinished, [add] { add("finished"); });
        QObject::connect(&e, &L::motorStatusReported, [add](int s) { add(QStringLiteral("motor %1").arg(s)); });
        QObject::connect(&e, &L::valueReported, [add](int v) { add(QStringLiteral("value %1").arg(v)); });
        QObject::connect(&e, &L::burnTimeReported, [add](int v) { add(QStringLiteral("burn time %1").arg(v)); });
        QObject::connect(&e, &L::pictureSending, [add](qint64 t) { add(QStringLiteral("sending %1").arg(t)); });
        QObject::connect(&e, &L::pictureProgress, [this](qint64 w, qint64 t) { progress.append({w, t}); });
        QObject::connect(&e, &L::pictureSent, [add](bool ok, qint64 w, qint64 t) {
            add(QStringLiteral("sent %1 %2/%3").arg(ok ? "ok" : "failed").arg(w).arg(t));
        });
        QObject::connect(&e, &L::burnTimeSent, [add](int v) { add(QStringLiteral("burn time sent %1").arg(v)); });
        QObject::connect(&e, &L::motorReversed, [add](char a) { add(QStringLiteral("reversed %1").arg(QLatin1Char(a))); });
    }
    QStringList take()
    {
        QStringList out = events;
        events.clear();
        return out;
    }
};

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

} // namespace kovra::test
