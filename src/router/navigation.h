#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <router/pagenames.h>
#include <vector>

namespace torvane::router {

// What the main window does with a completed document, step by step, between the caption and the
// Finish step that every document ends with (browser sized to the window, GoingBack cleared).
enum class Step {
    KeepLinks,        // Section, previous and next targets from links 0, 1, 2
    Record,           // append the page name to the history file
    Video,            // step back, show the backdrop and player frame, play, pause, start watching
    Narration,        // step back, play the sound with the player invisible
    OpenWindow,       // pause, then show (or load and show) a secondary window
    ContentsRedirect, // re-derive the size class; all three targets and link 5 to the contents page
    ShowPage,         // a module placeholder: replace it by the module page of the screen's size
};

enum class SecondaryWindow { Search, Index, History };

struct PageDecision final {
    QString curPage;       // CurPage after the document: its page name, else the whole address
    bool inCourse = false; // false: nothing but Finish happens
    PageClass pageClass = PageClass::Ordinary;
    QString caption;           // the window caption (in-course documents only)
    std::optional<int> module; // CurModule's new value, if the page has a module number
    std::vector<Step> steps;
    QString mediaAddress;                             // Video and Narration: what the player plays
    SecondaryWindow window = SecondaryWindow::Search; // OpenWindow
    QString placeholderBase;                          // ShowPage: "mod01" ... "rev24"
};

// Decides what a completed document means, from its address alone. `fileLocn` is the course folder.
PageDecision decidePage(const QString& locationUrl, const QString& fileLocn);

// Whether the viewer follows `address`, an address a course page handed it: only the course's own
// kinds of address, the bundled course's scheme, http and https. A javascript:, file:, data: or blob:
// address, or one of any other kind, is refused.
bool followable(const QString& address);

// The address of the course page named `page`, a name from the page list relative to the course folder
// `fileLocn`. The name becomes the address's path below the folder, so characters that an address
// cannot carry as they stand (a space, a lone "%", quotes, braces, "?", "#") are written encoded, and
// no name leads to another kind of address or another server. Empty when `fileLocn` is no address.
QString coursePageAddress(const QString& fileLocn, const QString& page);

// The three toolbar targets after a page's links are kept: links 0, 1 and 2 in that order; a link the
// document does not have, or one the viewer does not follow, leaves its target as it was.
struct LinkTargets final {
    QString section;
    QString previous;
    QString next;
};
LinkTargets keepLinks(const LinkTargets& current, const QStringList& documentLinks);

// Where a module placeholder leads for `screenSize`: the course folder plus the module page variant.
// A size outside 1..7 does not occur once the screen is classified; it falls back to the "a" variant,
// as the contents pages do, so the placeholder never stays on screen.
QString modulePageAddress(const QString& fileLocn, const QString& base, ScreenSize screenSize);

// The address a resize reloads: `address` with its page name (what follows the first "trv2/") moved to
// the variant of `screenSize`. Only the page name is searched, so the server part may hold anything.
// An address without "trv2/" is reloaded unchanged.
QString resizeAddress(const QString& address, const QString& fileLocn, ScreenSize screenSize);

// Whether a resize loads the document at `address` again. A placeholder whose completion opens a
// secondary window or plays a video or narration is not: its work is done, and loading it again would
// reopen the window (or replay the clip) each time the main window changes size or is shown again.
bool resizeReloads(const QString& address);

} // namespace torvane::router
