// The readers of the course's list files: the record framing, "files.trv" (number TAB file TAB title)
// and "words.trv" (word TAB references), from arbitrary Windows-1252 bytes.

#include <QList>
#include <QStringView>
#include <algorithm>
#include <check.h>
#include <courselists/ansitext.h>
#include <courselists/pagelist.h>
#include <courselists/recordreader.h>
#include <courselists/wordlists.h>
#include <cstddef>
#include <cstdint>
#include <search/searchengine.h>
#include <vector>

using namespace torvane;

namespace {

std::vector<QStringView> framedRecords(QStringView text) {
    std::vector<QStringView> records;
    const courselists::FramingResult framing =
        courselists::forEachRecord(text, courselists::kTableCapacity, [&](int k, QStringView record) {
            FUZZ_CHECK(k == static_cast<int>(records.size()) + 1, QString::number(k));
            records.push_back(record);
            return true;
        });
    FUZZ_CHECK(framing.records == static_cast<int>(records.size()), QString());
    FUZZ_CHECK(!framing.stopped, QString());

    // The records laid end to end, each followed by its CR and one dropped character, give back the text.
    qsizetype at = 0;
    for (const QStringView record : records) {
        FUZZ_CHECK(!record.contains(QLatin1Char('\r')), fuzz::shown(record.toString()));
        FUZZ_CHECK(text.mid(at, record.size()) == record, fuzz::shown(record.toString()));
        at += record.size();
        if (at < text.size()) {
            FUZZ_CHECK(text[at] == QLatin1Char('\r'), QString::number(at));
            at += 2;
        }
    }
    FUZZ_CHECK(framing.overflow || at >= text.size(), QString::number(at));
    return records;
}

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// What a 16-bit whole number field means, worked out from its digits rather than by scanning.
void checkShortInt(QStringView field) {
    const std::optional<int> parsed = courselists::parseShortInt(field);
    const QStringView t = courselists::trimSpaces(field);
    FUZZ_CHECK(t.isEmpty() || (t.front() != QLatin1Char(' ') && t.back() != QLatin1Char(' ')), QString());
    QStringView digits = t;
    bool negative = false;
    if (!digits.isEmpty() && (digits.front() == QLatin1Char('-') || digits.front() == QLatin1Char('+'))) {
        negative = digits.front() == QLatin1Char('-');
        digits = digits.mid(1);
    }
    const bool wellFormed = !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), isAsciiDigit);
    if (!wellFormed) {
        FUZZ_CHECK(!parsed, fuzz::shown(field.toString()));
        return;
    }
    while (digits.size() > 1 && digits.front() == QLatin1Char('0')) {
        digits = digits.mid(1);
    }
    const bool inRange = digits.size() <= 5 && (negative ? digits.toInt() <= 32768 : digits.toInt() <= 32767);
    if (!inRange) {
        FUZZ_CHECK(!parsed, fuzz::shown(field.toString()));
        return;
    }
    FUZZ_CHECK(parsed && *parsed == (negative ? -digits.toInt() : digits.toInt()),
               fuzz::shown(field.toString()));
}

// The page numbers of a reference list, worked out piece by piece from the digits: a piece between
// TABs (the last one needs none) counts when, spaces around it aside, it is all digits and its value,
// leading zeros and all, lies in 0..20000.
std::vector<int> referencesFromDigits(QStringView refs) {
    std::vector<int> numbers;
    for (const QStringView piece : refs.split(QLatin1Char('\t'))) {
        QStringView digits = courselists::trimSpaces(piece);
        if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), isAsciiDigit)) {
            continue;
        }
        while (digits.size() > 1 && digits.front() == QLatin1Char('0')) {
            digits = digits.mid(1);
        }
        if (digits.size() <= 5 && digits.toInt() <= courselists::kTableCapacity) {
            numbers.push_back(digits.toInt());
        }
    }
    return numbers;
}

// The tables are 20001 slots each; made afresh for every input they would cost more than the reading
// itself. They are emptied again after each input instead, and every slot is checked before reuse.
template <typename Table> void emptySlots(Table& table, int records) {
    for (int k = 0; k <= records && k <= Table::kLastSlot; ++k) {
        table.at(k) = {};
    }
}

