// The program as a whole: its start sequence and its end.
#include "app/program.h"
#include "shell/board_commands.h"
#include "shell/main_window.h"
#include "shell/widgets/message_log.h"
#include "shell/look/themed_control_look.h"
#include "tests/support/scoped_env.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kovra;
using kovra::test::ScopedEnv;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(Program, StartsInTheStoredLanguageScanningAndEndsWithTheMainWindow)
{
    QTemporaryDir dir;
    const ScopedEnv config("KOVRA_CONFIG_DIR", dir.filePath("config").toUtf8());
    const ScopedEnv ports("KOVRA_PORT_DIR", dir.filePath("ports").toUtf8());
    const ScopedEnv noTable("KOVRA_PORT_TABLE", "0");
    QDir().mkpath(dir.filePath("config"));
    {
        QFile ini(dir.filePath("config/Config.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[MainWindow]\r\nLanguage=2.9\r\n");
    }

    // A picture given at start opens as if dropped: the effect window opens too.
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::black);
    const QString picturePath = dir.filePath("black.png");
    ASSERT_TRUE(picture.save(picturePath));

    app::Program program;
    program.Start({picturePath});
    shell::MainWindow& w = program.window();
    const auto effectWindowOpen = [] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("EffectWindow") && top->isVisible())
                return true;
        return false;
    };
    // The picture is read on the flow's worker; the window opens once it is loaded.
    EXPECT_TRUE(QTest::qWaitFor(effectWindowOpen, 60000));
    EXPECT_TRUE(w.Log->loggedText().contains(QStringLiteral("Engraving Pause !\r\n\r\n")));

    EXPECT_EQ(w.windowTitle(), QStringLiteral("Kovra Laser CNC Software V1.0.0"));
    EXPECT_TRUE(w.Log->loggedText().startsWith(
        QStringLiteral("             Welcome(^_^)\r\nAutomatic Connecting...\r\n")));
    EXPECT_EQ(w.ConnectButton->text(), QStringLiteral("Connecting..."));
    EXPECT_EQ(w.StartButton->text(), QString::fromUtf8("スタート")) << "2.9 rounds down to Japanese";
    EXPECT_TRUE(readAll(dir.filePath("config/Config.ini")).contains("Language=2"));
    EXPECT_NE(qobject_cast<shell::ThemedControlLook*>(QApplication::style()), nullptr);

    // The texts beyond the caption table follow the language list at once.
    EXPECT_EQ(program.commands().UndoAction->text(), QString::fromUtf8("元に戻す"));
    // (The windows hear of it through the event loop.)
    w.LanguageCombo->setCurrentIndex(3);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(program.commands().UndoAction->text(), QStringLiteral("Annuler"));
    w.LanguageCombo->setCurrentIndex(0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(program.commands().UndoAction->text(), QStringLiteral("Undo"));

    // The burn-time label follows every move of the slider.
    w.BurnTimeSlider->setValue(55);
    EXPECT_EQ(w.BurnTimeValueLabel->text(), QStringLiteral("55"));

    // Closing the main window ends the program, though the effect window is open.
    QTimer::singleShot(0, &w, [&w] { w.close(); });
    bool timedOut = false;
    // The guard goes with the window, so it cannot end a later test's loop.
    QTimer::singleShot(5000, &w, [&timedOut] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
}
