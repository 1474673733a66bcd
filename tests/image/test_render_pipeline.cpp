#include "image/drawing_board.h"
#include "image/fitting.h"
#include "image/picture_loader.h"
#include "image/picture_session.h"
#include "image/render_pipeline.h"
#include "image/row_stretcher.h"
#include "image/tone_effects.h"
#include "decoders_codec_writers.h"
#include "recording_image_view.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace kovra::test {
namespace {

using image::FitSize;

// Smooth gradients with noise and a few hard edges, so that averaging,
// thresholds and the diffusion all have something to do.
QImage testPicture(int w, int h, quint32 seed)
{
    QImage img(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int noise = int(rng.bounded(80)) - 40;
            const int edge = ((x / 37 + y / 23) % 3) * 50;
            img.setPixel(x, y, qRgb(qBound(0, x * 255 / w + noise, 255), qBound(0, y * 255 / h + edge - 50, 255),
                                    qBound(0, (x + y) * 255 / (w + h) + noise + edge - 40, 255)));
        }
    return img;
}

TEST(RowStretcher, ShrinksExactlyLikeTheSmoothStretchOfTheBoards)
{
    struct Case {
        QSize from, to;
    };
    const Case cases[] = {
        {{640, 480}, {490, 367}}, {{560, 420}, {490, 367}}, {{500, 250}, {490, 245}}, {{980, 700}, {490, 350}},
        {{1000, 37}, {490, 18}},  {{37, 1000}, {18, 490}},  {{491, 491}, {490, 490}}, {{2000, 300}, {490, 73}},
        {{1500, 1300}, {490, 425}}, {{2900, 2900}, {490, 490}}, {{8, 40}, {7, 35}},
    };
    quint32 seed = 1;
    for (const Case& c : cases) {
        ASSERT_TRUE(image::RowStretcher::handles(c.from, c.to));
        const QImage source = testPicture(c.from.width(), c.from.height(), seed++);
        const QImage expected = source.scaled(c.to, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image::RowStretcher stretcher(c.from, c.to);
        QImage streamed(c.to, QImage::Format_RGB32);
        for (int y = 0; y < c.to.height(); ++y) {
            EXPECT_LT(stretcher.lastSourceRow(y), c.from.height());
            stretcher.stretchRow(y, source.constBits(), source.bytesPerLine(),
                                 reinterpret_cast<QRgb*>(streamed.scanLine(y)));
        }
        EXPECT_EQ(streamed, expected) << c.from.width() << "x" << c.from.height() << " -> " << c.to.width() << "x"
                                      << c.to.height();
    }
    EXPECT_FALSE(image::RowStretcher::handles({490, 490}, {490, 490}));
    EXPECT_FALSE(image::RowStretcher::handles({600, 300}, {490, 300}));
    EXPECT_FALSE(image::RowStretcher::handles({600, 70}, {490, 8})) << "more than six rows per output row";
    EXPECT_FALSE(image::RowStretcher::handles({4000, 600}, {490, 500})) << "more than six columns per output column";
}

class RenderPipelineTest : public ::testing::Test {
protected:
    QString save(const QString& name, const QImage& image, const char* format = "JPEG")
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, format, 90));
        return path;
    }

    // The plain road: decode, fit on a white board, render the capture.
    static image::Renderings plainRenderings(const QString& path)
    {
        const image::LoadedPicture picture = image::LoadPicture(path, image::FitDecodeSize);
        image::DrawingBoard scratch(FitSize, FitSize);
        scratch.SetBackgroundColour(Qt::white);
        image::FitPicture(picture, scratch);
        image::Renderings out;
        out.fitted = scratch.picture();
        out.blackWhite = image::RenderBlackWhite(out.fitted);
        out.ditherDots = image::RenderDitherDots(out.fitted);
        return out;
    }

    QTemporaryDir dir;
};

TEST_F(RenderPipelineTest, RenderingsMadeDuringTheDecodeEqualThePlainOnes)
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
        image::Renderings streamed;
        const image::LoadedPicture picture = image::LoadPictureRendered(path, streamed);
        ASSERT_TRUE(picture.ok()) << picture.error.toStdString();
        EXPECT_EQ(QSize(picture.width, picture.height), QSize(c.w, c.h));
        ASSERT_TRUE(streamed.ready()) << c.w << "x" << c.h;
        const image::Renderings plain = plainRenderings(path);
        EXPECT_EQ(streamed.fitted, plain.fitted) << c.w << "x" << c.h;
        EXPECT_EQ(streamed.blackWhite, plain.blackWhite) << c.w << "x" << c.h;
        EXPECT_EQ(streamed.ditherDots, plain.ditherDots) << c.w << "x" << c.h;
    }
}

