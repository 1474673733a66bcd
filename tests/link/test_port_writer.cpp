// The order of everything written: straight out when nothing waits, behind a
// quiet gap or a turn otherwise, and nothing for a closed port's successor.
#include "link/port_writer.h"
#include "link_fakes.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

using namespace kovra;
using kovra::test::bytes;

namespace {

struct WriterFixture : ::testing::Test {
    test::FakeSerialChannel channel;
    test::ManualTimer gap;
    link::PortWriter writer{channel, gap};
    QStringList turn; // what the turn's holder hears

    void SetUp() override
    {
        channel.openable = {2};
        channel.SetPortNumber(2);
        ASSERT_TRUE(channel.PortOpen());
        channel.instantWrite = false;
    }
    link::OutputTurn holder(const QString& name)
    {
        return {[this, name] { turn << name + " started"; },
            [this, name](qint64 n) { turn << QStringLiteral("%1 left %2").arg(name).arg(n); },
            [this, name] { turn << name + " lost"; }};
    }
};

} // namespace

TEST_F(WriterFixture, WritesWaitBehindAGapAndATurnInTheirOrder)
{
    writer.SendBytes(bytes({1}));
    writer.PauseOutput(50);
    writer.SendBytes(bytes({2}));
    writer.TakeTurn(holder("a"));
    writer.SendBytes(bytes({3}));
    EXPECT_EQ(channel.wire(), bytes({1}));
    EXPECT_EQ(gap.period(), 50);
    EXPECT_TRUE(turn.isEmpty());

    ASSERT_TRUE(gap.tick());
    EXPECT_EQ(channel.wire(), bytes({1, 2}));
    EXPECT_EQ(turn, QStringList{"a started"});
    // Only the holder writes during its turn, and hears its bytes leave.
    channel.SendBytes(bytes({9, 9}));
    channel.completeWrite(1);
    channel.completeWrite(2);
    EXPECT_EQ(turn, (QStringList{"a started", "a left 1", "a left 2"}));
    EXPECT_EQ(writer.QueuedCount(), 1);

    // The turn's last word comes before what waited behind it.
    writer.EndTurn([&] { turn << "a ended"; });
    EXPECT_EQ(channel.wire(), bytes({1, 2, 9, 9, 3}));
    EXPECT_EQ(turn.last(), "a ended");
    EXPECT_FALSE(writer.Busy());
    channel.completeWrite(1);
    EXPECT_EQ(turn.size(), 4); // no turn hears bytes after it ended
}

TEST_F(WriterFixture, ClosingThePortEndsTheTurnAndDropsWhatWaited)
{
    writer.TakeTurn(holder("a"));
    writer.SendBytes(bytes({3}));
    writer.TakeTurn(holder("b"));
    writer.PauseOutput(50);
    channel.PortClose();
    EXPECT_EQ(turn, (QStringList{"a started", "a lost", "b lost"}));
    EXPECT_FALSE(writer.Busy());
    EXPECT_EQ(writer.QueuedCount(), 0);
    EXPECT_FALSE(writer.SendBytes(bytes({4})));

    // A scan opening another port must not get the dropped bytes.
    channel.openable = {3};
    channel.SetPortNumber(3);
    ASSERT_TRUE(channel.PortOpen());
    writer.SendBytes(bytes({0xFF, 9, 0, 0}));
    ASSERT_EQ(channel.writes.size(), 1);
    EXPECT_EQ(channel.writes[0].port, 3);
}

TEST_F(WriterFixture, ATurnMayEndAsItStarts)
{
    link::OutputTurn quick;
    quick.started = [this] { writer.EndTurn(); };
    writer.TakeTurn(quick);
    writer.SendBytes(bytes({5}));
    EXPECT_EQ(channel.wire(), bytes({5}));
    EXPECT_FALSE(writer.Busy());
}
