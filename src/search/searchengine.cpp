#include <QHash>
#include <courselists/recordreader.h>
#include <search/searchengine.h>

namespace torvane::search {

using courselists::trimSpaces;

namespace {

// A reference piece: a whole decimal number from 0 to 20000, spaces around it allowed. Its value is
// what counts, so leading zeros ("000001" is page 1) change nothing however many there are.
std::optional<int> referenceNumber(QStringView piece) {
    const QStringView t = trimSpaces(piece);
    if (t.isEmpty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
        value = value * 10 + (c.unicode() - u'0');
        if (value > courselists::kTableCapacity) {
            return std::nullopt; // stops before the value could grow past an int
        }
    }
    return value;
}

} // namespace

SearchQuery parseQuery(QStringView text) {
    SearchQuery query;
    const QStringView q = trimSpaces(text);
    if (q.isEmpty()) {
        return query;
    }
    const qsizetype space = q.indexOf(QLatin1Char(' '));
    if (space < 0) {
        query.wordCount = 1;
        query.first = q.toString();
        return query;
    }
    query.wordCount = 2;
    query.first = q.left(space).toString();
    const QStringView rest = trimSpaces(q.mid(space + 1));
    const qsizetype next = rest.indexOf(QLatin1Char(' '));
    query.second = (next >= 0 ? rest.left(next) : rest).toString();
    return query;
}

std::vector<int> parseReferences(QStringView refs) {
    std::vector<int> numbers;
    while (!refs.isEmpty()) {
        const qsizetype tab = refs.indexOf(QLatin1Char('\t'));
        const QStringView piece = tab >= 0 ? refs.left(tab) : refs;
        refs = tab >= 0 ? refs.mid(tab + 1) : QStringView();
        if (const std::optional<int> r = referenceNumber(piece)) {
            numbers.push_back(*r);
        }
    }
    return numbers;
}

QString foundPagesLine(std::size_t rows) {
    return QStringLiteral("Found:  %1 pages").arg(rows);
}

SearchIndex::SearchIndex(const courselists::SearchTables& tables) {
    constexpr int kLast = courselists::WordTable::kLastSlot;
    std::vector<QString> keys(static_cast<std::size_t>(kLast) + 1);
    refStart_.assign(static_cast<std::size_t>(kLast) + 2, 0);
    for (int w = 1; w <= kLast; ++w) {
        refStart_[static_cast<std::size_t>(w)] = static_cast<int>(refs_.size());
        const courselists::WordEntry& entry = tables.words.at(w);
        const QStringView word = trimSpaces(entry.text);
        if (word.isEmpty()) {
            continue;
        }
        keys[static_cast<std::size_t>(w)] = courselists::upperText(word);
        const std::vector<int> numbers = parseReferences(entry.refs);
        refs_.insert(refs_.end(), numbers.begin(), numbers.end());
    }
    refStart_[static_cast<std::size_t>(kLast) + 1] = static_cast<int>(refs_.size());
    words_ = PrefixOrder(std::move(keys));

    QHash<QString, int> idOf;
    pageId_.assign(static_cast<std::size_t>(courselists::PageTable::kLastSlot) + 1, -1);
    for (int r = 1; r <= courselists::PageTable::kLastSlot; ++r) {
        const QString& file = tables.pages.at(r).file;
        if (file.isEmpty()) {
            continue;
        }
        auto it = idOf.constFind(file);
        if (it == idOf.constEnd()) {
            it = idOf.insert(file, pageIdCount_++);
        }
        pageId_[static_cast<std::size_t>(r)] = *it;
    }
}

std::vector<int> SearchIndex::matchingWords(QStringView word) const {
    if (word.isEmpty()) {
        return {};
    }
    return words_.slotsWithPrefix(courselists::upperText(word));
}

std::vector<int> SearchIndex::search(const SearchQuery& query) const {
    if (query.wordCount == 1) {
        return searchOne(query.first);
    }
    if (query.wordCount == 2) {
        return searchTwo(query.first, query.second);
    }
    return {};
}

std::vector<int> SearchIndex::searchOne(QStringView word) const {
    std::vector<int> rows;
    std::vector<unsigned char> listed(static_cast<std::size_t>(pageIdCount_), 0);
    for (const int w : matchingWords(word)) {
        for (int i = refStart_[static_cast<std::size_t>(w)]; i < refStart_[static_cast<std::size_t>(w) + 1];
             ++i) {
            const int r = refs_[static_cast<std::size_t>(i)];
            const int id = pageId_[static_cast<std::size_t>(r)];
            if (id >= 0 && listed[static_cast<std::size_t>(id)] == 0) {
                listed[static_cast<std::size_t>(id)] = 1;
                rows.push_back(r);
            }
        }
    }
    return rows;
}

std::vector<int> SearchIndex::searchTwo(QStringView first, QStringView second) const {
    std::vector<unsigned char> reachedBySecond(static_cast<std::size_t>(pageIdCount_), 0);
    for (const int w : matchingWords(second)) {
        for (int i = refStart_[static_cast<std::size_t>(w)]; i < refStart_[static_cast<std::size_t>(w) + 1];
             ++i) {
            const int id = pageId_[static_cast<std::size_t>(refs_[static_cast<std::size_t>(i)])];
            if (id >= 0) {
                reachedBySecond[static_cast<std::size_t>(id)] = 1;
            }
        }
    }
    std::vector<int> rows;
    std::vector<unsigned char> listed(static_cast<std::size_t>(pageIdCount_), 0);
    for (const int w : matchingWords(first)) {
        for (int i = refStart_[static_cast<std::size_t>(w)]; i < refStart_[static_cast<std::size_t>(w) + 1];
             ++i) {
            const int r = refs_[static_cast<std::size_t>(i)];
            const int id = pageId_[static_cast<std::size_t>(r)];
            if (id >= 0 && reachedBySecond[static_cast<std::size_t>(id)] != 0 &&
                listed[static_cast<std::size_t>(id)] == 0) {
                listed[static_cast<std::size_t>(id)] = 1;
                rows.push_back(r);
            }
        }
    }
    return rows;
}

} // namespace torvane::search
