// The firmware model against the wire rules the program relies on.
#include "sim/firmware_model.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace kovra::test {
namespace {

using sim::CarveState;
using sim::FirmwareModel;
using sim::FirmwareOptions;

QByteArray frame(int code, int p1 = 0, int p2 = 0)
{
    const char bytes[4] = {char(0xFF), char(code), char(p1), char(p2)};
    return QByteArray(bytes, 4);
}

struct Reply {
    int code;
    int value; // p1*100 + p2
    bool operator==(const Reply&) const = default;
};

// Reads replies the way the program does: a 0xFF starts a frame, four bytes complete it.
std::vector<Reply> parseReplies(const QByteArray& bytes, int* strays = nullptr)
{
    std::vector<Reply> out;
    int fill = 0;
    unsigned char f[4] = {};
    int dropped = 0;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0xFF)
            fill = 0;
        f[fill++] = b;
        if (fill < 4)
            continue;
        fill = 0;
        if (f[0] != 0xFF) {
            ++dropped;
            continue;
        }
        out.push_back({f[1], f[2] * 100 + f[3]});
    }
    if (strays)
        *strays = dropped;
    return out;
}

QByteArray randomPicture(unsigned seed, int darkPercent)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> percent(0, 99);
    QByteArray picture(FirmwareModel::PictureBytes, '\0');
    for (int i = 0; i < picture.size(); ++i) {
        unsigned char byte = 0;
        for (int bit = 0; bit < 8; ++bit)
            if (percent(rng) < darkPercent)
                byte |= 0x80 >> bit;
        picture[i] = char(byte);
    }
    return picture;
}

void sendPicture(FirmwareModel& model, const QByteArray& picture)
{
    model.receive(frame(6));
    model.receive(picture);
}

// Steps until CarveFinished (or a generous step limit), collecting the replies.
QByteArray runToEnd(FirmwareModel& model, int limit = 10000)
{
    QByteArray out;
    for (int i = 0; i < limit && model.isCarving(); ++i) {
        model.step();
        out += model.takeReplies();
    }
    return out + model.takeReplies();
}

TEST(FirmwareModel, HandshakeAnswersAckVersionMotorAndBurnTime)
{
    FirmwareModel model({.firmwareVersion = 1, .burnTime = 150});
    model.receive(frame(9));
    EXPECT_EQ(model.takeReplies(), QByteArray::fromHex("ff010000"
                                                       "ff020100"
                                                       "ff070100"
                                                       "ff0a0132"));

    FirmwareModel newer({.firmwareVersion = 2, .motorPowerOff = true});
    newer.receive(frame(9));
    const auto replies = parseReplies(newer.takeReplies());
    ASSERT_EQ(replies.size(), 4u);
    EXPECT_EQ(replies[1], (Reply{2, 200})); // FirmwareVersion carries the version in p1
    EXPECT_EQ(replies[2], (Reply{7, 0}));   // motor power off
    EXPECT_EQ(replies[3], (Reply{10, 50}));
}

TEST(FirmwareModel, PictureAfterBeginImageIsStoredRawIncludingFrameLikeBytes)
{
    FirmwareModel model;
    // The old picture is erased by BeginImage, so send two in a row.
    sendPicture(model, QByteArray(FirmwareModel::PictureBytes, char(0x11)));
    model.takeReplies();

    QByteArray picture = randomPicture(7, 50);
    // Bytes that would be frames if parsed: a Handshake, a BeginImage, a lone trailer.
    picture.replace(0, 4, frame(9));
    picture.replace(1000, 4, frame(6));
    picture.replace(20000, 5, frame(3, 1) + char(1));
    picture[FirmwareModel::PictureBytes - 1] = char(0xFF);

    model.receive(frame(6));
    EXPECT_EQ(model.takeReplies(), frame(5)); // ImageRequest
    EXPECT_TRUE(model.isReceivingPicture());
    EXPECT_EQ(model.storedPicture(), QByteArray(FirmwareModel::PictureBytes, '\0')) << "erased first";

    // In uneven pieces, as a pty delivers them.
    for (qsizetype at = 0; at < picture.size(); at += 3001)
        model.receive(picture.mid(at, 3001));
    EXPECT_FALSE(model.isReceivingPicture());
    EXPECT_EQ(model.storedPicture(), picture);
    EXPECT_TRUE(model.takeReplies().isEmpty()) << "nothing inside the picture was taken as a command";
    EXPECT_EQ(model.picturesReceived(), 2);
    EXPECT_EQ(model.transcript().last(), QStringLiteral("picture 32768 bytes"));

    // Framing resumes right after the 32768th byte.
    model.receive(frame(9));
    EXPECT_EQ(parseReplies(model.takeReplies()).front(), (Reply{1, 0}));
}

