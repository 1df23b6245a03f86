#include <QtGlobal>
#include <algorithm>
#include <array>
#include <platform/desktopwindowrules.h>

namespace torvane::platform {

namespace {

// The window types of the Extended Window Manager Hints, without their "_NET_WM_WINDOW_TYPE_" prefix.
constexpr std::array<const char*, 14> kStandardTypes{
    "NORMAL", "DESKTOP",       "DOCK",       "TOOLBAR", "MENU",         "UTILITY", "SPLASH",
    "DIALOG", "DROPDOWN_MENU", "POPUP_MENU", "TOOLTIP", "NOTIFICATION", "COMBO",   "DND"};

bool isStandardType(const QByteArray& name) {
    constexpr std::string_view prefix = "_NET_WM_WINDOW_TYPE_";
    if (!name.startsWith(QByteArrayView(prefix.data(), static_cast<qsizetype>(prefix.size())))) {
        return false;
    }
    const QByteArray rest = name.mid(static_cast<qsizetype>(prefix.size()));
    return std::any_of(kStandardTypes.begin(), kStandardTypes.end(),
                       [&](const char* type) { return rest == type; });
}

} // namespace

bool isSearchableWindow(const X11WindowFacts& facts) {
    if (facts.inputOnly || facts.overrideRedirect || facts.transient) {
        return false;
    }
    // Without a window manager's list, an unmapped window is one its program withdrew (hid), unless
    // a window manager that has since gone left it minimised.
    if (!facts.inClientList && !facts.viewable && !facts.iconic) {
        return false;
    }
    for (const QByteArray& type : facts.windowTypes) {
        if (isStandardType(type)) {
            return type == "_NET_WM_WINDOW_TYPE_NORMAL";
        }
    }
    return true;
}

std::optional<QByteArray> chosenQpaPlatform(const QByteArray& qtQpaPlatform, const QByteArray& display) {
    if (!qtQpaPlatform.isEmpty() || display.isEmpty()) {
        return std::nullopt;
    }
    return QByteArray("xcb");
}

void chooseQpaPlatform() {
#ifndef Q_OS_WIN
    if (const auto platform = chosenQpaPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"))) {
        qputenv("QT_QPA_PLATFORM", *platform);
    }
#endif
}

} // namespace torvane::platform
