#include <QLabel>
#include <QVBoxLayout>
#include <shell/frmsplsh.h>

namespace torvane::shell {

frmSplsh::frmSplsh(QWidget* parent)
    // A splash screen to the window manager, which shows it without a frame or the focus, and never a
    // window that a look for the viewer's window by its title could take for the viewer.
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmSplsh"));
    setWindowTitle(QStringLiteral("Torvane"));
    auto* text = new QLabel(QStringLiteral("One moment please..."), this);
    text->setAlignment(Qt::AlignCenter);
    QFont font = text->font();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    text->setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->addWidget(text);
    setStyleSheet(QStringLiteral("frmSplsh { background: #f4f4f4; border: 1px solid #707070; }"));
    setAttribute(Qt::WA_StyledBackground);
    adjustSize();
}

} // namespace torvane::shell
