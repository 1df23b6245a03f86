#pragma once

#include <QByteArray>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QUrl>

namespace torvane::secondcopy {

// What a second copy of the viewer is asked to do by its command line (taken whole and untrimmed).
enum class JobKind {
    BringViewerToFront, // an empty command line
    Popup,              // "/POPJPG=" file " /W=" width " /H=" height
    ChapterTest,        // "/PRAC=" name
    SolidraHandOff,     // a file name ending ".cir" or ".prb"
    KirvoltHandOff,     // a file name ending ".ckt", or "trv0000"
    Nothing,            // anything else, and lines refused as unsafe
};

struct SecondCopyJob final {
    JobKind kind = JobKind::Nothing;
    QString popFile;     // Popup: the picture, relative to the course folder
    int widthPixels = 0; // Popup: the picture's size
    int heightPixels = 0;
    QString testName;             // ChapterTest: the name between "ch" and "test"
    bool writeRequestCode = true; // hand-offs: false for "trv0000", which names no file
};

// Reads a command line. The rows are tried in order and compared with their letter case. Lines that
// would reach outside their place are refused and do nothing: a chapter test name must be a plain name
// (letters, digits, '-', '_'); a popup picture must be a relative name whose address stays on the
// server of the course folder `fileLocn` (same scheme, host and port; ".." may climb on that server); a
// handed-off file must not be an absolute path or climb out of its folder with "..".
SecondCopyJob parseCommandLine(const QString& line, const QString& fileLocn);

// Where the browser finds popup picture `popFile`: the course folder's address followed by the name, its
// "." and ".." steps taken (percent-encoded dots and backslashes read as the browser reads them).
QUrl pictureAddress(const QString& fileLocn, const QString& popFile);

// The request code a tool reads from "KirvoltPrev": 2 for the 3-D laboratory, 3 for the circuit simulator.
inline constexpr int kSolidraRequest = 2;
inline constexpr int kKirvoltRequest = 3;

// The 255-byte path buffer handed to a tool: one byte per character (Windows-1252; a character it
// cannot hold becomes '?'), zero-padded, cut after 255 characters with no terminating zero.
inline constexpr int kPathBufferSize = 255;
QByteArray pathBuffer(const QString& path);

// A popup's window, in twips: the picture's size plus 700 across and 300 down, at the pointer, pulled
// back to 200 twips inside the screen's right and bottom edges when it would run off them.
struct PopupGeometry final {
    int leftTwips = 0;
    int topTwips = 0;
    int widthTwips = 0;
    int heightTwips = 0;
};
PopupGeometry popupGeometry(int widthPixels, int heightPixels, QPoint pointerPixels, QSize screenTwips,
                            double twipsPerPixelX, double twipsPerPixelY);

} // namespace torvane::secondcopy
