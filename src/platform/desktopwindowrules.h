#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <optional>

namespace torvane::platform {

// What the X server, the window manager and the window itself tell about one top-level window of the
// X desktop: all a title search needs to decide whether the window is one of the desktop's
// application windows.
struct X11WindowFacts {
    bool inClientList = false;     // the window manager lists it among its clients (_NET_CLIENT_LIST)
    bool inputOnly = false;        // a window of class InputOnly, which shows nothing
    bool overrideRedirect = false; // placed by its program past the window manager (menus, tooltips)
    bool viewable = false;         // mapped, with all its ancestors
    bool iconic = false;           // WM_STATE says IconicState (minimised)
    bool transient = false;        // WM_TRANSIENT_FOR names a window it belongs to (boxes, dialogs)
    // The names of the _NET_WM_WINDOW_TYPE atoms, in the window's order of preference; an empty name
    // for an atom that is not one of the standard types (a vendor's extension such as Qt's
    // _KDE_NET_WM_WINDOW_TYPE_OVERRIDE, which is followed by a standard type as a fallback).
    QByteArrayList windowTypes;
};

// True when a title search may choose the window: it exists for the learner (shown, minimised, or
// listed by the window manager, so also on another workspace), and it is an application's own window,
// neither a transient box, a splash, a tool palette, a menu, a tooltip nor a notification. The first
// standard window type the window names decides; a window naming none is a normal one.
bool isSearchableWindow(const X11WindowFacts& facts);

// The Qt platform plugin the viewer should ask for, as QT_QPA_PLATFORM would name it, given the values
// of QT_QPA_PLATFORM and DISPLAY. The desktop's windows are found through X11, so with an X display at
// hand (a Wayland session's XWayland gives one) the viewer runs on it; a platform the learner named
// stays theirs. Nothing when there is nothing to choose.
std::optional<QByteArray> chosenQpaPlatform(const QByteArray& qtQpaPlatform, const QByteArray& display);

// Puts that choice into this process's environment, where the application object reads it; call
// before that object exists. Does nothing on Windows. The programs the viewer starts inherit it, so
// Qt-based tools show X11 windows that a title search can find, too.
void chooseQpaPlatform();

} // namespace torvane::platform
