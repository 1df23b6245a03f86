#include <search/frmindex.h>

namespace torvane::search {

frmIndex::frmIndex(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmIndex"));
    setWindowTitle(QStringLiteral("Torvane - Index"));
    // The secondary windows share a light grey background.
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(p);
}

} // namespace torvane::search
