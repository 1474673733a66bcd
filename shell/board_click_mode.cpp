#include "shell/board_click_mode.h"

#include "image/drawing_board.h"
#include "shell/widgets/board_widget.h"
#include "job/job_events.h"

namespace kovra::shell {

BoardClickMode::BoardClickMode(job::JobEvents& job, image::DrawingBoard& board, ClickAction locate,
                               ClickAction placeText)
    : m_board(board)
    , m_locate(std::move(locate))
    , m_placeText(std::move(placeText))
{
    using J = job::JobEvents;
    auto pointer = [this](int shape) { return [this, shape] { m_board.SetPointer(shape); }; };
    connect(&job, &J::pointPositioningArmed, this, pointer(CrosshairPointer));
    connect(&job, &J::centrePositioning, this, pointer(DefaultPointer));
    connect(&job, &J::boxPositioning, this, pointer(DefaultPointer));
    connect(&job, &J::locationModeOff, this, pointer(DefaultPointer));
}

void BoardClickMode::LeftButtonDown(int x, int y)
{
    // The crosshair stays, so every further click locates again.
    if (m_board.Pointer() == CrosshairPointer && m_locate)
        m_locate(x, y);
    if (m_placeText)
        m_placeText(x, y);
}

} // namespace kovra::shell
