// The serial device on the Win32 communications functions. The port is
// opened for overlapped I/O, so the reading thread's wait never blocks the
// writing thread (a handle opened for plain blocking I/O serialises them).
// A read asks for one byte and waits for it, then takes whatever else the
// driver holds (ClearCommError tells how much): that works with every driver
// and under Wine, whose overlapped WaitCommEvent never reports a byte.

#include "platform/serial_device.h"

#include <windows.h>

namespace kovra::platform {

namespace {

class WindowsSerialDevice final : public SerialDevice {
public:
    WindowsSerialDevice()
        : m_cancel(CreateEventW(nullptr, TRUE, FALSE, nullptr))
        , m_readDone(CreateEventW(nullptr, TRUE, FALSE, nullptr))
        , m_writeDone(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
    }
    ~WindowsSerialDevice() override
    {
        Close();
        CloseHandle(m_cancel);
        CloseHandle(m_readDone);
        CloseHandle(m_writeDone);
    }
    WindowsSerialDevice(const WindowsSerialDevice&) = delete;
    WindowsSerialDevice& operator=(const WindowsSerialDevice&) = delete;

    SerialOpenResult Open(const QString& device, const SerialLineSettings& settings) override
    {
        Close();
        ResetEvent(m_cancel);
        const std::wstring name = device.toStdWString();
        m_handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OVERLAPPED, nullptr);
        if (m_handle == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                return SerialOpenResult::NoDevice;
            if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION)
                return SerialOpenResult::Busy;
            return SerialOpenResult::Refused;
        }
        if (!configure(settings)) {
            Close();
            return SerialOpenResult::Refused;
        }
        PurgeComm(m_handle, PURGE_RXABORT | PURGE_TXABORT | PURGE_RXCLEAR | PURGE_TXCLEAR);
        return SerialOpenResult::Opened;
    }

    void Close() override
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

    bool IsOpen() const override { return m_handle != INVALID_HANDLE_VALUE; }

    SerialIoResult Read(QByteArray& into) override
    {
        char first = 0;
        SerialIoResult result = transfer(false, &first, 1, m_readDone);
        if (result.count == 1)
            into.append(first);
        if (result.status != SerialIoResult::Done || result.count == 0)
            return result;
        DWORD errors = 0;
        COMSTAT status{};
        if (ClearCommError(m_handle, &errors, &status)) {
            if (errors & CE_BREAK)
                result.lineErrors |= SerialBreak;
            if (errors & (CE_OVERRUN | CE_RXOVER | CE_FRAME | CE_RXPARITY))
                result.lineErrors |= SerialReceiveError;
        }
        if (status.cbInQue == 0)
            return result;
        // Those bytes are there already: this read completes at once.
        const qsizetype before = into.size();
        into.resize(before + qsizetype(status.cbInQue));
        const SerialIoResult rest = transfer(false, into.data() + before, status.cbInQue, m_readDone);
        into.resize(before + qsizetype(rest.count));
        result.count += rest.count;
        result.status = rest.status;
        result.systemError = rest.systemError;
        return result;
    }

    SerialIoResult Write(const char* data, qint64 size) override
    {
        return transfer(true, const_cast<char*>(data), DWORD(size), m_writeDone);
    }

    void Cancel() override { SetEvent(m_cancel); }

    qint64 OutputQueued() const override
    {
        DWORD errors = 0;
        COMSTAT status{};
        if (m_handle == INVALID_HANDLE_VALUE || !ClearCommError(m_handle, &errors, &status))
            return -1;
        return qint64(status.cbOutQue);
    }

