#include "picture/board_history.h"

#include "image/bitmap_image.h"
#include "image/drawing_board.h"
#include "picture/picture_events.h"

namespace kovra::picture {

BoardHistory::BoardHistory(image::DrawingBoard& board, image::BitmapImage& workingImage, PictureEvents& events)
    : m_board(board)
    , m_workingImage(workingImage)
    , m_events(events)
{
}

BoardHistory::State BoardHistory::capture()
{
    State state;
    state.board = std::make_shared<const PackedImage>(m_board.picture());
    state.background = m_board.backgroundPicture();
    const QImage working = m_workingImage.ToQImage();
    if (!m_lastWorkingPacked || working != m_lastWorking) {
        m_lastWorking = working;
        m_lastWorkingPacked = std::make_shared<const PackedImage>(working);
    }
    state.working = m_lastWorkingPacked;
    return state;
}

void BoardHistory::restore(const State& state)
{
    m_board.RestorePicture(state.background, state.board->unpack());
    // The working image as the choice made it: the board's 24-bit capture.
    const QImage working = state.working->unpack();
    if (working.isNull())
        m_workingImage = image::BitmapImage();
    else
        m_workingImage.LoadFromBmp(image::EncodeBmp24(working));
}

void BoardHistory::push(std::deque<State>& steps, State state)
{
    steps.push_back(std::move(state));
    while (steps.size() > size_t(Depth))
        steps.pop_front();
}

void BoardHistory::Record()
{
    push(m_undo, capture());
    m_redo.clear();
    reportSteps();
}

bool BoardHistory::Undo()
{
    return step(m_undo, m_redo);
}

bool BoardHistory::Redo()
{
    return step(m_redo, m_undo);
}

bool BoardHistory::step(std::deque<State>& from, std::deque<State>& to)
{
    if (from.empty())
        return false;
    push(to, capture());
    const State state = std::move(from.back());
    from.pop_back();
    restore(state);
    emit m_events.restored();
    reportSteps();
    return true;
}

void BoardHistory::Clear()
{
    m_undo.clear();
    m_redo.clear();
    reportSteps();
}

void BoardHistory::reportSteps()
{
    emit m_events.historyChanged(!m_undo.empty(), !m_redo.empty());
}

} // namespace kovra::picture
