#pragma once
// Placing the laser: the three location modes (point, centre, box), the
// laser sent to a spot of the preview board, the four jogs and the arrow keys
// as system-wide hot keys while the user wants them. The modes are reported
// as events; the shell shows them (point positioning armed is the board's
// crosshair) and sends a board click here only while it is armed.

#include "job/job_events.h"

namespace kovra::platform {
class GlobalHotKeys;
}
namespace kovra::link {
class CommandFrames;
}

namespace kovra::job {

class Positioning {
public:
    // The quiet time after each jog, which keeps auto-repeat to about twenty
    // jogs a second. It holds the outbound queue, not the window's thread.
    static constexpr int JogPauseMs = 50;

    // hotKeys' press callback is taken over here.
    Positioning(link::CommandFrames& frames, JobEvents& events, platform::GlobalHotKeys& hotKeys);
    ~Positioning();
    Positioning(const Positioning&) = delete;
    Positioning& operator=(const Positioning&) = delete;

    // A click on one of the three modes, with the selection as the window's
    // mode group has updated it for the click (a click on the selected mode
    // comes again with it still selected). Arming point positioning is
    // pointPositioningArmed; every other branch (centre, box, a mode switched
    // off) ends it.
    void SelectLocationMode(LocationSelection checked);

    // A left click on the preview board while point positioning is armed:
    // the laser goes to board pixel (x, y), LocateX before LocateY.
    void LocateAt(int x, int y);

    // One machine step: the frame, then its trailer, then a quiet gap.
    void Jog(JogDirection direction);

    // The arrow keys wanted as jogs, or given back.
    void UpdateArrowHotKeys(bool useKeyboard);
    // A hot-key press: the jog whose stored identifier matches.
    void DispatchArrowHotKey(int id, int ignored = 0);

    int PointModeActive() const { return m_pointModeActive; }
    int CenterModeActive() const { return m_centerModeActive; }
    int BoxModeActive() const { return m_boxModeActive; }
    int HotKeyUpId() const { return m_hotKeyUpId; }
    int HotKeyDownId() const { return m_hotKeyDownId; }
    int HotKeyLeftId() const { return m_hotKeyLeftId; }
    int HotKeyRightId() const { return m_hotKeyRightId; }

private:
    link::CommandFrames& m_frames;
    JobEvents& m_events;
    platform::GlobalHotKeys& m_hotKeys;

    int m_pointModeActive = 0;
    int m_centerModeActive = 0;
    int m_boxModeActive = 0;
    int m_hotKeyUpId = 0;
    int m_hotKeyDownId = 0;
    int m_hotKeyLeftId = 0;
    int m_hotKeyRightId = 0;
    bool m_focusOnlyNoticeShown = false;
};

} // namespace kovra::job
