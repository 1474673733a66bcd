// X11 hot keys: passive key grabs on every root window of Qt's own xcb
// connection. owner_events = 0 sends the grabbed presses to us whichever
// window has the focus. A grab matches modifiers exactly, so each key is
// grabbed with no modifier and with the NumLock and CapsLock variants.

#include "platform/global_hotkeys_native.h"

#if !defined(Q_OS_WIN) && defined(KOVRA_HAVE_XCB)

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xproto.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kovra::platform {
namespace {

constexpr xcb_keysym_t KeysymNumLock = 0xff7f;

xcb_keysym_t keysymOfVirtualKey(int virtualKey)
{
    switch (virtualKey) {
    case VirtualKeyLeft:
        return 0xff51;
    case VirtualKeyUp:
        return 0xff52;
    case VirtualKeyRight:
        return 0xff53;
    case VirtualKeyDown:
        return 0xff54;
    default:
        return 0;
    }
}

// The keycodes the keyboard map gives a keysym (usually one).
std::vector<xcb_keycode_t> keycodesOf(xcb_key_symbols_t* symbols, xcb_keysym_t keysym)
{
    std::vector<xcb_keycode_t> codes;
    if (xcb_keycode_t* list = xcb_key_symbols_get_keycode(symbols, keysym)) {
        for (xcb_keycode_t* c = list; *c != XCB_NO_SYMBOL; ++c)
            codes.push_back(*c);
        std::free(list);
    }
    return codes;
}

class X11GlobalHotKeys final : public GlobalHotKeys, public QAbstractNativeEventFilter {
public:
    explicit X11GlobalHotKeys(xcb_connection_t* connection)
        : m_connection(connection)
        , m_symbols(xcb_key_symbols_alloc(connection))
    {
        for (auto it = xcb_setup_roots_iterator(xcb_get_setup(connection)); it.rem; xcb_screen_next(&it))
            m_roots.push_back(it.data->root);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~X11GlobalHotKeys() override
    {
        // Once the application is gone, so is Qt's connection (freeing the
        // key symbols may still talk to it), and the server has dropped our
        // grabs with it.
        if (!QCoreApplication::instance())
            return;
        QCoreApplication::instance()->removeNativeEventFilter(this);
        for (const Registration& r : m_registrations)
            ungrab(r.grabs);
        xcb_flush(m_connection);
        if (m_symbols)
            xcb_key_symbols_free(m_symbols);
    }

    int Register(int virtualKey) override
    {
        const xcb_keysym_t keysym = keysymOfVirtualKey(virtualKey);
        if (keysym == 0 || !m_symbols || xcb_connection_has_error(m_connection))
            return 0;
        const std::vector<xcb_keycode_t> codes = keycodesOf(m_symbols, keysym);
        if (codes.empty())
            return 0;

        const uint16_t numLock = numLockMask();
        std::vector<uint16_t> variants{0, XCB_MOD_MASK_LOCK};
        if (numLock != 0 && numLock != XCB_MOD_MASK_LOCK) {
            variants.push_back(numLock);
            variants.push_back(uint16_t(numLock | XCB_MOD_MASK_LOCK));
        }

        std::vector<Grab> grabs;
        for (xcb_window_t root : m_roots)
            for (xcb_keycode_t code : codes)
                for (uint16_t modifiers : variants)
                    grabs.push_back({root, code, modifiers});

        // Our own grabs do not fail on a second grab of the same key, they
        // would silently be shared; refuse like a key held by another client.
        for (const Registration& r : m_registrations)
            for (const Grab& held : r.grabs)
                if (std::find(grabs.begin(), grabs.end(), held) != grabs.end())
                    return 0;

        std::vector<xcb_void_cookie_t> cookies;
        cookies.reserve(grabs.size());
        for (const Grab& g : grabs)
            cookies.push_back(xcb_grab_key_checked(m_connection, 0, g.root, g.modifiers, g.keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        // Another client holding any variant (BadAccess) makes the whole key
        // unavailable: the variants we did get are released again.
        std::vector<Grab> granted;
        bool failed = false;
        for (std::size_t i = 0; i < cookies.size(); ++i) {
            if (xcb_generic_error_t* error = xcb_request_check(m_connection, cookies[i])) {
                std::free(error);
                failed = true;
            } else {
                granted.push_back(grabs[i]);
            }
        }
        if (failed) {
            ungrab(granted);
            xcb_flush(m_connection);
            return 0;
        }
        const int id = nextId();
        m_registrations.push_back({id, std::move(granted)});
        return id;
    }

    void Unregister(int id) override
    {
        auto it = std::find_if(m_registrations.begin(), m_registrations.end(),
                               [id](const Registration& r) { return r.id == id; });
        if (it == m_registrations.end())
            return;
        ungrab(it->grabs);
        xcb_flush(m_connection);
        m_registrations.erase(it);
    }

    bool IsFallback() const override { return false; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t" || !message)
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
            return false;
        const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
        if (std::find(m_roots.begin(), m_roots.end(), press->event) == m_roots.end())
            return false;
        // Only the modifier keys count (not the pointer buttons).
        const uint16_t modifiers = press->state & 0xff;
        for (const Registration& r : m_registrations) {
            for (const Grab& g : r.grabs) {
                if (g.root == press->event && g.keycode == press->detail && g.modifiers == modifiers) {
                    const int id = r.id;
                    fireHotKey(id);
                    return true;
                }
            }
        }
        return false;
    }

private:
    struct Grab {
        xcb_window_t root;
        xcb_keycode_t keycode;
        uint16_t modifiers;
        bool operator==(const Grab&) const = default;
    };
    struct Registration {
        int id;
        std::vector<Grab> grabs;
    };

    void ungrab(const std::vector<Grab>& grabs)
    {
        for (const Grab& g : grabs)
            xcb_ungrab_key(m_connection, g.keycode, g.root, g.modifiers);
    }

    // The modifier bit that NumLock sets, read from the server's modifier map.
    uint16_t numLockMask()
    {
        const std::vector<xcb_keycode_t> numLockCodes = keycodesOf(m_symbols, KeysymNumLock);
        if (numLockCodes.empty())
            return 0;
        xcb_get_modifier_mapping_reply_t* reply =
            xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection), nullptr);
        if (!reply)
            return 0;
        uint16_t mask = 0;
        const xcb_keycode_t* map = xcb_get_modifier_mapping_keycodes(reply);
        const int perModifier = reply->keycodes_per_modifier;
        for (int modifier = 0; modifier < 8 && mask == 0; ++modifier) {
            for (int j = 0; j < perModifier; ++j) {
                const xcb_keycode_t code = map[modifier * perModifier + j];
                if (code != 0 && std::find(numLockCodes.begin(), numLockCodes.end(), code) != numLockCodes.end()) {
                    mask = uint16_t(1u << modifier);
                    break;
                }
            }
        }
        std::free(reply);
        return mask;
    }

    xcb_connection_t* m_connection;
    xcb_key_symbols_t* m_symbols;
    std::vector<xcb_window_t> m_roots;
    std::vector<Registration> m_registrations;
};

} // namespace

std::unique_ptr<GlobalHotKeys> CreateX11GlobalHotKeys()
{
    // Under other platform plugins (offscreen, Wayland) there is no X11
    // connection of Qt's to grab on.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return nullptr;
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return nullptr;
    xcb_connection_t* connection = x11->connection();
    if (!connection || xcb_connection_has_error(connection))
        return nullptr;
    return std::make_unique<X11GlobalHotKeys>(connection);
}

} // namespace kovra::platform

#endif
