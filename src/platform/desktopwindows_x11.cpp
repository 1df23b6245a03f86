// The desktop's windows on X11, through xcb, over one connection that the process keeps (the popup's
// look at the mouse button comes every 50 ms).
//
// The application windows are the window manager's clients (_NET_CLIENT_LIST: minimised ones and those
// on other workspaces too). A window manager that keeps no such list (Weston's XWayland one) and a bare
// X server are walked from the root: each top-level window or the client inside a window manager's
// frame, when shown or left minimised. Boxes, splashes, tool palettes and other transient windows never
// count (isSearchableWindow).
//
// A found window is activated through the window manager's _NET_ACTIVE_WINDOW request, as a pager
// would ask on the learner's behalf and with the server's current time, so that focus-stealing
// prevention lets it through; a minimised one is also asked out of its hidden state, and one on another
// workspace is moved to the learner's first. Should the keyboard focus still be elsewhere once the window
// manager has had its half second, the window asks to be raised and takes the focus itself. Without a
// window manager the window is mapped, raised and given the input focus directly.
//
// A program started maximised has its first window maximised once it shows (X11 programs choose their
// own first size).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <platform/desktopwindowrules.h>
#include <platform/desktopwindows.h>
#include <poll.h>
#include <thread>
#include <vector>
#include <xcb/xcb.h>

namespace torvane::platform {

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> Reply<T> reply(T* raw) {
    return Reply<T>(raw, &std::free);
}

// The atoms used here, interned once for each connection.
enum class Atom : std::size_t {
    ClientList,
    Supported,
    SupportingWmCheck,
    ActiveWindow,
    WmName,
    Utf8String,
    WmState,
    NetWmState,
    NetWmStateHidden,
    WindowType,
    CurrentDesktop,
    WmDesktop,
    ServerTime,
    WmPid,
    MaximizedVert,
    MaximizedHorz,
    FirstWindowType, // the standard window types follow, up to Count
    Count = FirstWindowType + 14,
};

constexpr std::array<const char*, static_cast<std::size_t>(Atom::Count)> kAtomNames{
    "_NET_CLIENT_LIST",
    "_NET_SUPPORTED",
    "_NET_SUPPORTING_WM_CHECK",
    "_NET_ACTIVE_WINDOW",
    "_NET_WM_NAME",
    "UTF8_STRING",
    "WM_STATE",
    "_NET_WM_STATE",
    "_NET_WM_STATE_HIDDEN",
    "_NET_WM_WINDOW_TYPE",
    "_NET_CURRENT_DESKTOP",
    "_NET_WM_DESKTOP",
    "_TORVANE_SERVER_TIME", // a property of our own window, touched to learn the server's time
    "_NET_WM_PID",
    "_NET_WM_STATE_MAXIMIZED_VERT",
    "_NET_WM_STATE_MAXIMIZED_HORZ",
    "_NET_WM_WINDOW_TYPE_NORMAL",
    "_NET_WM_WINDOW_TYPE_DESKTOP",
    "_NET_WM_WINDOW_TYPE_DOCK",
    "_NET_WM_WINDOW_TYPE_TOOLBAR",
    "_NET_WM_WINDOW_TYPE_MENU",
    "_NET_WM_WINDOW_TYPE_UTILITY",
    "_NET_WM_WINDOW_TYPE_SPLASH",
    "_NET_WM_WINDOW_TYPE_DIALOG",
    "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU",
    "_NET_WM_WINDOW_TYPE_POPUP_MENU",
    "_NET_WM_WINDOW_TYPE_TOOLTIP",
    "_NET_WM_WINDOW_TYPE_NOTIFICATION",
    "_NET_WM_WINDOW_TYPE_COMBO",
    "_NET_WM_WINDOW_TYPE_DND",
};

constexpr uint32_t kIconicState = 3;
constexpr uint32_t kNormalState = 1;
constexpr uint32_t kFromPagerOrTool = 2; // the source indication of EWMH requests
constexpr uint32_t kRemove = 0;          // _NET_WM_STATE actions
constexpr uint32_t kAdd = 1;
constexpr uint32_t kAllDesktops = 0xFFFFFFFF;

// One connection to the X server named by DISPLAY.
class Display final {
public:
    // Null when there is no X server to reach.
    static std::unique_ptr<Display> open() {
        if (std::getenv("DISPLAY") == nullptr) {
            return nullptr;
        }
        int screenNumber = 0;
        xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(c) != 0) {
            xcb_disconnect(c);
            return nullptr;
        }
        return std::unique_ptr<Display>(new Display(c, screenNumber));
    }

