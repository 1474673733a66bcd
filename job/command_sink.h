#pragma once
// Where the job layer's commands go: the link's command frames. A seam of its
// own so the job handlers can be driven and recorded without a serial port.

namespace kovra::job {

class CommandSink {
public:
    virtual ~CommandSink() = default;
    // One four-byte write: 0xFF, code, p1, p2 (low bytes).
    virtual void SendFrame(int code, int p1, int p2) = 0;
    // One one-byte write, right after its frame.
    virtual void SendTrailerByte(int value) = 0;
};

} // namespace kovra::job
