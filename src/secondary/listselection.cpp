#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <secondary/listselection.h>

namespace torvane::secondary {

int selectedRow(const QAbstractItemView& list) {
    const QModelIndexList selected = list.selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.front().row();
}

void selectRow(QAbstractItemView& list, int row) {
    const QModelIndex index = list.model()->index(row, 0);
    if (index.isValid()) {
        list.setCurrentIndex(index);
    } else {
        list.clearSelection();
    }
}

} // namespace torvane::secondary
