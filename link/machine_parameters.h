#pragma once
// The machine's own settings adjusted from the program: the burn time and the
// motor directions. The program keeps neither.
//
// The shell calls SendBurnTime once per left-button release on its burn-time
// slider (also after a thumb drag, also when the thumb did not move), never
// from the keyboard or the wheel, and never when the position is set because
// the machine reported it.

#include "link/command_frames.h"
#include "link/link_events.h"

#include <QString>

namespace kovra::link {

class MachineParameters {
public:
    static constexpr int kBurnTimeMin = 1;
    static constexpr int kBurnTimeMax = 100;
    static constexpr int kBurnTimeAtStart = 40;

    MachineParameters(CommandFrames& frames, LinkEvents& events);

    // SetBurnTime with the position, then burnTimeSent.
    void SendBurnTime(int position);
    // The reversal frame, then motorReversed.
    void ReverseMotorXClicked();
    void ReverseMotorYClicked();

private:
    CommandFrames& m_frames;
    LinkEvents& m_events;
};

} // namespace kovra::link
