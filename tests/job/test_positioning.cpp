// Location modes, the laser sent to a board spot, jogs and the arrow keys.
#include "job/positioning.h"

#include "job_recorder.h"
#include "platform/global_hotkeys.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QSet>

#include <array>
#include <gtest/gtest.h>

using namespace kovra;
using job::LocationMode;

namespace {

class FakeHotKeys final : public platform::GlobalHotKeys {
public:
    QStringList calls;
    QList<int> refuse; // virtual keys that fail to register
    bool fallback = false;

    int Register(int virtualKey) override
    {
        calls.append(QStringLiteral("register %1").arg(virtualKey, 0, 16));
        return refuse.contains(virtualKey) ? 0 : nextId();
    }
    void Unregister(int id) override { calls.append(QStringLiteral("unregister %1").arg(id)); }
    bool IsFallback() const override { return fallback; }
    void press(int id) { fireHotKey(id); }
};

struct PositioningFixture : ::testing::Test {
    test::JobRig rig;
    test::RadioGroup radios;
    FakeHotKeys hotKeys;
    job::Positioning positioning{rig.frames(), rig.jobEvents, hotKeys};

    void clickRadio(LocationMode radio) { positioning.SelectLocationMode(radios.click(radio)); }
    // The jog's quiet gap ends.
    void endPause() { ASSERT_TRUE(rig.output.tick()); }
    std::array<int, 3> flags() const
    {
        return {positioning.PointModeActive(), positioning.CenterModeActive(), positioning.BoxModeActive()};
    }
    using Flags = std::array<int, 3>;
};

} // namespace

TEST_F(PositioningFixture, CenterRadioOnThenOff)
{
    clickRadio(LocationMode::Center);
    EXPECT_EQ(rig.take(), (QStringList{"centre", "FF 02 01 00"}));
    EXPECT_EQ(flags(), (Flags{0, 1, 0}));

    clickRadio(LocationMode::Center); // the radio stays selected and clicks again
    EXPECT_EQ(rig.take(), (QStringList{"off center"}));
    EXPECT_EQ(flags(), (Flags{0, 0, 0}));
}

TEST_F(PositioningFixture, BoxRadioOnThenOffReturnsToCentre)
{
    clickRadio(LocationMode::Box);
    EXPECT_EQ(rig.take(), (QStringList{"box", "FF 02 02 00"}));
    EXPECT_EQ(flags(), (Flags{0, 0, 1}));

    clickRadio(LocationMode::Box);
    EXPECT_EQ(rig.take(), (QStringList{"off box", "FF 02 01 00"}));
    EXPECT_EQ(flags(), (Flags{0, 0, 0}));
}

TEST_F(PositioningFixture, SwitchingModesDirectly)
{
    clickRadio(LocationMode::Box);
    rig.take();
    clickRadio(LocationMode::Center);
    EXPECT_EQ(rig.take(), (QStringList{"centre", "FF 02 01 00"}));
    EXPECT_EQ(flags(), (Flags{0, 1, 0}));

    clickRadio(LocationMode::Point);
    EXPECT_EQ(rig.take(), (QStringList{"point armed"}));
    EXPECT_EQ(flags(), (Flags{1, 0, 0}));

    // Leaving point mode for another mode disarms the board (the box event
    // ends point positioning).
    clickRadio(LocationMode::Box);
    EXPECT_EQ(rig.take(), (QStringList{"box", "FF 02 02 00"}));
    EXPECT_EQ(flags(), (Flags{0, 0, 1}));
}

TEST_F(PositioningFixture, TheLaserGoesToTheSpotXBeforeY)
{
    positioning.LocateAt(100, 205);
    EXPECT_EQ(rig.take(), (QStringList{"located 100,205", "FF 0A 01 00", "FF 0B 02 05"}));
    positioning.LocateAt(511, 0);
    EXPECT_EQ(rig.take(), (QStringList{"located 511,0", "FF 0A 05 0B", "FF 0B 00 00"}));
    positioning.LocateAt(250, 37);
    EXPECT_EQ(rig.take(), (QStringList{"located 250,37", "FF 0A 02 32", "FF 0B 00 25"}));
}

TEST_F(PositioningFixture, PointRadioTwiceDisarmsTheBoard)
{
    clickRadio(LocationMode::Point);
    clickRadio(LocationMode::Point);
    EXPECT_EQ(flags(), (Flags{0, 0, 0}));
    EXPECT_EQ(rig.take(), (QStringList{"point armed", "off point"}));
}

TEST_F(PositioningFixture, FlagsOutliveAReset)
{
    // ResetLocationControls (a job start) unchecks the radios but the mode is
    // remembered: the next click on the same radio only switches it off.
    clickRadio(LocationMode::Center);
    radios.checked = {};
    rig.take();
    clickRadio(LocationMode::Center);
    EXPECT_EQ(rig.take(), (QStringList{"off center"}));
    EXPECT_EQ(flags(), (Flags{0, 0, 0}));
}

