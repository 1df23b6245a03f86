#include <QPushButton>
#include <secondary/secondarylayout.h>
#include <secondary/toolbarbutton.h>

namespace torvane::secondary {

QPushButton* makeToolbarButton(QWidget* parent, int position, const base::ToolbarButton& face) {
    auto* button = new QPushButton(QString::fromLatin1(face.caption), parent);
    button->setObjectName(QString::fromLatin1(face.name));
    button->setFont(toolbarButtonFont());
    button->setGeometry(twipsRect(kToolbarFirstLeft + position * kToolbarStep, kToolbarTop,
                                  kToolbarButtonWidth, kToolbarButtonHeight));
    if (face.spoken != nullptr) {
        button->setAccessibleName(QString::fromLatin1(face.spoken));
    }
    return button;
}

} // namespace torvane::secondary
