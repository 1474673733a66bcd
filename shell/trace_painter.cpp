#include "shell/trace_painter.h"

#include "image/drawing_board.h"
#include "link/link_events.h"

namespace kovra::shell {

TracePainter::TracePainter(link::LinkEvents& link, image::DrawingBoard& board)
{
    connect(&link, &link::LinkEvents::positionReported, this, [&board](int row, int column) {
        board.SetBoardPixel(column - 1, row, image::ColourRef(255, 0, 0));
    });
}

} // namespace kovra::shell
