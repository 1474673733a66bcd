#include "link/device_serial_channel.h"

#include "link/link_log.h"

#include <algorithm>
#include <iterator>

namespace kovra::link {

namespace {

constexpr int kModemPollMs = 200;

} // namespace

DeviceSerialChannel::DeviceSerialChannel(std::unique_ptr<platform::SerialDevice> device,
                                         platform::SerialPortNames names, SerialSettings settings)
    : m_device(std::move(device))
    , m_names(std::move(names))
    , m_settings(settings)
{
    m_modemPoll.setInterval(kModemPollMs);
    QObject::connect(&m_modemPoll, &QTimer::timeout, &m_context, [this] { pollModemLines(); });
    if (m_settings.openWhenCreated())
        PortOpen();
}

DeviceSerialChannel::~DeviceSerialChannel()
{
    // No events from a channel that is going away.
    setOnClosed(nullptr);
    setOnFailed(nullptr);
    setOnDataArrived(nullptr);
    PortClose();
}

platform::SerialLineSettings DeviceSerialChannel::lineSettings() const
{
    platform::SerialLineSettings s;
    s.baudRate = m_settings.baudRate();
    s.dataBits = m_settings.dataBits();
    s.stopBits = m_settings.stopBits();
    s.parity = m_settings.parity();
    s.parityCheck = m_settings.parityCheck();
    s.hasEventCharacter = m_settings.hasEventCharacter();
    s.eventCharacter = m_settings.eventCharacter();
    s.timeoutMs = m_settings.timeoutMs();
    s.flowControl = m_settings.flowControl();
    s.rtsOn = m_settings.rtsOn();
    s.dtr = m_settings.dtrHandling();
    return s;
}

bool DeviceSerialChannel::PortOpen()
{
    PortClose();
    m_lastFailure = OpenFailure{};
    m_deviceName = m_names.deviceName(PortNumber());
    m_lastFailure.device = m_deviceName;
    if (m_deviceName.isEmpty() || !m_device) {
        m_lastFailure.kind = OpenFailure::NoDevice;
        return false;
    }
    switch (m_device->Open(m_deviceName, lineSettings())) {
    case platform::SerialOpenResult::Opened:
        break;
    case platform::SerialOpenResult::NoDevice:
        m_lastFailure.kind = OpenFailure::NoDevice;
        return false;
    case platform::SerialOpenResult::Busy:
    case platform::SerialOpenResult::Refused:
        // Held by another program, or refused the settings: the scan goes on quietly.
        m_lastFailure.kind = OpenFailure::Other;
        return false;
    }
    m_lastFailure.device.clear();
    ++m_generation;
    m_open = true;
    m_reader = std::thread([this] { readLoop(); });
    m_writer = std::thread([this] { writeLoop(); });
    m_lastLines = -1;
    pollModemLines();
    if (m_lastLines >= 0)
        m_modemPoll.start();
    return true;
}

void DeviceSerialChannel::PortClose()
{
    m_modemPoll.stop();
    if (!m_open)
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_outboxChanged.notify_all();
    m_device->Cancel();
    m_reader.join();
    m_writer.join();
    m_device->Close();
    {
        std::lock_guard lock(m_mutex);
        m_notes.clear();
        m_outbox.clear();
        m_wakeUpPosted = false;
        m_stopping = false;
    }
    ++m_generation;
    m_unreported = 0;
    m_open = false;
    fireClosed();
}

bool DeviceSerialChannel::SendBytes(const QByteArray& bytes)
{
    if (!m_open)
        return false;
    if (bytes.isEmpty())
        return true;
    LogWire('>', bytes);
    {
        std::lock_guard lock(m_mutex);
        m_outbox += bytes;
    }
    m_outboxChanged.notify_one();
    m_unreported += bytes.size();
    return true;
}

qint64 DeviceSerialChannel::OutputQueued() const
{
    return m_open ? m_device->OutputQueued() : 0;
}

void DeviceSerialChannel::readLoop()
{
    QByteArray buffer;
    for (;;) {
        buffer.clear();
        const platform::SerialIoResult r = m_device->Read(buffer);
        std::vector<Note> read;
        if (!buffer.isEmpty())
            read.push_back({Note::Bytes, buffer, 0});
        if (r.lineErrors)
            read.push_back({Note::LineErrors, {}, r.lineErrors});
        if (!read.empty())
            post(std::move(read));
        if (r.status == platform::SerialIoResult::Cancelled)
            return;
        if (r.status == platform::SerialIoResult::Failed) {
            post({{Note::Failed, {}, r.systemError}});
            return;
        }
        // Done with no byte: the read time-outs ran out; wait again.
    }
}

void DeviceSerialChannel::writeLoop()
{
    for (;;) {
        QByteArray piece;
        {
            std::unique_lock lock(m_mutex);
            m_outboxChanged.wait(lock, [this] { return m_stopping || !m_outbox.isEmpty(); });
            if (m_stopping)
                return;
            piece = m_outbox.left(kWritePiece);
            m_outbox.remove(0, piece.size());
        }
        const platform::SerialIoResult r = m_device->Write(piece.constData(), piece.size());
        if (r.count > 0)
            post({{Note::Written, {}, r.count}});
        if (r.status == platform::SerialIoResult::Cancelled)
            return;
        // A write the device did not finish leaves the rest of the output stuck.
        if (r.status == platform::SerialIoResult::Failed || r.count < piece.size()) {
            post({{Note::Failed, {}, r.systemError}});
            return;
        }
    }
}

void DeviceSerialChannel::post(std::vector<Note> notes)
{
    std::lock_guard lock(m_mutex);
    std::move(notes.begin(), notes.end(), std::back_inserter(m_notes));
    if (m_wakeUpPosted)
        return;
    // One wake-up takes everything queued by the time it runs.
    m_wakeUpPosted = true;
    QMetaObject::invokeMethod(&m_context, [this, generation = m_generation] { deliver(generation); },
                              Qt::QueuedConnection);
}

void DeviceSerialChannel::deliver(quint64 generation)
{
    // Nothing below the shell runs a nested event loop, so this is never
    // re-entered; the guard keeps the order of bytes safe all the same.
    if (generation != m_generation || m_delivering)
        return;
    m_delivering = true;
    for (;;) {
        std::deque<Note> notes;
        {
            std::lock_guard lock(m_mutex);
            notes.swap(m_notes);
            if (notes.empty()) {
                m_wakeUpPosted = false;
                break;
            }
        }
        for (const Note& note : notes) {
            if (generation != m_generation)
                break; // closed by a handler: the rest was for that port
            switch (note.kind) {
            case Note::Bytes:
                deliverBytes(note.bytes, generation);
                break;
            case Note::LineErrors:
                if (note.value & platform::SerialBreak)
                    fireLineEvent(LineBreak);
                if (note.value & platform::SerialReceiveError)
                    fireLineEvent(LineReceiveError);
                break;
            case Note::Written:
                m_unreported = qMax<qint64>(0, m_unreported - note.value);
                fireBytesWritten(note.value);
                break;
            case Note::Failed:
                onFailure(note.value);
                break;
            }
        }
        if (generation != m_generation)
            break;
    }
    m_delivering = false;
}

void DeviceSerialChannel::deliverBytes(const QByteArray& bytes, quint64 generation)
{
    LogWire('<', bytes);
    const bool watchEventCharacter = m_settings.hasEventCharacter();
    const char eventCharacter = m_settings.eventCharacter();
    for (const char byte : bytes) {
        if (generation != m_generation)
            return;
        if (watchEventCharacter && byte == eventCharacter)
            fireLineEvent(LineEventCharacter);
        fireDataArrived(quint8(byte));
    }
}

void DeviceSerialChannel::onFailure(qint64 systemError)
{
    // The device vanished or was reset: like an unplug. Bytes read before
    // were delivered first; the listener hears of it from the event loop,
    // since it may open the next port, unless a port is open again by then.
    qCWarning(lcLink) << "port" << m_deviceName << "closed on error" << systemError;
    PortClose();
    QTimer::singleShot(0, &m_context, [this] {
        if (!m_open)
            fireFailed();
    });
}

void DeviceSerialChannel::pollModemLines()
{
    if (!m_open)
        return;
    const int now = m_device->ModemLines();
    if (now < 0) {
        // No modem lines (a pseudo-terminal behind a Wine port): stop asking.
        m_modemPoll.stop();
        return;
    }
    const auto state = [](int lines) {
        return ModemLineState{(lines & platform::ModemCts) != 0, (lines & platform::ModemDsr) != 0,
                              (lines & platform::ModemCarrier) != 0, (lines & platform::ModemRing) != 0};
    };
    if (m_lastLines >= 0)
        fireModemLineChanges(state(m_lastLines), state(now));
    m_lastLines = now;
}

} // namespace kovra::link
