#include "link/qt_serial_channel.h"

#include "link/link_log.h"

#include <QFileInfo>

namespace kovra::link {

namespace {

constexpr int kModemPollMs = 200;

QSerialPort::StopBits toQtStopBits(int stopBits)
{
    switch (stopBits) {
    case 2: return QSerialPort::OneAndHalfStop;
    case 3: return QSerialPort::TwoStop;
    default: return QSerialPort::OneStop;
    }
}

QSerialPort::Parity toQtParity(int parity)
{
    switch (parity) {
    case SerialSettings::OddParity: return QSerialPort::OddParity;
    case SerialSettings::EvenParity: return QSerialPort::EvenParity;
    case SerialSettings::MarkParity: return QSerialPort::MarkParity;
    case SerialSettings::SpaceParity: return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
    }
}

QSerialPort::DataBits toQtDataBits(int bits)
{
    switch (bits) {
    case 5: return QSerialPort::Data5;
    case 6: return QSerialPort::Data6;
    case 7: return QSerialPort::Data7;
    default: return QSerialPort::Data8;
    }
}

} // namespace

QtSerialChannel::QtSerialChannel(platform::SerialPortNames names, SerialSettings settings)
    : m_names(std::move(names))
    , m_settings(settings)
{
    QObject::connect(&m_port, &QSerialPort::readyRead, &m_port, [this] { onReadyRead(); });
    QObject::connect(&m_port, &QSerialPort::bytesWritten, &m_port, [this](qint64 n) { fireBytesWritten(n); });
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError e) { onError(e); });
    m_modemPoll.setInterval(kModemPollMs);
    QObject::connect(&m_modemPoll, &QTimer::timeout, &m_port, [this] { pollModemLines(); });
    if (m_settings.openWhenCreated())
        PortOpen();
}

QtSerialChannel::~QtSerialChannel()
{
    // No events from a channel that is going away.
    setOnClosed(nullptr);
    setOnFailed(nullptr);
    setOnDataArrived(nullptr);
    PortClose();
}

void QtSerialChannel::applySettings()
{
    m_port.setBaudRate(m_settings.baudRate());
    m_port.setDataBits(toQtDataBits(m_settings.dataBits()));
    m_port.setStopBits(toQtStopBits(m_settings.stopBits()));
    m_port.setParity(toQtParity(m_settings.parity()));
    if (m_settings.flowControl() == SerialSettings::XonXoff)
        m_port.setFlowControl(QSerialPort::SoftwareControl);
    else if (m_settings.hardwareFlowControl())
        m_port.setFlowControl(QSerialPort::HardwareControl);
    else
        m_port.setFlowControl(QSerialPort::NoFlowControl);
}

bool QtSerialChannel::PortOpen()
{
    PortClose();
    m_lastFailure = OpenFailure{};
    const QString device = m_names.deviceName(PortNumber());
    m_lastFailure.device = device;
    if (device.isEmpty() || (!device.startsWith(QLatin1String("\\\\.\\")) && !QFileInfo::exists(device))) {
        m_lastFailure.kind = OpenFailure::NoDevice;
        return false;
    }
    m_port.setPortName(device);
    applySettings();
    if (!m_port.open(QIODevice::ReadWrite)) {
        const platform::SerialDeviceAccess access = platform::CheckSerialDeviceAccess(device);
        m_lastFailure.kind = access.denied ? OpenFailure::PermissionDenied : OpenFailure::Other;
        m_lastFailure.group = access.group;
        m_port.clearError();
        return false;
    }
    // Control lines a pty does not have only produce a harmless error.
    if (!m_settings.hardwareFlowControl())
        m_port.setRequestToSend(m_settings.rtsOn());
    if (m_settings.dtrHandling() == SerialSettings::DtrOn)
        m_port.setDataTerminalReady(true);
    else if (m_settings.dtrHandling() == SerialSettings::DtrOff)
        m_port.setDataTerminalReady(false);
    // Purge once, when the port opens: stale bytes from before are not the
    // machine's answer. Writes never purge, so no reply is lost to them.
    m_port.clear(QSerialPort::AllDirections);
    m_port.clearError();
    m_lastFailure.device.clear();
    m_lastPinout = -1;
    pollModemLines();
    if (m_lastPinout >= 0)
        m_modemPoll.start();
    return true;
}

