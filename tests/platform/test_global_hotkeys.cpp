// The system-wide arrow keys: the application-wide fallback everywhere, the
// X11 grabs when the tests run on an X server (QT_QPA_PLATFORM=xcb).
#include "platform/global_hotkeys.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QList>

#include <functional>
#include <gtest/gtest.h>

#if __has_include(<xcb/xcb.h>) && __has_include(<xcb/xcb_keysyms.h>)
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <QElapsedTimer>
#include <dlfcn.h>
#define KOVRA_TEST_XCB 1
#endif

using namespace kovra::platform;

namespace {

void sendKey(QObject* receiver, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(receiver, &event);
}

} // namespace

TEST(FallbackGlobalHotKeys, IdentifiersAreFreshAndKeysExclusive)
{
    FallbackGlobalHotKeys keys(*QCoreApplication::instance());
    EXPECT_TRUE(keys.IsFallback());
    const int up = keys.Register(VirtualKeyUp);
    const int down = keys.Register(VirtualKeyDown);
    EXPECT_GT(up, 0x100);
    EXPECT_NE(up, down);
    EXPECT_EQ(keys.Register(VirtualKeyUp), 0); // already held
    EXPECT_EQ(keys.Register(0x41), 0);         // not a key of ours
    keys.Unregister(up);
    const int again = keys.Register(VirtualKeyUp);
    EXPECT_NE(again, 0);
    EXPECT_NE(again, up);
    EXPECT_NE(again, down);
    keys.Unregister(0);
    keys.Unregister(12345);
}

TEST(FallbackGlobalHotKeys, TakesArrowsFromTheFocusedControlUntilUnregistered)
{
    FallbackGlobalHotKeys keys(*QCoreApplication::instance());
    QList<int> pressed;
    keys.setOnHotKey([&](int id) { pressed.append(id); });

    QLineEdit edit(QStringLiteral("abcd"));
    edit.setCursorPosition(2);
    const int left = keys.Register(VirtualKeyLeft);
    const int right = keys.Register(VirtualKeyRight);

    sendKey(&edit, Qt::Key_Left);
    sendKey(&edit, Qt::Key_Right);
    sendKey(&edit, Qt::Key_Left, Qt::KeypadModifier);
    EXPECT_EQ(pressed, (QList<int>{left, right, left}));
    EXPECT_EQ(edit.cursorPosition(), 2); // the control never saw them

    sendKey(&edit, Qt::Key_Left, Qt::ShiftModifier); // with a modifier: not ours
    sendKey(&edit, Qt::Key_Up);                      // not registered
    EXPECT_EQ(pressed.size(), 3);
    EXPECT_EQ(edit.cursorPosition(), 1);

    keys.Unregister(left);
    keys.Unregister(right);
    sendKey(&edit, Qt::Key_Right);
    EXPECT_EQ(pressed.size(), 3);
    EXPECT_EQ(edit.cursorPosition(), 2); // given back
}

#ifdef KOVRA_TEST_XCB
// A second X client: a key another client has grabbed cannot be grabbed.
class OtherClient {
public:
    OtherClient()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(m_connection);
        if (xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, 0xff51 /* Left */)) {
            m_left = codes[0];
            free(codes);
        }
        xcb_key_symbols_free(symbols);
    }
    ~OtherClient() { xcb_disconnect(m_connection); }
    bool grabLeft()
    {
        xcb_void_cookie_t cookie = xcb_grab_key_checked(m_connection, 0, m_root, 0, m_left, XCB_GRAB_MODE_ASYNC,
                                                        XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t* error = xcb_request_check(m_connection, cookie);
        const bool granted = error == nullptr;
        free(error);
        return granted;
    }
    void ungrabLeft()
    {
        // Checked, so the server has let go before another client grabs the key.
        free(xcb_request_check(m_connection, xcb_ungrab_key_checked(m_connection, m_left, m_root, 0)));
    }
    bool usable() const { return !xcb_connection_has_error(m_connection) && m_left != 0; }

private:
    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
    xcb_keycode_t m_left = 0;
};

// A round trip on the program's own connection: what it sent has been done.
void syncWithServer()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (connection)
        free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

