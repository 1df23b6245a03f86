#pragma once

// The word index: the words of "words.trv" narrowed to those that begin with what the learner typed.

#include <QAbstractListModel>
#include <QString>
#include <QStringView>
#include <courselists/wordlists.h>
#include <search/prefixorder.h>
#include <vector>

namespace torvane::search {

// The count line under the index: "Found:  " (two spaces), the number of rows, " words".
QString foundWordsLine(std::size_t rows);

class IndexFilter final {
public:
    IndexFilter() = default;
    // The words of the table as stored (leading spaces included); their references are not used.
    explicit IndexFilter(const courselists::WordTable& words);

    // The slots whose word begins with `typed`, without regard to case. `typed` loses its leading and
    // trailing spaces; the words are compared as stored, so a word stored with a leading space is not
    // found by its first letter. Nothing typed lists every non-empty word. In table order.
    std::vector<int> narrow(QStringView typed) const;

private:
    PrefixOrder order_;
};

// The index window's list: the rows are slots of the word table, shown as the word and one space. A
// narrowing replaces the rows in one reset, so a keystroke costs the filtering and not a row-by-row
// refill of 20000 rows.
class IndexModel final : public QAbstractListModel {
    Q_OBJECT
public:
    explicit IndexModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    // The word table the rows point into; it must outlive the model.
    void setWords(const courselists::WordTable* words);
    void setRows(std::vector<int> wordSlots);
    const std::vector<int>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The text of a row: the word as stored and one space.
    QString rowText(int row) const;

private:
    const courselists::WordTable* words_ = nullptr;
    std::vector<int> rows_;
};

} // namespace torvane::search
