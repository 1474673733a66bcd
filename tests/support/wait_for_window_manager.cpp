// Waits until a window manager has taken the X screen: it owns the WM_S0
// selection, has set _NET_SUPPORTING_WM_CHECK on the root window, and frames
// a window mapped now. Driven by the server's events, not by a time budget;
// only a manager that never comes makes it give up, after a minute, with
// status 1.
#include <xcb/xcb.h>

#include <poll.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

// How long a map may go unanswered before it is asked for again.
constexpr int kAskAgainMs = 100;

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

bool screenTaken(xcb_connection_t* c, xcb_window_t root, xcb_atom_t selection, xcb_atom_t check)
{
    auto* owner = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool owned = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    auto* property = xcb_get_property_reply(c, xcb_get_property(c, 0, root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool checked = property && xcb_get_property_value_length(property) == 4;
    std::free(property);
    return owned && checked;
}

void giveUp(int)
{
    const char text[] = "wait-for-window-manager: no window manager took the screen\n";
    (void)!write(2, text, sizeof text - 1);
    _exit(1);
}

} // namespace

int main()
{
    std::signal(SIGALRM, giveUp);
    alarm(60);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "wait-for-window-manager: cannot open the display\n");
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t root = screen->root;
    // The manager announces the selection with a client message to the root
    // and sets its properties there: both come as events once selected.
    const uint32_t rootEvents = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootEvents);
    const xcb_atom_t selection = atom(c, "WM_S0");
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    while (!screenTaken(c, root, selection, check)) {
        xcb_generic_event_t* event = xcb_wait_for_event(c);
        if (!event)
            return 1;
        std::free(event);
    }

    // A manager that has taken the screen may still be starting, and openbox
    // then drops the windows mapped meanwhile: map a probe until one is
    // framed (reparented), asking again while nothing comes.
    const xcb_window_t probe = xcb_generate_id(c);
    const uint32_t probeEvents = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, root, 0, 0, 16, 16, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
        screen->root_visual, XCB_CW_EVENT_MASK, &probeEvents);
    for (bool framed = false; !framed;) {
        xcb_unmap_window(c, probe);
        xcb_map_window(c, probe);
        xcb_flush(c);
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        if (poll(&fd, 1, kAskAgainMs) < 0 && errno != EINTR)
            return 1;
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            const auto* reparent = reinterpret_cast<xcb_reparent_notify_event_t*>(event);
            framed = framed
                || ((event->response_type & 0x7f) == XCB_REPARENT_NOTIFY && reparent->window == probe
                    && reparent->parent != root);
            std::free(event);
        }
        if (xcb_connection_has_error(c))
            return 1;
    }
    xcb_destroy_window(c, probe);
    xcb_flush(c);
    xcb_disconnect(c);
    return 0;
}
