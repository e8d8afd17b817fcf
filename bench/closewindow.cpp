// closewindow <title>: asks the top-level window whose title begins with the text to
// close, as its title bar's close button would (WM_DELETE_WINDOW). Meant for a
// display without a window manager, where top-level windows are the root's children.
// Ends with 1 when no such window is there.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

xcb_atom_t atom(xcb_connection_t* x, const char* name)
{
    xcb_intern_atom_reply_t* reply
        = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

bool titleBegins(xcb_connection_t* x, xcb_window_t window, const char* text)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        x, xcb_get_property(x, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
    const size_t length = std::strlen(text);
    const bool begins = reply && size_t(xcb_get_property_value_length(reply)) >= length
                        && std::memcmp(xcb_get_property_value(reply), text, length) == 0;
    std::free(reply);
    return begins;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <title>\n", argv[0]);
        return 2;
    }
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "closewindow: cannot open the display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(x, xcb_query_tree(x, root), nullptr);
    const xcb_window_t* children = tree ? xcb_query_tree_children(tree) : nullptr;
    const int count = tree ? xcb_query_tree_children_length(tree) : 0;
    int found = 0;
    for (int i = 0; i < count && !found; ++i) {
        if (!titleBegins(x, children[i], argv[1]))
            continue;
        xcb_client_message_event_t close{};
        close.response_type = XCB_CLIENT_MESSAGE;
        close.format = 32;
        close.window = children[i];
        close.type = atom(x, "WM_PROTOCOLS");
        close.data.data32[0] = atom(x, "WM_DELETE_WINDOW");
        close.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(x, 0, children[i], XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&close));
        found = 1;
    }
    std::free(tree);
    xcb_flush(x);
    xcb_disconnect(x);
    if (!found)
        std::fprintf(stderr, "closewindow: no window titled %s...\n", argv[1]);
    return found ? 0 : 1;
}