    ~Display() { xcb_disconnect(c_); }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    bool broken() const { return xcb_connection_has_error(c_) != 0; }
    xcb_connection_t* get() const { return c_; }
    xcb_window_t root() const { return root_; }
    xcb_atom_t atom(Atom a) const { return atoms_[static_cast<std::size_t>(a)]; }

    // The name of a standard window type, empty for any other atom.
    QByteArray windowTypeName(xcb_atom_t a) const {
        for (auto i = static_cast<std::size_t>(Atom::FirstWindowType); i < atoms_.size(); ++i) {
            if (atoms_[i] == a && a != XCB_ATOM_NONE) {
                return kAtomNames[i];
            }
        }
        return {};
    }

    // Drops what has queued up on the connection: errors of requests whose outcome does not matter
    // (a window that went away meanwhile) and events nobody here waits for.
    void discardEvents() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) {
            std::free(event);
        }
    }

    // The server's current time, as a window manager compares it with its clients' user times: the
    // time of the PropertyNotify that touching a property of our own window brings. XCB_CURRENT_TIME
    // when no answer comes.
    xcb_timestamp_t serverTime() {
        if (own_ == XCB_WINDOW_NONE) {
            own_ = xcb_generate_id(c_);
            const uint32_t values[] = {1, XCB_EVENT_MASK_PROPERTY_CHANGE}; // override-redirect, events
            xcb_create_window(c_, 0, own_, root_, -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                              XCB_COPY_FROM_PARENT, XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
        }
        xcb_change_property(c_, XCB_PROP_MODE_APPEND, own_, atom(Atom::ServerTime), XCB_ATOM_STRING, 8, 0,
                            nullptr);
        xcb_flush(c_);
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::seconds(1);
        while (!broken()) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) {
                const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event);
                const bool ours = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY &&
                                  property->window == own_ && property->atom == atom(Atom::ServerTime);
                const xcb_timestamp_t time = property->time;
                std::free(event);
                if (ours) {
                    return time;
                }
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                break;
            }
            pollfd fd{xcb_get_file_descriptor(c_), POLLIN, 0};
            ::poll(&fd, 1, static_cast<int>(left.count()));
        }
        return XCB_CURRENT_TIME;
    }

    // The bytes of a window property; nothing when the window does not have it.
    std::optional<QByteArray> property(xcb_window_t window, Atom name, xcb_atom_t type) const {
        return property(window, atom(name), type);
    }
    std::optional<QByteArray> property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) const {
        return propertyReply(xcb_get_property(c_, 0, window, name, type, 0, 1 << 16));
    }
    std::optional<QByteArray> propertyReply(xcb_get_property_cookie_t cookie) const {
        auto r = reply(xcb_get_property_reply(c_, cookie, nullptr));
        if (!r || r->type == XCB_ATOM_NONE) {
            return std::nullopt;
        }
        const int length = xcb_get_property_value_length(r.get());
        return QByteArray(static_cast<const char*>(xcb_get_property_value(r.get())), length);
    }

    // True while a window manager runs: the window it names on the root names itself in turn (the
    // root keeps the property of one that has gone, pointing at a window that no longer exists).
    bool windowManagerRuns() const {
        const auto check = firstWord(property(root_, Atom::SupportingWmCheck, XCB_ATOM_WINDOW));
        return check && *check != XCB_WINDOW_NONE &&
               firstWord(property(*check, Atom::SupportingWmCheck, XCB_ATOM_WINDOW)) == check;
    }

    bool supports(Atom feature) const {
        const auto supported = words(property(root_, Atom::Supported, XCB_ATOM_ATOM));
        return std::find(supported.begin(), supported.end(), atom(feature)) != supported.end();
    }

    static std::vector<uint32_t> words(const std::optional<QByteArray>& bytes) {
        if (!bytes) {
            return {};
        }
        std::vector<uint32_t> values(static_cast<std::size_t>(bytes->size()) / sizeof(uint32_t));
        std::memcpy(values.data(), bytes->constData(), values.size() * sizeof(uint32_t));
        return values;
    }
    static std::optional<uint32_t> firstWord(const std::optional<QByteArray>& bytes) {
        const auto values = words(bytes);
        return values.empty() ? std::nullopt : std::optional<uint32_t>(values.front());
    }

