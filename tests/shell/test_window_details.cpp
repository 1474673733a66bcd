// Details that decide whether the windows feel exact: drops on any child,
// disabled controls, click positions, window places and sizes, empty titles.
#include "image/drawing_board.h"
#include "shell/widgets/board_widget.h"
#include "shell/effects/contact_sheet_window.h"
#include "shell/effects/effect_window.h"
#include "shell/help/help_window.h"
#include "shell/main_window.h"
#include "shell/widgets/message_log.h"
#include "shell/widgets/mouse_events.h"
#include "shell/settings_window.h"
#include "shell/effects/tuning_strip.h"
#include "shell/widgets/window_placement.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QPixmap>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>

#if __has_include(<xcb/xcb.h>)
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <cstdlib>
#include <cstring>
#define KOVRA_TEST_XCB 1
#endif

using namespace kovra;

namespace {

struct Window {
    image::DrawingBoard preview{512, 512};
    image::DrawingBoard hruler{558, 14};
    image::DrawingBoard vruler{10, 558};
    shell::MainWindow window{preview, hruler, vruler, QPixmap(10, 10)};
};

// Drag events go to the widget under the pointer; a scroll area's to its viewport.
QWidget* dropReceiver(QWidget* control)
{
    if (auto* area = qobject_cast<QAbstractScrollArea*>(control))
        return area->viewport();
    return control;
}

QString textOf(QWidget* control)
{
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    return static_cast<QPlainTextEdit*>(control)->toPlainText();
}

// A drag entering the control at (5, 5) and dropped there; true when the drop was accepted.
bool dragAndDrop(QWidget* control, QMimeData* mime)
{
    QWidget* target = dropReceiver(control);
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

} // namespace

TEST(FileDrops, AFileDroppedOnAnyTextBoxOpensAsAPictureAndPlainTextIsStillInserted)
{
    Window w;
    w.window.show();
    const std::pair<const char*, QWidget*> boxes[] = {
        {"MessageLog", w.window.Log},
        {"TextEdit", w.window.TextEdit},
        {"TextPreviewEdit", w.window.TextPreviewEdit},
        {"XEdit", w.window.XEdit},
        {"YEdit", w.window.YEdit},
    };
    w.window.TextPreviewEdit->show();
    const QString picture = QStringLiteral("/tmp/some picture.png");
    for (const auto& [name, box] : boxes) {
        SCOPED_TRACE(name);
        QSignalSpy dropped(&w.window, &shell::MainWindow::filesDropped);
        const QString before = textOf(box);

        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(picture), QUrl(QStringLiteral("https://example.org/x.png"))});
        files.setText(QStringLiteral("file:///tmp/some%20picture.png"));
        EXPECT_TRUE(dragAndDrop(box, &files));
        ASSERT_EQ(dropped.count(), 1);
        EXPECT_EQ(dropped.at(0).at(0).toStringList(), QStringList{picture});
        EXPECT_EQ(textOf(box), before) << "the path is not inserted into the text";

        // Plain text is the box's own affair (the read-only log takes none).
        QMimeData text;
        text.setText(QStringLiteral("123"));
        dragAndDrop(box, &text);
        EXPECT_EQ(dropped.count(), 1);
        if (box != w.window.Log) {
            EXPECT_TRUE(textOf(box).contains(QStringLiteral("123"))) << textOf(box).toStdString();
        }
    }
}

TEST(DisabledControls, MouseWatchersIgnoreADisabledControlAndTruncateClickPositions)
{
    QSlider slider;
    slider.resize(200, 40);
    auto* watch = shell::MouseEvents::Watch(&slider);
    QSignalSpy down(watch, &shell::MouseEvents::leftButtonDown);
    QSignalSpy up(watch, &shell::MouseEvents::leftButtonUp);

    auto send = [&](QEvent::Type type, QPointF at) {
        QMouseEvent event(type, at, slider.mapToGlobal(at), Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::ControlModifier);
        QCoreApplication::sendEvent(&slider, &event);
    };
    slider.setEnabled(false);
    send(QEvent::MouseButtonPress, {10, 10});
    send(QEvent::MouseButtonRelease, {10, 10});
    EXPECT_EQ(down.count() + up.count(), 0) << "a disabled slider sends no burn time";

    slider.setEnabled(true);
    send(QEvent::MouseButtonRelease, {99.75, 3.6});
    ASSERT_EQ(up.count(), 1);
    EXPECT_EQ(up.at(0), (QList<QVariant>{99, 3, 1}));
}

