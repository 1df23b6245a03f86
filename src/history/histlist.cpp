#include <QHash>
#include <algorithm>
#include <history/histlist.h>
#include <history/pagematcher.h>

namespace torvane::history {

HistoryEntries splitHistory(QStringView text) {
    HistoryEntries entries;
    const courselists::FramingResult framing =
        courselists::forEachRecord(text, courselists::kTableCapacity, [&](int, QStringView record) {
            entries.records.push_back(record.toString());
            return true;
        });
    entries.overflow = framing.overflow;
    return entries;
}

HistRow provisionalRow(const QString& record) {
    QStringView page = courselists::trimSpaces(record);
    if (page.size() >= 2 && page.front() == QLatin1Char('"') && page.back() == QLatin1Char('"')) {
        page = courselists::trimSpaces(page.mid(1, page.size() - 2));
    }
    return HistRow{record, page.toString()};
}

std::vector<HistRow> provisionalRows(const std::vector<QString>& records) {
    std::vector<HistRow> rows;
    rows.reserve(records.size());
    for (const QString& record : records) {
        rows.push_back(provisionalRow(record));
    }
    return rows;
}

std::vector<HistRow> matchHistory(const std::vector<QString>& records, const courselists::PageTable& pages) {
    // Page records with the same name (letter case aside) share one pattern; each pattern remembers its
    // page records in list order.
    std::vector<QString> patterns;
    std::vector<std::vector<int>> slotsOf;
    QHash<QString, int> patternOf;
    const int lastSlot = courselists::PageTable::kLastSlot;
    for (int w = 1; w <= lastSlot; ++w) {
        const QStringView name = courselists::trimSpaces(pages.at(w).file);
        if (name.isEmpty()) {
            continue;
        }
        QString folded(name.size(), Qt::Uninitialized);
        for (qsizetype i = 0; i < name.size(); ++i) {
            folded[i] = QChar(PageNameMatcher::fold(name[i]));
        }
        auto it = patternOf.constFind(folded);
        if (it == patternOf.constEnd()) {
            it = patternOf.insert(folded, static_cast<int>(patterns.size()));
            patterns.push_back(folded);
            slotsOf.emplace_back();
        }
        slotsOf[static_cast<std::size_t>(*it)].push_back(w);
    }

    const PageNameMatcher matcher(patterns);
    std::vector<HistRow> rows;
    std::vector<std::size_t> seenIn(patterns.size(), 0); // record number + 1 that last matched it
    std::vector<int> matchedSlots;
    for (std::size_t d = 0; d < records.size() && rows.size() < kMaxHistRows; ++d) {
        const QStringView entry = courselists::trimSpaces(records[d]);
        if (entry.isEmpty()) {
            continue;
        }
        matchedSlots.clear();
        matcher.scan(entry.mid(1), [&](int pattern) {
            std::size_t& seen = seenIn[static_cast<std::size_t>(pattern)];
            if (seen != d + 1) {
                seen = d + 1;
                const std::vector<int>& pageSlots = slotsOf[static_cast<std::size_t>(pattern)];
                matchedSlots.insert(matchedSlots.end(), pageSlots.begin(), pageSlots.end());
            }
        });
        std::sort(matchedSlots.begin(), matchedSlots.end());
        for (const int w : matchedSlots) {
            if (rows.size() == kMaxHistRows) {
                break;
            }
            const courselists::PageEntry& page = pages.at(w);
            rows.push_back(HistRow{page.title, page.file});
        }
    }
    return rows;
}

} // namespace torvane::history