private:
    Display(xcb_connection_t* c, int screenNumber) : c_(c) {
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
        for (int i = 0; i < screenNumber && it.rem > 0; ++i) {
            xcb_screen_next(&it);
        }
        root_ = it.data->root;
        std::array<xcb_intern_atom_cookie_t, static_cast<std::size_t>(Atom::Count)> cookies{};
        for (std::size_t i = 0; i < cookies.size(); ++i) {
            cookies[i] =
                xcb_intern_atom(c_, 0, static_cast<uint16_t>(std::strlen(kAtomNames[i])), kAtomNames[i]);
        }
        for (std::size_t i = 0; i < cookies.size(); ++i) {
            auto r = reply(xcb_intern_atom_reply(c_, cookies[i], nullptr));
            atoms_[i] = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
        }
    }

    xcb_connection_t* c_;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    xcb_window_t own_ = XCB_WINDOW_NONE;
    std::array<xcb_atom_t, static_cast<std::size_t>(Atom::Count)> atoms_{};
};

// Runs `work` on the process's connection, opened at the first use and again after it broke (the X
// server went away and another came). `otherwise` when there is no X server to reach.
template <typename Result, typename Work> Result withDisplay(Result otherwise, Work work) {
    static std::mutex mutex;
    static std::unique_ptr<Display> display;
    const std::lock_guard lock(mutex);
    if (display && display->broken()) {
        display.reset();
    }
    if (!display) {
        display = Display::open();
        if (!display) {
            return otherwise;
        }
    }
    Result result = work(*display);
    display->discardEvents();
    return result;
}

// A window a title search may choose.
struct Found {
    xcb_window_t top;    // the top-level window: the client itself, or a window manager's frame
    xcb_window_t client; // the application's window, whose title counts and which is activated
    QString title;
    bool viewable;
    bool iconic;
};

bool iconic(const std::optional<QByteArray>& wmState) {
    return Display::firstWord(wmState) == kIconicState;
}

// The application window at or below a child of the root: the first window down to two levels below
// it that carries WM_STATE (a window manager's frame holds one), else the child itself.
xcb_window_t clientWithin(const Display& x, xcb_window_t top) {
    std::vector<xcb_window_t> level{top};
    for (int depth = 0; depth < 3 && !level.empty(); ++depth) {
        std::vector<xcb_get_property_cookie_t> cookies;
        for (const xcb_window_t window : level) {
            cookies.push_back(
                xcb_get_property(x.get(), 0, window, x.atom(Atom::WmState), XCB_ATOM_ANY, 0, 0));
        }
        std::vector<xcb_window_t> below;
        std::optional<xcb_window_t> found;
        for (std::size_t i = 0; i < level.size(); ++i) {
            if (x.propertyReply(cookies[i]) && !found) {
                found = level[i];
            }
        }
        if (found) {
            return *found;
        }
        for (const xcb_window_t window : level) {
            auto tree = reply(xcb_query_tree_reply(x.get(), xcb_query_tree(x.get(), window), nullptr));
            if (tree) {
                const xcb_window_t* children = xcb_query_tree_children(tree.get());
                below.insert(below.end(), children, children + xcb_query_tree_children_length(tree.get()));
            }
        }
        level = std::move(below);
    }
    return top;
}

