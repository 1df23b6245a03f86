#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <shell/preferences.h>
#include <shell/readingkeys.h>

class QRect;
class QWidget;

namespace torvane::shell {

class CourseBrowser;
class FindBar;
class KeysPanel;
class ReadAloud;
class Speaker;
class TextSize;
struct ViewerView;

// The reading aids of the main window, on top of its toolbar and keys (which keep their meaning): the
// text size, find in the page, reading aloud, the dark reading mode and the "Reading keys" panel. They
// change no link, record or kept target, and what they were set to is kept in the learner's preferences.
class ReadingAids final : public QObject {
    Q_OBJECT
public:
    // `speaker` is the speech engine for reading aloud; `tell` shows the learner a plain message.
    ReadingAids(QWidget& window, CourseBrowser& browser, std::unique_ptr<Speaker> speaker,
                std::function<void(const QString&)> tell);
    ~ReadingAids() override;
    Q_DISABLE_COPY_MOVE(ReadingAids)

    // The preferences kept from an earlier run, put in force.
    void setPreferences(const ReaderPreferences& preferences);
    const ReaderPreferences& preferences() const { return preferences_; }

    // Carries out a reading key's command (all but SwitchFocus, which the window's keyboard path is).
    void run(ReadingCommand command);
    // Ctrl with the mouse wheel: the text size a step per notch; `steps` > 0 larger.
    void wheel(int steps);
    // Esc: the find bar and the panel close, reading aloud stops.
    void escape();
    // A page has completed at `address`: another page than the last one closes the find bar and stops
    // reading aloud.
    void pageShown(const QString& address);
    // The course's own sound starts (a video, narration): reading aloud stops, so that one voice speaks.
    void stopReading();
    bool readingAloud() const;

    // Their places over the page's area.
    void place(const QRect& pageArea);
    void describe(ViewerView& view) const;

signals:
    // What the learner set changed: the preferences are to be kept.
    void preferencesChanged();

private:
    void setDark(bool dark);

    CourseBrowser& browser_;
    TextSize* textSize_ = nullptr;
    FindBar* findBar_ = nullptr;
    KeysPanel* keysPanel_ = nullptr;
    ReadAloud* readAloud_ = nullptr;
    ReaderPreferences preferences_;
    QString shownAddress_;
};

} // namespace torvane::shell