    int ModemLines() const override
    {
        DWORD lines = 0;
        if (m_handle == INVALID_HANDLE_VALUE || !GetCommModemStatus(m_handle, &lines))
            return -1;
        int bits = 0;
        if (lines & MS_CTS_ON)
            bits |= ModemCts;
        if (lines & MS_DSR_ON)
            bits |= ModemDsr;
        if (lines & MS_RING_ON)
            bits |= ModemRing;
        if (lines & MS_RLSD_ON)
            bits |= ModemCarrier;
        return bits;
    }

private:
    bool configure(const SerialLineSettings& s)
    {
        const DWORD timeout = DWORD(s.timeoutMs);
        COMMTIMEOUTS timeouts{timeout, timeout, timeout, timeout, timeout};
        if (!SetCommTimeouts(m_handle, &timeouts))
            return false;
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(m_handle, &dcb))
            return false;
        dcb.BaudRate = DWORD(s.baudRate);
        dcb.ByteSize = BYTE(s.dataBits);
        dcb.Parity = BYTE(s.parity >= 1 && s.parity <= 4 ? s.parity : NOPARITY);
        dcb.StopBits = BYTE(s.stopBits == 2 ? ONE5STOPBITS : s.stopBits == 3 ? TWOSTOPBITS : ONESTOPBIT);
        dcb.fParity = s.parityCheck;
        if (s.hasEventCharacter)
            dcb.EvtChar = s.eventCharacter;
        dcb.fBinary = TRUE;
        dcb.fDsrSensitivity = FALSE;
        if (s.dtr == 1)
            dcb.fDtrControl = DTR_CONTROL_DISABLE;
        else if (s.dtr == 2)
            dcb.fDtrControl = DTR_CONTROL_ENABLE;
        dcb.fOutxDsrFlow = FALSE;
        dcb.fOutX = dcb.fInX = s.flowControl == 5;
        dcb.fOutxCtsFlow = s.flowControl >= 1 && s.flowControl <= 4;
        if (dcb.fOutxCtsFlow)
            dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
        else
            dcb.fRtsControl = s.rtsOn ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
        if (dcb.fOutX) {
            dcb.XonChar = 0x11;
            dcb.XoffChar = 0x13;
            dcb.XonLim = 100;
            dcb.XoffLim = 100;
        }
        return SetCommState(m_handle, &dcb) != 0;
    }

    // One overlapped read or write, waited for together with the cancel signal.
    SerialIoResult transfer(bool write, char* data, DWORD size, HANDLE done)
    {
        SerialIoResult result;
        if (m_handle == INVALID_HANDLE_VALUE) {
            result.status = SerialIoResult::Failed;
            result.systemError = ERROR_INVALID_HANDLE;
            return result;
        }
        OVERLAPPED overlapped{};
        overlapped.hEvent = done;
        ResetEvent(done);
        const BOOL started = write ? WriteFile(m_handle, data, size, nullptr, &overlapped)
                                   : ReadFile(m_handle, data, size, nullptr, &overlapped);
        if (!started && GetLastError() != ERROR_IO_PENDING) {
            result.status = SerialIoResult::Failed;
            result.systemError = int(GetLastError());
            return result;
        }
        const HANDLE waits[2] = {done, m_cancel};
        const DWORD woke = WaitForMultipleObjects(2, waits, FALSE, INFINITE);
        DWORD count = 0;
        if (woke != WAIT_OBJECT_0) {
            // Bytes that made it before the cancel still count.
            CancelIoEx(m_handle, &overlapped);
            GetOverlappedResult(m_handle, &overlapped, &count, TRUE);
            result.status = SerialIoResult::Cancelled;
            result.count = count;
            return result;
        }
        if (!GetOverlappedResult(m_handle, &overlapped, &count, FALSE)) {
            // Wine ends a read whose time-outs ran out with an error where
            // Windows ends it with no bytes: the same thing, no failure.
            const DWORD error = GetLastError();
            if (write || error != ERROR_TIMEOUT) {
                result.status = SerialIoResult::Failed;
                result.systemError = int(error);
            }
        }
        result.count = count;
        return result;
    }

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    HANDLE m_cancel;
    HANDLE m_readDone;
    HANDLE m_writeDone;
};

} // namespace

std::unique_ptr<SerialDevice> CreateSerialDevice()
{
    return std::make_unique<WindowsSerialDevice>();
}

} // namespace kovra::platform
