// startwait <command> [arguments]: runs the command and prints the milliseconds from
// its start to the first top-level window mapped on the X display, then ends it.
// Meant for a display without a window manager, where top-level windows are the
// root's children; menus and tooltips (override-redirect) do not count.
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

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

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s <command> [arguments]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        fprintf(stderr, "startwait: cannot open the display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
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
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event);
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY && map->event == root
                               && !map->override_redirect;
            free(event);
            if (mapped) {
                printf("%.1f\n", nowMs() - start);
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