// The pairs (top-level window, application window) to look at, and whether the window manager listed
// them.
std::vector<std::pair<xcb_window_t, xcb_window_t>> windowsToLook(const Display& x, bool* inClientList) {
    std::vector<std::pair<xcb_window_t, xcb_window_t>> windows;
    if (x.windowManagerRuns()) {
        if (const auto clients = x.property(x.root(), Atom::ClientList, XCB_ATOM_WINDOW)) {
            *inClientList = true;
            for (const uint32_t client : Display::words(clients)) {
                windows.emplace_back(client, client);
            }
            return windows;
        }
    }
    *inClientList = false;
    auto tree = reply(xcb_query_tree_reply(x.get(), xcb_query_tree(x.get(), x.root()), nullptr));
    if (tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            windows.emplace_back(children[i], clientWithin(x, children[i]));
        }
    }
    return windows;
}

QString titleOf(const std::optional<QByteArray>& netWmName, const std::optional<QByteArray>& wmName) {
    if (netWmName && !netWmName->isEmpty()) {
        return QString::fromUtf8(*netWmName);
    }
    return wmName ? QString::fromLatin1(*wmName) : QString();
}

// The windows a title search may choose, in the window manager's order (else the stacking order).
// All questions about all windows go out before the first answer is read: one round trip.
std::vector<Found> searchableWindows(const Display& x) {
    bool inClientList = false;
    const auto windows = windowsToLook(x, &inClientList);
    struct Asked {
        xcb_get_window_attributes_cookie_t attributes;
        xcb_get_property_cookie_t transientFor, types, netWmName, wmName, wmState;
    };
    xcb_connection_t* c = x.get();
    std::vector<Asked> asked;
    asked.reserve(windows.size());
    for (const auto& window : windows) {
        const xcb_window_t client = window.second;
        asked.push_back(Asked{
            xcb_get_window_attributes(c, client),
            xcb_get_property(c, 0, client, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1),
            xcb_get_property(c, 0, client, x.atom(Atom::WindowType), XCB_ATOM_ATOM, 0, 64),
            xcb_get_property(c, 0, client, x.atom(Atom::WmName), x.atom(Atom::Utf8String), 0, 1 << 14),
            xcb_get_property(c, 0, client, XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, 1 << 14),
            xcb_get_property(c, 0, client, x.atom(Atom::WmState), x.atom(Atom::WmState), 0, 2),
        });
    }
    std::vector<Found> found;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const Asked& a = asked[i];
        auto attributes = reply(xcb_get_window_attributes_reply(c, a.attributes, nullptr));
        const auto transientFor = Display::firstWord(x.propertyReply(a.transientFor));
        const auto types = Display::words(x.propertyReply(a.types));
        const auto netWmName = x.propertyReply(a.netWmName);
        const auto wmName = x.propertyReply(a.wmName);
        const auto wmState = x.propertyReply(a.wmState);
        if (!attributes) {
            continue; // gone meanwhile
        }
        X11WindowFacts facts;
        facts.inClientList = inClientList;
        facts.inputOnly = attributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY;
        facts.overrideRedirect = attributes->override_redirect != 0;
        // Shown: mapped, and so is the frame around it (a window manager may keep the frame of a
        // window its program has withdrawn).
        facts.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        facts.iconic = iconic(wmState);
        facts.transient = transientFor.value_or(XCB_WINDOW_NONE) != XCB_WINDOW_NONE;
        for (const uint32_t type : types) {
            facts.windowTypes << x.windowTypeName(type);
        }
        if (isSearchableWindow(facts)) {
            found.push_back(Found{windows[i].first, windows[i].second, titleOf(netWmName, wmName),
                                  facts.viewable, facts.iconic});
        }
    }
    return found;
}

