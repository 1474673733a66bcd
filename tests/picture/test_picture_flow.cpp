#include "image/drawing_board.h"
#include "rendering/fitting.h"
#include "picture/picture_flow.h"
#include "recording_image_view.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace kovra::test {
namespace {

using image::HandPointer;
using image::WaitPointer;

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

QImage filled(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

// What a readable drop does, in this order.
const QStringList kDropCalls{"OpenEffectWindow", "PauseCarving", "DisableMachineControls", "EnablePictureButtons",
                             "ResetRunClock"};

class PictureSessionTest : public ::testing::Test {
protected:
    PictureSessionTest()
    {
        // The board as it starts: a drop hint with a mark in it.
        hint.setPixel(100, 240, kBlack);
        board.SetBackgroundPicture(hint);
    }

    QString savePicture(const QString& name, const QImage& image, const char* format = "PNG")
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }
    // A picture whose pixel data stops halfway.
    QString saveTruncated(const QString& name)
    {
        const QString path = savePicture(name, filled(200, 200, qRgb(10, 20, 30)));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.resize(file.size() / 2));
        return path;
    }
    // Drop and let the effect window's timer fire.
    void dropAndCompute(const QString& path)
    {
        session.FileDropped({path});
        ASSERT_TRUE(timer.tick());
    }
    bool boardIs(const QImage& expected) const { return board.picture() == expected; }

    QTemporaryDir dir;
    QImage hint = filled(512, 512, kWhite);
    QImage plainWhite = filled(600, 600, kWhite);
    image::DrawingBoard board{512, 512};
    ManualTimer timer;
    RecordingImageView view;
    picture::PictureSession session{board, plainWhite, timer, view};
};

TEST_F(PictureSessionTest, DropOpensTheWindowThenPausesAndSetsTheControls)
{
    const QString path = savePicture("red.png", filled(300, 200, qRgb(255, 0, 0)));
    const QImage before = board.picture();
    session.FileDropped({path});
    EXPECT_EQ(view.calls, kDropCalls);
    EXPECT_EQ(session.droppedPicturePath(), path);
    EXPECT_TRUE(session.effectWindowOpen());
    // The computation waits for the window's timer; the board is untouched.
    EXPECT_EQ(timer.period(), picture::PictureSession::EffectTaskPeriod);
    EXPECT_EQ(session.blackWhiteBoard().Pointer(), WaitPointer);
    EXPECT_EQ(session.ditherBoard().Pointer(), WaitPointer);
    EXPECT_TRUE(boardIs(before));

    ASSERT_TRUE(timer.tick());
    EXPECT_FALSE(timer.running());
    EXPECT_EQ(session.blackWhiteBoard().Pointer(), HandPointer);
    EXPECT_EQ(session.ditherBoard().Pointer(), HandPointer);
    // Red is dark in black and white (255 <= 382) and has tone 0 for the dither.
    EXPECT_EQ(session.blackWhiteBoard().picture().pixel(95, 145), kBlack);
    EXPECT_EQ(session.blackWhiteBoard().picture().pixel(94, 145), kWhite);
    EXPECT_EQ(session.ditherBoard().picture().pixel(95, 145), kBlack);
    EXPECT_EQ(session.ditherBoard().picture().pixel(95, 144), kWhite);
    EXPECT_EQ(session.fittedImage().width(), rendering::FitSize);
    EXPECT_TRUE(boardIs(before));
}

