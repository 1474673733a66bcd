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

void SerialSettings::setEventCharacter(const QString& text)
{
    m_hasEventCharacter = !text.isEmpty();
    m_eventCharacter = m_hasEventCharacter ? char(text.at(0).unicode() & 0xFF) : 0;
}

} // namespace kovra::link
