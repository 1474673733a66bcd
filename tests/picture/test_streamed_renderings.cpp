#include "codec/picture_loader.h"
#include "image/drawing_board.h"
#include "picture/kept_thread.h"
#include "picture/picture_flow.h"
#include "picture/streamed_renderings.h"
#include "rendering/black_white.h"
#include "rendering/dither.h"
#include "rendering/fitting.h"
#include "tests/codec/decoders_codec_writers.h"
#include "tests/picture/picture_rig.h"
#include "tests/rendering/test_pictures.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <thread>
#include <vector>

namespace kovra::test {
namespace {

using rendering::FitSize;

class StreamedRenderingsTest : public ::testing::Test {
protected:
    QString save(const QString& name, const QImage& image, const char* format = "JPEG")
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, format, 90));
        return path;
    }

    // The plain road: decode, fit on a white board, render the capture.
    static picture::StreamedRenderings plainRenderings(const QString& path)
    {
        const codec::LoadedPicture picture = codec::LoadPicture(path, rendering::FitDecodeSize);
        image::DrawingBoard scratch(FitSize, FitSize);
        scratch.SetBackgroundColour(Qt::white);
        scratch.ClearBoard();
        const QRect place = rendering::FitPlacement(picture.width, picture.height);
        if (picture.ok() && !place.isEmpty())
            scratch.DrawPicture(picture.image, place.x(), place.y(), place.width(), place.height());
        picture::StreamedRenderings out;
        out.fitted = scratch.picture();
        out.blackWhite = rendering::RenderBlackWhite(out.fitted);
        out.ditherDots = rendering::RenderDitherDots(out.fitted);
        return out;
    }

    QTemporaryDir dir;
};

TEST_F(StreamedRenderingsTest, RenderingsMadeDuringTheDecodeEqualThePlainOnes)
{
    struct Case {
        int w, h;
        const char* format;
    };
    // Full-size, half- and quarter-scale JPEG decodes; PNG rows shrunk by
    // whole factors (1, 4, 6), the last column and row of boxes partly
    // filled; wide, tall and nearly square.
    const Case cases[] = {{640, 480, "JPEG"},  {2000, 1000, "JPEG"}, {300, 1200, "JPEG"}, {1100, 1000, "JPEG"},
                          {491, 491, "JPEG"},  {3000, 200, "JPEG"},  {640, 480, "PNG"},   {2003, 1001, "PNG"},
                          {3000, 200, "PNG"},  {301, 1203, "PNG"}};
    quint32 seed = 100;
    for (const Case& c : cases) {
        const QString path = save(QStringLiteral("p%1x%2.%3").arg(c.w).arg(c.h).arg(QLatin1String(c.format)),
                                  testPicture(c.w, c.h, seed++), c.format);
        picture::StreamedRenderings streamed;
        const codec::LoadedPicture picture = picture::LoadPictureRendered(path, streamed);
        ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
        EXPECT_EQ(QSize(picture.width, picture.height), QSize(c.w, c.h));
        ASSERT_TRUE(streamed.ready()) << c.w << "x" << c.h;
        const picture::StreamedRenderings plain = plainRenderings(path);
        EXPECT_EQ(streamed.fitted, plain.fitted) << c.w << "x" << c.h;
        EXPECT_EQ(streamed.blackWhite, plain.blackWhite) << c.w << "x" << c.h;
        EXPECT_EQ(streamed.ditherDots, plain.ditherDots) << c.w << "x" << c.h;
    }
}

