#pragma once
// The simulated engraver on a pseudo-terminal. It owns a FirmwareModel and runs
// the pty I/O on a thread of its own, so a program that blocks its user-interface
// thread while writing (the 32768-byte picture) still gets read on the far side.
// The slave appears as <portDir>/COMn, a symlink, which is how the program finds
// a port; unplugging removes the link and closes the pty.
//
// Use from the user-interface thread:
//     PtyMachine machine({}, {.portNumber = 3, .portDir = dir});
//     machine.start();                  // false + errorString() on failure
//     ... QSignalSpy(&machine, &PtyMachine::carveFinished).wait(...)
//     machine.withModel([](FirmwareModel& m) { ... });   // inspect under the lock
//     machine.unplug(); machine.start();  // pulled and plugged back on the same COMn
// Signals are emitted on the thread the machine lives in.

#include "sim/firmware_model.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace kovra::sim {

struct PtyMachineOptions {
    int portNumber = 3;              // the link is named COM<portNumber>
    QString portDir;                 // where the link goes (created if missing)
    bool paced = false;              // real line rate both ways instead of as fast as possible
    int lineBytesPerSecond = 5760;   // 57600 baud, 10 bits a byte
    int stepsPerSecond = 100;        // paced engraving: model steps a second at most
    QString linkName{};              // another name for the link (a Wine prefix's dosdevices want "com3")
};

class PtyMachine : public QObject {
    Q_OBJECT
public:
    PtyMachine(FirmwareOptions firmware, PtyMachineOptions options, QObject* parent = nullptr);
    ~PtyMachine() override;

    // Opens a raw pty pair and links it as COMn; again after unplug() = plugged back in.
    bool start();
    // Pulls the cable: the link goes, the pty closes. Harmless when not plugged.
    void unplug();
    bool isPlugged() const { return m_plugged.load(); }

    QString errorString() const { return m_error; }
    QString slavePath() const { return m_slavePath; }
    QString linkPath() const;
    const PtyMachineOptions& options() const { return m_options; }

    // Runs f on the model with the I/O thread held off; replies f makes are sent.
    void withModel(const std::function<void(FirmwareModel&)>& f);
    // Snapshots taken under the lock.
    QByteArray storedPicture();
    QByteArray burnedDots();
    QImage burnedPicture();
    QStringList transcript();
    int carveFinishedCount();
    qint64 bytesReceived();

signals:
    void carveFinished();
    void transcriptLine(const QString& line);
    // The cable was pulled, by unplug() or by the unplug fault.
    void unplugged();

private:
    struct IoState;

    void run();
    // One round of the I/O thread: the model steps and hands over its
    // replies (true when the cable was pulled), then the pty is read and
    // written as far as the pace allows (false when poll fails).
    bool stepModel(IoState& io, bool& carving);
    bool exchange(IoState& io, bool carving);
    void closePty();
    void removeLink();
    void wake();
    void postNewTranscript(int& seen);

    PtyMachineOptions m_options;
    FirmwareModel m_model;
    std::mutex m_modelMutex;

    int m_master = -1;
    int m_slave = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    QString m_slavePath;
    QString m_error;

    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_plugged{false};
};

} // namespace kovra::sim
