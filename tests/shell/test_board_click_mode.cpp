// The preview board's pointer as its click mode: the job's location modes set
// it, and a left click acts by it (the laser located, or the text box placed).
#include "shell/board_click_mode.h"
#include "shell/widgets/board_widget.h"

#include "job/positioning.h"
#include "platform/global_hotkeys.h"
#include "tests/job/job_recorder.h"

#include <gtest/gtest.h>

using namespace kovra;
using job::LocationMode;

namespace {

class NoHotKeys final : public platform::GlobalHotKeys {
public:
    int Register(int) override { return 0; }
    void Unregister(int) override {}
    bool IsFallback() const override { return false; }
};

// The job's positioning and the board's click mode on a recording link.
struct Rig {
    test::JobRig rig;
    test::RadioGroup radios;
    NoHotKeys hotKeys;
    job::Positioning positioning{rig.frames(), rig.jobEvents, hotKeys};
    QStringList texts; // text boxes placed
    shell::BoardClickMode mode{rig.jobEvents, rig.board, [this](int x, int y) { positioning.LocateAt(x, y); },
        [this](int x, int y) {
            // Text engraving places its box only on the I-beam, and ends it.
            if (rig.board.Pointer() != shell::IBeamPointer)
                return;
            texts << QStringLiteral("%1,%2").arg(x).arg(y);
            rig.board.SetPointer(shell::DefaultPointer);
        }};

    int pointer() const { return rig.board.Pointer(); }
    void clickRadios(std::initializer_list<LocationMode> clicks)
    {
        for (LocationMode r : clicks)
            positioning.SelectLocationMode(radios.click(r));
    }
    // A board click at (x, y): what reached the wire.
    QStringList clickBoard(int x, int y)
    {
        rig.take();
        mode.LeftButtonDown(x, y);
        return rig.take().filter("FF ");
    }
};

} // namespace

TEST(BoardClickMode, OnlyArmedPointPositioningLocatesAndKeepsLocating)
{
    struct Case {
        const char* name;
        std::initializer_list<LocationMode> clicks;
        bool armed;
    };
    const Case cases[] = {
        {"point", {LocationMode::Point}, true},
        {"point twice", {LocationMode::Point, LocationMode::Point}, false},
        {"point, then box", {LocationMode::Point, LocationMode::Box}, false},
        {"point, then centre", {LocationMode::Point, LocationMode::Center}, false},
        {"box, centre, point", {LocationMode::Box, LocationMode::Center, LocationMode::Point}, true},
        {"centre twice", {LocationMode::Center, LocationMode::Center}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        r.clickRadios(c.clicks);
        EXPECT_EQ(r.pointer(), c.armed ? shell::CrosshairPointer : shell::DefaultPointer);
        if (!c.armed) {
            EXPECT_TRUE(r.clickBoard(100, 205).isEmpty());
            continue;
        }
        EXPECT_EQ(r.clickBoard(100, 205), (QStringList{"FF 0A 01 00", "FF 0B 02 05"}));
        EXPECT_EQ(r.clickBoard(511, 0), (QStringList{"FF 0A 05 0B", "FF 0B 00 00"}));
        EXPECT_EQ(r.pointer(), shell::CrosshairPointer);
        EXPECT_TRUE(r.texts.isEmpty());
    }
}

TEST(BoardClickMode, TheIBeamPlacesTheTextBoxAndSendsNothing)
{
    Rig r;
    r.rig.board.SetPointer(shell::IBeamPointer);
    EXPECT_TRUE(r.clickBoard(30, 40).isEmpty());
    EXPECT_EQ(r.texts, QStringList{"30,40"});
    EXPECT_TRUE(r.clickBoard(50, 60).isEmpty());
    EXPECT_EQ(r.texts.size(), 1) << "placed once; the pointer is back to the default";

    // A location mode chosen meanwhile ends the placement too.
    r.rig.board.SetPointer(shell::IBeamPointer);
    r.clickRadios({LocationMode::Center});
    EXPECT_EQ(r.pointer(), shell::DefaultPointer);
}

TEST(BoardClickMode, AResetOfTheLocationControlsDisarmsTheBoard)
{
    Rig r;
    r.clickRadios({LocationMode::Point});
    r.rig.board.SetPointer(shell::DefaultPointer); // ResetLocationControls, at a job start
    EXPECT_TRUE(r.clickBoard(100, 100).isEmpty());
}