TEST_F(StreamedRenderingsTest, ProgressiveAndCmykJpegsToo)
{
    // A progressive file hands over its rows only after all its scans.
    const QString progressive = dir.filePath("progressive.jpg");
    QImageWriter writer(progressive, "JPEG");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(testPicture(1200, 900, 21)));
    std::vector<uchar> cmyk(size_t(700) * 500 * 4);
    QRandomGenerator rng(22);
    for (size_t i = 0; i < cmyk.size(); ++i)
        cmyk[i] = uchar((i / 4 % 700) * 255 / 700 / 2 + rng.bounded(128));
    const QString cmykPath = dir.filePath("cmyk.jpg");
    QFile file(cmykPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(writeCmykJpeg(700, 500, cmyk));
    file.close();
    for (const QString& path : {progressive, cmykPath}) {
        picture::StreamedRenderings streamed;
        ASSERT_TRUE(picture::LoadPictureRendered(path, streamed).ok());
        ASSERT_TRUE(streamed.ready()) << path.toStdString();
        const picture::StreamedRenderings plain = plainRenderings(path);
        EXPECT_EQ(streamed.fitted, plain.fitted) << path.toStdString();
        EXPECT_EQ(streamed.blackWhite, plain.blackWhite) << path.toStdString();
        EXPECT_EQ(streamed.ditherDots, plain.ditherDots) << path.toStdString();
    }
}

TEST_F(StreamedRenderingsTest, EarlierRenderingsAreReusedOnlyWhenNothingElseHoldsThem)
{
    const QString path = save("reuse.jpg", testPicture(640, 480, 23));
    picture::StreamedRenderings renderings;
    ASSERT_TRUE(picture::LoadPictureRendered(path, renderings).ok());
    ASSERT_TRUE(renderings.ready());
    const picture::StreamedRenderings first = renderings; // shared: must not be drawn into
    const QImage firstFitted = first.fitted.copy();
    const QString other = save("other.jpg", testPicture(800, 600, 24));
    ASSERT_TRUE(picture::LoadPictureRendered(other, renderings).ok());
    EXPECT_EQ(first.fitted, firstFitted);
    EXPECT_EQ(renderings.fitted, plainRenderings(other).fitted);
    // Unshared buffers are drawn into again, with the same result.
    const uchar* bits = renderings.fitted.constBits();
    ASSERT_TRUE(picture::LoadPictureRendered(path, renderings).ok());
    EXPECT_EQ(renderings.fitted.constBits(), bits);
    EXPECT_EQ(renderings.ditherDots, plainRenderings(path).ditherDots);
}

TEST_F(StreamedRenderingsTest, DroppedJpegShowsThePlainRenderingsOnTheBoards)
{
    const QString path = save("drop.jpg", testPicture(800, 600, 11));
    image::DrawingBoard preview(512, 512);
    QImage white(600, 600, QImage::Format_RGB32);
    white.fill(Qt::white);
    ManualTimer timer;
    picture::PictureEvents events;
    picture::PictureFlow flow(preview, white, timer, events);
    flow.FileDropped({path});
    ASSERT_TRUE(WaitForAnswer(events));
    ASSERT_TRUE(timer.tick());
    ASSERT_TRUE(flow.renderingsReady());

    const picture::StreamedRenderings plain = plainRenderings(path);
    EXPECT_EQ(flow.fittedImage(), plain.fitted);
    image::DrawingBoard blackWhite(512, 512), dither(512, 512);
    for (image::DrawingBoard* board : {&blackWhite, &dither}) {
        board->SetBackgroundColour(Qt::white);
        board->ClearBoard();
    }
    blackWhite.DrawPicture(plain.blackWhite, 0, 0);
    rendering::DrawDitherDots(dither, plain.ditherDots);
    EXPECT_EQ(flow.blackWhiteBoard().picture(), blackWhite.picture());
    EXPECT_EQ(flow.ditherBoard().picture(), dither.picture());
    flow.ChooseDither();
    EXPECT_EQ(preview.picture(), dither.picture());
}

