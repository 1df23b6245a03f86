#pragma once

// The tables the course's lists are read into: one entry per record, found by the record's number.

#include <QtGlobal>
#include <courselists/recordreader.h>
#include <cstddef>
#include <vector>

namespace torvane::courselists {

// Entries by record number: record k of a list in slot k, for the slots 1..20000. Slot 0 is never
// filled, and a slot that no record filled holds an empty entry.
template <typename Entry> class SlotTable {
public:
    static constexpr int kLastSlot = kTableCapacity;

    SlotTable() : slots_(static_cast<std::size_t>(kLastSlot) + 1) {}

    // The entry in `slot`, 0..20000.
    const Entry& at(int slot) const { return slots_[index(slot)]; }
    Entry& at(int slot) { return slots_[index(slot)]; }

private:
    static std::size_t index(int slot) {
        Q_ASSERT(slot >= 0 && slot <= kLastSlot);
        return static_cast<std::size_t>(slot);
    }

    std::vector<Entry> slots_;
};

} // namespace torvane::courselists
