#include "link/machine_parameters.h"
#include "link_fakes.h"
#include "shell/machine_presenter.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;
using kovra::test::bytes;

namespace {

struct ParametersFixture : ::testing::Test {
    test::FakeSerialChannel channel;
    test::FakeLinkView view;
    link::LinkEvents events;
    job::JobEvents jobEvents;
    shell::MachinePresenter presenter{events, jobEvents, view};
    test::ManualTimer transfer;
    link::PortWriter writer{channel, transfer};
    link::CommandFrames frames{writer};
    link::MachineParameters parameters{frames, events};

    void SetUp() override
    {
        channel.openable = {1};
        ASSERT_TRUE(channel.PortOpen());
    }
};

} // namespace

TEST_F(ParametersFixture, ReleasingTheSliderSendsTheBurnTimeOnce)
{
    EXPECT_EQ(parameters.ShowBurnTime(55), "55");
    EXPECT_TRUE(channel.writes.isEmpty());
    parameters.SendBurnTime(55);
    EXPECT_EQ(channel.wire(), bytes({0xFF, 0x05, 0x37, 0x00}));
    EXPECT_EQ(view.log, "Burning Time: 55\r\n");
}

TEST_F(ParametersFixture, AtOneHundredASecondLineFollows)
{
    parameters.SendBurnTime(100);
    EXPECT_EQ(channel.wire(), bytes({0xFF, 0x05, 0x64, 0x00}));
    EXPECT_EQ(view.log, QStringLiteral("Burning Time: 100\r\n按按键可以继续调节灼烧时间\r\n"));
}

TEST_F(ParametersFixture, EachReversalSendsItsFrameThenTheBox)
{
    parameters.ReverseMotorXClicked();
    parameters.ReverseMotorXClicked();
    parameters.ReverseMotorYClicked();
    EXPECT_EQ(channel.wire(), bytes({0xFF, 8, 1, 0, 0xFF, 8, 1, 0, 0xFF, 8, 2, 0}));
    ASSERT_EQ(view.boxes.size(), 3);
    for (const auto& box : view.boxes)
        EXPECT_EQ(box, qMakePair(QString("Saved !"), QString("Info")));
    EXPECT_TRUE(view.log.isEmpty());
}

TEST_F(ParametersFixture, TheBoxShowsEvenWhenNothingWasSent)
{
    channel.PortClose();
    parameters.ReverseMotorYClicked();
    EXPECT_TRUE(channel.writes.isEmpty());
    EXPECT_EQ(view.boxes.size(), 1);
}
