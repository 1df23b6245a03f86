#pragma once

#include <QString>

namespace torvane::shell {

// What the main window knows: the places found at start-up, the screen's size class, and where the
// learner is. The window reads and changes it as it carries out each decision; the other windows read
// it through the window.
struct ViewerState final {
    // Found at start-up.
    QString FileLocn;           // the course folder address, ending in "/"
    QString BillDir;            // the learner's data folder, ending in a separator; empty: none
    QString ProgramFilesFolder; // where the tools are installed
    QString AppDataFolder;      // where the tools keep their files, and the data folder's parent

    // The screen, and its size class 1..7.
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    int ScreenSize = 0;

    // The navigation state, written by every completed document.
    QString CurPage;
    int CurModule = 0;
    QString SecnLink; // the Section button's target (link 0 of the last course page)
    QString PrevLink; // the << button's target (link 1)
    QString NextLink; // the >> button's target (link 2)
    bool GoingBack = false;

    // Whether the search, index and history windows have loaded their lists in this run.
    bool SearchLoaded = false;
    bool IndexLoaded = false;
    bool HistLoaded = false;

    // A second copy's popup picture.
    QString PopFile;
    // The end was started from the companion window: no quit question.
    bool FromWithfile = false;
};

} // namespace torvane::shell
