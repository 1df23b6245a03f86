#include <courselists/recordreader.h>
#include <search/indexfilter.h>

namespace torvane::search {

QString foundWordsLine(std::size_t rows) {
    return QStringLiteral("Found:  %1 words").arg(rows);
}

IndexFilter::IndexFilter(const courselists::WordTable& words) {
    std::vector<QString> keys(static_cast<std::size_t>(courselists::WordTable::kLastSlot) + 1);
    for (int slot = 1; slot <= courselists::WordTable::kLastSlot; ++slot) {
        keys[static_cast<std::size_t>(slot)] = courselists::upperText(words.at(slot).text);
    }
    order_ = PrefixOrder(std::move(keys));
}

std::vector<int> IndexFilter::narrow(QStringView typed) const {
    return order_.slotsWithPrefix(courselists::upperText(courselists::trimSpaces(typed)));
}

void IndexModel::setWords(const courselists::WordTable* words) {
    beginResetModel();
    words_ = words;
    rows_.clear();
    endResetModel();
}

void IndexModel::setRows(std::vector<int> wordSlots) {
    beginResetModel();
    rows_ = std::move(wordSlots);
    endResetModel();
}

int IndexModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QString IndexModel::rowText(int row) const {
    if (words_ == nullptr || row < 0 || row >= static_cast<int>(rows_.size())) {
        return {};
    }
    return words_->at(rows_[static_cast<std::size_t>(row)]).text + QLatin1Char(' ');
}

QVariant IndexModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) {
        return {};
    }
    return rowText(index.row());
}

} // namespace torvane::search
