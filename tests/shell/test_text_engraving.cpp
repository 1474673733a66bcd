#include "image/bitmap_image.h"
#include "image/drawing_board.h"
#include "shell/widgets/board_widget.h"
#include "image/text_drawing.h"
#include "picture/board_history.h"
#include "picture/image_edits.h"
#include "platform/paths.h"
#include "shell/settings/config_file.h"
#include "shell/main_window.h"
#include "shell/text_engraving.h"
#include "tests/picture/picture_rig.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QPixmap>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace kovra::test {
namespace {

// A settings file the program made itself has the system's line ends.
QByteArray newFile(QByteArray lines)
{
    return lines.replace("\n", platform::TextFileLineEnd());
}

using shell::TextEngraving;

// The rectangle holding every non-white pixel of a picture (null when none).
QRect inkBounds(const QImage& picture, const QRect& within = QRect())
{
    const QRect area = within.isNull() ? picture.rect() : within.intersected(picture.rect());
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (picture.pixel(x, y) != qRgb(255, 255, 255))
                ink |= QRect(x, y, 1, 1);
    return ink;
}

class TextEngravingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_board.SetBackgroundColour(Qt::white);
        m_board.ClearBoard();
        m_window.show();
        m_text = std::make_unique<TextEngraving>(m_window, m_board, m_edits, m_config, [this](const QFont& initial) {
            m_offered = initial;
            ++m_dialogs;
            return m_choice;
        });
    }
    QByteArray contents() const
    {
        QFile file(m_config.file());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    int expectedPixels(int points) const { return int(std::lround(points * m_text->screenDpi() / 72.0)); }
    // Places the text box at (x, y) the way the user does.
    void place(int x, int y)
    {
        m_radio->click();
        ASSERT_TRUE(m_text->PlaceTextBox(x, y));
    }

    QTemporaryDir m_dir;
    shell::ConfigFile m_config{m_dir.filePath(QStringLiteral("Config.ini"))};
    image::DrawingBoard m_board{512, 512};
    image::DrawingBoard m_horizontalRuler{558, 14};
    image::DrawingBoard m_verticalRuler{10, 558};
    shell::MainWindow m_window{m_board, m_horizontalRuler, m_verticalRuler, QPixmap(10, 10)};
    QPlainTextEdit* m_textEdit = m_window.TextEdit;
    QPlainTextEdit* m_preview = m_window.TextPreviewEdit;
    QPushButton* m_confirm = m_window.TextConfirmButton;
    QRadioButton* m_radio = m_window.TextRadio;
    QPushButton* m_fontButton = m_window.FontButton;
    image::BitmapImage m_working;
    image::BitmapImage m_scratch;
    picture::PictureEvents m_events;
    PictureEventLog m_log{m_events};
    picture::BoardHistory m_history{m_board, m_working, m_events};
    picture::ImageEdits m_edits{m_board, m_working, m_scratch, QImage(), m_history, m_events};
    std::optional<QFont> m_choice;
    QFont m_offered;
    int m_dialogs = 0;
    std::unique_ptr<TextEngraving> m_text;
};

TEST_F(TextEngravingTest, FirstStartUsesTheDefaultFaceAt20PointsRegular)
{
    m_text->LoadFontSettings();
    m_text->ApplyTextFont();
    EXPECT_TRUE(m_text->fontDialog().faceName.isEmpty());
    EXPECT_EQ(m_text->fontDialog().size, 20);
    for (const QFont& font : {m_board.TextFont(), m_preview->font()}) {
        EXPECT_EQ(font.families().value(0), QStringLiteral("宋体"));
        EXPECT_EQ(font.pixelSize(), expectedPixels(20));
        EXPECT_FALSE(font.bold());
        EXPECT_FALSE(font.italic());
    }
    EXPECT_FALSE(QFile::exists(m_config.file())) << "reading never creates the file";
}

TEST_F(TextEngravingTest, FaceNamesOf32CharactersOrMoreFallBack)
{
    m_text->fontDialog().faceName = QString(32, u'x');
    m_text->fontDialog().size = 12;
    m_text->ApplyTextFont();
    EXPECT_EQ(m_board.TextFont().families().value(0), QStringLiteral("宋体"));
    m_text->fontDialog().faceName = QString(31, u'x');
    m_text->ApplyTextFont();
    EXPECT_EQ(m_board.TextFont().families().value(0), QString(31, u'x'));
    EXPECT_EQ(m_text->fontDialog().faceName, QString(31, u'x')) << "only the controls' copy is replaced";
}

TEST_F(TextEngravingTest, ChoosingArialBold36StoresTheSixKeys)
{
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(36);
    arial.setBold(true);
    m_choice = arial;
    m_fontButton->click();
    EXPECT_EQ(m_dialogs, 1);
    EXPECT_EQ(contents(), newFile("[Front]\nName=Arial\nSize=36\nBold=1\nTilt=0\nStrikethrough=0\nUnderline=0\n"));
    EXPECT_EQ(m_board.TextFont().families().value(0), QStringLiteral("Arial"));
    EXPECT_EQ(m_board.TextFont().pixelSize(), expectedPixels(36));
    EXPECT_TRUE(m_board.TextFont().bold());
    EXPECT_EQ(m_preview->font(), m_board.TextFont());

    // The next dialog starts from the stored choice.
    m_choice.reset();
    m_fontButton->click();
    EXPECT_EQ(m_offered.family(), QStringLiteral("Arial"));
    EXPECT_EQ(std::lround(m_offered.pointSizeF()), 36);
    EXPECT_TRUE(m_offered.bold());
}

