#pragma once
// Every instruction to the engraver is a four-byte frame FF code p1 p2 in one
// write; jogs and row skips add a trailer byte as a second write. Parameters
// keep their low 8 bits; board coordinates go as a decimal pair
// (value div 100, value mod 100). Sends are fire-and-forget: the callers log
// their own lines, and nothing looks at the result.

#include "link/port_writer.h"

#include <QByteArray>

namespace kovra::link {

struct Command {
    const char* name;
    int code;
    int p1;
    int p2;
    int trailer; // -1: none
};

// The whole outbound vocabulary (point positioning and the burn time carry
// their value and are built by LocateX, LocateY and SetBurnTime).
namespace commands {
inline constexpr Command StartCarve{"StartCarve", 1, 1, 0, -1};
inline constexpr Command PauseCarve{"PauseCarve", 1, 2, 0, -1};
inline constexpr Command Recarve{"Recarve", 1, 3, 0, -1};
inline constexpr Command LocateCenter{"LocateCenter", 2, 1, 0, -1};
inline constexpr Command LocateBox{"LocateBox", 2, 2, 0, -1};
inline constexpr Command JogUp{"JogUp", 3, 1, 0, 0x01};
inline constexpr Command JogDown{"JogDown", 3, 2, 0, 0x02};
inline constexpr Command JogLeft{"JogLeft", 3, 3, 0, 0x03};
inline constexpr Command JogRight{"JogRight", 3, 4, 0, 0x04};
inline constexpr Command RestartMachine{"RestartMachine", 4, 1, 0, -1};
inline constexpr Command BeginImage{"BeginImage", 6, 0, 0, -1};
inline constexpr Command FastBackward{"FastBackward", 7, 1, 0, 0x55};
inline constexpr Command FastForward{"FastForward", 7, 2, 0, 0xAA};
inline constexpr Command ReverseMotorX{"ReverseMotorX", 8, 1, 0, -1};
inline constexpr Command ReverseMotorY{"ReverseMotorY", 8, 2, 0, -1};
inline constexpr Command Handshake{"Handshake", 9, 0, 0, -1};
inline constexpr int SetBurnTimeCode = 5;
inline constexpr int LocateXCode = 10;
inline constexpr int LocateYCode = 11;
} // namespace commands

// The four bytes of a frame.
QByteArray BuildFrame(int code, int p1, int p2);

class CommandFrames {
public:
    explicit CommandFrames(PortWriter& writer);

    void SendFrame(int code, int p1, int p2);
    void SendTrailerByte(int value);
    // The frame, then its trailer (if any) as a separate write.
    void Send(const Command& command);
    // Nothing more goes out for ms; later sends wait their turn.
    void PauseOutput(int ms) { m_writer.PauseOutput(ms); }

    void StartCarve() { Send(commands::StartCarve); }
    void PauseCarve() { Send(commands::PauseCarve); }
    void Recarve() { Send(commands::Recarve); }
    void LocateCenter() { Send(commands::LocateCenter); }
    void LocateBox() { Send(commands::LocateBox); }
    void JogUp() { Send(commands::JogUp); }
    void JogDown() { Send(commands::JogDown); }
    void JogLeft() { Send(commands::JogLeft); }
    void JogRight() { Send(commands::JogRight); }
    void RestartMachine() { Send(commands::RestartMachine); }
    void SetBurnTime(int t) { SendFrame(commands::SetBurnTimeCode, t, 0); }
    void BeginImage() { Send(commands::BeginImage); }
    void FastBackward() { Send(commands::FastBackward); }
    void FastForward() { Send(commands::FastForward); }
    void ReverseMotorX() { Send(commands::ReverseMotorX); }
    void ReverseMotorY() { Send(commands::ReverseMotorY); }
    void Handshake() { Send(commands::Handshake); }
    // x and y: board pixels; quotient truncated toward zero.
    void LocateX(int x) { SendFrame(commands::LocateXCode, x / 100, x % 100); }
    void LocateY(int y) { SendFrame(commands::LocateYCode, y / 100, y % 100); }

private:
    PortWriter& m_writer;
};

} // namespace kovra::link
