#include "picture/picture_flow.h"

#include "rendering/fitting.h"
#include "image/image_view.h"
#include "platform/timer.h"

namespace kovra::picture {

PictureSession::PictureSession(image::DrawingBoard& previewBoard, const QImage& plainWhiteBackground,
                               platform::Timer& effectTaskTimer, image::ImageView& view)
    : m_previewBoard(previewBoard)
    , m_plainWhiteBackground(plainWhiteBackground)
    , m_effectTaskTimer(effectTaskTimer)
    , m_view(view)
    , m_blackWhiteBoard(EffectBoardSize, EffectBoardSize)
    , m_ditherBoard(EffectBoardSize, EffectBoardSize)
    , m_edits(previewBoard, m_workingImage, m_editScratchImage, m_plainWhiteBackground, view)
{
    for (image::DrawingBoard* board : {&m_blackWhiteBoard, &m_ditherBoard})
        board->SetBackgroundColour(Qt::white);
    resetEffectBoards();
    m_effectTaskTimer.setOnTick([this] { computeEffects(); });
}

PictureSession::~PictureSession()
{
    m_effectTaskTimer.setPeriod(0);
    m_effectTaskTimer.setOnTick({});
}

void PictureSession::FileDropped(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    // Of several files dropped at once the first is taken.
    const QString path = paths.first();
    // Decode before anything changes, so an unreadable file leaves the
    // board, the working image, the controls and the job as they were.
    StreamedRenderings renderings = std::move(m_spareBuffers);
    m_spareBuffers = StreamedRenderings();
    codec::LoadedPicture picture = LoadPictureRendered(path, renderings);
    if (!picture.ok()) {
        const QString why = picture.error.isEmpty() ? QStringLiteral("not a picture this program can read")
                                                    : picture.error;
        m_view.AppendLogLine(QStringLiteral("Cannot open picture \"%1\": %2").arg(path, why));
        return;
    }

    m_droppedPicturePath = path;
    m_droppedPicture = std::move(picture);
    m_renderings = std::move(renderings);
    // A drop while the window is open starts over from the new picture.
    resetEffectBoards();
    m_effectWindowOpen = true;
    m_view.OpenEffectWindow();
    m_view.PauseCarving();
    m_view.DisableMachineControls();
    m_view.EnablePictureButtons();
    m_view.ResetRunClock();
    // The tick arrives from the event loop, after this handler has returned
    // and the window is on screen; stopping first restarts its schedule.
    m_effectTaskTimer.setPeriod(0);
    m_effectTaskTimer.setPeriod(EffectTaskPeriod);
}

void PictureSession::resetEffectBoards()
{
    m_effectTaskTimer.setPeriod(0);
    // Choices wait for the new renderings, so the old fitted picture has no
    // reader left; letting it go spares the scratch board a copy, and the
    // next drop may render into it.
    m_studio.clearPicture();
    m_spareBuffers.fitted = std::move(m_fittedImage);
    m_fittedImage = QImage();
    for (image::DrawingBoard* board : {&m_blackWhiteBoard, &m_ditherBoard}) {
        board->ClearBoard();
        board->SetPointer(image::WaitPointer);
    }
}

void PictureSession::computeEffects()
{
    m_effectTaskTimer.setPeriod(0);
    if (!m_effectWindowOpen)
        return;

    StreamedRenderings made = std::move(m_renderings);
    m_renderings = StreamedRenderings();
    if (made.ready()) {
        m_fittedImage = std::move(made.fitted);
    } else {
        m_fittedImage = rendering::FitPicture(m_droppedPicture.image, m_droppedPicture.width, m_droppedPicture.height);
    }
    m_studio.setPicture(m_fittedImage, rendering::FitPlacement(m_droppedPicture.width, m_droppedPicture.height));
    m_droppedPicture = codec::LoadedPicture();

    // The renderings take a few milliseconds: drawn whole, shown at once.
    rendering::TunedPicture::drawBoards(m_studio.boardPictures(made.blackWhite, made.ditherDots), m_blackWhiteBoard,
                                        m_ditherBoard);
    m_spareBuffers.blackWhite = std::move(made.blackWhite);
    m_spareBuffers.ditherDots = std::move(made.ditherDots);

    m_blackWhiteBoard.SetPointer(image::HandPointer);
    m_ditherBoard.SetPointer(image::HandPointer);
}

void PictureSession::startPreview()
{
    m_previewBoard.ClearBoard();
    m_previewBoard.SetBackgroundPicture(m_plainWhiteBackground);
}

void PictureSession::finishChoice()
{
    CommitPreview();
    m_effectWindowOpen = false;
    m_view.CloseEffectWindow();
}

void PictureSession::ChooseBlackWhite()
{
    if (!m_effectWindowOpen || !renderingsReady())
        return;
    startPreview();
    // The whole board: the rendering in 0-489, white beyond it.
    m_previewBoard.DrawPicture(m_blackWhiteBoard.picture(), 0, 0);
    finishChoice();
}

void PictureSession::ChooseDither()
{
    Choose(m_studio.rightRendering());
}

void PictureSession::Choose(rendering::Rendering rendering)
{
    if (!m_effectWindowOpen || !renderingsReady())
        return;
    startPreview();
    // Computed afresh from the tuned picture: the same dots as its board.
    m_studio.drawRendering(rendering, m_previewBoard);
    finishChoice();
}

bool PictureSession::SetTuning(const rendering::Tuning& tuning)
{
    if (!m_studio.setTuning(tuning))
        return false;
    redrawEffectBoards();
    return true;
}

void PictureSession::SetRightRendering(rendering::Rendering rendering)
{
    m_studio.setRightRendering(rendering);
    redrawEffectBoards();
}

void PictureSession::redrawEffectBoards()
{
    // Before the first drawing, the timer's computation draws with the new values.
    if (m_effectWindowOpen && renderingsReady() && m_studio.hasPicture())
        m_studio.drawBoards(m_blackWhiteBoard, m_ditherBoard);
}

void PictureSession::EffectWindowClosed()
{
    if (!m_effectWindowOpen)
        return;
    m_effectWindowOpen = false;
    m_effectTaskTimer.setPeriod(0);
    m_droppedPicture = codec::LoadedPicture();
    m_renderings = StreamedRenderings();
}

void PictureSession::CommitPreview()
{
    m_workingImage.LoadFromBmp(m_previewBoard.CaptureBoard());
}

} // namespace kovra::picture
