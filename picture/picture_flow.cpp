#include "picture/picture_flow.h"

#include "platform/timer.h"

namespace kovra::picture {

PictureFlow::PictureFlow(image::DrawingBoard& previewBoard, const QImage& plainWhiteBackground,
                         platform::Timer& effectTaskTimer, PictureEvents& events)
    : m_previewBoard(previewBoard)
    , m_plainWhiteBackground(plainWhiteBackground)
    , m_effectTaskTimer(effectTaskTimer)
    , m_events(events)
    , m_blackWhiteBoard(EffectBoardSize, EffectBoardSize)
    , m_ditherBoard(EffectBoardSize, EffectBoardSize)
    , m_history(previewBoard, m_workingImage, events)
    , m_edits(previewBoard, m_workingImage, m_editScratchImage, m_plainWhiteBackground, m_history, events)
{
    for (image::DrawingBoard* board : {&m_blackWhiteBoard, &m_ditherBoard}) {
        board->SetBackgroundColour(Qt::white);
        board->ClearBoard();
    }
    m_effectTaskTimer.setOnTick([this] { showRenderings(); });
    // Heard on this thread, from the event loop, after the handler of the
    // moment has finished.
    QObject::connect(&m_worker, &PictureWorker::jobFinished, &m_worker, [this] { takeAnswer(); },
                     Qt::QueuedConnection);
}

PictureFlow::~PictureFlow()
{
    m_effectTaskTimer.setPeriod(0);
    m_effectTaskTimer.setOnTick({});
}

void PictureFlow::FileDropped(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    // Of several files dropped at once the first is taken.
    const QString path = paths.first();
    const int drop = ++m_drops;
    m_preparing = true;
    // The images of the last renderings go with the job and come back with
    // its answer; the tuning is the one of the moment.
    m_worker.post([this, drop, path, tuning = m_tuned.tuning(), right = m_tuned.rightRendering(),
                   spare = std::move(m_spareBuffers)](const std::atomic<bool>& stop) mutable {
        PreparedPicture picture = PreparePicture(path, tuning, right, std::move(spare), stop);
        const std::lock_guard lock(m_answerLock);
        m_answer.emplace(drop, std::move(picture));
    });
    m_spareBuffers = StreamedRenderings();
}

void PictureFlow::takeAnswer()
{
    std::optional<std::pair<int, PreparedPicture>> answer;
    {
        const std::lock_guard lock(m_answerLock);
        answer.swap(m_answer);
    }
    if (answer)
        prepared(answer->first, std::move(answer->second));
}

void PictureFlow::prepared(int drop, PreparedPicture picture)
{
    // A later drop wins over this one.
    if (drop != m_drops)
        return;
    m_preparing = false;
    if (!picture.ok()) {
        emit m_events.refused(picture.path, picture.error);
        return;
    }
    m_droppedPicturePath = picture.path;
    const QSize size = picture.size;
    // A drop while the window is open starts over from the new picture.
    resetEffectBoards();
    m_prepared = std::move(picture);
    m_choosing = true;
    // A new picture starts a new history; its choice is the first step.
    m_history.Clear();
    emit m_events.loaded(m_droppedPicturePath, size);
    // The tick arrives from the event loop, after the listeners have opened
    // the window; stopping first restarts its schedule.
    m_effectTaskTimer.setPeriod(0);
    m_effectTaskTimer.setPeriod(EffectTaskPeriod);
}

void PictureFlow::resetEffectBoards()
{
    m_effectTaskTimer.setPeriod(0);
    m_ready = false;
    // Choices wait for the new renderings, so the old fitted picture has no
    // reader left.
    m_tuned.clearPicture();
    m_prepared.reset();
    for (image::DrawingBoard* board : {&m_blackWhiteBoard, &m_ditherBoard})
        board->ClearBoard();
}

void PictureFlow::showRenderings()
{
    m_effectTaskTimer.setPeriod(0);
    if (!m_choosing || !m_prepared)
        return;
    PreparedPicture picture = std::move(*m_prepared);
    m_prepared.reset();
    // The boards were made for the tuning of the drop; a tuning moved since
    // is drawn here instead.
    const rendering::TunedPicture& made = picture.tuned;
    if (made.tuning() == m_tuned.tuning() && made.rightRendering() == m_tuned.rightRendering()) {
        m_tuned = std::move(picture.tuned);
        rendering::TunedPicture::drawBoards(picture.boards, m_blackWhiteBoard, m_ditherBoard);
    } else {
        m_tuned.setPicture(made.fitted(), made.place());
        rendering::TunedPicture::drawBoards(
            m_tuned.boardPictures(picture.made.blackWhite, picture.made.ditherDots), m_blackWhiteBoard,
            m_ditherBoard);
    }
    picture.boards = rendering::BoardPictures();
    m_spareBuffers.blackWhite = std::move(picture.made.blackWhite);
    m_spareBuffers.ditherDots = std::move(picture.made.ditherDots);
    m_ready = true;
    emit m_events.renderingsReady();
}

void PictureFlow::startPreview()
{
    m_history.Record();
    m_previewBoard.ClearBoard();
    m_previewBoard.SetBackgroundPicture(m_plainWhiteBackground);
}

void PictureFlow::finishChoice(rendering::Rendering rendering)
{
    commitPreview();
    m_choosing = false;
    emit m_events.chosen(rendering);
}

void PictureFlow::ChooseBlackWhite()
{
    if (!m_choosing || !m_ready)
        return;
    startPreview();
    // The whole board: the rendering in 0-489, white beyond it.
    m_previewBoard.DrawPicture(m_blackWhiteBoard.picture(), 0, 0);
    finishChoice(rendering::Rendering::BlackWhite);
}

void PictureFlow::ChooseDither()
{
    Choose(m_tuned.rightRendering());
}

void PictureFlow::Choose(rendering::Rendering rendering)
{
    if (!m_choosing || !m_ready)
        return;
    startPreview();
    // Computed afresh from the tuned picture: the same dots as its board.
    m_tuned.drawRendering(rendering, m_previewBoard);
    finishChoice(rendering);
}

bool PictureFlow::SetTuning(const rendering::Tuning& tuning)
{
    if (!m_tuned.setTuning(tuning))
        return false;
    redrawEffectBoards();
    return true;
}

void PictureFlow::SetRightRendering(rendering::Rendering rendering)
{
    m_tuned.setRightRendering(rendering);
    redrawEffectBoards();
}

void PictureFlow::redrawEffectBoards()
{
    // Before the first drawing, the timer's tick draws with the new values.
    if (m_choosing && m_ready && m_tuned.hasPicture())
        m_tuned.drawBoards(m_blackWhiteBoard, m_ditherBoard);
}

void PictureFlow::ChoiceAbandoned()
{
    if (!m_choosing)
        return;
    m_choosing = false;
    m_effectTaskTimer.setPeriod(0);
    m_prepared.reset();
}

void PictureFlow::commitPreview()
{
    m_workingImage.LoadFromBmp(m_previewBoard.CaptureBoard());
}

} // namespace kovra::picture
