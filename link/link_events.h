#pragma once
// What happened on the machine link, for whoever listens: the window, the
// command-line engraving, the job's progress and its sleep guard. The link
// says what happened; the listeners decide what to show. Signals are emitted
// on the user-interface thread, in the order things happened.

#include <QObject>
#include <QString>
#include <QStringList>

namespace kovra::link {

// The connection as a value. Scanning: ports are being tried, or the scan
// waits for its next round. Verifying: a port is open and the handshake is
// out. Connected: the machine answered. Broken: the machine's port vanished
// or closed on its own; a new scan follows at once. Closed: nothing open and
// no scan begun (before the first scan, and after the user broke off).
enum class ConnectionState { Closed, Scanning, Verifying, Connected, Broken };

const char* ConnectionStateName(ConnectionState state);

class LinkEvents final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void connectionStateChanged(kovra::link::ConnectionState state);
    // Connection
    void scanStarted();
    // Devices the scan could not open for lack of permission, "COM1 (/dev/ttyUSB0)",
    // all owned by group (empty when unknown); once per scan and group.
    void devicesDenied(const QString& group, const QStringList& devices);
    // A whole scan, COM1 to COM64, ended without a machine answering; the
    // next one starts after the retry period.
    void scanFoundNothing();
    void connected(int port);
    void connectionBroken(int port);
    void disconnected();
    void portListUnreadable(int status);
    // Replies
    void firmwareReported(int version);
    void firmwareNewerThanSupported(int version, int supported);
    void rowReported(int row);                   // PositionX
    void positionReported(int row, int column);  // PositionY, the trace dot drawn at (column - 1, row)
    void carvingFinished();
    void motorStatusReported(int status);        // 0: no motor power, 1: initialised
    void valueReported(int value);
    void burnTimeReported(int value);
    // The picture, after the machine asked for it: the write begins, goes
    // on (only for a picture that has bytes) and ends. written: the bytes out
    // of the port, as far as the line could have carried them; ok only once
    // the machine could have the whole picture.
    void pictureSending(qint64 total);
    void pictureProgress(qint64 written, qint64 total);
    void pictureSent(bool ok, qint64 written, qint64 total);
    // Machine parameters sent by the user.
    void burnTimeSent(int value);
    void motorReversed(char axis);               // 'X' or 'Y'
};

} // namespace kovra::link
