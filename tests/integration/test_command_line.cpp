// The commands' command lines as users type them, and what the engraving
// says it scanned when no machine answers.
#include "app/engrave_command.h"
#include "app/render_command.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kovra::test {
namespace {

// The parsed options in one line, to compare whole.
QString summary(const app::EngraveOptions& o)
{
    const rendering::Tuning& t = o.render.tuning;
    return QStringList{o.picture, rendering::RenderingName(o.render.effect), QStringLiteral("b%1").arg(t.brightness),
        QStringLiteral("c%1").arg(t.contrast), QStringLiteral("g%1").arg(t.gamma), QStringLiteral("t%1").arg(t.threshold),
        t.invert ? QStringLiteral("inverted") : QStringLiteral("-"), QStringLiteral("burn%1").arg(o.burnTime),
        QStringLiteral("%1/%2").arg(o.connectTimeoutS).arg(o.jobTimeoutS)}
        .join(u' ');
}

TEST(EngraveCommandLine, TheUsualConventionsAndOneLineNamingTheOptionAtFault)
{
    const struct {
        QStringList args;
        const char* expected; // the summary, or a part of the error
    } cases[] = {
        {{"p.png", "--effect=bw"}, "p.png bw b0 c0 g1 t128 - burn0 30/600"},
        {{"--effect", "bayer", "p.png"}, "p.png bayer b0 c0 g1 t128 - burn0 30/600"},
        // The window's names, in any case and spacing.
        {{"p.png", "-effect", "Bayer 8 x 8"}, "p.png bayer b0 c0 g1 t128 - burn0 30/600"},
        {{"p.png", "--effect=diffusion"}, "p.png dither b0 c0 g1 t128 - burn0 30/600"},
        {{"p.png", "--effect", "Floyd Steinberg"}, "p.png floyd-steinberg b0 c0 g1 t128 - burn0 30/600"},
        {{"p.png", "--effect", "BLACK AND WHITE"}, "p.png bw b0 c0 g1 t128 - burn0 30/600"},
        {{"p.png", "--brightness", "-20", "--contrast=-5", "--gamma=0.5", "--threshold", "90", "--invert"},
            "p.png dither b-20 c-5 g0.5 t90 inverted burn0 30/600"},
        {{"--burn-time=40", "p.png", "--connect-timeout", "5", "--job-timeout=9"},
            "p.png dither b0 c0 g1 t128 - burn40 5/9"},
        {{"--invert", "--", "-odd.png"}, "-odd.png dither b0 c0 g1 t128 inverted burn0 30/600"},

        {{"p.png", "--invert", "yes"}, "--invert takes no value, not \"yes\""},
        {{"p.png", "--invert=yes"}, "--invert takes no value, not \"yes\""},
        {{"p.png", "--burn-time"}, "--burn-time takes a whole number from 1 to 100"},
        {{"p.png", "--burn-time", "101"}, "--burn-time takes a whole number from 1 to 100, not \"101\""},
        {{"p.png", "--job-timeout=0"}, "--job-timeout takes a whole number of seconds from 1 to 86400, not \"0\""},
        {{"p.png", "--bogus=1"}, "unknown option --bogus; the options are --burn-time, --connect-timeout"},
        {{"p.png", "--effect", "diffusio"}, "unknown rendering \"diffusio\"; the renderings are bw, dither"},
        {{}, "no picture given"},
        {{"a.png", "b.png"}, "only one picture can be engraved at a time"},
    };
    for (const auto& c : cases) {
        app::EngraveOptions options;
        QString error;
        const bool ok = app::ParseEngraveOptions(c.args, options, error);
        const QString expected = QString::fromUtf8(c.expected);
        if (ok)
            EXPECT_EQ(summary(options), expected) << c.args.join(' ').toStdString();
        else
            EXPECT_TRUE(error.contains(expected) && !error.contains(u'\n'))
                << c.args.join(' ').toStdString() << ": " << error.toStdString();
    }
}

TEST(CommandLines, HelpWinsAndEachCommandKeepsItsStatuses)
{
    QTemporaryDir dir;
    const QString sample = dir.filePath("sample.png");
    const struct {
        int (*command)(const QStringList&, QTextStream&, QTextStream&);
        QStringList args;
        int status;
        const char* said; // the start of what it printed
    } cases[] = {
        {app::RunRenderCommand, {"--bogus", "--help"}, 0, "usage: kovra render"},
        {app::RunTestCardCommand, {"--effect", "bw", dir.filePath("card.png")}, 2, "kovra testcard: unknown option --effect"},
        {app::RunSampleCommand, {}, 1, "kovra sample: give the PNG file to write"},
        {app::RunSampleCommand, {"--x"}, 2, "kovra sample: unknown option --x; the only option is --help"},
        {app::RunSampleCommand, {sample}, 0, ""},
    };
    for (const auto& c : cases) {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        EXPECT_EQ(c.command(c.args, outStream, errStream), c.status) << c.args.join(' ').toStdString();
        outStream.flush();
        errStream.flush();
        const QString said = QString::fromUtf8(c.said);
        EXPECT_EQ((c.status == 0 ? out : err).left(said.size()), said);
    }
    EXPECT_TRUE(QFile::exists(sample));
}

} // namespace
} // namespace kovra::test
