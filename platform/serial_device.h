#pragma once
// A serial device for worker threads: opened by name with fixed line
// settings, then read by one thread and written by another, each call
// blocking until it is done or until Cancel() (from any thread) wakes it.
//
// Windows has one, on its communications functions (overlapped I/O, so a
// read waiting for the machine never holds up a write). Elsewhere
// CreateSerialDevice() gives none and the program uses QSerialPort.

#include <QByteArray>
#include <QString>

#include <memory>

namespace kovra::platform {

struct SerialLineSettings {
    int baudRate = 57600;
    int dataBits = 8;
    int stopBits = 1;              // 1 one, 2 one and a half, 3 two
    int parity = 0;                // 0 none, 1 odd, 2 even, 3 mark, 4 space
    bool parityCheck = false;
    bool hasEventCharacter = false;
    char eventCharacter = 0;
    int timeoutMs = 1000;          // every read and write time-out field
    int flowControl = 0;           // 0 none, 1..4 hardware (RTS/CTS), 5 XON/XOFF
    bool rtsOn = true;
    int dtr = 0;                   // 0 as the driver has it, 1 off, 2 on
};

enum class SerialOpenResult {
    Opened,
    NoDevice,    // no such port
    Busy,        // another program holds it
    Refused,     // it exists but would not open or take the settings
};

// Line errors seen while reading (bits).
enum SerialLineError : int {
    SerialBreak = 1,
    SerialReceiveError = 2,        // overrun, parity or framing
};

struct SerialIoResult {
    enum Status { Done, Cancelled, Failed };
    Status status = Done;
    qint64 count = 0;              // bytes read or written, also when cancelled
    int lineErrors = 0;            // SerialLineError bits (reads)
    int systemError = 0;           // Failed: the system's code
};

class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    // Clears an earlier Cancel. Purges both directions once.
    virtual SerialOpenResult Open(const QString& device, const SerialLineSettings& settings) = 0;
    // Only once no thread is inside Read or Write (Cancel, then join them).
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Waits until bytes arrive, then appends every byte there is. A read
    // may also end with none (the time-outs ran out): call it again.
    virtual SerialIoResult Read(QByteArray& into) = 0;
    // Waits until the driver has taken all size bytes.
    virtual SerialIoResult Write(const char* data, qint64 size) = 0;
    // Wakes Read and Write, now and until the next Open: they return Cancelled.
    virtual void Cancel() = 0;

    // Bytes the driver still holds for sending; -1 when it cannot tell.
    virtual qint64 OutputQueued() const = 0;
    // The modem lines (ModemLine bits); -1 where the device has none.
    virtual int ModemLines() const = 0;
};

enum ModemLine : int {
    ModemCts = 1,
    ModemDsr = 2,
    ModemRing = 4,
    ModemCarrier = 8,
};

// The system's serial device, or null where the program uses QSerialPort.
std::unique_ptr<SerialDevice> CreateSerialDevice();

} // namespace kovra::platform
