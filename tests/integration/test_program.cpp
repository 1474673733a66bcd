// The program as a whole: its start sequence and its end.
#include "app/program.h"
#include "shell/main_window.h"
#include "shell/widgets/message_log.h"
#include "shell/look/themed_control_look.h"
#include "tests/support/scoped_env.h"

#include <QApplication>
#include <QLabel>
#include <QSlider>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#if __has_include(<xcb/xcb.h>) && defined(KOVRA_PROGRAM)
#include "assets/artwork.h"
#include "assets/artwork_files.h"
#include <QProcess>
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <cstdlib>
#include <cstring>
#define KOVRA_TEST_XCB 1
#endif

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

#ifdef KOVRA_TEST_XCB
namespace {

QByteArray windowProperty(xcb_connection_t* connection, xcb_window_t window, const char* name)
{
    auto* atom = xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    auto* reply = xcb_get_property_reply(connection,
        xcb_get_property(connection, 0, window, atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE), XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20),
        nullptr);
    QByteArray value;
    if (reply)
        value = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
    std::free(reply);
    std::free(atom);
    return value;
}

// The windows of a process that show on the screen, framed by a window manager or not.
QList<xcb_window_t> shownWindowsOf(xcb_connection_t* connection, qint64 pid, xcb_window_t parent, int depth = 2)
{
    QList<xcb_window_t> found;
    auto* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr);
    if (!tree)
        return found;
    const xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
        const QByteArray owner = windowProperty(connection, children[i], "_NET_WM_PID");
        auto* attributes = xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, children[i]), nullptr);
        const bool shown = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        if (shown && owner.size() == 4 && *reinterpret_cast<const quint32*>(owner.constData()) == quint32(pid))
            found << children[i];
        else if (depth > 1)
            found << shownWindowsOf(connection, pid, children[i], depth - 1);
    }
    std::free(tree);
    return found;
}

// _NET_WM_ICON: width, height and width x height ARGB values, for each size.
QMap<int, QByteArray> iconsBySize(const QByteArray& property)
{
    QMap<int, QByteArray> icons;
    const auto* v = reinterpret_cast<const quint32*>(property.constData());
    const qsizetype count = property.size() / 4;
    for (qsizetype at = 0; at + 2 <= count;) {
        const qsizetype pixels = qsizetype(v[at]) * v[at + 1];
        if (v[at] != v[at + 1] || at + 2 + pixels > count)
            break;
        icons.insert(int(v[at]), property.mid((at + 2) * 4, pixels * 4));
        at += 2 + pixels;
    }
    return icons;
}

} // namespace

// The program as started from the desktop: its window's class is the desktop
// entry's id, so the desktop matches it to the entry, and it carries the
// program's icon at every size, not the toolkit's.
TEST(X11Program, ItsWindowCarriesTheIconAndTheDesktopEntrysClass)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server (QT_QPA_PLATFORM=xcb)";
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_TRUE(x11 && x11->connection());
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;

    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KOVRA_PORT_TABLE", "0");
    env.insert("KOVRA_PORT_DIR", dir.filePath("ports"));
    env.insert("KOVRA_CONFIG_DIR", dir.filePath("config"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(KOVRA_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted());
    QList<xcb_window_t> windows;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !(windows = shownWindowsOf(connection, program.processId(), root)).isEmpty(); }, 60000));
    const QByteArray wmClass = windows.isEmpty() ? QByteArray() : windowProperty(connection, windows[0], "WM_CLASS");
    const QMap<int, QByteArray> icons = iconsBySize(windows.isEmpty() ? QByteArray() : windowProperty(connection, windows[0], "_NET_WM_ICON"));
    program.terminate();
    program.waitForFinished();

    EXPECT_EQ(wmClass, QByteArray("kovra\0" KOVRA_APP_ID "\0", int(std::strlen(KOVRA_APP_ID)) + 7));
    QList<int> sizes(std::begin(assets::WindowIconSizes), std::end(assets::WindowIconSizes));
    EXPECT_EQ(icons.keys(), sizes);
    const QImage ours = assets::WindowIcon().pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(icons.value(32), QByteArray(reinterpret_cast<const char*>(ours.constBits()), 32 * 32 * 4));
}
#endif
