#include "platform/window_title.h"

#include <QGuiApplication>
#include <QWindow>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(KOVRA_HAVE_XCB)
#include <qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <xcb/xproto.h>
#include <cstdlib>
#include <cstring>
#endif

namespace kovra::platform {

#if !defined(Q_OS_WIN) && defined(KOVRA_HAVE_XCB)
namespace {

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    const auto cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

} // namespace
#endif

bool ClearWindowTitle(QWindow* window)
{
    if (!window || !window->handle())
        return false;
#if defined(Q_OS_WIN)
    // Only the windows platform's ids are window handles (not offscreen's).
    if (QGuiApplication::platformName() != QLatin1String("windows"))
        return false;
    return SetWindowTextW(reinterpret_cast<HWND>(window->winId()), L"") != 0;
#elif defined(KOVRA_HAVE_XCB)
    // Under the offscreen platform there is no X connection to use.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t netName = internAtom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8 = internAtom(connection, "UTF8_STRING");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
    if (netName != XCB_ATOM_NONE && utf8 != XCB_ATOM_NONE)
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, netName, utf8, 8, 0, nullptr);
    xcb_flush(connection);
    return true;
#else
    return false;
#endif
}

} // namespace kovra::platform
