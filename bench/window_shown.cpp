// Waits until a window of process PID with the title TITLE is viewable on the X display,
// then prints that moment in seconds since the epoch (the clock of bash's EPOCHREALTIME):
//   window_shown PID TITLE [TIMEOUT_SECONDS]
// xdotool's search --sync looks only every half second; this looks again at every window
// the server maps, and every few milliseconds besides, so a start-up is timed to the
// millisecond. Exit status 1 on timeout or without a display.
#include <poll.h>
#include <time.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : XCB_ATOM_NONE;
    std::free(reply);
    return result;
}

struct Target {
    xcb_connection_t* connection;
    xcb_atom_t pidAtom;
    xcb_atom_t nameAtom;
    xcb_atom_t utf8Atom;
    std::uint32_t pid;
    std::string title;
};

bool matches(const Target& target, xcb_window_t window) {
    const auto pidCookie =
        xcb_get_property(target.connection, 0, window, target.pidAtom, XCB_ATOM_CARDINAL, 0, 1);
    const auto nameCookie =
        xcb_get_property(target.connection, 0, window, target.nameAtom, target.utf8Atom, 0, 256);
    xcb_get_property_reply_t* pid = xcb_get_property_reply(target.connection, pidCookie, nullptr);
    xcb_get_property_reply_t* name = xcb_get_property_reply(target.connection, nameCookie, nullptr);
    bool result = pid && xcb_get_property_value_length(pid) == 4 &&
                  *static_cast<std::uint32_t*>(xcb_get_property_value(pid)) == target.pid && name &&
                  std::string(static_cast<const char*>(xcb_get_property_value(name)),
                              xcb_get_property_value_length(name)) == target.title;
    std::free(pid);
    std::free(name);
    return result;
}

// Searches the viewable windows below `parent`: a window manager puts each program's
// window into a frame of its own.
bool found(const Target& target, xcb_window_t parent) {
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(target.connection, xcb_query_tree(target.connection, parent), nullptr);
    if (!tree) {
        return false;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree);
    std::vector<xcb_window_t> windows(children, children + xcb_query_tree_children_length(tree));
    std::free(tree);
    std::vector<xcb_get_window_attributes_cookie_t> cookies;
    for (const xcb_window_t window : windows) {
        cookies.push_back(xcb_get_window_attributes(target.connection, window));
    }
    bool result = false;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        xcb_get_window_attributes_reply_t* attributes =
            xcb_get_window_attributes_reply(target.connection, cookies[i], nullptr);
        const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        if (!result && viewable && (matches(target, windows[i]) || found(target, windows[i]))) {
            result = true;
        }
    }
    return result;
}

double monotonicSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_shown PID TITLE [TIMEOUT_SECONDS]\n");
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    const Target target{connection,
                        atom(connection, "_NET_WM_PID"),
                        atom(connection, "_NET_WM_NAME"),
                        atom(connection, "UTF8_STRING"),
                        static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10)),
                        argv[2]};
    const double deadline = monotonicSeconds() + (argc > 3 ? std::atof(argv[3]) : 60.0);
    while (monotonicSeconds() < deadline) {
        if (found(target, root)) {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::printf("%ld.%06ld\n", static_cast<long>(now.tv_sec), now.tv_nsec / 1000);
            return 0;
        }
        pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
        poll(&descriptor, 1, 3);
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            std::free(event);
        }
        if (xcb_connection_has_error(connection)) {
            return 1;
        }
    }
    return 1;
}