void QtSerialChannel::PortClose()
{
    m_modemPoll.stop();
    m_inbound.clear();
    m_inboundPos = 0;
    if (!m_port.isOpen())
        return;
    m_port.close();
    m_port.clearError();
    fireClosed();
}

bool QtSerialChannel::SendBytes(const QByteArray& bytes)
{
    if (!m_port.isOpen())
        return false;
    if (bytes.isEmpty())
        return true;
    LogWire('>', bytes);
    return m_port.write(bytes) == bytes.size();
}

qint64 QtSerialChannel::BytesToWrite() const
{
    return m_port.isOpen() ? m_port.bytesToWrite() : 0;
}

qint64 QtSerialChannel::OutputQueued() const
{
    return m_port.isOpen() ? platform::SerialOutputQueued(qintptr(m_port.handle())) : 0;
}

void QtSerialChannel::onReadyRead()
{
    readInbound();
    deliverInbound();
}

void QtSerialChannel::readInbound()
{
    const QByteArray chunk = m_port.readAll();
    LogWire('<', chunk);
    m_inbound += chunk;
}

void QtSerialChannel::deliverInbound()
{
    // Nothing below the shell opens a box or runs a nested event loop, so
    // delivery is never re-entered; the guard stays as a cheap assurance
    // that the order of bytes can never be broken.
    if (m_delivering)
        return;
    m_delivering = true;
    const bool watchEventCharacter = m_settings.hasEventCharacter();
    const char eventCharacter = m_settings.eventCharacter();
    // PortClose from a handler empties the buffer, which ends the loop.
    while (m_inboundPos < m_inbound.size()) {
        const char byte = m_inbound.at(m_inboundPos++);
        if (watchEventCharacter && byte == eventCharacter)
            fireLineEvent(LineEventCharacter);
        fireDataArrived(quint8(byte));
    }
    m_inbound.clear();
    m_inboundPos = 0;
    m_delivering = false;
}

void QtSerialChannel::onError(QSerialPort::SerialPortError error)
{
    // The far end of the line is gone (cable pulled, pty closed): a read
    // error can repeat endlessly while the port stays open, and a failed
    // write would leave the rest of the output stuck, so close the port.
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError
        || error == QSerialPort::WriteError) {
        if (m_port.isOpen()) {
            qCWarning(lcLink) << "port" << m_port.portName() << "closed on error" << error << m_port.errorString();
            // Bytes already read are still the machine's.
            readInbound();
            deliverInbound();
            PortClose();
            // Like an unplug: whoever watches the connection must know the
            // port is gone, even if its device comes back at once. Told from
            // the event loop, not from inside QSerialPort's own signal, since
            // the listener may open the next port; unless a port is open again.
            QTimer::singleShot(0, &m_port, [this] {
                if (!m_port.isOpen())
                    fireFailed();
            });
        }
    }
}

void QtSerialChannel::pollModemLines()
{
    if (!m_port.isOpen())
        return;
    const QSerialPort::PinoutSignals pins = m_port.pinoutSignals();
    if (m_port.error() != QSerialPort::NoError) {
        // A pty has no modem lines: stop asking.
        m_port.clearError();
        m_modemPoll.stop();
        return;
    }
    const int now = int(pins);
    const auto state = [](int p) {
        return ModemLineState{(p & QSerialPort::ClearToSendSignal) != 0, (p & QSerialPort::DataSetReadySignal) != 0,
                              (p & QSerialPort::DataCarrierDetectSignal) != 0, (p & QSerialPort::RingIndicatorSignal) != 0};
    };
    if (m_lastPinout >= 0)
        fireModemLineChanges(state(m_lastPinout), state(now));
    m_lastPinout = now;
}

} // namespace kovra::link
