// The effect window's tuning strip and contact sheet against a real picture
// flow, and the tuning kept in Config.ini.
#include "image/drawing_board.h"
#include "picture/picture_flow.h"
#include "rendering/fitting.h"
#include "shell/widgets/board_widget.h"
#include "shell/settings/config_file.h"
#include "shell/effects/contact_sheet_window.h"
#include "shell/effects/effect_studio.h"
#include "shell/effects/effect_window.h"
#include "shell/settings/tuning_settings.h"
#include "shell/effects/tuning_strip.h"
#include "tests/picture/picture_rig.h"
#include "tests/support/manual_timer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace kovra::test {
namespace {

using rendering::Rendering;
using rendering::Tuning;
using shell::StudioSettings;

QImage white(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(TuningSettings, RoundTripInTheirOwnSectionAndBadValuesFallBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Config.ini");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[MainWindow]\r\nLanguage=2\r\n[Front]\r\nName=Arial\r\n");
    }
    shell::ConfigFile config(path);
    EXPECT_EQ(shell::LoadStudioSettings(config), StudioSettings{}) << "nothing stored: neutral and the diffusion";

    const StudioSettings tuned{{.brightness = -35, .contrast = 60, .gamma = 0.45, .invert = true, .threshold = 97},
                               Rendering::BlueNoise};
    ASSERT_TRUE(shell::SaveStudioSettings(config, tuned));
    EXPECT_EQ(shell::LoadStudioSettings(config), tuned);
    EXPECT_TRUE(readAll(path).startsWith("[MainWindow]\r\nLanguage=2\r\n[Front]\r\nName=Arial\r\n[Tuning]\r\n"))
        << readAll(path).toStdString();

    // Hand-edited values: out of range to the nearer end, unreadable to neutral.
    const struct {
        const char* key;
        const char* value;
    } edits[] = {{"Brightness", "250"}, {"Contrast", "lots"}, {"Gamma", "0.01"}, {"Invert", "yes"},
                 {"Threshold", "-4"},   {"Rendering", "Jarvis"}};
    for (const auto& e : edits)
        ASSERT_TRUE(config.Write(QStringLiteral("Tuning"), QString::fromLatin1(e.key), QString::fromLatin1(e.value)));
    const StudioSettings read = shell::LoadStudioSettings(config);
    EXPECT_EQ(read.tuning, (Tuning{.brightness = 100, .contrast = 0, .gamma = 0.2, .invert = false, .threshold = 0}));
    EXPECT_EQ(read.rightRendering, Rendering::Dither);
}

