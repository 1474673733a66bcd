// "kovra render" and "kovra testcard": the boards the window would send, and
// their refusals.
#include "app/render_command.h"
#include "assets/artwork.h"
#include "image/drawing_board.h"
#include "job/engrave_encoder.h"
#include "job/raster_png.h"
#include "picture/picture_flow.h"
#include "rendering/fitting.h"
#include "rendering/rendering.h"
#include "rendering/test_card.h"
#include "tests/picture/picture_rig.h"
#include "tests/support/manual_timer.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kovra::test {
namespace {

struct Outcome {
    int status;
    QString out, err;
};

Outcome render(const QStringList& args, bool testCard = false)
{
    Outcome r;
    QTextStream out(&r.out), err(&r.err);
    r.status = testCard ? app::RunTestCardCommand(args, out, err) : app::RunRenderCommand(args, out, err);
    out.flush();
    err.flush();
    return r;
}

bool dark(const QByteArray& raster, int x, int y) { return quint8(raster[y * 64 + x / 8]) & (0x80 >> (x % 8)); }

class RenderCommandTest : public ::testing::Test {
protected:
    RenderCommandTest()
    {
        assets::InitArtwork();
        QImage picture(320, 180, QImage::Format_RGB32);
        for (int y = 0; y < 180; ++y)
            for (int x = 0; x < 320; ++x)
                picture.setPixel(x, y, qRgb(x * 255 / 320, 200 - y, (x * y) & 255));
        picturePath = dir.filePath("picture.png");
        picture.save(picturePath);
    }
    QString out(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    // What the window sends after a click on a board: the drop, the
    // renderings, the choice, then "Send Image To Machine".
    QByteArray windowRaster(bool dither)
    {
        image::DrawingBoard preview(512, 512);
        preview.SetBackgroundPicture(assets::DropPrompt(0));
        ManualTimer timer;
        picture::PictureEvents events;
        picture::PictureFlow flow(preview, assets::PlainWhiteBackground(), timer, events);
        flow.FileDropped({picturePath});
        EXPECT_TRUE(WaitForAnswer(events));
        EXPECT_TRUE(timer.tick());
        dither ? flow.ChooseDither() : flow.ChooseBlackWhite();
        return job::EncodeEngravePicture(preview.picture());
    }

    QTemporaryDir dir;
    QString picturePath;
};

TEST_F(RenderCommandTest, GivesTheBoardsTheWindowSends)
{
    ASSERT_EQ(render({picturePath, out("plain.png")}).status, 0);
    ASSERT_EQ(render({picturePath, out("dither.png"), "--effect", "dither"}).status, 0);
    ASSERT_EQ(render({picturePath, out("bw.png"), "--effect", "bw"}).status, 0);
    const QByteArray dither = windowRaster(true);
    EXPECT_EQ(job::ReadRasterPng(out("plain.png")), dither);
    EXPECT_EQ(job::ReadRasterPng(out("dither.png")), dither);
    EXPECT_EQ(job::ReadRasterPng(out("bw.png")), windowRaster(false));
    // A one-bit picture, black where a dot burns.
    const QImage written(out("bw.png"));
    EXPECT_EQ(written.depth(), 1);
    EXPECT_EQ(written.size(), QSize(512, 512));
}

TEST_F(RenderCommandTest, TunedRenderingsStayInsideTheSmallPicture)
{
    const QRect place = rendering::FitPlacement(320, 180);
    for (const char* effect : {"stucki", "blue-noise", "bw"}) {
        const QString path = out("inverted.png");
        ASSERT_EQ(render({picturePath, path, "--effect", effect, "--invert", "--gamma", "1.8", "--threshold", "140"})
                      .status,
                  0)
            << effect;
        const QByteArray raster = job::ReadRasterPng(path);
        ASSERT_EQ(raster.size(), job::EngraveBufferSize);
        int inside = 0, outside = 0;
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x)
                (place.contains(x, y) ? inside : outside) += dark(raster, x, y);
        EXPECT_EQ(outside, 0) << effect << ": the margins stay white";
        EXPECT_GT(inside, 1000) << effect << ": the picture is rendered";
    }
}

TEST_F(RenderCommandTest, RefusesBadNamesAndValuesInOneLineWritingNothing)
{
    const struct {
        QStringList args;
        const char* names; // what the message must name
    } cases[] = {
        {{"--effect", "floyd"}, "bw, dither, floyd-steinberg, jarvis, stucki, atkinson, burkes, sierra, sierra-lite, "
                                "bayer, blue-noise"},
        {{"--effect"}, "blue-noise"},
        {{"--brightness", "101"}, "from -100 to 100"},
        {{"--contrast", "-7.5"}, "from -100 to 100"},
        {{"--gamma", "0.1"}, "from 0.20 to 5.00"},
        {{"--gamma", "nan"}, "from 0.20 to 5.00"},
        {{"--threshold", "256"}, "from 0 to 255"},
        {{"--threshold"}, "from 0 to 255"},
        {{"--sharpen", "3"}, "the options are --effect, --brightness, --contrast"},
        {{"--invert", "yes"}, "--invert takes no value, not \"yes\""},
        {{"--invert=yes"}, "--invert takes no value, not \"yes\""},
    };
    for (const auto& c : cases) {
        const Outcome r = render(QStringList{picturePath, out("never.png")} << c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("kovra render: ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.names))) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(out("never.png")));
    }
    // A file that is no picture is refused the same way.
    const Outcome r = render({out("missing.jpg"), out("never.png")});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(QFile::exists(out("never.png")));

    const Outcome list = render({"--list"});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out.split('\n', Qt::SkipEmptyParts), rendering::RenderingNames());
    const Outcome more = render({"--list", "extra"});
    EXPECT_EQ(more.status, 2);
    EXPECT_EQ(more.err, "kovra render: --list takes nothing more, not \"extra\"\n");
}

TEST_F(RenderCommandTest, TestCardRampsGoFromBlackToWhiteInEveryRendering)
{
    ASSERT_EQ(render({out("card.png"), "--contrast", "10"}, true).status, 0);
    const QByteArray raster = job::ReadRasterPng(out("card.png"));
    ASSERT_EQ(raster.size(), job::EngraveBufferSize);
    EXPECT_EQ(render({out("card.png"), "--effect", "bw"}, true).status, 2) << "the card shows every rendering";
    for (int strip = 0; strip < rendering::RenderingCount; ++strip) {
        const QRect ramp = rendering::TestCardRamp(strip);
        // The share of dark dots in each fifth of the ramp falls from left to right.
        double last = 1.01;
        for (int part = 0; part < 5; ++part) {
            int n = 0, total = 0;
            for (int y = ramp.top(); y <= ramp.bottom(); ++y)
                for (int x = ramp.left() + part * ramp.width() / 5; x < ramp.left() + (part + 1) * ramp.width() / 5; ++x, ++total)
                    n += dark(raster, x, y);
            const double share = double(n) / total;
            EXPECT_LE(share, last) << "strip " << strip << " part " << part;
            last = share;
        }
        // The label is written beside it.
        int label = 0;
        for (int y = ramp.top(); y <= ramp.bottom(); ++y)
            for (int x = 0; x < ramp.left(); ++x)
                label += dark(raster, x, y);
        EXPECT_GT(label, 20) << "strip " << strip;
    }
}

} // namespace
} // namespace kovra::test