TEST(FirmwareModel, FullRunBurnsExactlyTheStoredDotsAndReportsEachOne)
{
    FirmwareModel model({.dotsPerStep = 4096});
    const QByteArray picture = randomPicture(3, 10);
    sendPicture(model, picture);
    model.takeReplies();

    model.receive(frame(1, 1));
    const auto replies = parseReplies(runToEnd(model));
    EXPECT_EQ(model.carveState(), CarveState::Finished);
    EXPECT_EQ(model.burnedDots(), picture);
    ASSERT_FALSE(replies.empty());
    EXPECT_EQ(replies.back(), (Reply{6, 0}));

    // Replay the replies the way the program draws them: a dot at (Y - 1, X) on each Y.
    QByteArray drawn(FirmwareModel::PictureBytes, '\0');
    int reportedX = 0;
    for (const Reply& r : replies) {
        if (r.code == 4) {
            reportedX = r.value;
        } else if (r.code == 3) {
            const int column = r.value - 1;
            ASSERT_GE(column, 0);
            drawn[reportedX * 64 + column / 8] = char(drawn[reportedX * 64 + column / 8] | (0x80 >> (column % 8)));
        }
    }
    EXPECT_EQ(drawn, picture);

    const QImage image = model.burnedPicture();
    ASSERT_EQ(image.size(), QSize(512, 512));
    for (int row = 0; row < 512; row += 37)
        for (int column = 0; column < 512; column += 13) {
            const bool dark = (uchar(picture[row * 64 + column / 8]) & (0x80 >> (column % 8))) != 0;
            EXPECT_EQ(qGray(image.pixel(column, row)) < 128, dark) << column << "," << row;
        }
}

TEST(FirmwareModel, PauseResumeAndRecarve)
{
    FirmwareModel model({.dotsPerStep = 1000});
    const QByteArray black(FirmwareModel::PictureBytes, char(0xFF));
    sendPicture(model, black);
    model.receive(frame(1, 1));
    model.step();
    model.receive(frame(1, 2)); // PauseCarve
    EXPECT_EQ(model.carveState(), CarveState::Paused);
    const qint64 burned = model.burnedDotCount();
    EXPECT_EQ(burned, 1000);
    EXPECT_EQ(model.step(), 0) << "a paused machine does not engrave";
    model.takeReplies();

    model.receive(frame(1, 1)); // resume
    model.step();
    const auto resumed = parseReplies(model.takeReplies());
    ASSERT_GE(resumed.size(), 2u);
    // 1000 dots done = row 1, column 488; the next dot reports X 1 and Y 489.
    EXPECT_EQ(resumed[0], (Reply{4, 1}));
    EXPECT_EQ(resumed[1], (Reply{3, 489}));
    EXPECT_EQ(model.burnedDotCount(), 2000);

    model.receive(frame(1, 3)); // Recarve from row 0, even while carving
    EXPECT_EQ(model.carveRow(), 0);
    model.step(1);
    EXPECT_EQ(parseReplies(model.takeReplies()), (std::vector<Reply>{{4, 0}, {3, 1}}));
    runToEnd(model);
    EXPECT_EQ(model.carveFinishedCount(), 1);
    EXPECT_EQ(model.burnedDots(), black);

    // StartCarve after the end engraves again from the top.
    model.receive(frame(1, 1));
    EXPECT_TRUE(model.isCarving());
    EXPECT_EQ(model.carveRow(), 0);
}

TEST(FirmwareModel, FastForwardAndBackwardMoveFifteenRowsClamped)
{
    FirmwareModel model;
    QByteArray picture(FirmwareModel::PictureBytes, '\0');
    for (int row = 0; row < 512; ++row)
        picture[row * 64] = char(0x80); // one dot at column 0 of every row
    sendPicture(model, picture);
    model.takeReplies();

    model.receive(frame(7, 2));
    EXPECT_EQ(model.carveRow(), 0) << "acts only when the trailer arrived";
    model.receive(QByteArray(1, char(0xAA)));
    EXPECT_EQ(model.carveRow(), 15);
    EXPECT_EQ(parseReplies(model.takeReplies()), (std::vector<Reply>{{4, 15}}));

    model.receive(frame(7, 1) + char(0x55));
    model.receive(frame(7, 1) + char(0x55));
    EXPECT_EQ(model.carveRow(), 0) << "clamped at the top";

    model.receive(frame(1, 1));
    model.step(512 * 3); // rows 0..2
    model.receive(frame(7, 2) + char(0xAA));
    EXPECT_EQ(model.carveRow(), 18);
    runToEnd(model);
    // Rows 3..17 were skipped, everything else burned.
    for (int row = 0; row < 512; ++row)
        EXPECT_EQ(model.burnedDots()[row * 64] != 0, row < 3 || row >= 18) << row;

    for (int i = 0; i < 40; ++i)
        model.receive(frame(7, 2) + char(0xAA));
    EXPECT_EQ(model.carveRow(), 511) << "clamped at the last row";
}

