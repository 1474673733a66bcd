// The flow of a dropped picture as its events tell it: read on the worker,
// loaded or refused, the renderings drawn at the effect window's tick, a
// choice, and a later drop that wins over one still being read.
#include "image/drawing_board.h"
#include "picture/picture_flow.h"
#include "picture/picture_worker.h"
#include "rendering/fitting.h"
#include "tests/picture/picture_rig.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

namespace kovra::test {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

QImage filled(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

class PictureFlowTest : public ::testing::Test {
protected:
    PictureFlowTest()
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
    // Drop and wait for the worker's answer.
    void drop(const QStringList& paths)
    {
        flow.FileDropped(paths);
        ASSERT_TRUE(WaitForAnswer(events));
    }
    // Drop, wait, and let the effect window's timer fire.
    void dropAndShow(const QString& path)
    {
        drop({path});
        ASSERT_TRUE(timer.tick());
    }
    bool boardIs(const QImage& expected) const { return board.picture() == expected; }

    QTemporaryDir dir;
    QImage hint = filled(512, 512, kWhite);
    QImage plainWhite = filled(600, 600, kWhite);
    image::DrawingBoard board{512, 512};
    ManualTimer timer;
    picture::PictureEvents events;
    PictureEventLog log{events};
    picture::PictureFlow flow{board, plainWhite, timer, events};
};

TEST_F(PictureFlowTest, ADropIsLoadedThenItsRenderingsAreDrawnAtTheTick)
{
    const QString path = savePicture("red.png", filled(300, 200, qRgb(255, 0, 0)));
    const QImage before = board.picture();
    flow.FileDropped({path});
    // Nothing happens before the worker has answered.
    EXPECT_TRUE(flow.preparing());
    EXPECT_TRUE(log.names.isEmpty());
    EXPECT_FALSE(flow.choosing());
    ASSERT_TRUE(WaitForAnswer(events));
    EXPECT_FALSE(flow.preparing());
    EXPECT_EQ(log.names, QStringList{"loaded"});
    EXPECT_EQ(log.loadedPath, path);
    EXPECT_EQ(log.loadedSize, QSize(300, 200));
    EXPECT_EQ(flow.droppedPicturePath(), path);
    EXPECT_TRUE(flow.choosing());
    // The boards are drawn at the window's tick; the preview is untouched.
    EXPECT_EQ(timer.period(), picture::PictureFlow::EffectTaskPeriod);
    EXPECT_FALSE(flow.renderingsReady());
    EXPECT_EQ(flow.ditherBoard().picture().pixel(95, 145), kWhite);
    EXPECT_TRUE(boardIs(before));

    ASSERT_TRUE(timer.tick());
    EXPECT_FALSE(timer.running());
    EXPECT_EQ(log.names, (QStringList{"loaded", "renderingsReady"}));
    EXPECT_TRUE(flow.renderingsReady());
    // Red is dark in black and white (255 <= 382) and has tone 0 for the dither.
    EXPECT_EQ(flow.blackWhiteBoard().picture().pixel(95, 145), kBlack);
    EXPECT_EQ(flow.blackWhiteBoard().picture().pixel(94, 145), kWhite);
    EXPECT_EQ(flow.ditherBoard().picture().pixel(95, 145), kBlack);
    EXPECT_EQ(flow.ditherBoard().picture().pixel(95, 144), kWhite);
    EXPECT_EQ(flow.fittedImage().width(), rendering::FitSize);
    EXPECT_TRUE(boardIs(before));
}

TEST_F(PictureFlowTest, UnreadableFilesAreRefusedWithAReasonAndChangeNothing)
{
    const QString truncated = saveTruncated("cut.png");
    QFile text(dir.filePath("notes.bmp"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("just some words, not a picture\n");
    text.close();
    const QString missing = dir.filePath("gone.jpg");

    const QImage before = board.picture();
    for (const QString& path : {truncated, text.fileName(), missing}) {
        log.clear();
        log.reasons.clear();
        drop({path});
        EXPECT_EQ(log.names, QStringList{"refused"}) << path.toStdString();
        EXPECT_EQ(log.refusedPath, path);
        ASSERT_EQ(log.reasons.size(), 1);
        EXPECT_FALSE(log.reasons[0].isEmpty());
        EXPECT_FALSE(flow.choosing());
        EXPECT_FALSE(timer.running());
        EXPECT_TRUE(flow.droppedPicturePath().isEmpty());
    }
    EXPECT_TRUE(boardIs(before));
    EXPECT_TRUE(flow.workingImage().isEmpty());
}

TEST_F(PictureFlowTest, FailedSecondDropKeepsTheOpenChoiceAsItWas)
{
    const QString good = savePicture("black.png", filled(490, 490, kBlack));
    dropAndShow(good);
    log.clear();
    drop({saveTruncated("cut.png")});
    EXPECT_EQ(log.names, QStringList{"refused"});
    EXPECT_TRUE(flow.choosing());
    EXPECT_TRUE(flow.renderingsReady());
    EXPECT_EQ(flow.droppedPicturePath(), good);
    flow.ChooseBlackWhite();
    EXPECT_EQ(board.picture().pixel(0, 0), kBlack);
}

TEST_F(PictureFlowTest, MultiFileDropUsesTheFirstFile)
{
    const QString black = savePicture("black.png", filled(490, 490, kBlack));
    const QString white = savePicture("white.png", filled(490, 490, kWhite));
    drop({black, white});
    EXPECT_EQ(flow.droppedPicturePath(), black);
    ASSERT_TRUE(timer.tick());
    EXPECT_EQ(flow.blackWhiteBoard().picture().pixel(200, 200), kBlack);
}

TEST_F(PictureFlowTest, ClicksBeforeTheRenderingsAreReadyAreIgnored)
{
    flow.FileDropped({savePicture("black.png", filled(490, 490, kBlack))});
    const QImage before = board.picture();
    // While the file is read, and once loaded before the tick.
    for (int answered = 0; answered < 2; ++answered) {
        flow.ChooseBlackWhite();
        flow.ChooseDither();
        flow.Choose(rendering::Rendering::Bayer);
        EXPECT_TRUE(boardIs(before));
        EXPECT_TRUE(flow.workingImage().isEmpty());
        EXPECT_TRUE(log.names.filter("chosen").isEmpty());
        if (!answered) {
            ASSERT_TRUE(WaitForAnswer(events));
        }
    }
    EXPECT_TRUE(flow.choosing());
    // Once ready the same click chooses.
    ASSERT_TRUE(timer.tick());
    flow.ChooseDither();
    EXPECT_EQ(log.names.last(), "chosen dither");
    EXPECT_FALSE(flow.choosing());
}

TEST_F(PictureFlowTest, BlackWhiteChoiceDrawsOnPlainWhiteAndBecomesTheWorkingImage)
{
    dropAndShow(savePicture("wide.png", filled(1000, 500, qRgb(40, 40, 40))));
    flow.ChooseBlackWhite();
    EXPECT_EQ(log.names.last(), "chosen bw");
    // The rendering occupies 0-489; the rest, and the margins, are white.
    EXPECT_EQ(board.picture().pixel(0, 122), kBlack);
    EXPECT_EQ(board.picture().pixel(489, 366), kBlack);
    EXPECT_EQ(board.picture().pixel(0, 121), kWhite);
    EXPECT_EQ(board.picture().pixel(490, 200), kWhite);
    EXPECT_EQ(board.picture().pixel(100, 240), kBlack); // inside the rendering, not the old hint
    EXPECT_EQ(board.picture().pixel(100, 400), kWhite);
    EXPECT_EQ(flow.workingImage().ToQImage(), board.picture());
    // The drop hint is gone for good: a cleared board is plain white.
    board.ClearBoard();
    EXPECT_TRUE(boardIs(filled(512, 512, kWhite)));
}

TEST_F(PictureFlowTest, DitherChoiceRepeatsTheDitherBoardOnThePreview)
{
    QImage ramp(490, 490, QImage::Format_RGB32);
    for (int y = 0; y < 490; ++y)
        for (int x = 0; x < 490; ++x)
            ramp.setPixel(x, y, qRgb(x / 2, y / 2, (x + y) / 4));
    dropAndShow(savePicture("ramp.png", ramp));
    const QImage ditherBoard = flow.ditherBoard().picture();
    flow.ChooseDither();
    EXPECT_TRUE(boardIs(ditherBoard));
    for (int i = 0; i < 512; ++i) {
        EXPECT_EQ(board.picture().pixel(i, 0), kWhite);
        EXPECT_EQ(board.picture().pixel(0, i), kWhite);
    }
    EXPECT_EQ(board.picture().pixel(1, 1), kBlack);
    EXPECT_EQ(flow.workingImage().ToQImage(), board.picture());
}

TEST_F(PictureFlowTest, SecondDropWhileOpenStartsOver)
{
    dropAndShow(savePicture("black.png", filled(490, 490, kBlack)));
    const QString white = savePicture("white.png", filled(490, 490, kWhite));
    log.clear();
    const int restarts = timer.restarts();
    drop({white});
    EXPECT_EQ(log.names, QStringList{"loaded"});
    EXPECT_EQ(timer.restarts(), restarts + 1);
    EXPECT_FALSE(flow.renderingsReady());
    // The old renderings are gone while the new ones wait for the tick.
    EXPECT_EQ(flow.blackWhiteBoard().picture().pixel(200, 200), kWhite);
    flow.ChooseBlackWhite();
    EXPECT_TRUE(flow.workingImage().isEmpty());
    ASSERT_TRUE(timer.tick());
    flow.ChooseBlackWhite();
    EXPECT_TRUE(boardIs(filled(512, 512, kWhite)));
}

TEST_F(PictureFlowTest, ALaterDropWinsOverOneStillBeingRead)
{
    // The first picture is big enough to be still in the reading when the
    // second comes; whichever way the race runs, only the second is loaded.
    const QString big = savePicture("big.png", filled(3000, 2000, qRgb(90, 90, 90)));
    const QString black = savePicture("black.png", filled(490, 490, kBlack));
    flow.FileDropped({big});
    drop({black});
    EXPECT_EQ(log.names, QStringList{"loaded"});
    EXPECT_EQ(log.loadedPath, black);
    ASSERT_TRUE(timer.tick());
    EXPECT_EQ(flow.blackWhiteBoard().picture().pixel(200, 200), kBlack);
    // No answer of the first drop comes later either.
    QCoreApplication::processEvents();
    EXPECT_EQ(log.names, (QStringList{"loaded", "renderingsReady"}));
}

TEST_F(PictureFlowTest, ClosingTheChoiceChangesNothingElse)
{
    drop({savePicture("black.png", filled(490, 490, kBlack))});
    const QImage before = board.picture();
    // Given up before the timer fired: the boards are never drawn.
    flow.ChoiceAbandoned();
    EXPECT_FALSE(timer.tick());
    EXPECT_FALSE(flow.renderingsReady());
    flow.ChooseBlackWhite();
    EXPECT_TRUE(boardIs(before));

    // Given up when ready: later clicks do nothing either; twice is harmless.
    dropAndShow(savePicture("black2.png", filled(490, 490, kBlack)));
    flow.ChoiceAbandoned();
    flow.ChoiceAbandoned();
    flow.ChooseDither();
    EXPECT_TRUE(boardIs(before));
    EXPECT_TRUE(flow.workingImage().isEmpty());
    EXPECT_TRUE(log.names.filter("chosen").isEmpty());
}

TEST_F(PictureFlowTest, ReloadAfterRotateAndClearShowsTheChoiceUnrotated)
{
    QImage corner = filled(490, 490, kWhite);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            corner.setPixel(x, y, kBlack);
    dropAndShow(savePicture("corner.png", corner));
    flow.ChooseBlackWhite();
    const QImage chosen = board.picture();
    flow.edits().RotateBoard();
    EXPECT_EQ(board.picture().pixel(511 - 5, 5), kBlack);
    EXPECT_EQ(board.picture().pixel(5, 5), kWhite);
    flow.edits().ClearPreview();
    EXPECT_TRUE(boardIs(filled(512, 512, kWhite)));
    flow.edits().ReloadWorkingImage();
    EXPECT_TRUE(boardIs(chosen));
    EXPECT_EQ(log.names.mid(log.names.size() - 3),
              (QStringList{"edited Rotated", "edited Cleared", "edited Reloaded"}));
}

TEST_F(PictureFlowTest, BigJpegIsFittedFromAReducedDecode)
{
    QImage big = filled(4000, 2000, qRgb(30, 30, 30));
    dropAndShow(savePicture("big.jpg", big, "JPEG"));
    const QImage fitted = flow.fittedImage();
    ASSERT_EQ(fitted.size(), QSize(490, 490));
    EXPECT_EQ(fitted.pixel(245, 121), kWhite);
    EXPECT_LT(qGray(fitted.pixel(245, 122)), 60);
    EXPECT_LT(qGray(fitted.pixel(245, 366)), 60);
    EXPECT_EQ(fitted.pixel(245, 367), kWhite);
}

TEST(PictureFlowEnd, AFlowEndedWhileItReadsAPictureStopsItsWorkerAndReportsNothing)
{
    QTemporaryDir dir;
    QImage big = filled(2400, 1800, qRgb(60, 60, 60));
    const QString path = dir.filePath("big.png");
    ASSERT_TRUE(big.save(path));
    image::DrawingBoard board(512, 512);
    ManualTimer timer;
    picture::PictureEvents events;
    PictureEventLog log(events);
    {
        picture::PictureFlow flow(board, filled(600, 600, kWhite), timer, events);
        flow.FileDropped({path});
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(log.names.isEmpty());
    EXPECT_FALSE(timer.running());
}

// The worker alone: a newer job takes the place of a waiting one and tells
// the running one to stop; ending the worker stops what runs.
TEST(PictureWorker, TheLatestJobWinsAndEndingStopsTheRunningOne)
{
    std::atomic<bool> started{false}, release{false}, firstToldToStop{false};
    std::atomic<int> runs{0};
    std::atomic<bool> lastToldToStop{false};
    {
        picture::PictureWorker worker;
        worker.post([&](const std::atomic<bool>& stop) {
            started = true;
            while (!release.load())
                std::this_thread::yield();
            firstToldToStop = stop.load();
        });
        while (!started.load())
            std::this_thread::yield();
        // Both come while the first runs: the second never runs.
        worker.post([&](const std::atomic<bool>&) { runs += 100; });
        worker.post([&](const std::atomic<bool>& stop) {
            ++runs;
            while (!stop.load())
                std::this_thread::yield();
            lastToldToStop = true;
        });
        release = true;
        while (runs.load() == 0)
            std::this_thread::yield();
    }
    EXPECT_TRUE(firstToldToStop);
    EXPECT_EQ(runs.load(), 1);
    EXPECT_TRUE(lastToldToStop);
}

} // namespace
} // namespace kovra::test
