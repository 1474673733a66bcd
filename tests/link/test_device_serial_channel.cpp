// The channel on a platform serial device, against a device played by the
// test: bytes fed from outside arrive one event each in order on this
// thread, writes reach the device in order and are reported as they leave,
// and closing or a failing device ends the port the way the QSerialPort
// channel does. The Win32 device itself meets kovra-sim under Wine.

#include "link/device_serial_channel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <numeric>

namespace kovra::test {
namespace {

using platform::SerialIoResult;

// A device whose input the test feeds and whose output it keeps.
class PlayedDevice final : public platform::SerialDevice {
public:
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        platform::SerialOpenResult openResult = platform::SerialOpenResult::Opened;
        QString openedName;
        platform::SerialLineSettings settings;
        QByteArray input;
        int inputErrors = 0;
        bool readFails = false;
        QByteArray written;
        qint64 writeLimit = -1;   // total bytes the device takes before it stops taking any
        bool cancelled = false;
        int closes = 0;

        void breakNothing()
        {
            std::lock_guard lock(mutex);
            input.clear();
            inputErrors = 0;
            readFails = false;
            written.clear();
            writeLimit = -1;
        }
    };

    explicit PlayedDevice(std::shared_ptr<Shared> shared)
        : m(std::move(shared))
    {
    }

    platform::SerialOpenResult Open(const QString& device, const platform::SerialLineSettings& settings) override
    {
        std::lock_guard lock(m->mutex);
        m->openedName = device;
        m->settings = settings;
        m->cancelled = false;
        m_open = m->openResult == platform::SerialOpenResult::Opened;
        return m->openResult;
    }
    void Close() override
    {
        std::lock_guard lock(m->mutex);
        ++m->closes;
        m_open = false;
    }
    bool IsOpen() const override { return m_open; }
    SerialIoResult Read(QByteArray& into) override
    {
        std::unique_lock lock(m->mutex);
        m->changed.wait(lock, [&] { return m->cancelled || !m->input.isEmpty() || m->inputErrors || m->readFails; });
        if (m->cancelled)
            return {SerialIoResult::Cancelled, 0, 0, 0};
        if (m->readFails)
            return {SerialIoResult::Failed, 0, 0, 31};
        SerialIoResult r{SerialIoResult::Done, m->input.size(), m->inputErrors, 0};
        into += m->input;
        m->input.clear();
        m->inputErrors = 0;
        m->changed.notify_all();
        return r;
    }
    SerialIoResult Write(const char* data, qint64 size) override
    {
        std::lock_guard lock(m->mutex);
        if (m->cancelled)
            return {SerialIoResult::Cancelled, 0, 0, 0};
        qint64 taken = size;
        if (m->writeLimit >= 0)
            taken = qBound<qint64>(0, m->writeLimit - m->written.size(), size);
        m->written.append(data, taken);
        return {SerialIoResult::Done, taken, 0, 0};
    }
    void Cancel() override
    {
        std::lock_guard lock(m->mutex);
        m->cancelled = true;
        m->changed.notify_all();
    }
    qint64 OutputQueued() const override { return 0; }
    int ModemLines() const override { return -1; }

private:
    std::shared_ptr<Shared> m;
    bool m_open = false;
};

struct DeviceChannelFixture : ::testing::Test {
    QTemporaryDir ports;
    std::shared_ptr<PlayedDevice::Shared> device = std::make_shared<PlayedDevice::Shared>();
    platform::SerialPortNames names{ports.path(), true};
    link::DeviceSerialChannel channel{std::make_unique<PlayedDevice>(device), names};
    QByteArray arrived;
    QList<int> lineEvents;
    QList<qint64> written;
    QStringList ends; // "closed", "failed" in the order they came

    DeviceChannelFixture()
    {
        channel.setOnDataArrived([this](quint8 b) { arrived.append(char(b)); });
        channel.setOnLineEvent([this](int kind) { lineEvents.append(kind); });
        channel.setOnBytesWritten([this](qint64 n) { written.append(n); });
        channel.setOnClosed([this] { ends.append(QStringLiteral("closed")); });
        channel.setOnFailed([this] { ends.append(QStringLiteral("failed")); });
    }

