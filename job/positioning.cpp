#include "job/positioning.h"

#include "image/drawing_board.h"
#include "link/command_frames.h"
#include "platform/global_hotkeys.h"

#include <QThread>

namespace kovra::job {

Positioning::Positioning(link::CommandFrames& frames, JobView& view, image::DrawingBoard& previewBoard,
                         platform::GlobalHotKeys& hotKeys, UiPause pause)
    : m_frames(frames)
    , m_view(view)
    , m_board(previewBoard)
    , m_hotKeys(hotKeys)
    , m_pause(std::move(pause))
{
    if (!m_pause)
        m_pause = [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); };
    m_hotKeys.setOnHotKey([this](int id) { DispatchArrowHotKey(id); });
}

Positioning::~Positioning()
{
    m_hotKeys.setOnHotKey({});
}

void Positioning::SelectLocationMode()
{
    // A second click on the radio of the active mode switches that mode off.
    if (m_view.IsRadioChecked(LocationRadio::Point)) {
        if (m_pointModeActive == 1) {
            m_pointModeActive = 0;
            m_view.UncheckRadio(LocationRadio::Point);
            m_board.SetPointer(image::DefaultPointer);
            return;
        }
        m_view.AppendLogLine(
            QStringLiteral("\r\n>>>>>>>>>>>>>>>>>>>>>>Click the drawing board to location.<<<<<<<<<<<<<<<<"));
        m_board.SetPointer(image::CrosshairPointer);
        m_pointModeActive = 1;
        m_centerModeActive = 0;
        m_boxModeActive = 0;
    }
    if (m_view.IsRadioChecked(LocationRadio::Center)) {
        if (m_centerModeActive == 1) {
            m_centerModeActive = 0;
            m_view.UncheckRadio(LocationRadio::Center);
            m_board.SetPointer(image::DefaultPointer);
            return;
        }
        m_view.AppendLogLine(QStringLiteral("Laser positioning to image center."));
        m_board.SetPointer(image::DefaultPointer);
        m_frames.LocateCenter();
        m_pointModeActive = 0;
        m_centerModeActive = 1;
        m_boxModeActive = 0;
    }
    if (m_view.IsRadioChecked(LocationRadio::Box)) {
        if (m_boxModeActive == 1) {
            // Leaving box mode returns the machine to centre positioning.
            m_boxModeActive = 0;
            m_view.UncheckRadio(LocationRadio::Box);
            m_board.SetPointer(image::DefaultPointer);
            m_frames.LocateCenter();
            return;
        }
        m_view.AppendLogLine(QStringLiteral("\r\nTo carve content will be limited in the box."));
        m_view.AppendLogLine(QStringLiteral("Press the direction button to adjust the position."));
        m_board.SetPointer(image::DefaultPointer);
        m_frames.LocateBox();
        m_pointModeActive = 0;
        m_centerModeActive = 0;
        m_boxModeActive = 1;
    }
}

bool Positioning::LocateAtClick(int x, int y, int /*keyState*/)
{
    // The pointer is the click mode; it stays the crosshair, so every
    // further click locates again.
    if (m_board.Pointer() == image::CrosshairPointer) {
        m_view.AppendLogLine(QStringLiteral("Position to: %1,%2").arg(x).arg(y));
        m_frames.LocateX(x);
        m_frames.LocateY(y);
    }
    return m_board.Pointer() == image::IBeamPointer;
}

void Positioning::Jog(JogDirection direction)
{
    // The frame, then its trailer (the direction again) as its own write.
    switch (direction) {
    case JogDirection::Up:
        m_frames.JogUp();
        m_view.AppendLogText(QStringLiteral("Laser Movement : Up\r\n"));
        break;
    case JogDirection::Down:
        m_frames.JogDown();
        m_view.AppendLogText(QStringLiteral("Laser Movement : Down\r\n"));
        break;
    case JogDirection::Left:
        m_frames.JogLeft();
        m_view.AppendLogText(QStringLiteral("Laser Movement : Left\r\n"));
        break;
    case JogDirection::Right:
        m_frames.JogRight();
        m_view.AppendLogText(QStringLiteral("Laser Movement : Right\r\n"));
        break;
    }
    m_pause(JogPauseMs);
}

void Positioning::UpdateArrowHotKeys(bool useKeyboardChecked)
{
    if (useKeyboardChecked) {
        m_hotKeyUpId = m_hotKeys.Register(platform::VirtualKeyUp);
        m_hotKeyDownId = m_hotKeys.Register(platform::VirtualKeyDown);
        m_hotKeyLeftId = m_hotKeys.Register(platform::VirtualKeyLeft);
        m_hotKeyRightId = m_hotKeys.Register(platform::VirtualKeyRight);
        // Where no system-wide keys exist, the user is told once.
        if (m_hotKeys.IsFallback() && !m_focusOnlyNoticeShown) {
            m_focusOnlyNoticeShown = true;
            m_view.AppendLogLine(
                QStringLiteral("The arrow keys move the laser only while this program has the focus."));
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