TEST(ClickPositions, BoardClicksAreTruncatedNotRounded)
{
    image::DrawingBoard picture(512, 512);
    shell::BoardWidget board(picture);
    QSignalSpy down(&board, &shell::BoardWidget::leftButtonDown);
    const QPointF at(511.6, 0.5);
    QMouseEvent press(QEvent::MouseButtonPress, at, board.canvas()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
        Qt::NoModifier);
    QCoreApplication::sendEvent(board.canvas(), &press);
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0), (QList<QVariant>{511, 0, 0}));
    EXPECT_EQ(shell::TruncatedPoint(QPointF(-0.7, 2.999)), QPoint(0, 2));
}

TEST(Windows, EachOpensAtItsPlaceWithItsOuterSize)
{
    image::DrawingBoard bw(490, 490), dither(490, 490);
    Window main;
    shell::SettingsWindow settings(QStringLiteral("https://www.kovra.example/"));
    shell::HelpWindow help;
    shell::EffectWindow effect(bw, dither);
    const std::tuple<const char*, QWidget*, QRect> windows[] = {
        {"MainWindow", &main.window, {50, 50, 1025, 684}},
        {"SettingsWindow", &settings, {50, 50, 316, 334}},
        {"HelpWindow", &help, {50, 50, 808, 575}},
        // The effect window's height is its inside's; it grows by the frame.
        {"EffectWindow", &effect, QRect(QPoint(50, 50), shell::EffectWindow::Size)},
    };
    for (auto [name, window, outer] : windows) {
        SCOPED_TRACE(name);
        window->show();
        if (window == &effect) {
            const QMargins frame = effect.windowHandle()->frameMargins();
            outer.setHeight(outer.height() + frame.top() + frame.bottom());
            EXPECT_EQ(effect.height(), shell::EffectWindow::Size.height());
        }
        EXPECT_EQ(window->frameGeometry(), outer);
        // Moved by the user, closed and opened again: back at its place.
        window->move(300, 200);
        window->hide();
        window->show();
        EXPECT_EQ(window->frameGeometry().topLeft(), outer.topLeft());
        window->hide();
    }
    EXPECT_TRUE(settings.windowTitle().isEmpty());
}

// Whatever frame the window manager draws: none, openbox's, a desktop's tall
// title bar. Screens down to 1280 x 720 with a panel.
TEST(WindowPlacement, OuterRectangleForEveryFrameAndScreen)
{
    using S = shell::WindowPlacement::Sizing;
    const QRect effect(QPoint(50, 50), shell::EffectWindow::Size);
    const QRect sheet(0, 0, 1057, 869);
    const QMargins none, openbox(1, 21, 1, 1), tall(4, 64, 4, 4), windows(8, 31, 8, 8);
    const QRect big(0, 0, 1920, 1080), laptop(0, 0, 1366, 738), small(0, 32, 1280, 688);
    struct Case {
        const char* what;
        QRect asked;
        S sizing;
        QMargins frame;
        QRect available;
        QRect outer;
        int content = 0; // how far down the controls reach
    };
    const std::vector<Case> cases{
        {"fixed keeps its outer size", {50, 50, 808, 575}, S::Fixed, tall, laptop, {50, 50, 808, 575}},
        {"fixed, its controls whole under openbox", {50, 50, 808, 575}, S::Fixed, openbox, laptop, {50, 50, 808, 575}, 536},
        {"fixed grows under a tall title", {50, 50, 808, 575}, S::Fixed, tall, laptop, {50, 50, 808, 604}, 536},
        {"resizable grows under a tall title", {50, 50, 1025, 684}, S::Resizable, tall, laptop, {50, 50, 1025, 713}, 648},
        {"Windows' own frame changes nothing", {50, 50, 1025, 684}, S::Resizable, windows, laptop, {50, 50, 1025, 684}, 648},
        {"effect window, no frame", effect, S::FixedInsideHeight, none, laptop, effect},
        {"effect window, openbox", effect, S::FixedInsideHeight, openbox, laptop, {50, 50, 1080, 674}},
        {"effect window, tall title", effect, S::FixedInsideHeight, tall, laptop, {50, 50, 1080, 720}},
        {"sheet on a big screen, whole and centred", sheet, S::FitScreen, openbox, big, {430, 94, 1059, 891}},
        {"sheet on a laptop", sheet, S::FitScreen, openbox, laptop, {153, 0, 1059, 738}},
        {"sheet on 1280 x 720 with a panel", sheet, S::FitScreen, tall, small, {107, 32, 1065, 688}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QRect outer = shell::WindowPlacement::OuterFor(c.asked, c.sizing, c.frame, c.available, c.content);
        EXPECT_EQ(outer, c.outer);
        if (c.sizing == S::FixedInsideHeight) {
            EXPECT_GE(outer.height() - c.frame.top() - c.frame.bottom(),
                shell::EffectWindow::TuningStripTop + shell::TuningStrip::Height) << "the strip is whole";
        }
    }
}

// The contact sheet: every tile can be scrolled to, the window fits the
// screen and can be resized.
TEST(ContactSheetWindow, FitsTheScreenScrollsAndResizes)
{
    shell::ContactSheetWindow sheet;
    sheet.show();
    QCoreApplication::processEvents(); // the frame is looked at once the window is up
    const QRect available = sheet.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(sheet.frameGeometry())) << "within the screen's free area";
    EXPECT_LT(sheet.minimumSize().height(), sheet.maximumSize().height());
    QScrollArea* scroll = sheet.scrollArea();
    const int last = sheet.tileCount() - 1;
    scroll->ensureWidgetVisible(sheet.tile(last), 0, 0);
    const QRect tile(sheet.tile(last)->mapTo(scroll->viewport(), QPoint(0, 0)), sheet.tile(last)->size());
    if (tile.height() <= scroll->viewport()->height()) {
        EXPECT_TRUE(scroll->viewport()->rect().contains(tile)) << "the bottom row can be reached";
    }
    sheet.resize(400, 300);
    EXPECT_EQ(sheet.size(), QSize(400, 300));
}

