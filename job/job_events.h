#pragma once
// What the job did, for whoever listens: the window, the command-line
// engraving, the progress and the sleep guard. The job says what happened;
// the listeners decide what to show.

#include <QByteArray>
#include <QObject>

namespace kovra::job {

// The three location modes: point positioning, the image centre, the
// positioning box.
enum class LocationMode {
    Point,
    Center,
    Box,
};

// Which modes are selected, as the window's mode group has set them for a
// click.
struct LocationSelection {
    bool point = false;
    bool center = false;
    bool box = false;
};

enum class JogDirection : int { Up = 1, Down = 2, Left = 3, Right = 4 };

class JobEvents final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // A new picture: BeginImage is out and raster is what the machine will
    // be given when it asks (512 rows of 64 bytes).
    void pictureAnnounced(const QByteArray& raster);
    // Job controls. resumed: a Start after a pause.
    void carvingStarted(bool resumed);
    void carvingPaused();
    void recarved();
    void restarted();
    void rowsSkipped(int rows);     // +15 forward, -15 back
    // RunSeconds changed: a tick, or a reset to 0.
    void runClockChanged(int seconds);
    // Positioning. While point positioning is armed a click on the preview
    // board locates the laser; centre, box and any mode switched off end it.
    void pointPositioningArmed();
    void centrePositioning();
    void boxPositioning();
    void locationModeOff(kovra::job::LocationMode radio);
    void laserLocated(int x, int y);
    void laserJogged(kovra::job::JogDirection direction);
    void arrowKeysFocusOnly();
};

} // namespace kovra::job
