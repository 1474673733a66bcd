#include "link/machine_parameters.h"

namespace kovra::link {

MachineParameters::MachineParameters(CommandFrames& frames, LinkEvents& events)
    : m_frames(frames)
    , m_events(events)
{
}

void MachineParameters::SendBurnTime(int position)
{
    m_frames.SetBurnTime(position);
    emit m_events.burnTimeSent(position);
}

void MachineParameters::ReverseMotorXClicked()
{
    m_frames.ReverseMotorX();
    emit m_events.motorReversed('X');
}

void MachineParameters::ReverseMotorYClicked()
{
    m_frames.ReverseMotorY();
    emit m_events.motorReversed('Y');
}

} // namespace kovra::link