TEST(FirmwareModel, PositioningAndJogsReportTheHead)
{
    FirmwareModel model;
    // LocateX carries the board column, LocateY the row; replies give X = row, Y = column + 1.
    model.receive(frame(10, 2, 50) + frame(11, 0, 37));
    auto replies = parseReplies(model.takeReplies());
    ASSERT_EQ(replies.size(), 4u);
    EXPECT_EQ(replies[2], (Reply{4, 37}));
    EXPECT_EQ(replies[3], (Reply{3, 251}));

    model.receive(frame(3, 4) + char(4)); // right
    model.receive(frame(3, 2));           // down, trailer comes on its own
    EXPECT_TRUE(model.takeReplies().size() == 8);
    model.receive(QByteArray(1, char(2)));
    EXPECT_EQ(parseReplies(model.takeReplies()), (std::vector<Reply>{{4, 38}, {3, 252}}));

    model.receive(frame(8, 1)); // X motor reversed: right moves left
    EXPECT_TRUE(model.motorXReversed());
    model.receive(frame(3, 4) + char(4));
    EXPECT_EQ(model.headColumn(), 250);

    model.receive(frame(2, 1));
    EXPECT_EQ(parseReplies(model.takeReplies()).back(), (Reply{3, 257}));
    EXPECT_EQ(model.headRow(), 256);
    model.receive(frame(2, 2));
    EXPECT_TRUE(model.boxMode());

    model.receive(frame(3, 1) + char(1));
    model.receive(frame(11, 0, 0) + frame(3, 1) + char(1)); // up at the top edge stays
    EXPECT_EQ(model.headRow(), 0);

    model.receive(frame(5, 100));
    model.receive(frame(9));
    EXPECT_EQ(parseReplies(model.takeReplies()).back(), (Reply{10, 100}));
}

TEST(FirmwareModel, TrailerMistakesDropTheCommandAndAreRecorded)
{
    FirmwareModel model;
    model.receive(frame(3, 3) + char(4)); // wrong direction trailer
    EXPECT_EQ(model.headColumn(), 0);
    EXPECT_TRUE(model.takeReplies().isEmpty());
    EXPECT_TRUE(model.transcript().last().contains(QStringLiteral("wrong trailer")));

    model.receive(frame(7, 2) + frame(9)); // missing trailer, the next frame still counts
    EXPECT_EQ(model.carveRow(), 0);
    EXPECT_EQ(parseReplies(model.takeReplies()).front(), (Reply{1, 0}));

    EXPECT_EQ(model.transcript(),
              (QStringList{"FF 03 03 00  JogLeft", "04  wrong trailer for JogLeft (expected 03), command dropped",
                           "FF 07 02 00  FastForward", "trailer missing for FastForward, command dropped",
                           "FF 09 00 00  Handshake"}));
}

TEST(FirmwareModel, FrameSplitAcrossWritesAndResynchronisesOnFF)
{
    FirmwareModel model;
    model.receive(QByteArray::fromHex("12ff09")); // stray byte, then half a handshake
    EXPECT_TRUE(model.takeReplies().isEmpty());
    model.receive(QByteArray::fromHex("00"));
    model.receive(QByteArray::fromHex("00"));
    EXPECT_EQ(parseReplies(model.takeReplies()).size(), 4u);

    model.receive(QByteArray::fromHex("ff0aff0900 00")); // broken frame, then a whole one
    EXPECT_EQ(parseReplies(model.takeReplies()).front(), (Reply{1, 0}));
    EXPECT_EQ(model.transcript()[0], QStringLiteral("12  stray byte"));
    EXPECT_EQ(model.transcript()[2], QStringLiteral("FF 0A  incomplete frame dropped"));
}

TEST(FirmwareModel, SilenceRecordsButNeverAnswers)
{
    FirmwareModel model({.silent = true});
    model.receive(frame(9) + frame(6) + frame(1, 1) + frame(10, 1, 0));
    model.step();
    EXPECT_TRUE(model.takeReplies().isEmpty());
    EXPECT_FALSE(model.isReceivingPicture());
    EXPECT_EQ(model.transcript().size(), 4);
}