TEST_F(RenderPipelineTest, ProgressiveAndCmykJpegsToo)
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
        image::Renderings streamed;
        ASSERT_TRUE(image::LoadPictureRendered(path, streamed).ok());
        ASSERT_TRUE(streamed.ready()) << path.toStdString();
        const image::Renderings plain = plainRenderings(path);
        EXPECT_EQ(streamed.fitted, plain.fitted) << path.toStdString();
        EXPECT_EQ(streamed.blackWhite, plain.blackWhite) << path.toStdString();
        EXPECT_EQ(streamed.ditherDots, plain.ditherDots) << path.toStdString();
    }
}

TEST_F(RenderPipelineTest, EarlierRenderingsAreReusedOnlyWhenNothingElseHoldsThem)
{
    const QString path = save("reuse.jpg", testPicture(640, 480, 23));
    image::Renderings renderings;
    ASSERT_TRUE(image::LoadPictureRendered(path, renderings).ok());
    ASSERT_TRUE(renderings.ready());
    const image::Renderings first = renderings; // shared: must not be drawn into
    const QImage firstFitted = first.fitted.copy();
    const QString other = save("other.jpg", testPicture(800, 600, 24));
    ASSERT_TRUE(image::LoadPictureRendered(other, renderings).ok());
    EXPECT_EQ(first.fitted, firstFitted);
    EXPECT_EQ(renderings.fitted, plainRenderings(other).fitted);
    // Unshared buffers are drawn into again, with the same result.
    const uchar* bits = renderings.fitted.constBits();
    ASSERT_TRUE(image::LoadPictureRendered(path, renderings).ok());
    EXPECT_EQ(renderings.fitted.constBits(), bits);
    EXPECT_EQ(renderings.ditherDots, plainRenderings(path).ditherDots);
}

TEST_F(RenderPipelineTest, DroppedJpegShowsThePlainRenderingsOnTheBoards)
{
    const QString path = save("drop.jpg", testPicture(800, 600, 11));
    image::DrawingBoard preview(512, 512);
    QImage white(600, 600, QImage::Format_RGB32);
    white.fill(Qt::white);
    ManualTimer timer;
    RecordingImageView view;
    image::PictureSession session(preview, white, timer, view);
    session.FileDropped({path});
    ASSERT_TRUE(timer.tick());
    ASSERT_TRUE(session.renderingsReady());

    const image::Renderings plain = plainRenderings(path);
    EXPECT_EQ(session.fittedImage(), plain.fitted);
    image::DrawingBoard blackWhite(512, 512), dither(512, 512);
    for (image::DrawingBoard* board : {&blackWhite, &dither}) {
        board->SetBackgroundColour(Qt::white);
        board->ClearBoard();
    }
    blackWhite.DrawPicture(plain.blackWhite, 0, 0);
    image::DrawDitherDots(dither, plain.ditherDots);
    EXPECT_EQ(session.blackWhiteBoard().picture(), blackWhite.picture());
    EXPECT_EQ(session.ditherBoard().picture(), dither.picture());
    session.ChooseDither();
    EXPECT_EQ(preview.picture(), dither.picture());
}

TEST_F(RenderPipelineTest, OtherPicturesAreLeftToThePlainRoad)
{
    image::Renderings renderings;
    // Not shrunk: nothing to stream.
    EXPECT_TRUE(image::LoadPictureRendered(save("small.jpg", testPicture(300, 200, 7)), renderings).ok());
    EXPECT_FALSE(renderings.ready());
    // Not a row-reporting decoder.
    EXPECT_TRUE(image::LoadPictureRendered(save("big.bmp", testPicture(800, 600, 8), "BMP"), renderings).ok());
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
    EXPECT_TRUE(image::LoadPictureRendered(file.fileName(), renderings).ok());
    EXPECT_FALSE(renderings.ready());
}

TEST_F(RenderPipelineTest, CutJpegFailsAndLeavesNoRenderings)
{
    const QString path = save("cut.jpg", testPicture(1200, 900, 9));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() * 2 / 3));
    file.close();
    image::Renderings renderings;
    const image::LoadedPicture picture = image::LoadPictureRendered(path, renderings);
    EXPECT_FALSE(picture.ok());
    EXPECT_TRUE(picture.error.startsWith("truncated JPEG data")) << picture.error.toStdString();
    EXPECT_FALSE(renderings.ready());
}

} // namespace
} // namespace kovra::test
