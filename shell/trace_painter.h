#pragma once
// The laser's red trace on the preview board: every position the machine
// reports becomes a red dot at (column - 1, row), the machine counting
// columns from 1, so column 0 falls off the board. The dots go into the
// board's picture like any drawing, and are engraved if the board is sent
// again.

#include <QObject>

namespace kovra::image {
class DrawingBoard;
}
namespace kovra::link {
class LinkEvents;
}

namespace kovra::shell {

class TracePainter final : public QObject {
public:
    TracePainter(link::LinkEvents& link, image::DrawingBoard& board);
};

} // namespace kovra::shell
