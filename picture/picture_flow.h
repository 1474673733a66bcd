#pragma once
// The road of a dropped picture: the drop decodes it, opens the effect
// window and puts the machine controls into the picture-loaded state; the
// effect window's timer fits it and draws the two renderings; a click on one
// draws it onto the preview board and snapshots the board as the working
// image. Owns the program's picture state and the effect window's boards
// (the shell's effect window only shows them and forwards their clicks).

#include "image/bitmap_image.h"
#include "image/drawing_board.h"
#include "picture/image_edits.h"
#include "codec/decoded_picture.h"
#include "picture/streamed_renderings.h"
#include "rendering/tuned_picture.h"
#include "image/image_view.h"

#include <QImage>
#include <QString>
#include <QStringList>

namespace kovra::platform {
class Timer;
}

namespace kovra::picture {


class PictureSession {
public:
    // Side of the rendering boards' picture area.
    static constexpr int EffectBoardSize = 512;
    // The effect window's one-shot timer period, so the work starts once the
    // window is on screen.
    static constexpr int EffectTaskPeriod = 5;

    // previewBoard: the main window's 512 × 512 board. plainWhiteBackground:
    // the all-white picture that replaces the drop hint once a rendering is
    // chosen or the board is cleared. effectTaskTimer: stopped; the session
    // takes over its tick.
    PictureSession(image::DrawingBoard& previewBoard, const QImage& plainWhiteBackground, platform::Timer& effectTaskTimer,
                   image::ImageView& view);
    ~PictureSession();
    PictureSession(const PictureSession&) = delete;
    PictureSession& operator=(const PictureSession&) = delete;

    // The effect window's boards: 512 × 512, white, WaitPointer until both
    // renderings are drawn, then HandPointer.
    image::DrawingBoard& blackWhiteBoard() { return m_blackWhiteBoard; }
    image::DrawingBoard& ditherBoard() { return m_ditherBoard; }

    // The four edit buttons act through this.
    ImageEdits& edits() { return m_edits; }

    // Files dropped on the main window; the first one counts. A file that
    // cannot be read or decoded logs one line and changes nothing else.
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
    rendering::TunedPicture& studio() { return m_studio; }
    // The user closed the effect window (also fine after a choice closed it).
    void EffectWindowClosed();
    // The preview board's snapshot becomes the working image.
    void CommitPreview();

    bool effectWindowOpen() const { return m_effectWindowOpen; }
    // The dither board (which shows the right-hand rendering) has the
    // pointer that is the readiness flag.
    bool renderingsReady() const { return m_ditherBoard.Pointer() != image::WaitPointer; }
    const QString& droppedPicturePath() const { return m_droppedPicturePath; }
    const image::BitmapImage& workingImage() const { return m_workingImage; }
    // The fitted 490 × 490 picture both renderings were made from.
    const QImage& fittedImage() const { return m_fittedImage; }

private:
    // The effect window's timer tick: fit, then both renderings.
    void computeEffects();
    void resetEffectBoards();
    // Both boards again from the studio, once they have been drawn first.
    void redrawEffectBoards();
    // The preview board cleared to plain white, ready for the chosen rendering.
    void startPreview();
    void finishChoice();

    image::DrawingBoard& m_previewBoard;
    QImage m_plainWhiteBackground;
    platform::Timer& m_effectTaskTimer;
    image::ImageView& m_view;

    image::DrawingBoard m_blackWhiteBoard;
    image::DrawingBoard m_ditherBoard;

    QString m_droppedPicturePath;
    // The decoded drop, kept only until the timer has fitted it.
    codec::LoadedPicture m_droppedPicture;
    // The fitted picture and both renderings when they were made during the
    // decode; else the timer makes them from m_droppedPicture.
    StreamedRenderings m_renderings;
    // Images of the last renderings, drawn and no longer needed: the next
    // drop renders into them again.
    StreamedRenderings m_spareBuffers;
    image::BitmapImage m_workingImage;
    image::BitmapImage m_editScratchImage;
    QImage m_fittedImage;
    // The tuning and the renderings of m_fittedImage.
    rendering::TunedPicture m_studio;
    bool m_effectWindowOpen = false;

    ImageEdits m_edits;
};

} // namespace kovra::picture