// Real key presses through the XTEST extension, when its library is there.
class FakeKeyboard {
public:
    FakeKeyboard()
    {
        m_x11 = dlopen("libX11.so.6", RTLD_NOW);
        m_xtst = dlopen("libXtst.so.6", RTLD_NOW);
        if (!m_x11 || !m_xtst)
            return;
        auto open = reinterpret_cast<void* (*)(const char*)>(dlsym(m_x11, "XOpenDisplay"));
        m_keycode = reinterpret_cast<unsigned char (*)(void*, unsigned long)>(dlsym(m_x11, "XKeysymToKeycode"));
        m_flush = reinterpret_cast<int (*)(void*)>(dlsym(m_x11, "XFlush"));
        m_close = reinterpret_cast<int (*)(void*)>(dlsym(m_x11, "XCloseDisplay"));
        m_fake = reinterpret_cast<int (*)(void*, unsigned, int, unsigned long)>(dlsym(m_xtst, "XTestFakeKeyEvent"));
        if (open && m_keycode && m_flush && m_close && m_fake)
            m_display = open(nullptr);
    }
    ~FakeKeyboard()
    {
        if (m_display)
            m_close(m_display);
        if (m_xtst)
            dlclose(m_xtst);
        if (m_x11)
            dlclose(m_x11);
    }
    bool usable() const { return m_display != nullptr; }
    void tap(unsigned long keysym)
    {
        const unsigned code = m_keycode(m_display, keysym);
        m_fake(m_display, code, 1, 0);
        m_fake(m_display, code, 0, 0);
        m_flush(m_display);
    }

private:
    void* m_x11 = nullptr;
    void* m_xtst = nullptr;
    void* m_display = nullptr;
    unsigned char (*m_keycode)(void*, unsigned long) = nullptr;
    int (*m_flush)(void*) = nullptr;
    int (*m_close)(void*) = nullptr;
    int (*m_fake)(void*, unsigned, int, unsigned long) = nullptr;
};

bool waitFor(const std::function<bool()>& done, int limitMs = 3000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(X11GlobalHotKeys, PressesReachUsWhateverHasTheFocus)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb and an X server";
    FakeKeyboard keyboard;
    if (!keyboard.usable())
        GTEST_SKIP() << "no XTEST library";
    auto keys = CreateGlobalHotKeys();
    QList<int> pressed;
    keys->setOnHotKey([&](int id) { pressed.append(id); });
    const int left = keys->Register(VirtualKeyLeft);
    const int up = keys->Register(VirtualKeyUp);
    ASSERT_NE(left, 0);
    keyboard.tap(0xff51);
    keyboard.tap(0xff52);
    EXPECT_TRUE(waitFor([&] { return pressed.size() >= 2; }));
    EXPECT_EQ(pressed, (QList<int>{left, up}));

    // With NumLock (and then CapsLock) on, the arrows still count.
    keyboard.tap(0xff7f);
    keyboard.tap(0xff51);
    keyboard.tap(0xff7f);
    keyboard.tap(0xffe5);
    keyboard.tap(0xff52);
    keyboard.tap(0xffe5);
    EXPECT_TRUE(waitFor([&] { return pressed.size() >= 4; }));
    EXPECT_EQ(pressed, (QList<int>{left, up, left, up}));
    pressed.clear();

    keys->Unregister(left);
    keys->Unregister(up);
    keyboard.tap(0xff51);
    keyboard.tap(0xff52);
    waitFor([] { return false; }, 300); // long enough for a stray press to arrive
    EXPECT_TRUE(pressed.isEmpty());
}

TEST(X11GlobalHotKeys, GrabsTheKeyForTheWholeDisplayAndGivesItBack)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb and an X server";
    auto keys = CreateGlobalHotKeys();
    ASSERT_FALSE(keys->IsFallback());
    OtherClient other;
    ASSERT_TRUE(other.usable());

    const int left = keys->Register(VirtualKeyLeft);
    ASSERT_NE(left, 0);
    EXPECT_EQ(keys->Register(VirtualKeyLeft), 0); // ours already
    EXPECT_FALSE(other.grabLeft());
    keys->Unregister(left);
    syncWithServer(); // our ungrab is done before the other client asks
    EXPECT_TRUE(other.grabLeft());

    // Held by another client: the registration fails and takes nothing.
    EXPECT_EQ(keys->Register(VirtualKeyLeft), 0);
    other.ungrabLeft();
    const int again = keys->Register(VirtualKeyLeft);
    EXPECT_NE(again, 0);
    EXPECT_NE(again, left);
    keys->Unregister(again);
}
#endif
