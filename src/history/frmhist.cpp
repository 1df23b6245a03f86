#include <history/frmhist.h>

namespace torvane::history {

frmHist::frmHist(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHist"));
    setWindowTitle(QStringLiteral("Torvane - History"));
    // The secondary windows share a light grey background.
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(p);
}

} // namespace torvane::history
