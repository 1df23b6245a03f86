#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

class QPixmap;
class QWidget;

namespace torvane::courselists {
class ListStore;
}

namespace torvane::secondary {

// What the secondary windows (search, index, history) need from the main window. The main window
// implements it; the secondary windows never see the main window's class.
class SecondaryHost {
public:
    virtual ~SecondaryHost() = default;

    // The course folder address, ending in "/".
    virtual QString fileLocn() const = 0;
    // The learner's data folder, ending in a separator (empty when there is none).
    virtual QString billDir() const = 0;
    // The folder of the program itself, where "files.trv" and "words.trv" lie.
    virtual QString programFolder() const = 0;
    // Those two lists, read once per run for every window.
    virtual courselists::ListStore& courseLists() = 0;
    // The size class 1..7 of the screen.
    virtual int screenSize() const = 0;
    // The main window, for handing over window state and position.
    virtual QWidget* mainWindow() = 0;

    // Sends the main window's browser to `address`.
    virtual void navigate(const QString& address) = 0;
    // Sends the main window's browser to `address`, a page a search found for `words`: the page shows
    // every word of its text that begins with one of them highlighted, the first in view.
    virtual void openFoundPage(const QString& address, const QStringList& words) = 0;
    // Steps the main window's browser back one entry (without the Back button's placeholder skip).
    virtual void goBack() = 0;
    // Prints: with a picture, that picture on the default printer at 0, 0; without, the page the main
    // window's browser holds, through the print dialog. Reports failures to the learner itself.
    virtual void print(const QPixmap* picture) = 0;
    // Ends the program at once.
    virtual void endProgram() = 0;
    // What a Yes to the quit question does: the history file is deleted (the learner is told when it
    // cannot be) and the program ends.
    virtual void endAfterQuit() = 0;
    // Starts the system calculator maximised and in front, as the main window's Calc button does.
    // Failures are skipped silently. (Added for the secondary windows' Calc button.)
    virtual void startCalculator() = 0;

    // True when `path` names an existing file; asks "Please run Setup on the USB" when the look fails
    // (Cancel ends the program).
    virtual bool fileThere(const QString& path) = 0;
    // A plain message box with the application title: returns the button's result code (1 OK, 2 Cancel,
    // 6 Yes, 7 No). `style` holds the usual button and icon bits (0 OK only, 4 Yes/No, 32 question,
    // 48 exclamation, 65536 foreground).
    virtual int messageBox(const QString& text, int style) = 0;
    // A message box placed relative to `owner`: x and y are pixel offsets or "Center". Nothing is shown
    // and nothing returned when x or y cannot be read.
    virtual std::optional<int> msgBoxAt(const QString& prompt, int style, const QString& title,
                                        QWidget* owner, const QVariant& x, const QVariant& y) = 0;
};

} // namespace torvane::secondary
