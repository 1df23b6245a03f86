#include <courselists/pagelist.h>

namespace torvane::courselists {

PageRecord splitPageRecord(QStringView record) {
    PageRecord fields;
    const qsizetype tab1 = record.indexOf(QLatin1Char('\t'));
    if (tab1 < 0) {
        return fields;
    }
    fields.valid = parseShortInt(record.left(tab1)).has_value();
    const qsizetype tab2 = record.indexOf(QLatin1Char('\t'), tab1 + 1);
    if (!fields.valid || tab2 < 0) {
        return fields;
    }
    fields.stores = true;
    fields.file = record.mid(tab1 + 1, tab2 - tab1 - 1);
    fields.title = record.mid(tab2 + 1);
    return fields;
}

ListReadResult readPageList(QStringView text, PageTable& into) {
    ListReadResult result;
    const FramingResult framing = forEachRecord(text, kTableCapacity, [&](int k, QStringView record) {
        const PageRecord fields = splitPageRecord(record);
        if (!fields.valid) {
            return false;
        }
        if (fields.stores) {
            into.at(k) = PageEntry{fields.file.toString(), fields.title.toString()};
        }
        return true;
    });
    result.records = framing.records;
    result.overflow = framing.overflow;
    result.failed = framing.stopped;
    return result;
}

} // namespace torvane::courselists
