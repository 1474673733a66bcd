#pragma once
// Placing the laser: the three location-mode radios, the laser sent to a
// spot of the preview board, the four jog buttons and the arrow keys as
// system-wide hot keys while UseKeyboardCheck is ticked. The modes are
// reported as events; the shell shows them (point positioning armed is the
// board's crosshair) and sends a board click here only while it is armed.

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

    // The click of PointRadio, CenterRadio or BoxRadio, with the check marks
    // as the radio group has updated them for the click. Arming point
    // positioning is pointPositioningArmed; every other branch (centre, box,
    // a mode switched off) ends it.
    void SelectLocationMode(LocationRadios checked);

    // A left click on the preview board while point positioning is armed:
    // the laser goes to board pixel (x, y), LocateX before LocateY.
    void LocateAt(int x, int y);

    void UpButton() { Jog(JogDirection::Up); }
    void DownButton() { Jog(JogDirection::Down); }
    void LeftButton() { Jog(JogDirection::Left); }
    void RightButton() { Jog(JogDirection::Right); }
    void Jog(JogDirection direction);

    // The click of UseKeyboardCheck with its new state.
    void UpdateArrowHotKeys(bool useKeyboardChecked);
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
