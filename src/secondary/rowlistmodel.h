#pragma once

#include <QAbstractListModel>
#include <QString>
#include <vector>

namespace torvane::secondary {

// One row of a result list: the text it shows and the course page it opens (empty: none).
struct ListRow final {
    QString text;
    QString page;
};

// The rows of the search and history windows' lists, each with its page. A new list replaces the rows
// in one reset.
class RowListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { PageRole = Qt::UserRole + 1 };

    explicit RowListModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    void setRows(std::vector<ListRow> rows);
    const std::vector<ListRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    std::vector<ListRow> rows_;
};

} // namespace torvane::secondary
