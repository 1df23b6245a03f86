// The history window's reading of its two files: the page list ("files.trv") and the history file
// ("history.trv"), both arbitrary Windows-1252 bytes. The input is the page list, a zero byte, then the
// history file (no zero byte: an empty history).

#include <QStringView>
#include <check.h>
#include <courselists/ansitext.h>
#include <courselists/pagelist.h>
#include <cstddef>
#include <cstdint>
#include <history/histlist.h>
#include <history/pagematcher.h>
#include <vector>

using namespace torvane;

namespace {

// Above this many record x page comparisons the rows are only checked for their shape: the literal
// comparison would slow the fuzzer down more than it finds.
constexpr std::size_t kLiteralComparisons = 40000;

QString folded(QStringView text) {
    QString out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        out[i] = QChar(history::PageNameMatcher::fold(text[i]));
    }
    return out;
}

void checkEntries(QStringView text, const history::HistoryEntries& entries) {
    FUZZ_CHECK(entries.records.size() <= static_cast<std::size_t>(courselists::kTableCapacity), QString());
    FUZZ_CHECK(!entries.overflow ||
                   entries.records.size() == static_cast<std::size_t>(courselists::kTableCapacity),
               QString());
    FUZZ_CHECK(text.isEmpty() == entries.records.empty(), QString());
    qsizetype at = 0;
    for (const QString& record : entries.records) {
        FUZZ_CHECK(!record.contains(QLatin1Char('\r')), fuzz::shown(record));
        FUZZ_CHECK(text.mid(at, record.size()) == record, fuzz::shown(record));
        at += record.size() + 2;
    }
    FUZZ_CHECK(entries.overflow || at >= text.size(), QString::number(at));
}

void checkProvisional(const std::vector<QString>& records) {
    const std::vector<history::HistRow> rows = history::provisionalRows(records);
    FUZZ_CHECK(rows.size() == records.size(), QString());
    for (std::size_t d = 0; d < rows.size(); ++d) {
        const QString& page = rows[d].page;
        FUZZ_CHECK(rows[d].text == records[d], fuzz::shown(records[d]));
        FUZZ_CHECK(records[d].contains(page), fuzz::shown(records[d]));
        FUZZ_CHECK(page.isEmpty() || (page.front() != QLatin1Char(' ') && page.back() != QLatin1Char(' ')),
                   fuzz::shown(page));
        // The record as the history file writes it, "name" CR LF, opens exactly that name.
        const QStringView trimmed = courselists::trimSpaces(records[d]);
        if (trimmed.size() >= 2 && trimmed.front() == QLatin1Char('"') &&
            trimmed.back() == QLatin1Char('"')) {
            FUZZ_CHECK(page == courselists::trimSpaces(trimmed.mid(1, trimmed.size() - 2)),
                       fuzz::shown(records[d]));
        }
    }
}

// The history list by its definition: every non-blank record against every named page, in order.
std::vector<history::HistRow> literalRows(const std::vector<QString>& records,
                                          const courselists::PageTable& pages, int pageRecords) {
    std::vector<history::HistRow> rows;
    for (const QString& record : records) {
        const QStringView entry = courselists::trimSpaces(record);
        if (entry.isEmpty()) {
            continue;
        }
        const QString haystack = folded(entry.mid(1));
        for (int w = 1; w <= pageRecords && rows.size() < history::kMaxHistRows; ++w) {
            const QStringView name = courselists::trimSpaces(pages.at(w).file);
            if (!name.isEmpty() && haystack.contains(folded(name))) {
                rows.push_back(history::HistRow{pages.at(w).title, pages.at(w).file});
            }
        }
    }
    return rows;
}

void checkMatched(const std::vector<QString>& records, const courselists::PageTable& pages, int pageRecords) {
    const std::vector<history::HistRow> rows = history::matchHistory(records, pages);
    FUZZ_CHECK(rows.size() <= history::kMaxHistRows, QString());
    if (records.size() * static_cast<std::size_t>(pageRecords) > kLiteralComparisons) {
        for (const history::HistRow& row : rows) {
            FUZZ_CHECK(!courselists::trimSpaces(row.page).isEmpty(), fuzz::shown(row.text));
        }
        return;
    }
    const std::vector<history::HistRow> expected = literalRows(records, pages, pageRecords);
    FUZZ_CHECK(rows.size() == expected.size(),
               QStringLiteral("%1 rows, expected %2").arg(rows.size()).arg(expected.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        FUZZ_CHECK(rows[i].page == expected[i].page && rows[i].text == expected[i].text,
                   QStringLiteral("row %1: %2, expected %3")
                       .arg(i)
                       .arg(fuzz::shown(rows[i].page), fuzz::shown(expected[i].page)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype split = input.indexOf('\0');
    const QByteArrayView pageBytes = split < 0 ? input : input.first(split);
    const QByteArrayView historyBytes = split < 0 ? QByteArrayView() : input.sliced(split + 1);

    const QString historyText = courselists::fromAnsi(historyBytes);
    const history::HistoryEntries entries = history::splitHistory(historyText);
    checkEntries(historyText, entries);
    checkProvisional(entries.records);

    // As the window does: the titles only from a page list that was read to its end.
    // (One table for every input: 20001 slots made afresh each time would cost more than the reading.)
    static courselists::PageTable pages;
    const courselists::ListReadResult read =
        courselists::readPageList(courselists::fromAnsi(pageBytes), pages);
    if (!read.failed && !read.overflow) {
        checkMatched(entries.records, pages, read.records);
    }
    for (int k = 0; k <= read.records && k <= courselists::PageTable::kLastSlot; ++k) {
        pages.at(k) = {};
    }
    return 0;
}
