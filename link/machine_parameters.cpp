#include "link/machine_parameters.h"

namespace kovra::link {

MachineParameters::MachineParameters(CommandFrames& frames, LinkView& view)
    : m_frames(frames)
    , m_view(view)
{
}

QString MachineParameters::ShowBurnTime(int position) const
{
    return QString::number(position);
}

void MachineParameters::SendBurnTime(int position)
{
    m_frames.SetBurnTime(position);
    m_view.AppendLogLine(QStringLiteral("Burning Time: ") + QString::number(position));
    if (position == kBurnTimeMax)
        m_view.AppendLogLine(QStringLiteral("按按键可以继续调节灼烧时间"));
}

void MachineParameters::ReverseMotorXClicked()
{
    m_frames.ReverseMotorX();
    m_view.ShowMessageBox(QStringLiteral("Saved !"), QStringLiteral("Info"));
}

void MachineParameters::ReverseMotorYClicked()
{
    m_frames.ReverseMotorY();
    m_view.ShowMessageBox(QStringLiteral("Saved !"), QStringLiteral("Info"));
}

} // namespace kovra::link
