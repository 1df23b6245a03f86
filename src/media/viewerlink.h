#pragma once

#include <QString>
#include <QVariant>
#include <optional>

class QWidget;

namespace torvane::media {

// What the companion window needs from the main window, which implements it.
class ViewerLink {
public:
    virtual ~ViewerLink() = default;

    // The course folder address, ending in "/".
    virtual QString fileLocn() const = 0;
    // Ends the program at once.
    virtual void EndTRV() = 0;
    // Clears "KirvoltName" (255 zero bytes, flushed): the hand-off is over.
    virtual void ShutOffWithfile() = 0;
    // Raises the end flag for the tools.
    virtual void ShutOffTRV() = 0;
    // Marks that the end of the program was started from the companion window (no quit question).
    virtual void setFromWithfile() = 0;
    // A message box placed relative to `owner` (pixel offsets or "Center"); nothing when x or y is
    // unreadable.
    virtual std::optional<int> msgBoxAt(const QString& prompt, int style, const QString& title,
                                        QWidget* owner, const QVariant& x, const QVariant& y) = 0;
};

} // namespace torvane::media
