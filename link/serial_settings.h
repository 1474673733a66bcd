#pragma once
// The line settings of the serial channel. The setters store values the way
// the channel accepts them (a negative baud rate becomes 0, stop bits are
// clamped into 1..3, and so on); the defaults are the channel's own, and
// ProgramSettings() is what this program opens the engraver with:
// 57600 baud, 8N1, no flow control, RTS on.

#include <QString>

namespace kovra::link {

class SerialSettings {
public:
    enum Parity { NoParity = 0, OddParity = 1, EvenParity = 2, MarkParity = 3, SpaceParity = 4 };
    enum FlowControl { NoFlowControl = 0, XonXoff = 5 }; // 1 to 4: hardware (RTS/CTS)
    enum RtsHandling { RtsOn = 0, RtsOff = 1, RtsOnWhileOpen = 2 };
    enum DtrHandling { DtrUnchanged = 0, DtrOff = 1, DtrOn = 2 };

    static SerialSettings ProgramSettings();

    int baudRate() const { return m_baudRate; }
    void setBaudRate(int baud) { m_baudRate = baud < 0 ? 0 : baud; }

    // The bytes a second the line carries: the baud rate over the bits of a
    // byte (start bit, data bits, parity bit if any, stop bits); 5760 for
    // 57600 8N1.
    int lineBytesPerSecond() const;

    int dataBits() const { return m_dataBits; }
    void setDataBits(int bits) { m_dataBits = bits; }

    // 1 = one stop bit, 2 = one and a half, 3 = two.
    int stopBits() const { return m_stopBits; }
    void setStopBits(int stopBits) { m_stopBits = stopBits < 1 ? 1 : (stopBits > 3 ? 3 : stopBits); }

    // 0 none, 1 odd, 2 even, 3 mark, 4 space; anything else means none.
    int parity() const { return m_parity; }
    void setParity(int parity) { m_parity = (parity >= 1 && parity <= 4) ? parity : NoParity; }

    bool parityCheck() const { return m_parityCheck; }
    void setParityCheck(bool on) { m_parityCheck = on; }

    // The first character of the text, if any; a received event character
    // also raises LineEvent 7.
    bool hasEventCharacter() const { return m_hasEventCharacter; }
    char eventCharacter() const { return m_eventCharacter; }
    void setEventCharacter(const QString& text);

    int timeoutMs() const { return m_timeoutMs; }
    void setTimeoutMs(int ms) { m_timeoutMs = ms < 0 ? 0 : ms; }

    bool openWhenCreated() const { return m_openWhenCreated; }
    void setOpenWhenCreated(bool on) { m_openWhenCreated = on; }

    // 0 none, 1 to 4 hardware, 5 XON/XOFF; anything else means none.
    int flowControl() const { return m_flowControl; }
    void setFlowControl(int flow) { m_flowControl = (flow >= 1 && flow <= 5) ? flow : NoFlowControl; }
    bool hardwareFlowControl() const { return m_flowControl >= 1 && m_flowControl <= 4; }

    // 0 or 2: RTS on while open; 1: RTS off. Other values mean on.
    int rtsHandling() const { return m_rtsHandling; }
    void setRtsHandling(int rts) { m_rtsHandling = (rts == RtsOff || rts == RtsOnWhileOpen) ? rts : RtsOn; }
    bool rtsOn() const { return m_rtsHandling != RtsOff; }

    // 0 left as the driver has it, 1 off, 2 on. Other values mean unchanged.
    int dtrHandling() const { return m_dtrHandling; }
    void setDtrHandling(int dtr) { m_dtrHandling = (dtr == DtrOff || dtr == DtrOn) ? dtr : DtrUnchanged; }

private:
    int m_baudRate = 19200;
    int m_dataBits = 8;
    int m_stopBits = 1;
    int m_parity = NoParity;
    bool m_parityCheck = false;
    bool m_hasEventCharacter = false;
    char m_eventCharacter = 0;
    int m_timeoutMs = 1000;
    bool m_openWhenCreated = false;
    int m_flowControl = NoFlowControl;
    int m_rtsHandling = RtsOn;
    int m_dtrHandling = DtrUnchanged;
};

} // namespace kovra::link
