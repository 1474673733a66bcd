#include "image/drawing_board.h"
#include "image/text_drawing.h"

#include <QFont>
#include <QPainter>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace kovra::test {
namespace {

using image::SplitTextLines;

TEST(TextLines, BreaksAreCrOrLfWithOneFollowingLfAbsorbed)
{
    EXPECT_EQ(SplitTextLines(QStringLiteral("a\r\nb")), (QStringList{"a", "b"}));
    EXPECT_EQ(SplitTextLines(QStringLiteral("a\rb\nc")), (QStringList{"a", "b", "c"}));
    // Two line feeds in a row are one break; CR LF CR LF is two.
    EXPECT_EQ(SplitTextLines(QStringLiteral("a\n\nb")), (QStringList{"a", "b"}));
    EXPECT_EQ(SplitTextLines(QStringLiteral("a\r\n\r\nb")), (QStringList{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines(QStringLiteral("a\r\rb")), (QStringList{"a", "", "b"}));
    EXPECT_EQ(SplitTextLines(QStringLiteral("a\n\n\nb")), (QStringList{"a", "", "b"}));
    // Trailing breaks draw nothing; a leading one is an empty first line.
    EXPECT_EQ(SplitTextLines(QStringLiteral("a\r\n\r\n\r\n")), (QStringList{"a"}));
    EXPECT_EQ(SplitTextLines(QStringLiteral("\r\na")), (QStringList{"", "a"}));
    EXPECT_TRUE(SplitTextLines(QString()).isEmpty());
    EXPECT_TRUE(SplitTextLines(QStringLiteral("\n")).isEmpty());
}

TEST(TextLines, EditBoxTextGetsCrLfBreaks)
{
    EXPECT_EQ(image::WithCrLfBreaks(QStringLiteral("a\n\nb\r\nc\n")), QStringLiteral("a\r\n\r\nb\r\nc\r\n"));
    EXPECT_EQ(image::WithCrLfBreaks(QStringLiteral("\n")), QStringLiteral("\r\n"));
}

class TextDrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_board.SetBackgroundColour(Qt::white);
        m_board.ClearBoard();
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(24);
        m_board.SetTextFont(font);
    }
    // The rectangle holding every non-white pixel.
    QRect ink() const
    {
        QRect r;
        for (int y = 0; y < m_board.height(); ++y)
            for (int x = 0; x < m_board.width(); ++x)
                if (m_board.picture().pixel(x, y) != qRgb(255, 255, 255))
                    r |= QRect(x, y, 1, 1);
        return r;
    }
    image::DrawingBoard m_board{512, 512};
};

TEST_F(TextDrawingTest, LinesAreBlackGreyOnlyAndStartAtTheirCorner)
{
    QSignalSpy changed(&m_board, &image::DrawingBoard::changed);
    const int height = image::TextLineHeight(m_board.TextFont());
    const QPoint end = image::DrawTextLines(m_board, QStringLiteral("HH\r\nHH"), 100, 200);
    EXPECT_EQ(end, QPoint(100, 200 + 2 * (height + 2)));
    EXPECT_EQ(changed.count(), 1);

    const QRect drawn = ink();
    ASSERT_FALSE(drawn.isNull());
    EXPECT_GE(drawn.left(), 100);
    EXPECT_LE(drawn.left(), 104) << "an H starts right at the line's left edge";
    EXPECT_GT(drawn.top(), 200);
    EXPECT_LT(drawn.bottom(), 200 + 2 * height + 2);
    // Gap between the two lines: rows between them hold no ink.
    bool blankRow = false;
    for (int y = 200 + height - 4; y < 200 + height + 6 && !blankRow; ++y) {
        bool any = false;
        for (int x = 0; x < 512; ++x)
            any |= m_board.picture().pixel(x, y) != qRgb(255, 255, 255);
        blankRow = !any;
    }
    EXPECT_TRUE(blankRow);
    for (int y = drawn.top(); y <= drawn.bottom(); ++y)
        for (int x = drawn.left(); x <= drawn.right(); ++x) {
            const QRgb p = m_board.picture().pixel(x, y);
            ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << "text is black on the board";
        }
}

TEST_F(TextDrawingTest, TransparentBackgroundKeepsWhatIsUnderneath)
{
    m_board.Paint([](QPainter& p) { p.fillRect(QRect(0, 0, 512, 512), QColor(0, 0, 255)); });
    image::DrawTextLines(m_board, QStringLiteral("I"), 10, 10);
    EXPECT_EQ(m_board.picture().pixel(300, 300), qRgb(0, 0, 255));
    EXPECT_EQ(m_board.picture().pixel(10, 10), qRgb(0, 0, 255)) << "the line's corner is not filled";
}

TEST_F(TextDrawingTest, NothingToDrawLeavesTheBoardUntouched)
{
    QSignalSpy changed(&m_board, &image::DrawingBoard::changed);
    EXPECT_EQ(image::DrawTextLines(m_board, QStringLiteral("\r\n\r\n"), 5, 5), QPoint(5, 5));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_TRUE(ink().isNull());
    // Off the board altogether: drawn nowhere, no crash.
    image::DrawTextLines(m_board, QStringLiteral("far away"), 900, -400);
    EXPECT_TRUE(ink().isNull());
}

} // namespace
} // namespace kovra::test
