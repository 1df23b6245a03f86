// The desktop's windows on X11, through xcb: found by title in the window manager's client list (or,
// without a window manager, among the root window's children), raised through the window manager's
// activation request when it offers one, else raised and focused directly.
#include <QProcess>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <platform/desktopwindows.h>
#include <vector>
#include <xcb/xcb.h>

namespace torvane::platform {

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> Reply<T> reply(T* raw) {
    return Reply<T>(raw, &std::free);
}

class Connection final {
public:
    Connection() : c_(std::getenv("DISPLAY") != nullptr ? xcb_connect(nullptr, &screenNumber_) : nullptr) {
        if (c_ != nullptr && xcb_connection_has_error(c_) != 0) {
            xcb_disconnect(c_);
            c_ = nullptr;
        }
        if (c_ != nullptr) {
            xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
            for (int i = 0; i < screenNumber_ && it.rem > 0; ++i) {
                xcb_screen_next(&it);
            }
            root_ = it.data->root;
        }
    }
    ~Connection() {
        if (c_ != nullptr) {
            xcb_disconnect(c_);
        }
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool ok() const { return c_ != nullptr; }
    xcb_connection_t* get() const { return c_; }
    xcb_window_t root() const { return root_; }

    xcb_atom_t atom(const char* name) const {
        auto r = reply(xcb_intern_atom_reply(
            c_, xcb_intern_atom(c_, 0, static_cast<uint16_t>(strlen(name)), name), nullptr));
        return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }

private:
    xcb_connection_t* c_ = nullptr;
    int screenNumber_ = 0;
    xcb_window_t root_ = XCB_WINDOW_NONE;
};

// The bytes of a window property, empty when it is missing.
QByteArray property(const Connection& x, xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
    auto r = reply(xcb_get_property_reply(
        x.get(), xcb_get_property(x.get(), 0, window, name, type, 0, 1 << 16), nullptr));
    if (!r || r->type == XCB_ATOM_NONE) {
        return {};
    }
    const int length = xcb_get_property_value_length(r.get());
    return QByteArray(static_cast<const char*>(xcb_get_property_value(r.get())), length);
}

std::vector<xcb_window_t> windowList(const QByteArray& bytes) {
    std::vector<xcb_window_t> windows(static_cast<std::size_t>(bytes.size()) / sizeof(xcb_window_t));
    std::memcpy(windows.data(), bytes.constData(), windows.size() * sizeof(xcb_window_t));
    return windows;
}

// The application windows: the window manager's client list, or the root's children without one.
std::vector<xcb_window_t> candidates(const Connection& x) {
    const QByteArray clients = property(x, x.root(), x.atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    if (!clients.isEmpty()) {
        return windowList(clients);
    }
    auto tree = reply(xcb_query_tree_reply(x.get(), xcb_query_tree(x.get(), x.root()), nullptr));
    if (!tree) {
        return {};
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return std::vector<xcb_window_t>(children, children + xcb_query_tree_children_length(tree.get()));
}

bool viewable(const Connection& x, xcb_window_t window) {
    auto r =
        reply(xcb_get_window_attributes_reply(x.get(), xcb_get_window_attributes(x.get(), window), nullptr));
    return r && r->map_state == XCB_MAP_STATE_VIEWABLE && r->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT;
}

QString title(const Connection& x, xcb_window_t window) {
    const QByteArray utf8 = property(x, window, x.atom("_NET_WM_NAME"), x.atom("UTF8_STRING"));
    if (!utf8.isEmpty()) {
        return QString::fromUtf8(utf8);
    }
    return QString::fromLatin1(property(x, window, XCB_ATOM_WM_NAME, XCB_ATOM_ANY));
}

struct Found {
    std::vector<xcb_window_t> windows;
    QStringList titles;
};

Found visibleWindows(const Connection& x) {
    Found found;
    for (const xcb_window_t window : candidates(x)) {
        if (viewable(x, window)) {
            found.windows.push_back(window);
            found.titles << title(x, window);
        }
    }
    return found;
}

bool supports(const Connection& x, xcb_atom_t feature) {
    const auto supported = windowList(property(x, x.root(), x.atom("_NET_SUPPORTED"), XCB_ATOM_ATOM));
    return std::find(supported.begin(), supported.end(), feature) != supported.end();
}

void activate(const Connection& x, xcb_window_t window) {
    const xcb_atom_t active = x.atom("_NET_ACTIVE_WINDOW");
    if (active != XCB_ATOM_NONE && supports(x, active)) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = active;
        event.data.data32[0] = 2; // asked for by a tool on the user's behalf
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(x.get(), 0, x.root(),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
    } else {
        const uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(x.get(), window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        xcb_set_input_focus(x.get(), XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    }
    xcb_flush(x.get());
    free(xcb_get_input_focus_reply(x.get(), xcb_get_input_focus(x.get()), nullptr)); // a round trip
}

} // namespace

QStringList topLevelWindowTitles() {
    const Connection x;
    return x.ok() ? visibleWindows(x).titles : QStringList();
}

bool bringWindowToFront(const QString& wanted) {
    const Connection x;
    if (!x.ok()) {
        return false;
    }
    const Found found = visibleWindows(x);
    const auto chosen = chooseWindowByTitle(found.titles, wanted);
    if (!chosen) {
        return false;
    }
    activate(x, found.windows[static_cast<std::size_t>(*chosen)]);
    return true;
}

bool leftButtonDown() {
    const Connection x;
    if (!x.ok()) {
        return false;
    }
    auto r = reply(xcb_query_pointer_reply(x.get(), xcb_query_pointer(x.get(), x.root()), nullptr));
    return r && (r->mask & XCB_BUTTON_MASK_1) != 0;
}

bool startProgram(const QString& program, const QStringList& arguments, WindowStyle) {
    return QProcess::startDetached(program, arguments);
}

} // namespace torvane::platform
