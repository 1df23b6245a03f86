#include <QLabel>
#include <QVBoxLayout>
#include <shell/frmsplsh.h>

namespace torvane::shell {

frmSplsh::frmSplsh(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
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