TEST(SettingsWindow, TheMakersAddressFitsItsLabelAndKeepsTheFullAddress)
{
    const QString address = QStringLiteral("https://www.kovra.example/");
    shell::SettingsWindow settings(address);
    QLabel* link = settings.SettingsLabel6;
    EXPECT_EQ(link->text(), QStringLiteral("kovra.example"));
    EXPECT_LE(link->fontMetrics().horizontalAdvance(link->text()), link->width());
    EXPECT_EQ(link->toolTip(), address);
    EXPECT_EQ(shell::ShortWebAddress(QStringLiteral("http://example.org/path")), QStringLiteral("example.org"));
    EXPECT_EQ(shell::ShortWebAddress(QStringLiteral("not an address")), QStringLiteral("not an address"));
}

#ifdef KOVRA_TEST_XCB
namespace {

QByteArray windowProperty(xcb_connection_t* connection, xcb_window_t window, const char* name)
{
    auto atomReply = xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = atomReply ? atomReply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(atomReply);
    auto* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
    QByteArray value;
    if (reply)
        value = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
    std::free(reply);
    return value;
}

} // namespace

// On X11 Qt names a window without a title after the program; ours stay empty.
TEST(X11Windows, UntitledWindowsShowNoTitle)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server (QT_QPA_PLATFORM=xcb)";
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_TRUE(x11 && x11->connection());
    QCoreApplication::setApplicationName(QStringLiteral("kovra-test"));
    image::DrawingBoard bw(490, 490), dither(490, 490);
    shell::SettingsWindow settings(QStringLiteral("https://www.kovra.example/"));
    shell::HelpWindow help;
    shell::EffectWindow effect(bw, dither);
    for (QWidget* window : std::initializer_list<QWidget*>{&settings, &help, &effect}) {
        window->show();
        QCoreApplication::processEvents();
        const auto id = xcb_window_t(window->winId());
        EXPECT_EQ(windowProperty(x11->connection(), id, "WM_NAME"), QByteArray()) << window->objectName().toStdString();
        EXPECT_EQ(windowProperty(x11->connection(), id, "_NET_WM_NAME"), QByteArray());
        window->hide();
    }
    Window main;
    main.window.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(windowProperty(x11->connection(), xcb_window_t(main.window.winId()), "_NET_WM_NAME"),
        QByteArray(shell::MainWindow::kTitle));
}
#endif

