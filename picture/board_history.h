#pragma once
// The preview board's history, for undo and redo. Before each change of the
// board (an edit, a chosen rendering, text placed, the drop hint of a new
// language) the state is recorded: the board's pixels, its background
// picture, and the working image that Reload draws. Undo brings back exactly
// that state, redo the one it replaced. Nothing about the machine is kept:
// a picture sent stays sent. A new picture starts a new history.

#include "picture/packed_image.h"

#include <QImage>

#include <deque>
#include <memory>

namespace kovra::image {
class BitmapImage;
class DrawingBoard;
}

namespace kovra::picture {

class PictureEvents;

class BoardHistory {
public:
    // Steps kept each way; the oldest go first.
    static constexpr int Depth = 200;

    BoardHistory(image::DrawingBoard& board, image::BitmapImage& workingImage, PictureEvents& events);

    // The state now, before a change: it becomes the step undo takes back to,
    // and what was undone can no longer be redone.
    void Record();
    // Back to the state before the last change, or forward again; false when
    // there is no such step (nothing changes then).
    bool Undo();
    bool Redo();
    // A new picture: no step either way.
    void Clear();

    int undoSteps() const { return int(m_undo.size()); }
    int redoSteps() const { return int(m_redo.size()); }

private:
    struct State {
        std::shared_ptr<const PackedImage> board;
        QImage background;
        // Shared by the steps between two choices.
        std::shared_ptr<const PackedImage> working;
    };

    State capture();
    // Takes the last step of from, keeping the state now in to.
    bool step(std::deque<State>& from, std::deque<State>& to);
    void restore(const State& state);
    static void push(std::deque<State>& steps, State state);
    void reportSteps();

    image::DrawingBoard& m_board;
    image::BitmapImage& m_workingImage;
    PictureEvents& m_events;
    std::deque<State> m_undo;
    std::deque<State> m_redo;
    // The working image last packed, to share its packing while it stays.
    QImage m_lastWorking;
    std::shared_ptr<const PackedImage> m_lastWorkingPacked;
};

} // namespace kovra::picture