TEST_F(TextEngravingTest, CancelledDialogChangesNothing)
{
    m_text->LoadFontSettings();
    m_text->ApplyTextFont();
    const shell::FontDialog before = m_text->fontDialog();
    const QFont boardFont = m_board.TextFont();
    m_choice.reset();
    m_text->ChooseTextFont();
    EXPECT_EQ(m_dialogs, 1);
    EXPECT_EQ(m_text->fontDialog(), before);
    EXPECT_EQ(m_board.TextFont(), boardFont);
    EXPECT_FALSE(QFile::exists(m_config.file()));
}

TEST_F(TextEngravingTest, PixelSizedChoiceConvertsBackToPoints)
{
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(expectedPixels(15));
    font.setItalic(true);
    font.setUnderline(true);
    font.setStrikeOut(true);
    m_choice = font;
    m_text->ChooseTextFont();
    EXPECT_EQ(m_text->fontDialog().size, 15);
    EXPECT_TRUE(m_text->fontDialog().italic);
    EXPECT_EQ(contents(), newFile("[Front]\nName=Sans\nSize=15\nBold=0\nTilt=1\nStrikethrough=1\nUnderline=1\n"));
}

TEST_F(TextEngravingTest, TheTwoTextBoxesMirrorEachOther)
{
    EXPECT_EQ(m_preview->toPlainText(), QString()) << "mirroring starts with the first change";
    m_textEdit->setPlainText(QStringLiteral("Hello\nworld"));
    EXPECT_EQ(m_preview->toPlainText(), QStringLiteral("Hello\nworld"));
    m_preview->setPlainText(QStringLiteral("typed on the board"));
    EXPECT_EQ(m_textEdit->toPlainText(), QStringLiteral("typed on the board"));
    m_preview->insertPlainText(QStringLiteral("!"));
    EXPECT_EQ(m_textEdit->toPlainText(), m_preview->toPlainText());
}

TEST_F(TextEngravingTest, PlacementModeAndTextBoxPlacement)
{
    // Not in placement mode: the board click is not ours.
    EXPECT_FALSE(m_text->PlaceTextBox(10, 10));
    EXPECT_TRUE(m_preview->isHidden());

    m_radio->click();
    EXPECT_TRUE(m_radio->isChecked());
    EXPECT_EQ(m_board.Pointer(), shell::IBeamPointer);
    EXPECT_TRUE(m_preview->isHidden());

    ASSERT_TRUE(m_text->PlaceTextBox(100, 50));
    EXPECT_EQ(m_preview->geometry(), QRect(100, 50, 390, 440));
    EXPECT_TRUE(m_preview->isVisible());
    EXPECT_TRUE(m_confirm->isVisible());
    EXPECT_EQ(m_confirm->geometry(), QRect(445, 445, 40, 40)) << "the button never moves";
    EXPECT_FALSE(m_radio->isChecked());
    EXPECT_EQ(m_board.Pointer(), shell::DefaultPointer);

    // Clicking the radio again hides the shown box and starts over.
    m_radio->click();
    EXPECT_TRUE(m_preview->isHidden());
    EXPECT_TRUE(m_confirm->isHidden());
    ASSERT_TRUE(m_text->PlaceTextBox(500, 100));
    EXPECT_EQ(m_preview->geometry(), QRect(500, 100, 0, 390));
}

TEST_F(TextEngravingTest, TextPlacedPastTheBoxCornerIsStillDrawnThereClipped)
{
    m_text->fontDialog().size = 20;
    m_text->ApplyTextFont();
    m_textEdit->setPlainText(QStringLiteral("WWWW"));
    place(500, 100);
    m_confirm->click();
    const QRect ink = inkBounds(m_board.picture());
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), 500);
    EXPECT_EQ(ink.right(), 511) << "clipped by the board edge";
    EXPECT_GE(ink.top(), 100);
    EXPECT_LT(ink.bottom(), 100 + image::TextLineHeight(m_board.TextFont()));
    EXPECT_TRUE(m_preview->isHidden());
    EXPECT_TRUE(m_confirm->isHidden());
}

TEST_F(TextEngravingTest, TwoLinesStackByLineHeightPlusTwoAndBlankLinesSurvive)
{
    m_text->fontDialog().faceName = QStringLiteral("DejaVu Sans");
    m_text->fontDialog().size = 16;
    m_text->ApplyTextFont();
    const int step = image::TextLineHeight(m_board.TextFont()) + 2;

    // What the box draws must equal drawing each line by itself.
    image::DrawingBoard expected(512, 512);
    expected.SetBackgroundColour(Qt::white);
    expected.ClearBoard();
    expected.SetTextFont(m_board.TextFont());
    image::DrawTextLines(expected, QStringLiteral("Ab"), 40, 60);
    image::DrawTextLines(expected, QStringLiteral("Cd"), 40, 60 + step);
    image::DrawTextLines(expected, QStringLiteral("Ef"), 40, 60 + 3 * step);

    // A typed blank line (the box reports plain line feeds) stays blank.
    m_textEdit->setPlainText(QStringLiteral("Ab\nCd\n\nEf\n\n"));
    place(40, 60);
    m_confirm->click();
    EXPECT_EQ(m_board.picture(), expected.picture());
    EXPECT_EQ(m_log.names, QStringList{"textPlaced 40,60"});
    EXPECT_EQ(m_log.placedText, QStringLiteral("Ab\r\nCd\r\n\r\nEf\r\n\r\n"));
}

TEST_F(TextEngravingTest, EmptyTextDrawsNothingAndHidesTheBox)
{
    m_textEdit->setPlainText(QString());
    place(10, 10);
    const QImage before = m_board.picture();
    m_confirm->click();
    EXPECT_EQ(m_board.picture(), before);
    EXPECT_TRUE(m_preview->isHidden());
    EXPECT_TRUE(m_log.names.isEmpty());
}

} // namespace
} // namespace kovra::test
