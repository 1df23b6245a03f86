#include <QMouseEvent>
#include <shell/keyspanel.h>

namespace torvane::shell {

const ReadingKeyLine kReadingKeys[12] = {
    {"Ctrl+Plus, Ctrl+Minus, Ctrl+wheel", "larger or smaller text"},
    {"Ctrl+0", "text of the normal size"},
    {"Ctrl+F", "find in the page"},
    {"Enter or F3, Shift+Enter or Shift+F3", "next or previous match"},
    {"Ctrl+Shift+S", "read the page aloud (from the selection, if any); again: pause, go on"},
    {"Ctrl+Shift+Plus, Ctrl+Shift+Minus", "read faster or slower"},
    {"Ctrl+Shift+D", "dark reading mode on or off"},
    {"F6", "keyboard to the page or back to the toolbar"},
    {"Tab, Shift+Tab", "next or previous link in the page"},
    {"Enter", "follow the link"},
    {"Esc", "close the find bar or this panel, stop reading aloud, stop a video"},
    {"F1", "show or hide these keys"},
};

KeysPanel::KeysPanel(QWidget& window) : QLabel(&window) {
    setObjectName(QStringLiteral("keysPanel"));
    setAccessibleName(QStringLiteral("Reading keys"));
    QString rows;
    QString plain;
    for (const ReadingKeyLine& line : kReadingKeys) {
        const QString keys = QString::fromLatin1(line.keys);
        const QString does = QString::fromLatin1(line.does);
        rows += QStringLiteral("<tr><td style=\"padding-right:18px\"><b>%1</b></td><td>%2</td></tr>")
                    .arg(keys.toHtmlEscaped(), does.toHtmlEscaped());
        plain += keys + QStringLiteral(": ") + does + QLatin1Char('\n');
    }
    setText(QStringLiteral("<h3>Reading keys</h3><table>%1</table>").arg(rows));
    setAccessibleDescription(plain);
    setTextFormat(Qt::RichText);
    setStyleSheet(QStringLiteral("QLabel { background: #fffdf0; color: #202020; border: 2px solid #1f3f6f; "
                                 "border-radius: 6px; padding: 14px; }"));
    adjustSize();
    hide();
}

void KeysPanel::toggle() {
    setVisible(isHidden());
    if (isVisible()) {
        raise();
    }
}

void KeysPanel::place(const QRect& pageArea) {
    adjustSize();
    move(pageArea.left() + std::max(0, (pageArea.width() - width()) / 2),
         pageArea.top() + std::max(0, (pageArea.height() - height()) / 3));
}

void KeysPanel::mousePressEvent(QMouseEvent* e) {
    hide();
    e->accept();
}

} // namespace torvane::shell
