#include <QPushButton>
#include <secondary/secondarylayout.h>
#include <secondary/toolbarbutton.h>

namespace torvane::secondary {

QPushButton* makeToolbarButton(QWidget* parent, int position, const base::ToolbarButton& face) {
    auto* button = new QPushButton(QString::fromLatin1(face.caption), parent);
    button->setObjectName(QString::fromLatin1(face.name));
    // The access key is the window's key handler's to act on, after it has seen the key (a shortcut
    // would press the button before the handler runs, or not at all while a page has the keys).
    button->setShortcut(QKeySequence());
    button->setFont(toolbarButtonFont());
    button->setGeometry(twipsRect(kToolbarFirstLeft + position * kToolbarStep, kToolbarTop,
                                  kToolbarButtonWidth, kToolbarButtonHeight));
    if (face.spoken != nullptr) {
        button->setAccessibleName(QString::fromLatin1(face.spoken));
    }
    return button;
}

} // namespace torvane::secondary
