// The man pages are made from --help texts: the rules that turn such a text
// into roff, on help texts shaped like the programs' own.

#include "packaging/man_page.h"

#include <gtest/gtest.h>

namespace kovra::test {
namespace {

using packaging::CommandHelp;
using packaging::HelpToManPage;
using packaging::ManPageInfo;

ManPageInfo info(const QString& name)
{
    ManPageInfo i;
    i.name = name;
    i.version = "1.0.0";
    i.date = "2026-12-09";
    i.summary = "a program";
    return i;
}

TEST(ManPage, RoffEscapes)
{
    struct Case {
        const char* text;
        const char* roff;
    };
    for (const Case c : {Case{"--port-dir", "\\-\\-port\\-dir"}, Case{"C:\\Kovra", "C:\\eKovra"},
                         Case{".hidden", "\\&.hidden"}, Case{"'quoted'", "\\&'quoted'"},
                         Case{"a\n.b", "a\n\\&.b"}, Case{"plain words", "plain words"}})
        EXPECT_EQ(packaging::RoffEscape(c.text), c.roff) << c.text;
}

TEST(ManPage, UsageFormsBecomeTheSynopsisAndTheirMeaningsTheDescription)
{
    const QString help = "usage: kovra [PICTURE]            the window\n"
                         "       kovra engrave PICTURE ...  engrave without a window\n"
                         "       kovra doctor ...           why no machine is found\n";
    const QString page = HelpToManPage(info("kovra"), help);
    EXPECT_TRUE(page.contains(".TH KOVRA 1 \"2026-12-09\" \"kovra 1.0.0\" \"User Commands\"\n"));
    EXPECT_TRUE(page.contains(".SH NAME\nkovra \\- a program\n"));
    EXPECT_TRUE(page.contains(".SH SYNOPSIS\n\\fBkovra\\fR [PICTURE]\n.br\n\\fBkovra\\fR engrave PICTURE ...\n.br\n"));
    EXPECT_TRUE(page.contains(".TP\n\\fBkovra\\fR doctor ...\nwhy no machine is found\n"));
    EXPECT_EQ(packaging::CommandsInUsage("kovra", help), (QStringList{"engrave", "doctor"}));
}

TEST(ManPage, OptionListsHeadingsParagraphsAndContinuations)
{
    // The shape QCommandLineParser prints (kovra-sim --help).
    const QString help = "Usage: kovra-sim [options]\n"
                         "Plays the engraver on a pseudo-terminal.\n"
                         "It answers the handshake.\n"
                         "\n"
                         "Options:\n"
                         "  -h, --help        Displays help.\n"
                         "  --port <COMn>     Port name, COM1..COM64\n"
                         "                    (default COM3).\n"
                         "  --fast            Run fast.\n";
    const QString page = HelpToManPage(info("kovra-sim"), help);
    EXPECT_TRUE(page.contains(".SH SYNOPSIS\n\\fBkovra\\-sim\\fR [options]\n"));
    EXPECT_TRUE(page.contains(".PP\nPlays the engraver on a pseudo\\-terminal. It answers the handshake.\n"));
    EXPECT_TRUE(page.contains(".SH OPTIONS\n.TP\n.B \\-h, \\-\\-help\nDisplays help.\n"));
    EXPECT_TRUE(page.contains(".TP\n.B \\-\\-port <COMn>\nPort name, COM1..COM64\n(default COM3).\n.TP\n.B \\-\\-fast\n"));
    EXPECT_TRUE(packaging::CommandsInUsage("kovra-sim", help).isEmpty());
}

TEST(ManPage, CommandsGetSectionsOfTheirOwnAndSeeAlsoEnds)
{
    const QString help = "usage: kovra engrave PICTURE ...  engrave\n";
    const QString engrave = "usage: kovra engrave PICTURE [--effect dither|bw]\n"
                            "                     [--job-timeout SECONDS]\n"
                            "Finds the machine by the port scan.\n"
                            "\n"
                            "Options:\n"
                            "  --effect MODE  dither or bw\n";
    ManPageInfo i = info("kovra");
    i.seeAlso = {"kovra-sim(1)"};
    const QString page = HelpToManPage(i, help, {CommandHelp{"engrave", engrave}});
    EXPECT_TRUE(page.contains(".SH COMMANDS\n.SS \"kovra engrave\"\n.PP\n"
                              "\\fBkovra\\fR engrave PICTURE [\\-\\-effect dither|bw] [\\-\\-job\\-timeout SECONDS]\n"
                              ".PP\nFinds the machine by the port scan.\n.PP\n.B Options\n.TP\n.B \\-\\-effect MODE\n"));
    EXPECT_TRUE(page.endsWith(".SH SEE ALSO\n.BR kovra\\-sim (1)\n"));
}

} // namespace
} // namespace kovra::test
