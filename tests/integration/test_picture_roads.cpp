// Open (Ctrl+O) and paste (Ctrl+V) take the road of a dropped file: the same
// events, the same log, the same enabled controls and the same board; a text
// box keeps its own Ctrl+V; save writes the board as the render command does.
#include "app/program.h"
#include "image/drawing_board.h"
#include "job/engrave_encoder.h"
#include "job/raster_png.h"
#include "picture/picture_events.h"
#include "picture/picture_flow.h"
#include "shell/board_commands.h"
#include "shell/main_window.h"
#include "shell/widgets/message_log.h"
#include "tests/support/scoped_env.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>

using namespace kovra;
using kovra::test::ScopedEnv;

namespace {

// What a road leaves behind, from the moment the picture is handed over
// until black and white is chosen.
struct Trace {
    QStringList events;
    QString log;
    QStringList enabled;
    QImage board;
};

QStringList enabledButtons(const shell::MainWindow& w)
{
    QStringList names;
    for (const QPushButton* b : w.findChildren<QPushButton*>())
        if (b->isEnabled())
            names << b->objectName();
    names.sort();
    return names;
}

class PictureRoads : public ::testing::Test {
protected:
    void SetUp() override { QDir().mkpath(m_dir.filePath("config")); }

    // The picture: a black square on white, a size no board has.
    QString picturePath()
    {
        QImage picture(120, 80, QImage::Format_RGB32);
        picture.fill(Qt::white);
        for (int y = 10; y < 50; ++y)
            for (int x = 20; x < 90; ++x)
                picture.setPixel(x, y, qRgb(0, 0, 0));
        const QString path = m_dir.filePath("square.png");
        picture.save(path);
        return path;
    }

    Trace follow(const std::function<void(app::Program&, const QString&)>& road)
    {
        app::Program program;
        program.Start({});
        shell::MainWindow& w = program.window();
        Trace trace;
        picture::PictureEvents& e = program.pictureEvents();
        QObject::connect(&e, &picture::PictureEvents::loaded, &w,
                         [&](const QString&, QSize size) { trace.events << QStringLiteral("loaded %1x%2").arg(size.width()).arg(size.height()); });
        QObject::connect(&e, &picture::PictureEvents::renderingsReady, &w, [&] { trace.events << "ready"; });
        QObject::connect(&e, &picture::PictureEvents::chosen, &w, [&] { trace.events << "chosen"; });
        QObject::connect(&e, &picture::PictureEvents::refused, &w, [&] { trace.events << "refused"; });
        const qsizetype logBefore = w.Log->loggedText().size();
        road(program, picturePath());
        EXPECT_TRUE(QTest::qWaitFor([&] { return program.pictures().renderingsReady(); }, 60000));
        trace.enabled = enabledButtons(w);
        program.pictures().ChooseBlackWhite();
        trace.log = w.Log->loggedText().mid(logBefore);
        trace.board = program.previewBoard().picture();
        return trace;
    }

    QTemporaryDir m_dir;
    const ScopedEnv m_config{"KOVRA_CONFIG_DIR", m_dir.filePath("config").toUtf8()};
    const ScopedEnv m_ports{"KOVRA_PORT_DIR", m_dir.filePath("ports").toUtf8()};
    const ScopedEnv m_noTable{"KOVRA_PORT_TABLE", "0"};
};

TEST_F(PictureRoads, OpenAndPasteTakeTheRoadOfADrop)
{
    const auto drop = [](app::Program& p, const QString& path) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        const QPoint at(400, 300);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&p.window(), &enter);
        QDropEvent event(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&p.window(), &event);
    };
    const auto open = [](app::Program& p, const QString& path) {
        p.commands().SetFileChooser([path](auto, auto, auto, auto) { return path; });
        p.commands().OpenAction->trigger();
    };
    const auto pasteFile = [](app::Program& p, const QString& path) {
        auto* mime = new QMimeData;
        mime->setUrls({QUrl::fromLocalFile(path)});
        QGuiApplication::clipboard()->setMimeData(mime);
        p.commands().PasteAction->trigger();
    };
    const auto pasteImage = [](app::Program& p, const QString& path) {
        QGuiApplication::clipboard()->setImage(QImage(path));
        p.commands().PasteAction->trigger();
    };
    const struct {
        const char* road;
        std::function<void(app::Program&, const QString&)> run;
    } roads[] = {{"open", open}, {"paste a copied file", pasteFile}, {"paste picture data", pasteImage}};

    const Trace dropped = follow(drop);
    ASSERT_EQ(dropped.events, QStringList({"loaded 120x80", "ready", "chosen"}));
    ASSERT_TRUE(dropped.log.contains("Engraving Pause !"));
    for (const auto& r : roads) {
        SCOPED_TRACE(r.road);
        const Trace t = follow(r.run);
        EXPECT_EQ(t.events, dropped.events);
        EXPECT_EQ(t.log, dropped.log);
        EXPECT_EQ(t.enabled, dropped.enabled);
        EXPECT_EQ(t.board, dropped.board);
    }
}

TEST_F(PictureRoads, ATextBoxKeepsItsOwnPasteAndSaveWritesTheBoardAsSent)
{
    app::Program program;
    program.Start({});
    shell::MainWindow& w = program.window();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    int dialogs = 0;
    const QString saved = m_dir.filePath("saved");
    program.commands().SetFileChooser([&](auto, auto, auto, auto) {
        ++dialogs;
        return saved;
    });

    // In the text box Ctrl+V pastes text and Ctrl+Z takes it back: the box's.
    QGuiApplication::clipboard()->setText(QStringLiteral("Hello"));
    w.TextEdit->setFocus();
    w.TextEdit->setPlainText(QString());
    QTest::keyClick(w.TextEdit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.TextEdit->toPlainText(), QStringLiteral("Hello"));
    QTest::keyClick(w.TextEdit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.TextEdit->toPlainText(), QString());
    EXPECT_EQ(dialogs, 0);

    // Elsewhere Ctrl+S saves the board, .png added, as the render command writes it.
    w.RotateButton->setFocus();
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(job::ReadRasterPng(saved + ".png"), job::EncodeEngravePicture(program.previewBoard().picture()));
    EXPECT_TRUE(w.Log->loggedText().contains(QStringLiteral("saved.png")));
    // The next dialog starts in the folder used, kept in a section of its own.
    QFile ini(m_dir.filePath("config/Config.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QString config = QString::fromUtf8(ini.readAll());
    EXPECT_TRUE(config.contains(QStringLiteral("[Files]")));
    EXPECT_TRUE(config.contains(QStringLiteral("LastFolder=") + m_dir.path())) << config.toStdString();
}

} // namespace