TEST_F(PictureSessionTest, UnreadableFilesLogOneLineAndChangeNothing)
{
    const QString truncated = saveTruncated("cut.png");
    QFile text(dir.filePath("notes.bmp"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just some words, not a picture\n");
    text.close();
    const QString missing = dir.filePath("gone.jpg");

    const QImage before = board.picture();
    for (const QString& path : {truncated, text.fileName(), missing}) {
        view.calls.clear();
        view.log.clear();
        session.FileDropped({path});
        EXPECT_EQ(view.calls, QStringList{"AppendLogLine"}) << path.toStdString();
        ASSERT_EQ(view.log.size(), 1);
        EXPECT_TRUE(view.log[0].startsWith(QStringLiteral("Cannot open picture \"%1\": ").arg(path)))
            << view.log[0].toStdString();
        EXPECT_GT(view.log[0].size(), QStringLiteral("Cannot open picture \"%1\": ").arg(path).size());
        EXPECT_FALSE(session.effectWindowOpen());
        EXPECT_FALSE(timer.running());
        EXPECT_TRUE(session.droppedPicturePath().isEmpty());
    }
    EXPECT_TRUE(boardIs(before));
    EXPECT_TRUE(session.workingImage().isEmpty());
}

TEST_F(PictureSessionTest, FailedSecondDropKeepsTheOpenWindowAsItWas)
{
    const QString good = savePicture("black.png", filled(490, 490, kBlack));
    dropAndCompute(good);
    view.calls.clear();
    session.FileDropped({saveTruncated("cut.png")});
    EXPECT_EQ(view.calls, QStringList{"AppendLogLine"});
    EXPECT_TRUE(session.effectWindowOpen());
    EXPECT_TRUE(session.renderingsReady());
    EXPECT_EQ(session.droppedPicturePath(), good);
    session.ChooseBlackWhite();
    EXPECT_EQ(board.picture().pixel(0, 0), kBlack);
}

TEST_F(PictureSessionTest, MultiFileDropUsesTheFirstFile)
{
    const QString black = savePicture("black.png", filled(490, 490, kBlack));
    const QString white = savePicture("white.png", filled(490, 490, kWhite));
    session.FileDropped({black, white});
    EXPECT_EQ(session.droppedPicturePath(), black);
    ASSERT_TRUE(timer.tick());
    EXPECT_EQ(session.blackWhiteBoard().picture().pixel(200, 200), kBlack);
}

TEST_F(PictureSessionTest, ClicksBeforeTheRenderingsAreReadyAreIgnored)
{
    session.FileDropped({savePicture("black.png", filled(490, 490, kBlack))});
    const QImage before = board.picture();
    session.ChooseBlackWhite();
    session.ChooseDither();
    EXPECT_TRUE(boardIs(before));
    EXPECT_TRUE(session.workingImage().isEmpty());
    EXPECT_TRUE(session.effectWindowOpen());
    EXPECT_FALSE(view.calls.contains("CloseEffectWindow"));
    // Once ready the same click chooses.
    ASSERT_TRUE(timer.tick());
    session.ChooseDither();
    EXPECT_TRUE(view.calls.endsWith("CloseEffectWindow"));
    EXPECT_FALSE(session.effectWindowOpen());
}

TEST_F(PictureSessionTest, BlackWhiteChoiceDrawsOnPlainWhiteAndBecomesTheWorkingImage)
{
    dropAndCompute(savePicture("wide.png", filled(1000, 500, qRgb(40, 40, 40))));
    session.ChooseBlackWhite();
    // The rendering occupies 0-489; the rest, and the margins, are white.
    EXPECT_EQ(board.picture().pixel(0, 122), kBlack);
    EXPECT_EQ(board.picture().pixel(489, 366), kBlack);
    EXPECT_EQ(board.picture().pixel(0, 121), kWhite);
    EXPECT_EQ(board.picture().pixel(490, 200), kWhite);
    EXPECT_EQ(board.picture().pixel(100, 240), kBlack); // inside the rendering, not the old hint
    EXPECT_EQ(board.picture().pixel(100, 400), kWhite);
    EXPECT_EQ(session.workingImage().ToQImage(), board.picture());
    // The drop hint is gone for good: a cleared board is plain white.
    board.ClearBoard();
    EXPECT_TRUE(boardIs(filled(512, 512, kWhite)));
}

TEST_F(PictureSessionTest, DitherChoiceRepeatsTheDitherBoardOnThePreview)
{
    QImage ramp(490, 490, QImage::Format_RGB32);
    for (int y = 0; y < 490; ++y)
        for (int x = 0; x < 490; ++x)
            ramp.setPixel(x, y, qRgb(x / 2, y / 2, (x + y) / 4));
    dropAndCompute(savePicture("ramp.png", ramp));
    const QImage ditherBoard = session.ditherBoard().picture();
    session.ChooseDither();
    EXPECT_TRUE(boardIs(ditherBoard));
    for (int i = 0; i < 512; ++i) {
        EXPECT_EQ(board.picture().pixel(i, 0), kWhite);
        EXPECT_EQ(board.picture().pixel(0, i), kWhite);
    }
    EXPECT_EQ(board.picture().pixel(1, 1), kBlack);
    EXPECT_EQ(session.workingImage().ToQImage(), board.picture());
}

TEST_F(PictureSessionTest, SecondDropWhileOpenStartsOver)
{
    dropAndCompute(savePicture("black.png", filled(490, 490, kBlack)));
    const QString white = savePicture("white.png", filled(490, 490, kWhite));
    view.calls.clear();
    const int restarts = timer.restarts();
    session.FileDropped({white});
    EXPECT_EQ(view.calls, kDropCalls);
    EXPECT_EQ(timer.restarts(), restarts + 1);
    EXPECT_FALSE(session.renderingsReady());
    // The old renderings are gone while the new ones are computed.
    EXPECT_EQ(session.blackWhiteBoard().picture().pixel(200, 200), kWhite);
    session.ChooseBlackWhite();
    EXPECT_TRUE(session.workingImage().isEmpty());
    ASSERT_TRUE(timer.tick());
    session.ChooseBlackWhite();
    EXPECT_TRUE(boardIs(filled(512, 512, kWhite)));
}

TEST_F(PictureSessionTest, ClosingTheWindowChangesNothingElse)
{
    session.FileDropped({savePicture("black.png", filled(490, 490, kBlack))});
    const QImage before = board.picture();
    // Closed before the timer fired: the computation never runs.
    session.EffectWindowClosed();
    EXPECT_FALSE(timer.tick());
    EXPECT_EQ(session.ditherBoard().Pointer(), WaitPointer);
    session.ChooseBlackWhite();
    EXPECT_TRUE(boardIs(before));

    // Closed when ready: later clicks do nothing either; closing twice is harmless.
    dropAndCompute(savePicture("black2.png", filled(490, 490, kBlack)));
    session.EffectWindowClosed();
    session.EffectWindowClosed();
    session.ChooseDither();
    EXPECT_TRUE(boardIs(before));
    EXPECT_TRUE(session.workingImage().isEmpty());
    EXPECT_FALSE(view.calls.contains("CloseEffectWindow"));
}

TEST_F(PictureSessionTest, ReloadAfterRotateAndClearShowsTheChoiceUnrotated)
{
    QImage corner = filled(490, 490, kWhite);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            corner.setPixel(x, y, kBlack);
    dropAndCompute(savePicture("corner.png", corner));
    session.ChooseBlackWhite();
    const QImage chosen = board.picture();
    session.edits().RotateBoard();
    EXPECT_EQ(board.picture().pixel(511 - 5, 5), kBlack);
    EXPECT_EQ(board.picture().pixel(5, 5), kWhite);
    session.edits().ClearPreview();
    EXPECT_TRUE(boardIs(filled(512, 512, kWhite)));
    session.edits().ReloadWorkingImage();
    EXPECT_TRUE(boardIs(chosen));
}

TEST_F(PictureSessionTest, BigJpegIsFittedFromAReducedDecode)
{
    QImage big = filled(4000, 2000, qRgb(30, 30, 30));
    dropAndCompute(savePicture("big.jpg", big, "JPEG"));
    const QImage fitted = session.fittedImage();
    ASSERT_EQ(fitted.size(), QSize(490, 490));
    EXPECT_EQ(fitted.pixel(245, 121), kWhite);
    EXPECT_LT(qGray(fitted.pixel(245, 122)), 60);
    EXPECT_LT(qGray(fitted.pixel(245, 366)), 60);
    EXPECT_EQ(fitted.pixel(245, 367), kWhite);
}

} // namespace
} // namespace kovra::test
