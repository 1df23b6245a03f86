#include <courselists/wordlists.h>

namespace torvane::courselists {

ListReadResult readWordList(QStringView text, WordTable& into) {
    const courselists::FramingResult framing =
        courselists::forEachRecord(text, kTableCapacity, [&](int k, QStringView record) {
            const qsizetype tab = record.indexOf(QLatin1Char('\t'));
            if (tab >= 0) {
                into.at(k) = WordEntry{record.left(tab).toString(), record.mid(tab + 1).toString()};
            }
            return true;
        });
    ListReadResult result;
    result.records = framing.records;
    result.overflow = framing.overflow;
    return result;
}

} // namespace torvane::courselists
