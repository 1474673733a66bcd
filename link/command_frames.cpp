#include "link/command_frames.h"

namespace kovra::link {

QByteArray BuildFrame(int code, int p1, int p2)
{
    QByteArray frame(4, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(code & 0xFF);
    frame[2] = char(p1 & 0xFF);
    frame[3] = char(p2 & 0xFF);
    return frame;
}

CommandFrames::CommandFrames(PortWriter& writer)
    : m_writer(writer)
{
}

void CommandFrames::SendFrame(int code, int p1, int p2)
{
    m_writer.SendBytes(BuildFrame(code, p1, p2));
}

void CommandFrames::SendTrailerByte(int value)
{
    m_writer.SendBytes(quint8(value & 0xFF));
}

void CommandFrames::Send(const Command& command)
{
    SendFrame(command.code, command.p1, command.p2);
    if (command.trailer >= 0)
        SendTrailerByte(command.trailer);
}

} // namespace kovra::link
