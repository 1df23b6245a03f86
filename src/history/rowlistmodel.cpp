#include <history/rowlistmodel.h>

namespace torvane::history {

void RowListModel::setRows(std::vector<QString> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int RowListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant RowListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    return rows_[static_cast<std::size_t>(index.row())];
}

} // namespace torvane::history
