// startwait [--title <prefix>] <command> [arguments]: runs the command and prints the
// milliseconds from its start to the first top-level window mapped on the X display
// (with --title: the first whose title begins with the prefix), then ends it. Meant
// for a display without a window manager, where top-level windows are the root's
// children; menus and tooltips (override-redirect) do not count.
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// SIGTERM, a second's grace, then SIGKILL.
void stop(pid_t child)
{
    kill(child, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return;
        usleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

xcb_atom_t atom(xcb_connection_t* x, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return value;
}

// The window's title as the program set it (_NET_WM_NAME, else WM_NAME).
std::string title(xcb_connection_t* x, xcb_window_t window, xcb_atom_t netName, xcb_atom_t utf8)
{
    const std::pair<xcb_atom_t, xcb_atom_t> names[] = {{netName, utf8}, {XCB_ATOM_WM_NAME, XCB_ATOM_STRING}};
    for (const auto& [property, type] : names) {
        xcb_get_property_reply_t* reply =
            xcb_get_property_reply(x, xcb_get_property(x, 0, window, property, type, 0, 256), nullptr);
        std::string text;
        if (reply)
            text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                        size_t(xcb_get_property_value_length(reply)));
        free(reply);
        if (!text.empty())
            return text;
    }
    return {};
}

}  // namespace

int main(int argc, char** argv)
{
    const char* prefix = nullptr;
    if (argc > 2 && strcmp(argv[1], "--title") == 0) {
        prefix = argv[2];
        argv += 2;
        argc -= 2;
    }
    if (argc < 2) {
        fprintf(stderr, "usage: %s [--title <prefix>] <command> [arguments]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        fprintf(stderr, "startwait: cannot open the display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const xcb_atom_t netName = atom(x, "_NET_WM_NAME");
    const xcb_atom_t utf8 = atom(x, "UTF8_STRING");
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr)); // the mask is in force

    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        dup2(2, 1); // stdout carries the figure only
        execvp(argv[1], argv + 1);
        perror(argv[1]);
        _exit(127);
    }

    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    while (nowMs() - start < 20000) {
        xcb_generic_event_t* event;
        while ((event = xcb_poll_for_event(x))) {
            const double at = nowMs();
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY && map->event == root
                               && !map->override_redirect
                               && (!prefix || title(x, map->window, netName, utf8).rfind(prefix, 0) == 0);
            free(event);
            if (mapped) {
                printf("%.1f\n", at - start);
                stop(child);
                return 0;
            }
        }
        if (xcb_connection_has_error(x)) {
            fprintf(stderr, "startwait: the display went away\n");
            stop(child);
            return 1;
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            fprintf(stderr, "startwait: %s ended before mapping a window\n", argv[1]);
            return 1;
        }
        poll(&fd, 1, 50);
    }
    fprintf(stderr, "startwait: no window mapped within 20 s\n");
    stop(child);
    return 1;
}
