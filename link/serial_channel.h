#pragma once
// The program's only channel to the engraver: a numbered COM port with fixed
// line settings. Received bytes arrive one DataArrived call per byte, in
// order, on the user-interface thread. SendBytes hands bytes to the port's
// output in order and returns at once; BytesWritten reports them leaving.

#include "platform/serial_ports.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace kovra::link {

// LineEvent kinds.
enum LineEventKind : int {
    LineBreak = 1,
    LineCtsOn = 2,
    LineDsrOn = 3,
    LineReceiveError = 4,
    LineRing = 5,
    LineCarrierOn = 6,
    LineEventCharacter = 7,
    LineCtsOff = 8,
    LineDsrOff = 9,
    LineCarrierOff = 10,
};

// Why the last PortOpen failed; the connection scan is silent about all of
// these except a device the user may not open.
struct OpenFailure {
    enum Kind { None, NoDevice, PermissionDenied, Other };
    Kind kind = None;
    QString device;  // the device path tried
    QString group;   // PermissionDenied: the group that owns the device
};

class SerialChannel {
public:
    virtual ~SerialChannel() = default;

    // Values below 1 are stored as 1. Applies to the next PortOpen only.
    void SetPortNumber(int number) { m_portNumber = number < 1 ? 1 : number; }
    int PortNumber() const { return m_portNumber; }

    // Closes whatever is open first (also when the new open then fails);
    // true only when the port is open now. Purges both directions once.
    virtual bool PortOpen() = 0;
    // Drops bytes not yet delivered. Harmless when nothing is open.
    virtual void PortClose() = 0;
    virtual bool IsOpen() const = 0;
    virtual OpenFailure LastOpenFailure() const = 0;

    // false at once when closed; an empty array is true and writes nothing.
    virtual bool SendBytes(const QByteArray& bytes) = 0;
    bool SendBytes(quint8 byte) { return SendBytes(QByteArray(1, char(byte))); }
    // Bytes handed to SendBytes that have not yet left for the device.
    virtual qint64 BytesToWrite() const = 0;
    // Bytes the device driver still holds for sending; -1 when unknown.
    virtual qint64 OutputQueued() const { return -1; }

    // The ports present now as "COM3ACOM10A".
    virtual platform::SerialPortList ListPresentPorts() const = 0;

    // Event sinks, one each (the composition wires them).
    void setOnDataArrived(std::function<void(quint8)> f) { m_onDataArrived = std::move(f); }
    void setOnLineEvent(std::function<void(int)> f) { m_onLineEvent = std::move(f); }
    // Bytes that left the output buffer for the device.
    void setOnBytesWritten(std::function<void(qint64)> f) { m_onBytesWritten = std::move(f); }
    // The port went from open to closed (PortClose, a new PortOpen, or the
    // device vanishing).
    void setOnClosed(std::function<void()> f) { m_onClosed = std::move(f); }
    // The port closed on its own (a read, write or resource error: the
    // device vanished or was reset), right after the Closed event.
    void setOnFailed(std::function<void()> f) { m_onFailed = std::move(f); }

protected:
    void fireDataArrived(quint8 byte)
    {
        if (m_onDataArrived)
            m_onDataArrived(byte);
    }
    void fireLineEvent(int kind)
    {
        if (m_onLineEvent)
            m_onLineEvent(kind);
    }
    void fireBytesWritten(qint64 count)
    {
        if (m_onBytesWritten)
            m_onBytesWritten(count);
    }
    void fireClosed()
    {
        if (m_onClosed)
            m_onClosed();
    }
    void fireFailed()
    {
        if (m_onFailed)
            m_onFailed();
    }

    // The modem lines as read; the changes between two readings are LineEvents.
    struct ModemLineState {
        bool cts = false;
        bool dsr = false;
        bool carrier = false;
        bool ring = false;
    };
    void fireModemLineChanges(const ModemLineState& was, const ModemLineState& now)
    {
        if (was.cts != now.cts)
            fireLineEvent(now.cts ? LineCtsOn : LineCtsOff);
        if (was.dsr != now.dsr)
            fireLineEvent(now.dsr ? LineDsrOn : LineDsrOff);
        if (was.carrier != now.carrier)
            fireLineEvent(now.carrier ? LineCarrierOn : LineCarrierOff);
        if (!was.ring && now.ring)
            fireLineEvent(LineRing);
    }

private:
    int m_portNumber = 1;
    std::function<void(quint8)> m_onDataArrived;
    std::function<void(int)> m_onLineEvent;
    std::function<void(qint64)> m_onBytesWritten;
    std::function<void()> m_onClosed;
    std::function<void()> m_onFailed;
};

} // namespace kovra::link
