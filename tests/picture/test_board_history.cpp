// Undo and redo of the preview board: every change, from the states a user
// reaches, taken back to exactly the board, background and working image
// before it, and forward again; a long history; a new picture starts anew.
#include "image/bitmap_image.h"
#include "image/drawing_board.h"
#include "picture/board_history.h"
#include "picture/packed_image.h"
#include "picture/picture_flow.h"
#include "tests/picture/picture_rig.h"
#include "tests/support/manual_timer.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <functional>

namespace kovra::test {
namespace {

// What the edits depend on: the pixels, the background a clear shows, and
// the working image Reload draws.
struct BoardState {
    QImage pixels;
    QImage background;
    QImage working;
    bool operator==(const BoardState&) const = default;
};

// A photo-like picture: a grey ramp with a dark disc, so every rendering
// differs and a shrink leaves grey edges.
QImage photo()
{
    QImage img(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(x * 255 / 299, y, 128));
    QPainter p(&img);
    p.setBrush(Qt::black);
    p.drawEllipse(40, 40, 80, 80);
    return img;
}

class BoardHistoryTest : public ::testing::Test {
public:
    BoardHistoryTest()
    {
        hint.fill(qRgb(255, 255, 255));
        hint.setPixel(100, 240, qRgb(0, 0, 0));
        board.SetBackgroundPicture(hint);
        board.SetTextFont(QFont(QStringLiteral("Liberation Sans"), 20));
    }
    BoardState state() const { return {board.picture(), board.backgroundPicture(), flow.workingImage().ToQImage()}; }
    void dropPhoto()
    {
        const QString path = dir.filePath(QStringLiteral("photo.png"));
        ASSERT_TRUE(photo().save(path));
        flow.FileDropped({path});
        ASSERT_TRUE(WaitForAnswer(events));
        ASSERT_TRUE(timer.tick());
    }
    picture::ImageEdits& edits() { return flow.edits(); }
    picture::BoardHistory& history() { return flow.history(); }

