#pragma once
// The serial channel on QSerialPort. Everything runs on the thread that owns
// it (the user-interface thread): QSerialPort reads and writes through the
// event loop, so neither a send nor a received byte ever blocks the window.

#include "link/serial_channel.h"
#include "link/serial_settings.h"
#include "platform/serial_ports.h"

#include <QByteArray>
#include <QSerialPort>
#include <QTimer>

namespace kovra::link {

class QtSerialChannel final : public SerialChannel {
public:
    explicit QtSerialChannel(platform::SerialPortNames names = platform::SerialPortNames::fromEnvironment(),
                             SerialSettings settings = SerialSettings::ProgramSettings());
    ~QtSerialChannel() override;

    const SerialSettings& settings() const { return m_settings; }
    const platform::SerialPortNames& portNames() const { return m_names; }

    bool PortOpen() override;
    void PortClose() override;
    bool IsOpen() const override { return m_port.isOpen(); }
    OpenFailure LastOpenFailure() const override { return m_lastFailure; }

    bool SendBytes(const QByteArray& bytes) override;
    using SerialChannel::SendBytes;
    qint64 BytesToWrite() const override;
    qint64 OutputQueued() const override;

    platform::SerialPortList ListPresentPorts() const override { return m_names.listPresent(); }

private:
    void applySettings();
    void onReadyRead();
    void readInbound();
    void deliverInbound();
    void onError(QSerialPort::SerialPortError error);
    void pollModemLines();

    platform::SerialPortNames m_names;
    SerialSettings m_settings;
    QSerialPort m_port;
    QTimer m_modemPoll;
    OpenFailure m_lastFailure;
    // Bytes read but not yet delivered, in order.
    QByteArray m_inbound;
    qsizetype m_inboundPos = 0;
    bool m_delivering = false;
    int m_lastPinout = -1;
};

} // namespace kovra::link
