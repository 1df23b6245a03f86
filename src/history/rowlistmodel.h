#pragma once

#include <QAbstractListModel>
#include <QString>
#include <vector>

namespace torvane::history {

// The rows of a secondary window's result list: plain texts, replaced all at once (a list is always
// rebuilt whole, never edited row by row).
class RowListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    explicit RowListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    void setRows(std::vector<QString> rows);
    const std::vector<QString>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    std::vector<QString> rows_;
};

} // namespace torvane::history