    QTemporaryDir dir;
    QImage hint{512, 512, QImage::Format_RGB32};
    QImage plainWhite{600, 600, QImage::Format_RGB32};
    image::DrawingBoard board{512, 512};
    ManualTimer timer;
    picture::PictureEvents events;
    PictureEventLog log{events};
    picture::PictureFlow flow{(plainWhite.fill(Qt::white), board), plainWhite, timer, events};
};

struct Change {
    const char* name;
    std::function<void(BoardHistoryTest&)> before; // the state the change starts from
    std::function<void(BoardHistoryTest&)> change;
};

// Each change from a state that makes it matter: a chosen rendering with text
// and edits on it, or the drop hint still there.
const Change kChanges[] = {
    {"rotate", [](auto& t) { t.edits().PlaceText(QStringLiteral("Ab"), 30, 40); }, [](auto& t) { t.edits().RotateBoard(); }},
    {"shrink on the drop hint", {}, [](auto& t) { t.edits().ZoomOutBoard(); }},
    {"clear of the drop hint", {}, [](auto& t) { t.edits().ClearPreview(); }},
    {"a chosen rendering", [](auto& t) { t.dropPhoto(); }, [](auto& t) { t.flow.ChooseDither(); }},
    {"shrink", [](auto& t) { t.edits().RotateBoard(); }, [](auto& t) { t.edits().ZoomOutBoard(); }},
    {"clear", [](auto& t) { t.edits().ZoomOutBoard(); }, [](auto& t) { t.edits().ClearPreview(); }},
    {"reload", {}, [](auto& t) { t.edits().ReloadWorkingImage(); }},
    {"text", [](auto& t) { t.edits().ZoomOutBoard(); }, [](auto& t) { t.edits().PlaceText(QStringLiteral("Kovra\r\nLaser"), 100, 200); }},
    {"the drop hint of a language", [](auto& t) { t.edits().RotateBoard(); },
     [](auto& t) {
         t.history().Record();
         QImage other = t.hint;
         other.setPixel(5, 5, qRgb(0, 0, 0));
         t.board.SetBackgroundPicture(other);
     }},
    {"a tuned rendering",
     [](auto& t) {
         t.dropPhoto();
         rendering::Tuning tuning;
         tuning.contrast = 30;
         ASSERT_TRUE(t.flow.SetTuning(tuning));
     },
     [](auto& t) { t.flow.ChooseBlackWhite(); }},
};

TEST_F(BoardHistoryTest, EveryChangeIsTakenBackExactlyAndRedone)
{
    for (const Change& c : kChanges) {
        SCOPED_TRACE(c.name);
        if (c.before)
            c.before(*this);
        const BoardState before = state();
        const int steps = history().undoSteps();
        c.change(*this);
        const BoardState after = state();
        ASSERT_NE(after, before);
        ASSERT_EQ(history().undoSteps(), steps + 1);
        log.clear();
        EXPECT_TRUE(history().Undo());
        EXPECT_EQ(state(), before);
        EXPECT_TRUE(history().Redo());
        EXPECT_EQ(state(), after);
        // Restoring is not an edit: the presenter must not act on it.
        EXPECT_EQ(log.names, QStringList({QStringLiteral("restored"), QStringLiteral("restored")}));
    }
}

TEST_F(BoardHistoryTest, ChoicesAreStepsAndANewPictureStartsANewHistory)
{
    dropPhoto();
    const BoardState hintShown = state();
    flow.ChooseDither();
    const BoardState dithered = state();
    edits().RotateBoard();
    // Another picture with a tuning applied and another rendering chosen.
    dropPhoto();
    EXPECT_EQ(history().undoSteps(), 0);
    EXPECT_EQ(history().redoSteps(), 0);
    const BoardState rotated = state();
    rendering::Tuning tuning;
    tuning.brightness = 40;
    ASSERT_TRUE(flow.SetTuning(tuning));
    flow.Choose(rendering::Rendering::Bayer);
    const BoardState bayer = state();
    ASSERT_NE(bayer.working, dithered.working);
    EXPECT_TRUE(history().Undo());
    EXPECT_EQ(state(), rotated);
    EXPECT_EQ(state().working, dithered.working);
    EXPECT_FALSE(history().Undo()); // the drop began the history
    EXPECT_EQ(state(), rotated);
    EXPECT_TRUE(history().Redo());
    EXPECT_EQ(state(), bayer);
    EXPECT_FALSE(history().Redo());
    EXPECT_NE(hintShown, bayer);
}

TEST_F(BoardHistoryTest, AHundredAndMoreStepsBackAndForth)
{
    dropPhoto();
    flow.ChooseBlackWhite();
    std::vector<BoardState> states{state()};
    auto* random = QRandomGenerator::global();
    for (int i = 0; i < 120; ++i) {
        switch (random->bounded(4)) {
        case 0: edits().RotateBoard(); break;
        case 1: edits().ZoomOutBoard(); break;
        case 2: edits().PlaceText(QString::number(i), random->bounded(400), random->bounded(400)); break;
        default: edits().ReloadWorkingImage(); break;
        }
        states.push_back(state());
    }
    for (int i = 119; i >= 0; --i)
        ASSERT_TRUE(history().Undo() && state() == states[size_t(i)]) << "undo to step " << i;
    for (int i = 1; i <= 120; ++i)
        ASSERT_TRUE(history().Redo() && state() == states[size_t(i)]) << "redo to step " << i;
    // A new change after undoing forgets the steps forward.
    history().Undo();
    edits().RotateBoard();
    EXPECT_EQ(history().redoSteps(), 0);
    EXPECT_FALSE(history().Redo());
}

TEST(PackedImage, KeepsEveryPixelAndTakesLittleRoom)
{
    QImage twoColours(512, 512, QImage::Format_RGB32);
    twoColours.fill(Qt::white);
    QImage greys = twoColours;
    QImage colours = twoColours;
    auto* random = QRandomGenerator::global();
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            if (random->bounded(2))
                twoColours.setPixel(x, y, qRgb(0, 0, 0));
            const int g = random->bounded(256);
            greys.setPixel(x, y, qRgb(g, g, g));
            colours.setPixel(x, y, random->generate() | 0xFF000000u);
        }
    const struct {
        const char* name;
        QImage picture;
        qsizetype mostBytes;
    } cases[] = {
        {"dots", twoColours, 34 * 1024},
        {"greys", greys, 270 * 1024},
        {"colours", colours, 1030 * 1024},
        {"null", QImage(), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const picture::PackedImage packed(c.picture);
        EXPECT_EQ(packed.unpack(), c.picture);
        EXPECT_LE(packed.bytes(), c.mostBytes);
    }
}

} // namespace
} // namespace kovra::test
