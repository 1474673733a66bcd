// The word on a missing machine: once per absence, in the log.
#include "link/link_events.h"
#include "shell/help/missing_machine_notice.h"

#include <gtest/gtest.h>

using namespace kovra;

TEST(MissingMachineNotice, SaysItOncePerAbsenceAndAgainAfterAMachineWasLost)
{
    // n: a whole scan found nothing; c: connected; b: the connection broke;
    // d: the user broke it off.
    const struct {
        const char* events;
        int lines;
    } cases[] = {
        {"", 0}, {"n", 1}, {"nnnn", 1}, {"ndn", 1}, {"cbn", 1}, {"ncbn", 2}, {"ncbnnncdnn", 3}, {"cccn", 1},
    };
    for (const auto& c : cases) {
        link::LinkEvents link;
        QStringList lines;
        bool installer = false;
        shell::MissingMachineNotice notice(link, [&](const QString& line) { lines << line; },
                                           [&] { return installer; });
        for (const char* e = c.events; *e; ++e) {
            switch (*e) {
            case 'n': emit link.scanFoundNothing(); break;
            case 'c': emit link.connected(3); break;
            case 'b': emit link.connectionBroken(3); break;
            default: emit link.disconnected(); break;
            }
        }
        EXPECT_EQ(lines.size(), c.lines) << c.events;
        for (const QString& line : lines)
            EXPECT_EQ(line, shell::MissingMachineNotice::Line(false));
    }
    // Where the driver installer is there, the line offers it.
    EXPECT_NE(shell::MissingMachineNotice::Line(true), shell::MissingMachineNotice::Line(false));
    EXPECT_TRUE(shell::MissingMachineNotice::Line(true).contains("driver"));
    EXPECT_TRUE(shell::MissingMachineNotice::Line(false).contains("F1"));
}