class EffectStudioTest : public ::testing::Test {
protected:
    EffectStudioTest()
    {
        // Plain white from the start, as after a first choice.
        preview.SetBackgroundPicture(plainWhite);
        QImage picture(300, 200, QImage::Format_RGB32);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                picture.setPixel(x, y, qRgb(x * 255 / 300, y, 128));
        picturePath = dir.filePath("picture.png");
        picture.save(picturePath);
    }
    // The drop and the window's timer, as the program does them.
    void dropAndCompute()
    {
        pictures.FileDropped({picturePath});
        ASSERT_TRUE(WaitForAnswer(events));
        window.show();
        ASSERT_TRUE(timer.tick());
    }
    void settle()
    {
        // The redraw waits for the burst of moves to be taken in.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
    QString picturePath;
    QImage plainWhite = white(600, 600);
    image::DrawingBoard preview{512, 512};
    ManualTimer timer;
    picture::PictureEvents events;
    PictureEventLog log{events};
    picture::PictureFlow pictures{preview, plainWhite, timer, events};
    shell::ConfigFile config{dir.filePath("Config.ini")};
    shell::EffectWindow window{pictures.blackWhiteBoard(), pictures.ditherBoard()};
    shell::EffectStudio studio{pictures, events, config};
};

TEST_F(EffectStudioTest, StripRedrawsTheBoardsAtOnceResetsAndIsRemembered)
{
    studio.Attach(window);
    shell::TuningStrip& strip = *window.TuningControls;
    // The controls sit under the boards, inside the window.
    EXPECT_EQ(window.size(), shell::EffectWindow::Size);
    EXPECT_LE(window.TuningControls->geometry().bottom(), window.height());
    EXPECT_GT(window.TuningControls->geometry().top(), window.DitherBoard->geometry().bottom());

    dropAndCompute();
    const QImage plainLeft = pictures.blackWhiteBoard().picture();
    const QImage plainRight = pictures.ditherBoard().picture();

    strip.InvertCheck->setChecked(true);
    strip.BrightnessSlider->setValue(25);
    settle();
    EXPECT_EQ(pictures.tunedPicture().tuning(), (Tuning{.brightness = 25, .invert = true}));
    EXPECT_NE(pictures.blackWhiteBoard().picture(), plainLeft);
    EXPECT_NE(pictures.ditherBoard().picture(), plainRight);
    EXPECT_EQ(strip.BrightnessValueLabel->text(), QStringLiteral("25"));

    strip.RenderingCombo->setCurrentIndex(strip.RenderingCombo->findData(int(Rendering::Sierra)));
    EXPECT_EQ(pictures.tunedPicture().rightRendering(), Rendering::Sierra);
    EXPECT_EQ(strip.GammaValueLabel->text(), QStringLiteral("1.00"));
    strip.GammaSlider->setValue(strip.GammaSlider->maximum());
    settle();
    EXPECT_EQ(pictures.tunedPicture().tuning().gamma, 5.0);

    // Reset: neutral tone controls, today's boards again; the rendering stays.
    strip.ResetButton->click();
    settle();
    EXPECT_TRUE(pictures.tunedPicture().tuning().isNeutral());
    EXPECT_EQ(pictures.blackWhiteBoard().picture(), plainLeft);
    EXPECT_EQ(strip.rightRendering(), Rendering::Sierra);

    strip.ContrastSlider->setValue(-40);
    window.close();
    const StudioSettings stored = shell::LoadStudioSettings(config);
    EXPECT_EQ(stored.tuning, Tuning{.contrast = -40});
    EXPECT_EQ(stored.rightRendering, Rendering::Sierra);

    // The next start: the same values in the flow and the strip.
    picture::PictureEvents eventsAgain;
    picture::PictureFlow again(preview, plainWhite, timer, eventsAgain);
    shell::EffectStudio studioAgain(again, eventsAgain, config);
    studioAgain.LoadSettings();
    EXPECT_EQ(again.tunedPicture().tuning(), Tuning{.contrast = -40});
    EXPECT_EQ(again.tunedPicture().rightRendering(), Rendering::Sierra);
}

TEST_F(EffectStudioTest, ContactSheetShowsEveryRenderingAndAClickChoosesIt)
{
    studio.Attach(window);
    dropAndCompute();
    window.TuningControls->ContactSheetButton->click();
    shell::ContactSheetWindow* sheet = studio.contactSheet();
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(sheet->isVisible());
    ASSERT_EQ(sheet->tileCount(), rendering::RenderingCount + 1);
    const std::vector<QImage> all = pictures.tunedPicture().renderAll();
    for (int i = 0; i < sheet->tileCount(); ++i) {
        const QImage tile = sheet->tileImage(i);
        ASSERT_EQ(tile.size(), QSize(shell::ContactSheetWindow::TileSide, shell::ContactSheetWindow::TileSide)) << i;
        if (i < rendering::RenderingCount) {
            EXPECT_EQ(tile, shell::HalfSize(all[size_t(i)])) << i;
        }
    }
    // Each rendering tells the name the command line knows it by, on the sheet and in the chooser.
    const auto tellsName = [](const QString& tip, Rendering r) {
        return tip.contains(QStringLiteral("--effect ") + rendering::RenderingName(r));
    };
    for (int i = 0; i < rendering::RenderingCount; ++i)
        EXPECT_TRUE(tellsName(sheet->tile(i)->toolTip(), rendering::AllRenderings[size_t(i)])) << i;
    const QComboBox* chooser = window.TuningControls->RenderingCombo;
    for (int i = 0; i < chooser->count(); ++i)
        EXPECT_TRUE(tellsName(chooser->itemData(i, Qt::ToolTipRole).toString(), Rendering(chooser->itemData(i).toInt())));
    window.TuningControls->setRightRendering(Rendering::Bayer);
    EXPECT_TRUE(tellsName(chooser->toolTip(), Rendering::Bayer)) << "the chooser's own tip follows its choice";

    // Actual size: the middle of each rendering, dot for dot.
    sheet->ActualSizeCheck->setChecked(true);
    const int bayer = int(Rendering::Bayer);
    EXPECT_EQ(sheet->tileImage(bayer),
              shell::MiddlePart(all[size_t(bayer)], pictures.tunedPicture().place(), shell::ContactSheetWindow::TileSide));

    // The sheet follows the tuning while it is open.
    window.TuningControls->InvertCheck->setChecked(true);
    settle();
    EXPECT_EQ(sheet->tileImage(bayer),
              shell::MiddlePart(pictures.tunedPicture().render(Rendering::Bayer), pictures.tunedPicture().place(),
                                shell::ContactSheetWindow::TileSide));

    // A click on a tile chooses its rendering; the sheet closes with the window.
    const QImage chosen = pictures.tunedPicture().render(Rendering::Jarvis);
    QWidget* tile = sheet->tile(int(Rendering::Jarvis));
    ASSERT_NE(tile, nullptr);
    QTest::mouseClick(tile, Qt::LeftButton);
    EXPECT_FALSE(pictures.choosing());
    EXPECT_EQ(preview.picture().copy(0, 0, rendering::FitSize, rendering::FitSize), chosen);
    EXPECT_EQ(log.names.last(), "chosen jarvis");
}

} // namespace
} // namespace kovra::test