TEST_F(StreamedRenderingsTest, OtherPicturesAreLeftToThePlainRoad)
{
    picture::StreamedRenderings renderings;
    // Not shrunk: nothing to stream.
    EXPECT_TRUE(picture::LoadPictureRendered(save("small.jpg", testPicture(300, 200, 7)), renderings).ok());
    EXPECT_FALSE(renderings.ready());
    // Not a row-reporting decoder.
    EXPECT_TRUE(picture::LoadPictureRendered(save("big.bmp", testPicture(800, 600, 8), "BMP"), renderings).ok());
    EXPECT_FALSE(renderings.ready());
    // Interlaced rows come in passes over the whole picture.
    PngSpec interlaced;
    interlaced.width = 800;
    interlaced.height = 600;
    interlaced.interlaced = true;
    for (int y = 0; y < 600; ++y)
        interlaced.rows.push_back(QByteArray(800 * 3, char(y)));
    QFile file(dir.filePath("interlaced.png"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(writePng(interlaced));
    file.close();
    EXPECT_TRUE(picture::LoadPictureRendered(file.fileName(), renderings).ok());
    EXPECT_FALSE(renderings.ready());
}

TEST_F(StreamedRenderingsTest, CutJpegFailsAndLeavesNoRenderings)
{
    const QString path = save("cut.jpg", testPicture(1200, 900, 9));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() * 2 / 3));
    file.close();
    picture::StreamedRenderings renderings;
    const codec::LoadedPicture picture = picture::LoadPictureRendered(path, renderings);
    EXPECT_FALSE(picture.ok());
    EXPECT_TRUE(picture.error.startsWith("truncated JPEG data")) << picture.error.toStdString();
    EXPECT_FALSE(renderings.ready());
}

TEST_F(StreamedRenderingsTest, ADecodeToldToStopEndsWithoutRenderings)
{
    const std::atomic<bool> stop{true};
    for (const char* format : {"JPEG", "PNG"}) {
        const QString path = save(QStringLiteral("stopped.") + QLatin1String(format), testPicture(1200, 900, 30), format);
        picture::StreamedRenderings renderings;
        const codec::LoadedPicture picture = picture::LoadPictureRendered(path, renderings, &stop);
        EXPECT_FALSE(picture.ok()) << format;
        EXPECT_EQ(picture.error, codec::StoppedReason()) << format;
        EXPECT_FALSE(renderings.ready()) << format;
    }
}

} // namespace
} // namespace kovra::test

namespace kovra::test {
namespace {

// The renderers of one picture after another share a kept thread; pictures
// decoded at the same moment (two flows) render on a thread of their own
// then, with the same results.
TEST_F(StreamedRenderingsTest, PicturesDecodedAtOnceRenderAsTheyDoAlone)
{
    const QString paths[] = {save("a.jpg", testPicture(1200, 900, 41)), save("b.png", testPicture(900, 1200, 42), "PNG"),
                             save("c.jpg", testPicture(800, 600, 43))};
    picture::StreamedRenderings together[3];
    std::vector<std::thread> decoders;
    for (int i = 0; i < 3; ++i)
        decoders.emplace_back([&, i] { EXPECT_TRUE(picture::LoadPictureRendered(paths[i], together[i]).ok()); });
    for (std::thread& decoder : decoders)
        decoder.join();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(together[i].ready()) << i;
        const picture::StreamedRenderings plain = plainRenderings(paths[i]);
        EXPECT_EQ(together[i].fitted, plain.fitted) << i;
        EXPECT_EQ(together[i].ditherDots, plain.ditherDots) << i;
    }
}

TEST(KeptThread, RunsOneTaskAfterAnotherOnOneThreadOfItsOwn)
{
    picture::KeptThread kept;
    kept.wait(); // nothing started: returns at once
    std::vector<std::thread::id> ran;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(kept.start([&] { ran.push_back(std::this_thread::get_id()); }));
        // Taken until waited for, whether or not the task has returned.
        EXPECT_FALSE(kept.start([] {}));
        kept.wait();
    }
    ASSERT_EQ(ran.size(), 3u);
    EXPECT_NE(ran[0], std::this_thread::get_id());
    EXPECT_EQ(ran[1], ran[0]);
    EXPECT_EQ(ran[2], ran[0]);
}

} // namespace
} // namespace kovra::test
