#include <search/frmsearch.h>

namespace torvane::search {

frmSearch::frmSearch(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(QStringLiteral("Torvane - Search"));
    // The secondary windows share a light grey background.
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(p);
}

} // namespace torvane::search
