// The program as the desktop sees it on X11: its window's class and icon.
#include "assets/artwork.h"
#include "assets/artwork_files.h"

#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iterator>

using namespace kovra;

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