TEST_F(PositioningFixture, JogsWriteFrameTrailerLogThenPause)
{
    positioning.Jog(job::JogDirection::Up);
    EXPECT_EQ(rig.channel.writes, (QList<QByteArray>{QByteArray::fromHex("FF030100"), QByteArray::fromHex("01")}));
    EXPECT_EQ(rig.take(), (QStringList{"FF 03 01 00", "01", "jogged up", "pause:50"}));
    endPause();
    positioning.Jog(job::JogDirection::Down);
    EXPECT_EQ(rig.take(), (QStringList{"FF 03 02 00", "02", "jogged down", "pause:50"}));
    endPause();
    positioning.Jog(job::JogDirection::Left);
    EXPECT_EQ(rig.take(), (QStringList{"FF 03 03 00", "03", "jogged left", "pause:50"}));
    endPause();
    positioning.Jog(job::JogDirection::Right);
    EXPECT_EQ(rig.take(), (QStringList{"FF 03 04 00", "04", "jogged right", "pause:50"}));
}

// The pause holds the outbound queue, not the thread: what is asked for
// meanwhile goes out after it, in order, and the window is never blocked.
TEST_F(PositioningFixture, CommandsDuringTheJogPauseWaitTheirTurn)
{
    positioning.Jog(job::JogDirection::Up);
    positioning.Jog(job::JogDirection::Left);
    rig.frames().StartCarve();
    EXPECT_EQ(rig.take(), (QStringList{"FF 03 01 00", "01", "jogged up", "pause:50", "jogged left"}));
    endPause();
    EXPECT_EQ(rig.take(), (QStringList{"FF 03 03 00", "03", "pause:50"}));
    endPause();
    EXPECT_EQ(rig.take(), (QStringList{"FF 01 01 00"}));
    EXPECT_FALSE(rig.output.tick());
}

TEST_F(PositioningFixture, ArrowHotKeysRegisterDispatchAndUnregister)
{
    positioning.UpdateArrowHotKeys(true);
    EXPECT_EQ(hotKeys.calls, (QStringList{"register 26", "register 28", "register 25", "register 27"}));
    const int up = positioning.HotKeyUpId(), down = positioning.HotKeyDownId();
    const int left = positioning.HotKeyLeftId(), right = positioning.HotKeyRightId();
    EXPECT_NE(up, 0);
    EXPECT_EQ((QSet<int>{up, down, left, right}).size(), 4);
    EXPECT_TRUE(rig.take().isEmpty()); // system-wide keys need no word in the log

    hotKeys.press(left);
    EXPECT_EQ(rig.take(), (QStringList{"FF 03 03 00", "03", "jogged left", "pause:50"}));
    endPause();
    hotKeys.press(down);
    EXPECT_EQ(rig.take().first(), "FF 03 02 00");
    hotKeys.press(9999);
    EXPECT_TRUE(rig.take().isEmpty());

    hotKeys.calls.clear();
    positioning.UpdateArrowHotKeys(false);
    EXPECT_EQ(hotKeys.calls, (QStringList{QStringLiteral("unregister %1").arg(up), QStringLiteral("unregister %1").arg(down),
                                          QStringLiteral("unregister %1").arg(left),
                                          QStringLiteral("unregister %1").arg(right)}));
    EXPECT_EQ(positioning.HotKeyLeftId(), left); // kept after unregistering

    // A new registration gets new identifiers: an old one no longer jogs.
    positioning.UpdateArrowHotKeys(true);
    EXPECT_NE(positioning.HotKeyLeftId(), left);
    rig.take();
    positioning.DispatchArrowHotKey(left);
    EXPECT_TRUE(rig.take().isEmpty());
}

TEST_F(PositioningFixture, AKeyHeldElsewhereStaysZeroAndNeverMatches)
{
    hotKeys.refuse = {platform::VirtualKeyRight};
    positioning.UpdateArrowHotKeys(true);
    EXPECT_EQ(positioning.HotKeyRightId(), 0);
    EXPECT_NE(positioning.HotKeyUpId(), 0);
    positioning.DispatchArrowHotKey(0);
    EXPECT_TRUE(rig.take().isEmpty());
}

// Where the system has no system-wide keys (Wayland, offscreen without
// Windows), the arrows are caught inside the application and the log says
// once that they need the focus.
TEST_F(PositioningFixture, FocusOnlyArrowKeysUnderOffscreen)
{
    platform::FallbackGlobalHotKeys keys(*QCoreApplication::instance());
    job::Positioning arrows{rig.frames(), rig.jobEvents, keys};
    auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &event);
    };

    arrows.UpdateArrowHotKeys(true);
    EXPECT_EQ(rig.take(), QStringList{"focus only"});

    press(Qt::Key_Left);
    EXPECT_EQ(rig.take(), (QStringList{"FF 03 03 00", "03", "jogged left", "pause:50"}));
    endPause();
    press(Qt::Key_Up, Qt::ControlModifier);
    press(Qt::Key_A);
    EXPECT_TRUE(rig.take().isEmpty());

    arrows.UpdateArrowHotKeys(false);
    press(Qt::Key_Left);
    EXPECT_TRUE(rig.take().isEmpty());

    arrows.UpdateArrowHotKeys(true); // no second notice
    EXPECT_TRUE(rig.take().isEmpty());
    press(Qt::Key_Right);
    EXPECT_EQ(rig.take().first(), "FF 03 04 00");
    arrows.UpdateArrowHotKeys(false);
}
