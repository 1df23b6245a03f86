#include <algorithm>
#include <search/prefixorder.h>

namespace torvane::search {

bool codeUnitLess(QStringView a, QStringView b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](QChar x, QChar y) { return x.unicode() < y.unicode(); });
}

PrefixOrder::PrefixOrder(std::vector<QString> keys) : keys_(std::move(keys)) {
    for (std::size_t slot = 1; slot < keys_.size(); ++slot) {
        if (!keys_[slot].isEmpty()) {
            all_.push_back(static_cast<int>(slot));
        }
    }
    sorted_ = all_;
    std::stable_sort(sorted_.begin(), sorted_.end(), [this](int a, int b) {
        return codeUnitLess(keys_[static_cast<std::size_t>(a)], keys_[static_cast<std::size_t>(b)]);
    });
}

std::vector<int> PrefixOrder::slotsWithPrefix(QStringView prefix) const {
    if (prefix.isEmpty()) {
        return all_;
    }
    auto it = std::lower_bound(sorted_.begin(), sorted_.end(), prefix, [this](int slot, QStringView p) {
        return codeUnitLess(keys_[static_cast<std::size_t>(slot)], p);
    });
    std::vector<int> found;
    for (; it != sorted_.end() && QStringView(keys_[static_cast<std::size_t>(*it)]).startsWith(prefix);
         ++it) {
        found.push_back(*it);
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace torvane::search