TEST(FirmwareModel, UnplugAfterNBytesDropsEverythingAfter)
{
    FirmwareModel model({.unplugAfterBytes = 6});
    model.receive(frame(9) + frame(9));
    EXPECT_TRUE(model.isUnplugged());
    EXPECT_EQ(model.bytesReceived(), 6);
    EXPECT_TRUE(model.takeReplies().isEmpty()) << "the pulled cable carries nothing";
    model.receive(frame(9));
    EXPECT_EQ(model.bytesReceived(), 6);

    model.lineReset(); // plugged back in; the half frame is gone
    EXPECT_FALSE(model.isUnplugged());
    model.receive(QByteArray::fromHex("0000") + frame(9));
    EXPECT_EQ(parseReplies(model.takeReplies()).size(), 4u);

    // Pulled in the middle of the picture: after the new plug the bytes are frames again.
    model.setUnplugAfter(1000);
    model.receive(frame(6) + QByteArray(2000, char(0xFF)));
    EXPECT_TRUE(model.isUnplugged());
    model.lineReset();
    EXPECT_FALSE(model.isReceivingPicture());
}

TEST(FirmwareModel, NoiseStaysBetweenFramesAndIsSeeded)
{
    const QByteArray picture = randomPicture(11, 5);
    auto run = [&](FirmwareOptions options) {
        FirmwareModel model(options);
        model.receive(frame(9));
        sendPicture(model, picture);
        model.receive(frame(1, 1));
        return model.takeReplies() + runToEnd(model);
    };
    const QByteArray clean = run({});
    const QByteArray noisy = run({.noiseRate = 0.5, .noiseSeed = 42});
    EXPECT_GT(noisy.size(), clean.size());
    EXPECT_EQ(noisy, run({.noiseRate = 0.5, .noiseSeed = 42})) << "same seed, same noise";
    EXPECT_NE(noisy, run({.noiseRate = 0.5, .noiseSeed = 43}));
    EXPECT_EQ(noisy.count(char(0xFF)), clean.count(char(0xFF))) << "noise never holds 0xFF";

    int strays = 0;
    EXPECT_EQ(parseReplies(noisy, &strays), parseReplies(clean));
    EXPECT_GT(strays, 0) << "some bursts were long enough to be dropped as a frame";
}

TEST(FirmwareModel, MotorPowerOffRefusesToMove)
{
    FirmwareModel model({.motorPowerOff = true});
    sendPicture(model, QByteArray(FirmwareModel::PictureBytes, char(0xFF)));
    model.takeReplies();
    model.receive(frame(1, 1) + frame(3, 1) + char(1) + frame(10, 1, 0));
    EXPECT_FALSE(model.isCarving());
    EXPECT_EQ(parseReplies(model.takeReplies()), (std::vector<Reply>{{7, 0}, {7, 0}, {7, 0}}));
    EXPECT_EQ(model.storedPicture(), QByteArray(FirmwareModel::PictureBytes, char(0xFF)))
        << "the picture still goes in";
}

TEST(FirmwareModel, RestartAndNewPictureResetTheJob)
{
    FirmwareModel model({.dotsPerStep = 512 * 100});
    sendPicture(model, QByteArray(FirmwareModel::PictureBytes, char(0x0F)));
    model.receive(frame(1, 1));
    model.step();
    model.receive(frame(4, 1));
    EXPECT_EQ(model.carveState(), CarveState::Idle);
    EXPECT_EQ(model.carveRow(), 0);
    EXPECT_EQ(model.step(), 0);

    model.receive(frame(6));
    EXPECT_EQ(model.burnedDotCount(), 0) << "a new picture starts a new burned record";
    model.receive(QByteArray(FirmwareModel::PictureBytes, '\0'));
    model.takeReplies();
    model.receive(frame(1, 1));
    EXPECT_EQ(parseReplies(runToEnd(model)), (std::vector<Reply>{{6, 0}})) << "a blank picture just finishes";
}

TEST(FirmwareModel, FastRunOfAFullBlackPictureTakesFewSteps)
{
    FirmwareModel model; // default step size
    sendPicture(model, QByteArray(FirmwareModel::PictureBytes, char(0xFF)));
    model.receive(frame(1, 1));
    int steps = 0;
    while (model.isCarving()) {
        model.step();
        model.takeReplies();
        ++steps;
    }
    EXPECT_LE(steps, 64);
    EXPECT_EQ(model.burnedDotCount(), 512 * 512);
}

} // namespace
} // namespace kovra::test
