#include "job/positioning.h"

#include "link/command_frames.h"
#include "platform/global_hotkeys.h"

namespace kovra::job {

Positioning::Positioning(link::CommandFrames& frames, JobEvents& events, platform::GlobalHotKeys& hotKeys)
    : m_frames(frames)
    , m_events(events)
    , m_hotKeys(hotKeys)
{
    m_hotKeys.setOnHotKey([this](int id) { DispatchArrowHotKey(id); });
}

Positioning::~Positioning()
{
    m_hotKeys.setOnHotKey({});
}

void Positioning::SelectLocationMode(LocationSelection checked)
{
    // A second click on the radio of the active mode switches that mode off.
    if (checked.point) {
        if (m_pointModeActive == 1) {
            m_pointModeActive = 0;
            emit m_events.locationModeOff(LocationMode::Point);
            return;
        }
        emit m_events.pointPositioningArmed();
        m_pointModeActive = 1;
        m_centerModeActive = 0;
        m_boxModeActive = 0;
    }
    if (checked.center) {
        if (m_centerModeActive == 1) {
            m_centerModeActive = 0;
            emit m_events.locationModeOff(LocationMode::Center);
            return;
        }
        emit m_events.centrePositioning();
        m_frames.LocateCenter();
        m_pointModeActive = 0;
        m_centerModeActive = 1;
        m_boxModeActive = 0;
    }
    if (checked.box) {
        if (m_boxModeActive == 1) {
            // Leaving box mode returns the machine to centre positioning.
            m_boxModeActive = 0;
            emit m_events.locationModeOff(LocationMode::Box);
            m_frames.LocateCenter();
            return;
        }
        emit m_events.boxPositioning();
        m_frames.LocateBox();
        m_pointModeActive = 0;
        m_centerModeActive = 0;
        m_boxModeActive = 1;
    }
}

void Positioning::LocateAt(int x, int y)
{
    // The log line first, then the pair of frames.
    emit m_events.laserLocated(x, y);
    m_frames.LocateX(x);
    m_frames.LocateY(y);
}

void Positioning::Jog(JogDirection direction)
{
    // The frame, then its trailer (the direction again) as its own write.
    switch (direction) {
    case JogDirection::Up:
        m_frames.JogUp();
        break;
    case JogDirection::Down:
        m_frames.JogDown();
        break;
    case JogDirection::Left:
        m_frames.JogLeft();
        break;
    case JogDirection::Right:
        m_frames.JogRight();
        break;
    }
    emit m_events.laserJogged(direction);
    m_frames.PauseOutput(JogPauseMs);
}

void Positioning::UpdateArrowHotKeys(bool useKeyboard)
{
    if (useKeyboard) {
        m_hotKeyUpId = m_hotKeys.Register(platform::VirtualKeyUp);
        m_hotKeyDownId = m_hotKeys.Register(platform::VirtualKeyDown);
        m_hotKeyLeftId = m_hotKeys.Register(platform::VirtualKeyLeft);
        m_hotKeyRightId = m_hotKeys.Register(platform::VirtualKeyRight);
        // Where no system-wide keys exist, the user is told once.
        if (m_hotKeys.IsFallback() && !m_focusOnlyNoticeShown) {
            m_focusOnlyNoticeShown = true;
            emit m_events.arrowKeysFocusOnly();
        }
    } else {
        // The identifiers stay stored; they are never handed out again.
        m_hotKeys.Unregister(m_hotKeyUpId);
        m_hotKeys.Unregister(m_hotKeyDownId);
        m_hotKeys.Unregister(m_hotKeyLeftId);
        m_hotKeys.Unregister(m_hotKeyRightId);
    }
}

void Positioning::DispatchArrowHotKey(int id, int /*ignored*/)
{
    // A failed registration stores 0, which no press carries.
    if (id == 0)
        return;
    if (id == m_hotKeyUpId)
        Jog(JogDirection::Up);
    if (id == m_hotKeyDownId)
        Jog(JogDirection::Down);
    if (id == m_hotKeyLeftId)
        Jog(JogDirection::Left);
    if (id == m_hotKeyRightId)
        Jog(JogDirection::Right);
}

} // namespace kovra::job
