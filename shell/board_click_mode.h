#pragma once
// The preview board's click mode, which its pointer shows: the crosshair
// while point positioning is armed (the job reports it), the I-beam while a
// text box waits to be placed (text engraving sets it), the default pointer
// otherwise (a job start resets it as well). A left button press acts by the
// mode: the crosshair sends the laser to the spot, and then an I-beam places
// the text box.

#include <QObject>

#include <functional>

namespace kovra::image {
class DrawingBoard;
}
namespace kovra::job {
class JobEvents;
}

namespace kovra::shell {

class BoardClickMode final : public QObject {
public:
    using ClickAction = std::function<void(int x, int y)>;

    // locate: the job's point positioning; placeText: the text box placement,
    // which looks at the pointer itself.
    BoardClickMode(job::JobEvents& job, image::DrawingBoard& board, ClickAction locate, ClickAction placeText);

    // Left button down on the preview board; the key state plays no part.
    void LeftButtonDown(int x, int y);

private:
    image::DrawingBoard& m_board;
    ClickAction m_locate;
    ClickAction m_placeText;
};

} // namespace kovra::shell