void checkPageList(QStringView text, const std::vector<QStringView>& records) {
    static courselists::PageTable pages;
    const courselists::ListReadResult read = courselists::readPageList(text, pages);
    FUZZ_CHECK(read.records <= static_cast<int>(records.size()), QString::number(read.records));
    FUZZ_CHECK(read.failed || read.overflow || read.records == static_cast<int>(records.size()), QString());
    FUZZ_CHECK(pages.at(0).file.isEmpty() && pages.at(0).title.isEmpty(), QString());

    for (int k = 1; k <= read.records; ++k) {
        const QStringView record = records[static_cast<std::size_t>(k - 1)];
        const courselists::PageRecord fields = courselists::splitPageRecord(record);
        const qsizetype tab = record.indexOf(QLatin1Char('\t'));
        if (tab >= 0) {
            checkShortInt(record.left(tab));
        }
        // A record is refused exactly when it has a TAB and its first field is not a 16-bit number.
        FUZZ_CHECK(fields.valid == (tab < 0 || courselists::parseShortInt(record.left(tab)).has_value()),
                   fuzz::shown(record.toString()));
        FUZZ_CHECK(fields.valid || k == read.records, QString::number(k));
        FUZZ_CHECK(fields.valid != (read.failed && k == read.records), QString::number(k));
        FUZZ_CHECK(fields.stores ==
                       (fields.valid && tab >= 0 && record.indexOf(QLatin1Char('\t'), tab + 1) >= 0),
                   fuzz::shown(record.toString()));

        const QString& file = pages.at(k).file;
        const QString& title = pages.at(k).title;
        if (fields.stores) {
            FUZZ_CHECK(!file.contains(QLatin1Char('\t')), fuzz::shown(file));
            FUZZ_CHECK(record == record.left(tab + 1).toString() + file + QLatin1Char('\t') + title,
                       fuzz::shown(record.toString()));
        } else {
            FUZZ_CHECK(file.isEmpty() && title.isEmpty(), fuzz::shown(record.toString()));
        }
    }
    for (int k = read.records + 1; k <= courselists::PageTable::kLastSlot; ++k) {
        FUZZ_CHECK(pages.at(k).file.isEmpty() && pages.at(k).title.isEmpty(), QString::number(k));
    }
    emptySlots(pages, read.records);
}

void checkWordList(QStringView text, const std::vector<QStringView>& records) {
    static courselists::WordTable words;
    const courselists::ListReadResult read = courselists::readWordList(text, words);
    FUZZ_CHECK(read.records == static_cast<int>(records.size()) && !read.failed, QString());
    FUZZ_CHECK(words.at(0).text.isEmpty() && words.at(0).refs.isEmpty(), QString());

    for (int k = 1; k <= read.records; ++k) {
        const QStringView record = records[static_cast<std::size_t>(k - 1)];
        const QString& word = words.at(k).text;
        const QString& refs = words.at(k).refs;
        FUZZ_CHECK(!word.contains(QLatin1Char('\t')), fuzz::shown(word));
        if (record.contains(QLatin1Char('\t'))) {
            FUZZ_CHECK(record == word + QLatin1Char('\t') + refs, fuzz::shown(record.toString()));
            FUZZ_CHECK(search::parseReferences(refs) == referencesFromDigits(refs), fuzz::shown(refs));
        } else {
            FUZZ_CHECK(word.isEmpty() && refs.isEmpty(), fuzz::shown(record.toString()));
        }
    }
    for (int k = read.records + 1; k <= courselists::WordTable::kLastSlot; ++k) {
        FUZZ_CHECK(words.at(k).text.isEmpty() && words.at(k).refs.isEmpty(), QString::number(k));
    }
    emptySlots(words, read.records);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = courselists::fromAnsi(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    FUZZ_CHECK(text.size() == static_cast<qsizetype>(size), QString());
    const std::vector<QStringView> records = framedRecords(text);
    checkPageList(text, records);
    checkWordList(text, records);
    return 0;
}