#ifdef KOVRA_TEST_XCB
namespace {

// The outer rectangle as the X server and the window manager see it: the
// client's place on the root window widened by the frame the manager reports.
QRect outerOnScreen(xcb_connection_t* connection, xcb_window_t window)
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    auto* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    auto* at = xcb_translate_coordinates_reply(connection, xcb_translate_coordinates(connection, window, root, 0, 0), nullptr);
    QRect client;
    if (geometry && at)
        client = QRect(at->dst_x, at->dst_y, geometry->width, geometry->height);
    std::free(geometry);
    std::free(at);
    const QByteArray extents = windowProperty(connection, window, "_NET_FRAME_EXTENTS");
    if (extents.size() != 4 * int(sizeof(uint32_t)))
        return client;
    const auto* e = reinterpret_cast<const uint32_t*>(extents.constData()); // left, right, top, bottom
    return client.adjusted(-int(e[0]), -int(e[2]), int(e[1]), int(e[3]));
}

// How far down a window's controls show inside Windows' own frame.
int shownAsOnWindows(const QWidget* window, const QRect& outer)
{
    return std::min(window->childrenRect().bottom() + 1,
                    outer.height() - shell::WindowPlacement::kDesignFrameHeight);
}

bool windowManagerRuns(xcb_connection_t* connection)
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    return windowProperty(connection, root, "_NET_SUPPORTING_WM_CHECK").size() >= 4;
}

// Processes the window system's events until done() holds. Only a manager
// that never answers runs into the guard, which fails the test.
bool waitForEvents(const std::function<bool()>& done)
{
    constexpr int kGuardMs = 60000;
    QDeadlineTimer guard(kGuardMs);
    QTimer wake; // so the wait ends even if the events stop
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer); // a coarse one may fire before the guard runs out
    while (!done()) {
        if (guard.hasExpired())
            return false;
        wake.start(int(std::max<qint64>(1, guard.remainingTime())));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace

// With a window manager the frame arrives after the window is mapped; the
// windows still come out at (50, 50) with the table's outer sizes, the
// effect window grows by the frame so its tuning strip is whole, and the
// others grow only where a tall frame would cut their controls off.
TEST(X11Windows, OuterGeometryUnderAWindowManager)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server (QT_QPA_PLATFORM=xcb)";
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_TRUE(x11 && x11->connection());
    // The test command starts the manager and waits until it has taken the screen.
    if (!windowManagerRuns(x11->connection())) {
        ASSERT_FALSE(qEnvironmentVariableIsSet("KOVRA_EXPECT_WINDOW_MANAGER")) << "no window manager came up";
        GTEST_SKIP() << "needs a window manager on the X server";
    }
    image::DrawingBoard bw(490, 490), dither(490, 490);
    Window main;
    shell::SettingsWindow settings(QStringLiteral("https://www.kovra.example/"));
    shell::HelpWindow help;
    shell::EffectWindow effect(bw, dither);
    const std::tuple<QWidget*, QRect> windows[] = {
        {&main.window, {50, 50, 1025, 684}},
        {&settings, {50, 50, 316, 334}},
        {&help, {50, 50, 808, 575}},
        {&effect, QRect(QPoint(50, 50), shell::EffectWindow::Size)},
    };
    for (auto [window, outer] : windows) {
        SCOPED_TRACE(window->objectName().toStdString());
        window->show();
        const auto id = xcb_window_t(window->winId());
        // Before the manager frames it the bare window may already match the
        // outer rectangle; wait for the frame and for the corrected geometry.
        const auto framed = [&] { return window->frameGeometry().height() > window->height(); };
        const auto expected = [&] {
            QRect rect = outer;
            const int frame = window->frameGeometry().height() - window->height();
            if (window == &effect)
                rect.setHeight(outer.height() + frame);
            else // grown only where the frame would cut off controls that show under Windows' frame
                rect.setHeight(std::max(outer.height(), shownAsOnWindows(window, outer) + frame));
            return rect;
        };
        QRect seen;
        EXPECT_TRUE(waitForEvents([&] {
            seen = outerOnScreen(x11->connection(), id);
            return framed() && seen == expected();
        })) << "seen " << seen.x() << "," << seen.y() << " " << seen.width() << "x" << seen.height();
        EXPECT_EQ(seen, expected());
        if (window == &effect) {
            EXPECT_EQ(effect.height(), shell::EffectWindow::Size.height()) << "the strip is whole";
        }
        EXPECT_GE(window->height(), shownAsOnWindows(window, outer)) << "the controls show as under Windows";
        window->hide();
    }
}
#endif
