#pragma once

#include <QLabel>

namespace torvane::shell {

// The "Reading keys" panel: F1 shows it over the page, listing the keys of the reading aids; Esc, F1
// again or a click hides it. The help picture of the toolbar stays as it is.
class KeysPanel final : public QLabel {
    Q_OBJECT
public:
    explicit KeysPanel(QWidget& window);

    void toggle();
    // In the middle of the page's area.
    void place(const QRect& pageArea);

protected:
    void mousePressEvent(QMouseEvent* e) override;
};

// The panel's lines: the keys, and what they do.
struct ReadingKeyLine final {
    const char* keys;
    const char* does;
};
extern const ReadingKeyLine kReadingKeys[12];

} // namespace torvane::shell