    void feed(const QByteArray& bytes, int errors = 0)
    {
        std::lock_guard lock(device->mutex);
        device->input += bytes;
        device->inputErrors |= errors;
        device->changed.notify_all();
    }
    // Runs the event loop until done() holds; the deadline only keeps a
    // broken channel from hanging the run.
    bool runUntil(const std::function<bool()>& done)
    {
        QDeadlineTimer deadline(10000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }
    qint64 writtenTotal() const { return std::accumulate(written.begin(), written.end(), qint64(0)); }
};

TEST_F(DeviceChannelFixture, OpenNamesThePortAndSaysWhyItFailed)
{
    struct Case {
        platform::SerialOpenResult result;
        bool opens;
        link::OpenFailure::Kind kind;
    };
    const Case cases[] = {
        {platform::SerialOpenResult::Opened, true, link::OpenFailure::None},
        {platform::SerialOpenResult::NoDevice, false, link::OpenFailure::NoDevice},
        {platform::SerialOpenResult::Busy, false, link::OpenFailure::Other},
        {platform::SerialOpenResult::Refused, false, link::OpenFailure::Other},
    };
    channel.SetPortNumber(3);
    for (const Case& c : cases) {
        device->openResult = c.result;
        EXPECT_EQ(channel.PortOpen(), c.opens);
        EXPECT_EQ(channel.IsOpen(), c.opens);
        EXPECT_EQ(channel.LastOpenFailure().kind, c.kind);
        EXPECT_EQ(device->openedName, names.deviceName(3));
    }
    EXPECT_EQ(device->settings.baudRate, 57600);
    EXPECT_EQ(device->settings.dataBits, 8);
    EXPECT_EQ(device->settings.parity, 0);
    EXPECT_EQ(device->settings.flowControl, 0);
    EXPECT_TRUE(device->settings.rtsOn);
    // Opening again closed the port that was open first.
    EXPECT_EQ(ends, QStringList{QStringLiteral("closed")});
}

TEST_F(DeviceChannelFixture, BytesArriveOneEventEachInOrder)
{
    ASSERT_TRUE(channel.PortOpen());
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    feed(all.left(100));
    feed(all.mid(100), platform::SerialReceiveError | platform::SerialBreak);
    ASSERT_TRUE(runUntil([&] { return arrived.size() == all.size(); }));
    EXPECT_EQ(arrived, all);
    EXPECT_EQ(lineEvents, (QList<int>{link::LineBreak, link::LineReceiveError}));
}

TEST_F(DeviceChannelFixture, WritesReachTheDeviceInOrderAndAreReportedAsTheyLeave)
{
    ASSERT_TRUE(channel.PortOpen());
    EXPECT_TRUE(channel.SendBytes(QByteArray()));
    const QByteArray frame("\xFF\x09\x00\x00", 4);
    QByteArray picture(1300, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char(i * 7);
    EXPECT_TRUE(channel.SendBytes(frame));
    EXPECT_TRUE(channel.SendBytes(picture));
    EXPECT_TRUE(channel.SendBytes(quint8(0x05)));
    EXPECT_EQ(channel.BytesToWrite(), 4 + 1300 + 1);
    ASSERT_TRUE(runUntil([&] { return writtenTotal() == 4 + 1300 + 1; }));
    EXPECT_EQ(device->written, frame + picture + QByteArray(1, '\x05'));
    EXPECT_EQ(channel.BytesToWrite(), 0);
    for (qint64 piece : written)
        EXPECT_LE(piece, link::DeviceSerialChannel::kWritePiece);
}

TEST_F(DeviceChannelFixture, ClosingDropsWhatWasNotDeliveredAndSendsNothingMore)
{
    ASSERT_TRUE(channel.PortOpen());
    feed("\xFF\x01");
    {
        // The reader has taken them; no event has run to deliver them yet.
        std::unique_lock lock(device->mutex);
        device->changed.wait(lock, [&] { return device->input.isEmpty(); });
    }
    channel.PortClose();
    channel.PortClose(); // harmless
    QCoreApplication::processEvents();
    EXPECT_TRUE(arrived.isEmpty());
    EXPECT_EQ(ends, QStringList{QStringLiteral("closed")});
    EXPECT_FALSE(channel.SendBytes(QByteArray("\xFF", 1)));
    EXPECT_EQ(channel.BytesToWrite(), 0);
    EXPECT_EQ(device->closes, 1);
}

TEST_F(DeviceChannelFixture, AHandlerThatClosesThePortStopsTheRestOfTheBytes)
{
    ASSERT_TRUE(channel.PortOpen());
    channel.setOnDataArrived([this](quint8 b) {
        arrived.append(char(b));
        if (b == 0x02)
            channel.PortClose();
    });
    feed("\x01\x02\x03\x04");
    ASSERT_TRUE(runUntil([&] { return !ends.isEmpty(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(arrived, QByteArray("\x01\x02"));
}

TEST_F(DeviceChannelFixture, AFailingDeviceClosesThePortThenReportsTheFailure)
{
    struct Case {
        const char* what;
        std::function<void(PlayedDevice::Shared&)> breakIt;
        bool write;
    };
    const Case cases[] = {
        {"read fails", [](PlayedDevice::Shared& d) { d.readFails = true; }, false},
        {"write stops short", [](PlayedDevice::Shared& d) { d.writeLimit = 600; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ends.clear();
        written.clear();
        device->breakNothing();
        ASSERT_TRUE(channel.PortOpen());
        {
            std::lock_guard lock(device->mutex);
            c.breakIt(*device);
            device->changed.notify_all();
        }
        if (c.write)
            channel.SendBytes(QByteArray(2000, 'x'));
        ASSERT_TRUE(runUntil([&] { return ends.size() == 2; }));
        EXPECT_EQ(ends, (QStringList{QStringLiteral("closed"), QStringLiteral("failed")}));
        EXPECT_FALSE(channel.IsOpen());
        if (c.write) {
            EXPECT_EQ(writtenTotal(), 600) << "what left before the failure is still reported";
        }
    }
}

} // namespace
} // namespace kovra::test
