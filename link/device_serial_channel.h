#pragma once
// The serial channel on a platform serial device (Windows): one thread reads
// and one writes, each blocking in the device, and what they see reaches the
// user-interface thread through one mutex-guarded queue and a posted
// wake-up. So neither a send nor a received byte ever blocks the window, and
// the events are the ones the QSerialPort channel gives: DataArrived once per
// byte in order, BytesWritten as the picture leaves in pieces, Closed, Failed.

#include "link/serial_channel.h"
#include "link/serial_settings.h"
#include "platform/serial_device.h"
#include "platform/serial_ports.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kovra::link {

class DeviceSerialChannel final : public SerialChannel {
public:
    // Writes go to the device in pieces of this size, each reported when the
    // driver has taken it (about 90 ms of the line at 57600 baud).
    static constexpr qint64 kWritePiece = 512;

    DeviceSerialChannel(std::unique_ptr<platform::SerialDevice> device,
                        platform::SerialPortNames names = platform::SerialPortNames::fromEnvironment(),
                        SerialSettings settings = SerialSettings::ProgramSettings());
    ~DeviceSerialChannel() override;
    DeviceSerialChannel(const DeviceSerialChannel&) = delete;
    DeviceSerialChannel& operator=(const DeviceSerialChannel&) = delete;

    bool PortOpen() override;
    void PortClose() override;
    bool IsOpen() const override { return m_open; }
    OpenFailure LastOpenFailure() const override { return m_lastFailure; }

    bool SendBytes(const QByteArray& bytes) override;
    using SerialChannel::SendBytes;
    qint64 BytesToWrite() const override { return m_open ? m_unreported : 0; }
    qint64 OutputQueued() const override;

    platform::SerialPortList ListPresentPorts() const override { return m_names.listPresent(); }

private:
    // What the I/O threads hand to the user-interface thread, in order.
    struct Note {
        enum Kind { Bytes, LineErrors, Written, Failed };
        Kind kind = Bytes;
        QByteArray bytes;
        qint64 value = 0;
    };

    void readLoop();
    void writeLoop();
    // Queues notes for the user-interface thread; notes posted together are
    // delivered together (a read's bytes with the line errors that came with them).
    void post(std::vector<Note> notes);
    void deliver(quint64 generation);
    void deliverBytes(const QByteArray& bytes, quint64 generation);
    void onFailure(qint64 systemError);
    void pollModemLines();
    platform::SerialLineSettings lineSettings() const;

    std::unique_ptr<platform::SerialDevice> m_device;
    platform::SerialPortNames m_names;
    SerialSettings m_settings;
    OpenFailure m_lastFailure;
    QString m_deviceName;
    bool m_open = false;
    qint64 m_unreported = 0;        // handed to SendBytes, not yet reported written
    quint64 m_generation = 0;       // one per open port: a wake-up for a closed one is dropped
    bool m_delivering = false;
    int m_lastLines = -1;
    QObject m_context;              // posted wake-ups run on its (the user-interface) thread
    QTimer m_modemPoll;

    std::thread m_reader;
    std::thread m_writer;
    std::mutex m_mutex;             // guards everything below
    std::condition_variable m_outboxChanged;
    std::deque<Note> m_notes;
    bool m_wakeUpPosted = false;
    QByteArray m_outbox;
    bool m_stopping = false;
};

} // namespace kovra::link