void sendToWindowManager(const Display& x, xcb_window_t window, Atom type, std::array<uint32_t, 5> data) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = x.atom(type);
    std::copy(data.begin(), data.end(), event.data.data32);
    xcb_send_event(x.get(), 0, x.root(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

bool hidden(const Display& x, xcb_window_t window) {
    const auto states = Display::words(x.property(window, Atom::NetWmState, XCB_ATOM_ATOM));
    return std::find(states.begin(), states.end(), x.atom(Atom::NetWmStateHidden)) != states.end();
}

// A window on another workspace comes over to the learner's: window managers would otherwise only
// mark it as wanting attention (openbox does so with activation requests across workspaces).
void bringToThisWorkspace(const Display& x, xcb_window_t window) {
    if (!x.supports(Atom::WmDesktop) || !x.supports(Atom::CurrentDesktop)) {
        return;
    }
    const auto here = Display::firstWord(x.property(x.root(), Atom::CurrentDesktop, XCB_ATOM_CARDINAL));
    const auto there = Display::firstWord(x.property(window, Atom::WmDesktop, XCB_ATOM_CARDINAL));
    if (here && there && *there != *here && *there != kAllDesktops) {
        sendToWindowManager(x, window, Atom::WmDesktop, {*here, kFromPagerOrTool, 0, 0, 0});
    }
}

// True when the keyboard focus is on `window` or on a window inside it.
bool hasFocus(const Display& x, xcb_window_t window) {
    auto focus = reply(xcb_get_input_focus_reply(x.get(), xcb_get_input_focus(x.get()), nullptr));
    xcb_window_t inside = focus ? focus->focus : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
    for (int depth = 0; depth < 8 && inside != XCB_WINDOW_NONE && inside != x.root(); ++depth) {
        if (inside == window) {
            return true;
        }
        auto tree = reply(xcb_query_tree_reply(x.get(), xcb_query_tree(x.get(), inside), nullptr));
        inside = tree ? tree->parent : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
    }
    return false;
}

bool viewableNow(const Display& x, xcb_window_t window) {
    auto r =
        reply(xcb_get_window_attributes_reply(x.get(), xcb_get_window_attributes(x.get(), window), nullptr));
    return r && r->map_state == XCB_MAP_STATE_VIEWABLE;
}

// Waits until the window manager reports `window` as the active one, at most half a second (it may
// refuse, or leave activation to the learner, as Weston's does).
void waitForActivation(const Display& x, xcb_window_t window) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (Display::firstWord(x.property(x.root(), Atom::ActiveWindow, XCB_ATOM_WINDOW)) != window &&
           std::chrono::steady_clock::now() < deadline && !x.broken()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void raiseAndFocus(const Display& x, xcb_window_t raised, xcb_window_t focused, xcb_timestamp_t time) {
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(x.get(), raised, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_set_input_focus(x.get(), XCB_INPUT_FOCUS_PARENT, focused, time);
}

void activate(Display& x, const Found& window) {
    const xcb_timestamp_t time = x.serverTime();
    if (!x.windowManagerRuns()) {
        if (!window.viewable) {
            // Left minimised by a window manager that has gone: shown again, and marked so for the next.
            xcb_map_window(x.get(), window.top);
            const uint32_t state[] = {kNormalState, XCB_WINDOW_NONE};
            xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, window.client, x.atom(Atom::WmState),
                                x.atom(Atom::WmState), 32, 2, state);
        }
        raiseAndFocus(x, window.top, window.client, time);
    } else if (x.supports(Atom::ActiveWindow)) {
        bringToThisWorkspace(x, window.client);
        sendToWindowManager(x, window.client, Atom::ActiveWindow, {kFromPagerOrTool, time, 0, 0, 0});
        // Activation restores a minimised window; a window manager that leaves it hidden is asked once
        // more.
        if (window.iconic || hidden(x, window.client)) {
            sendToWindowManager(x, window.client, Atom::NetWmState,
                                {kRemove, x.atom(Atom::NetWmStateHidden), 0, kFromPagerOrTool, 0});
        }
        // The request is carried out by the window manager in its own time: waited for a little, so that
        // the window is in front when this returns (a second copy ends right after). Where a program
        // moved the keyboard focus behind the window manager's back, xfwm4 ignores the request (it
        // counts the window as active already, or focuses with a time older than that move): the
        // window then asks to be raised and takes the focus itself, with the server's time.
        waitForActivation(x, window.client);
        if (!hasFocus(x, window.client) && viewableNow(x, window.client)) {
            raiseAndFocus(x, window.client, window.client, x.serverTime());
        }
    } else {
        // A window manager of the older conventions: mapping asks it to restore a minimised window,
        // and it decides on the raise it is asked for.
        xcb_map_window(x.get(), window.client);
        raiseAndFocus(x, window.client, window.client, time);
    }
    // Waits until the server has carried the requests out, so that a copy that ends next has done so.
    std::free(xcb_get_input_focus_reply(x.get(), xcb_get_input_focus(x.get()), nullptr));
}

// The first application window of the process `pid` (by its _NET_WM_PID), if it has one yet.
std::optional<xcb_window_t> windowOfProcess(const Display& x, qint64 pid) {
    bool inClientList = false;
    for (const auto& window : windowsToLook(x, &inClientList)) {
        if (Display::firstWord(x.property(window.second, Atom::WmPid, XCB_ATOM_CARDINAL)) == pid) {
            return window.second;
        }
    }
    return std::nullopt;
}

// Makes `window` fill the screen: maximised by the window manager, or, without one, moved and sized to
// the whole screen.
void maximise(const Display& x, xcb_window_t window) {
    if (x.windowManagerRuns()) {
        sendToWindowManager(
            x, window, Atom::NetWmState,
            {kAdd, x.atom(Atom::MaximizedVert), x.atom(Atom::MaximizedHorz), kFromPagerOrTool, 0});
    } else {
        auto root = reply(xcb_get_geometry_reply(x.get(), xcb_get_geometry(x.get(), x.root()), nullptr));
        if (root) {
            const uint32_t values[] = {0, 0, root->width, root->height};
            xcb_configure_window(x.get(), window,
                                 XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                                     XCB_CONFIG_WINDOW_HEIGHT,
                                 values);
        }
    }
    xcb_flush(x.get());
}

// Watches for the first window of a started program and maximises it. X11 programs choose their own
// first size; the started program's window is asked to fill the screen once it shows, within half a
// minute (a tool may take long to start).
class MaximiseWhenShown final : public QObject {
public:
    explicit MaximiseWhenShown(qint64 pid) : QObject(QCoreApplication::instance()), pid_(pid) {
        clock_.start();
        timer_.setInterval(100);
        connect(&timer_, &QTimer::timeout, this, &MaximiseWhenShown::look);
        timer_.start();
    }

private:
    void look() {
        const bool done = withDisplay(true, [this](Display& x) {
            const auto window = windowOfProcess(x, pid_);
            if (window) {
                maximise(x, *window);
            }
            return window.has_value();
        });
        if (done || clock_.elapsed() > 30000) {
            timer_.stop();
            deleteLater();
        }
    }

    qint64 pid_;
    QTimer timer_;
    QElapsedTimer clock_;
};

} // namespace

QStringList topLevelWindowTitles() {
    return withDisplay(QStringList(), [](Display& x) {
        QStringList titles;
        for (const Found& window : searchableWindows(x)) {
            titles << window.title;
        }
        return titles;
    });
}

bool bringWindowToFront(const QString& wanted) {
    return withDisplay(false, [&](Display& x) {
        const std::vector<Found> windows = searchableWindows(x);
        QStringList titles;
        for (const Found& window : windows) {
            titles << window.title;
        }
        const auto chosen = chooseWindowByTitle(titles, wanted);
        if (!chosen) {
            return false;
        }
        activate(x, windows[static_cast<std::size_t>(*chosen)]);
        return true;
    });
}

bool windowManagerRuns() {
    return withDisplay(false, [](Display& x) { return x.windowManagerRuns(); });
}

bool leftButtonDown() {
    return withDisplay(false, [](Display& x) {
        auto r = reply(xcb_query_pointer_reply(x.get(), xcb_query_pointer(x.get(), x.root()), nullptr));
        return r && (r->mask & XCB_BUTTON_MASK_1) != 0;
    });
}

bool startProgram(const QString& program, const QStringList& arguments, WindowStyle style) {
    qint64 pid = 0;
    if (!QProcess::startDetached(program, arguments, QString(), &pid)) {
        return false;
    }
    if (style == WindowStyle::Maximized && QCoreApplication::instance() != nullptr) {
        new MaximiseWhenShown(pid); // ends itself
    }
    return true;
}

bool endProcess(qint64 pid) {
    return pid > 0 && ::kill(static_cast<pid_t>(pid), SIGKILL) == 0;
}

} // namespace torvane::platform
