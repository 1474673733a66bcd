#include "link/command_frames.h"
#include "link_fakes.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;
using kovra::test::bytes;

namespace {

struct FramesFixture : ::testing::Test {
    test::FakeSerialChannel channel;
    test::ManualTimer transferTimer;
    link::PortWriter writer{channel, transferTimer};
    link::CommandFrames frames{writer};

    void SetUp() override
    {
        channel.openable = {1};
        channel.SetPortNumber(1);
        ASSERT_TRUE(channel.PortOpen());
    }
};

} // namespace

TEST_F(FramesFixture, EveryCommandHasItsBytesAndTrailerAsASeparateWrite)
{
    struct Case {
        std::function<void()> send;
        QByteArray frame;
        QByteArray trailer;
    };
    const QList<Case> cases = {
        {[&] { frames.StartCarve(); }, bytes({0xFF, 1, 1, 0}), {}},
        {[&] { frames.PauseCarve(); }, bytes({0xFF, 1, 2, 0}), {}},
        {[&] { frames.Recarve(); }, bytes({0xFF, 1, 3, 0}), {}},
        {[&] { frames.LocateCenter(); }, bytes({0xFF, 2, 1, 0}), {}},
        {[&] { frames.LocateBox(); }, bytes({0xFF, 2, 2, 0}), {}},
        {[&] { frames.JogUp(); }, bytes({0xFF, 3, 1, 0}), bytes({0x01})},
        {[&] { frames.JogDown(); }, bytes({0xFF, 3, 2, 0}), bytes({0x02})},
        {[&] { frames.JogLeft(); }, bytes({0xFF, 3, 3, 0}), bytes({0x03})},
        {[&] { frames.JogRight(); }, bytes({0xFF, 3, 4, 0}), bytes({0x04})},
        {[&] { frames.RestartMachine(); }, bytes({0xFF, 4, 1, 0}), {}},
        {[&] { frames.SetBurnTime(100); }, bytes({0xFF, 5, 0x64, 0}), {}},
        {[&] { frames.BeginImage(); }, bytes({0xFF, 6, 0, 0}), {}},
        {[&] { frames.FastBackward(); }, bytes({0xFF, 7, 1, 0}), bytes({0x55})},
        {[&] { frames.FastForward(); }, bytes({0xFF, 7, 2, 0}), bytes({0xAA})},
        {[&] { frames.ReverseMotorX(); }, bytes({0xFF, 8, 1, 0}), {}},
        {[&] { frames.ReverseMotorY(); }, bytes({0xFF, 8, 2, 0}), {}},
        {[&] { frames.Handshake(); }, bytes({0xFF, 9, 0, 0}), {}},
    };
    for (qsizetype i = 0; i < cases.size(); ++i) {
        channel.writes.clear();
        cases[i].send();
        const int expectedWrites = cases[i].trailer.isEmpty() ? 1 : 2;
        ASSERT_EQ(channel.writes.size(), expectedWrites) << "case " << i;
        EXPECT_EQ(channel.writes[0].bytes, cases[i].frame) << "case " << i;
        if (expectedWrites == 2) {
            EXPECT_EQ(channel.writes[1].bytes, cases[i].trailer) << "case " << i;
        }
    }
}

TEST_F(FramesFixture, BoardCoordinatesGoAsADecimalPairXBeforeY)
{
    frames.LocateX(250);
    frames.LocateY(37);
    frames.LocateX(0);
    frames.LocateY(0);
    frames.LocateX(511);
    frames.LocateY(99);
    frames.LocateX(100);
    EXPECT_EQ(channel.wire(), bytes({0xFF, 0x0A, 0x02, 0x32, 0xFF, 0x0B, 0x00, 0x25, //
                                     0xFF, 0x0A, 0x00, 0x00, 0xFF, 0x0B, 0x00, 0x00, //
                                     0xFF, 0x0A, 0x05, 0x0B, 0xFF, 0x0B, 0x00, 0x63, //
                                     0xFF, 0x0A, 0x01, 0x00}));
    EXPECT_EQ(channel.writes.size(), 7);
}

TEST_F(FramesFixture, ParametersKeepOnlyTheirLowByte)
{
    frames.SendFrame(0x105, -1, 256);
    frames.SendTrailerByte(0x1AA);
    EXPECT_EQ(channel.wire(), bytes({0xFF, 0x05, 0xFF, 0x00, 0xAA}));
}

TEST_F(FramesFixture, ACommandWhileClosedWritesNothing)
{
    channel.PortClose();
    frames.JogUp();
    frames.StartCarve();
    EXPECT_TRUE(channel.writes.isEmpty());
}
