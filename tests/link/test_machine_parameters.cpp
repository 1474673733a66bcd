#include "link/machine_parameters.h"
#include "link_fakes.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;
using kovra::test::bytes;

namespace {

struct ParametersFixture : ::testing::Test {
    test::FakeSerialChannel channel;
    link::LinkEvents events;
    test::LinkEventLog log{events};
    test::ManualTimer output;
    link::PortWriter writer{channel, output};
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
    parameters.SendBurnTime(55);
    EXPECT_EQ(channel.wire(), bytes({0xFF, 0x05, 0x37, 0x00}));
    EXPECT_EQ(log.take(), QStringList{"burn time sent 55"});
}

TEST_F(ParametersFixture, OneHundredIsTheHighest)
{
    parameters.SendBurnTime(100);
    EXPECT_EQ(channel.wire(), bytes({0xFF, 0x05, 0x64, 0x00}));
    EXPECT_EQ(log.take(), QStringList{"burn time sent 100"});
}

TEST_F(ParametersFixture, EachReversalSendsItsFrameThenTheBox)
{
    parameters.ReverseMotorXClicked();
    parameters.ReverseMotorXClicked();
    parameters.ReverseMotorYClicked();
    EXPECT_EQ(channel.wire(), bytes({0xFF, 8, 1, 0, 0xFF, 8, 1, 0, 0xFF, 8, 2, 0}));
    EXPECT_EQ(log.take(), (QStringList{"reversed X", "reversed X", "reversed Y"}));
}

TEST_F(ParametersFixture, TheBoxShowsEvenWhenNothingWasSent)
{
    channel.PortClose();
    parameters.ReverseMotorYClicked();
    EXPECT_TRUE(channel.writes.isEmpty());
    EXPECT_EQ(log.take(), QStringList{"reversed Y"});
}
