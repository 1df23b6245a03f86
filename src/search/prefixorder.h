#pragma once

// Word slots kept in the order of their comparison keys, so that every key beginning with a given
// prefix lies in one run: a prefix lookup is a binary search and a walk along the run instead of a look
// at every one of the 20000 slots.

#include <QString>
#include <QStringView>
#include <vector>

namespace torvane::search {

class PrefixOrder final {
public:
    PrefixOrder() = default;
    // keys[slot] for slot 1..keys.size()-1; slots whose key is empty are left out.
    explicit PrefixOrder(std::vector<QString> keys);

    // The slots whose key begins with `prefix` (already in key form), in slot order.
    std::vector<int> slotsWithPrefix(QStringView prefix) const;
    // Every slot with a key, in slot order.
    const std::vector<int>& allSlots() const { return all_; }

private:
    std::vector<QString> keys_;
    std::vector<int> sorted_; // slots by key
    std::vector<int> all_;    // slots in slot order
};

// Code-unit order of two texts (the same on every machine, unlike locale-aware comparisons).
bool codeUnitLess(QStringView a, QStringView b);

} // namespace torvane::search
