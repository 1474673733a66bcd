#pragma once
// The road of a dropped picture. A drop hands the file to the worker, which
// decodes it, fits it into the square and makes both renderings while the
// window goes on; when it is done the flow reports the picture loaded (or
// refused), and the effect window's timer then puts both renderings on
// their boards. A click on one draws it onto the preview board and
// snapshots the board as the working image. Owns the program's picture state
// and the effect window's boards (the shell's effect window only shows them
// and forwards their clicks). Everything it does is reported on
// PictureEvents; it never decides what a control shows.

#include "image/bitmap_image.h"
#include "image/drawing_board.h"
#include "picture/board_history.h"
#include "picture/image_edits.h"
#include "picture/picture_events.h"
#include "picture/picture_worker.h"
#include "picture/prepared_picture.h"
#include "rendering/tuned_picture.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <mutex>
#include <optional>

namespace kovra::platform {
class Timer;
}

namespace kovra::picture {

class PictureFlow {
public:
    // Side of the rendering boards' picture area.
    static constexpr int EffectBoardSize = 512;
    // The effect window's one-shot timer period, so the boards are drawn
    // once the window is on screen.
    static constexpr int EffectTaskPeriod = 5;

    // previewBoard: the main window's 512 × 512 board. plainWhiteBackground:
    // the all-white picture that replaces the drop hint once a rendering is
    // chosen or the board is cleared. effectTaskTimer: stopped; the flow
    // takes over its tick. events: where everything that happens is told.
    PictureFlow(image::DrawingBoard& previewBoard, const QImage& plainWhiteBackground,
                platform::Timer& effectTaskTimer, PictureEvents& events);
    ~PictureFlow();
    PictureFlow(const PictureFlow&) = delete;
    PictureFlow& operator=(const PictureFlow&) = delete;

    // The effect window's boards: 512 × 512, white until the renderings are
    // drawn on them.
    image::DrawingBoard& blackWhiteBoard() { return m_blackWhiteBoard; }
    image::DrawingBoard& ditherBoard() { return m_ditherBoard; }

    // The four edit buttons and the text act through this.
    ImageEdits& edits() { return m_edits; }
    // Undo and redo of the preview board; a new picture clears it.
    BoardHistory& history() { return m_history; }

    // Files dropped on the main window; the first one counts. Returns at
    // once: loaded or refused follows from the event loop. A drop made while
    // an earlier one is still being read takes its place. A file that cannot
    // be read or decoded changes nothing.
    void FileDropped(const QStringList& paths);
    // Left button released on the black-and-white or the dither board;
    // ignored until both renderings are ready.
    void ChooseBlackWhite();
    void ChooseDither();
    // A rendering chosen by name (the contact sheet, the command line): drawn
    // onto the preview board as the boards show it; ignored until ready.
    void Choose(rendering::Rendering rendering);
    // The user's tuning and the rendering the dither board shows; once the
    // renderings are ready both boards are drawn again at once. An invalid
    // tuning is refused (false).
    bool SetTuning(const rendering::Tuning& tuning);
    void SetRightRendering(rendering::Rendering rendering);
    rendering::TunedPicture& tunedPicture() { return m_tuned; }
    // The choice was given up (the effect window closed without one); also
    // fine when no choice is open.
    void ChoiceAbandoned();

    // A loaded picture waits for the choice of a rendering.
    bool choosing() const { return m_choosing; }
    bool renderingsReady() const { return m_ready; }
    // A dropped file is being read.
    bool preparing() const { return m_preparing; }
    const QString& droppedPicturePath() const { return m_droppedPicturePath; }
    const image::BitmapImage& workingImage() const { return m_workingImage; }
    // The fitted 490 × 490 picture both renderings were made from.
    const QImage& fittedImage() const { return m_tuned.fitted(); }

private:
    // The worker's answer, taken on the window's thread.
    void takeAnswer();
    void prepared(int drop, PreparedPicture picture);
    // The effect window's timer tick: both renderings onto their boards.
    void showRenderings();
    void resetEffectBoards();
    // Both boards again from the tuned picture, once they have been drawn first.
    void redrawEffectBoards();
    // The preview board cleared to plain white, ready for the chosen rendering.
    void startPreview();
    void finishChoice(rendering::Rendering rendering);
    // The preview board's snapshot becomes the working image.
    void commitPreview();

    image::DrawingBoard& m_previewBoard;
    QImage m_plainWhiteBackground;
    platform::Timer& m_effectTaskTimer;
    PictureEvents& m_events;

    image::DrawingBoard m_blackWhiteBoard;
    image::DrawingBoard m_ditherBoard;

    QString m_droppedPicturePath;
    // Counts drops; an answer of an earlier drop than the last is dropped.
    int m_drops = 0;
    bool m_preparing = false;
    // The worker's answer for the loaded picture, until its boards are drawn.
    std::optional<PreparedPicture> m_prepared;
    // Images of the last renderings, drawn and no longer needed: the next
    // drop renders into them again.
    StreamedRenderings m_spareBuffers;
    image::BitmapImage m_workingImage;
    image::BitmapImage m_editScratchImage;
    // The fitted picture, its tuning and its renderings.
    rendering::TunedPicture m_tuned;
    bool m_choosing = false;
    bool m_ready = false;

    BoardHistory m_history;
    ImageEdits m_edits;
    // The worker's last answer and the drop it answers, handed over under
    // the lock.
    std::mutex m_answerLock;
    std::optional<std::pair<int, PreparedPicture>> m_answer;
    // Last: joined first, before anything its jobs hand back to is gone.
    PictureWorker m_worker;
};

} // namespace kovra::picture
