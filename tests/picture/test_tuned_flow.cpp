// The tuning and the renderings as the effect window uses them: neutral
// tuning draws exactly what the window always drew, and every choice puts on
// the preview board what its board or tile shows.
#include "image/drawing_board.h"
#include "picture/picture_flow.h"
#include "rendering/black_white.h"
#include "rendering/dither.h"
#include "rendering/fitting.h"
#include "rendering/rendering.h"
#include "tests/picture/picture_rig.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

namespace kovra::test {
namespace {

using rendering::Rendering;
using rendering::Tuning;

const QRgb kWhite = qRgb(255, 255, 255);

QImage pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 255) / w, (y * 255) / h, ((x + 2 * y) * 3) & 255));
    return img;
}

QImage white(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kWhite);
    return img;
}

QImage whiteBoardWith(const std::function<void(image::DrawingBoard&)>& draw)
{
    image::DrawingBoard board(512, 512);
    board.SetBackgroundColour(Qt::white);
    board.ClearBoard();
    draw(board);
    return board.picture();
}

class TunedFlowTest : public ::testing::Test {
protected:
    TunedFlowTest() { board.SetBackgroundPicture(plainWhite); }
    QString save(const QString& name, const QImage& image, const char* format = "PNG")
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, format, 95));
        return path;
    }
    void dropAndCompute(const QString& path)
    {
        flow.FileDropped({path});
        ASSERT_TRUE(WaitForAnswer(events));
        ASSERT_TRUE(timer.tick());
        ASSERT_TRUE(flow.renderingsReady());
    }

    QTemporaryDir dir;
    QImage plainWhite = white(600, 600);
    image::DrawingBoard board{512, 512};
    ManualTimer timer;
    picture::PictureEvents events;
    picture::PictureFlow flow{board, plainWhite, timer, events};
};

// For a picture that fills the square, a small one, and a big JPEG (whose
// renderings are made while it decodes), in both choices: a tuning undone
// leaves the boards, the preview and the working image as they always were.
TEST_F(TunedFlowTest, NeutralTuningGivesTheOriginalRenderingsBitForBit)
{
    const QString pictures[] = {save("full.png", pattern(490, 490)), save("small.png", pattern(200, 120)),
                                save("big.jpg", pattern(900, 700), "JPEG")};
    for (const QString& path : pictures) {
        for (bool dither : {false, true}) {
            dropAndCompute(path);
            const QImage fitted = flow.fittedImage();
            const QImage blackWhite =
                whiteBoardWith([&](image::DrawingBoard& b) { b.DrawPicture(rendering::RenderBlackWhite(fitted), 0, 0); });
            const QImage dots = whiteBoardWith(
                [&](image::DrawingBoard& b) { rendering::DrawDitherDots(b, rendering::RenderDitherDots(fitted)); });
            EXPECT_EQ(flow.blackWhiteBoard().picture(), blackWhite) << path.toStdString();
            EXPECT_EQ(flow.ditherBoard().picture(), dots) << path.toStdString();

            ASSERT_TRUE(flow.SetTuning({.brightness = 30, .gamma = 1.5, .invert = true, .threshold = 90}));
            EXPECT_NE(flow.blackWhiteBoard().picture(), blackWhite);
            EXPECT_NE(flow.ditherBoard().picture(), dots);
            ASSERT_TRUE(flow.SetTuning(Tuning{}));
            EXPECT_EQ(flow.blackWhiteBoard().picture(), blackWhite) << path.toStdString();
            EXPECT_EQ(flow.ditherBoard().picture(), dots) << path.toStdString();

            dither ? flow.ChooseDither() : flow.ChooseBlackWhite();
            EXPECT_EQ(board.picture(), dither ? dots : blackWhite) << path.toStdString();
            EXPECT_EQ(flow.workingImage().ToQImage(), board.picture());
        }
    }
}

TEST_F(TunedFlowTest, EveryChoiceIsWhatItsBoardShows)
{
    const QString path = save("small.png", pattern(300, 160));
    // A tuning given before the renderings are ready is the one they use,
    // whether it comes while the file is read or before the boards are drawn.
    flow.FileDropped({path});
    ASSERT_TRUE(flow.SetTuning({.contrast = 40, .invert = true}));
    ASSERT_TRUE(WaitForAnswer(events));
    flow.SetRightRendering(Rendering::Stucki);
    ASSERT_TRUE(timer.tick());
    const QImage stucki = flow.tunedPicture().render(Rendering::Stucki);
    EXPECT_EQ(flow.ditherBoard().picture(), whiteBoardWith([&](image::DrawingBoard& b) { b.DrawPicture(stucki, 0, 0); }));
    // The inverted picture leaves the margins white on both boards.
    const QRect place = rendering::FitPlacement(300, 160);
    for (const image::DrawingBoard* b : {&flow.blackWhiteBoard(), &flow.ditherBoard()}) {
        EXPECT_EQ(b->picture().pixel(place.left() - 1, place.top()), kWhite);
        EXPECT_EQ(b->picture().pixel(place.left(), place.top() - 1), kWhite);
        EXPECT_EQ(b->picture().pixel(place.right() + 1, place.bottom()), kWhite);
    }
    // A tuning out of range is refused and changes nothing.
    const QImage before = flow.ditherBoard().picture();
    EXPECT_FALSE(flow.SetTuning({.gamma = 9.0}));
    EXPECT_EQ(flow.tunedPicture().tuning().contrast, 40);
    EXPECT_EQ(flow.ditherBoard().picture(), before);

    flow.ChooseDither();
    EXPECT_EQ(board.picture(), before);

    // A tile of the contact sheet chooses its rendering the same way.
    for (Rendering r : {Rendering::Bayer, Rendering::BlackWhite, Rendering::Dither}) {
        dropAndCompute(path);
        const QImage tile = flow.tunedPicture().renderAll()[size_t(r)];
        flow.Choose(r);
        EXPECT_EQ(board.picture().copy(0, 0, rendering::FitSize, rendering::FitSize), tile) << rendering::RenderingName(r).toStdString();
        EXPECT_FALSE(flow.choosing());
    }
}

} // namespace
} // namespace kovra::test
