#include "link/serial_settings.h"

namespace kovra::link {

SerialSettings SerialSettings::ProgramSettings()
{
    SerialSettings s;
    s.setBaudRate(57600);
    s.setDataBits(8);
    s.setStopBits(1);
    s.setParity(NoParity);
    s.setFlowControl(NoFlowControl);
    s.setRtsHandling(RtsOn);
    s.setDtrHandling(DtrUnchanged);
    return s;
}

int SerialSettings::lineBytesPerSecond() const
{
    // In half bits, for one and a half stop bits.
    const int stopHalves = m_stopBits == 2 ? 3 : m_stopBits == 3 ? 4 : 2;
    const int halves = 2 * (1 + m_dataBits + (m_parity == NoParity ? 0 : 1)) + stopHalves;
    return int(qint64(m_baudRate) * 2 / halves);
}

void SerialSettings::setEventCharacter(const QString& text)
{
    m_hasEventCharacter = !text.isEmpty();
    m_eventCharacter = m_hasEventCharacter ? char(text.at(0).unicode() & 0xFF) : 0;
}

} // namespace kovra::link
