#include "shell/picture_presenter.h"

#include "image/drawing_board.h"
#include "shell/widgets/board_widget.h"

namespace kovra::shell {

PicturePresenter::PicturePresenter(picture::PictureEvents& events, image::DrawingBoard& blackWhiteBoard,
                                   image::DrawingBoard& ditherBoard, MachineSurface& surface, Actions actions)
    : m_blackWhiteBoard(blackWhiteBoard)
    , m_ditherBoard(ditherBoard)
    , m_surface(surface)
    , m_actions(std::move(actions))
{
    using E = picture::PictureEvents;
    connect(&events, &E::loaded, this, [this] { loaded(); });
    connect(&events, &E::refused, this,
            [this](const QString& path, const QString& reason) { m_surface.AppendLogLine(RefusedLine(path, reason)); });
    connect(&events, &E::renderingsReady, this, [this] {
        m_blackWhiteBoard.SetPointer(HandPointer);
        m_ditherBoard.SetPointer(HandPointer);
    });
    connect(&events, &E::chosen, this, [this] { run(m_actions.closeEffectWindow); });
    connect(&events, &E::edited, this, [this](picture::Edit edit) { edited(edit); });
    // Until the first picture the boards wait too.
    m_blackWhiteBoard.SetPointer(WaitPointer);
    m_ditherBoard.SetPointer(WaitPointer);
}

QString PicturePresenter::RefusedLine(const QString& path, const QString& reason)
{
    // The reason is the reader's own, in English.
    return tr("Cannot open picture \"%1\": %2").arg(path, reason);
}

void PicturePresenter::run(const std::function<void()>& action)
{
    if (action)
        action();
}

void PicturePresenter::loaded()
{
    // The boards wait for their renderings; the window opens first, then the
    // job pauses and the controls take the picture-loaded state.
    m_blackWhiteBoard.SetPointer(WaitPointer);
    m_ditherBoard.SetPointer(WaitPointer);
    run(m_actions.openEffectWindow);
    run(m_actions.pauseCarving);
    m_surface.DisableMachineControls();
    run(m_actions.enablePictureButtons);
    run(m_actions.resetRunClock);
}

void PicturePresenter::edited(picture::Edit edit)
{
    if (edit != picture::Edit::Cleared)
        return;
    m_surface.EnableMachineControls();
    m_surface.SetXEdit(QStringLiteral("000"));
    m_surface.SetYEdit(QStringLiteral("000"));
}

} // namespace kovra::shell
