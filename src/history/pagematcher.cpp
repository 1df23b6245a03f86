#include <algorithm>
#include <history/pagematcher.h>
#include <numeric>

namespace torvane::history {

namespace {

bool lessFolded(const std::u16string& a, const std::u16string& b) {
    return a < b;
}

} // namespace

PageNameMatcher::PageNameMatcher(const std::vector<QString>& patterns) {
    // Fold every pattern once and take them in sorted order: each one then shares the longest common
    // prefix with the one before it, and the trie grows along a single path without any lookups.
    std::vector<std::u16string> folded(patterns.size());
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        folded[i].reserve(static_cast<std::size_t>(patterns[i].size()));
        for (const QChar c : patterns[i]) {
            folded[i].push_back(fold(c));
        }
    }
    std::vector<std::int32_t> order(patterns.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
        return lessFolded(folded[static_cast<std::size_t>(a)], folded[static_cast<std::size_t>(b)]);
    });

    // The trie in creation order: children as linked lists, appended in character order.
    struct Raw {
        std::int32_t firstChild = -1;
        std::int32_t lastChild = -1;
        std::int32_t nextSibling = -1;
        std::int32_t pattern = -1;
        char16_t ch = 0;
    };
    std::size_t totalChars = 0;
    for (const std::u16string& p : folded) {
        totalChars += p.size();
    }
    std::vector<Raw> raw(1);
    raw.reserve(totalChars + 1);
    std::vector<std::int32_t> path{0}; // the nodes along the previous pattern
    const std::u16string* previous = nullptr;
    for (const std::int32_t id : order) {
        const std::u16string& p = folded[static_cast<std::size_t>(id)];
        if (p.empty()) {
            continue;
        }
        std::size_t common = 0;
        if (previous != nullptr) {
            const std::size_t limit = std::min(previous->size(), p.size());
            while (common < limit && (*previous)[common] == p[common]) {
                ++common;
            }
        }
        path.resize(common + 1);
        for (std::size_t d = common; d < p.size(); ++d) {
            const std::int32_t parent = path[d];
            const auto created = static_cast<std::int32_t>(raw.size());
            Raw node;
            node.ch = p[d];
            raw.push_back(node);
            Raw& par = raw[static_cast<std::size_t>(parent)];
            if (par.lastChild < 0) {
                par.firstChild = created;
            } else {
                raw[static_cast<std::size_t>(par.lastChild)].nextSibling = created;
            }
            par.lastChild = created;
            path.push_back(created);
        }
        Raw& end = raw[static_cast<std::size_t>(path[p.size()])];
        if (end.pattern < 0) {
            end.pattern = id; // the first of patterns equal but for case
        }
        previous = &p;
    }

    // Renumber breadth first: each node's children become one consecutive run.
    nodes_.resize(raw.size());
    std::vector<std::int32_t> rawOf(raw.size());
    rawOf[0] = 0;
    std::int32_t next = 1;
    for (std::int32_t n = 0; n < static_cast<std::int32_t>(raw.size()); ++n) {
        const Raw& r = raw[static_cast<std::size_t>(rawOf[static_cast<std::size_t>(n)])];
        Node& node = nodes_[static_cast<std::size_t>(n)];
        node.pattern = r.pattern;
        node.ch = r.ch;
        node.firstChild = next;
        for (std::int32_t c = r.firstChild; c >= 0; c = raw[static_cast<std::size_t>(c)].nextSibling) {
            rawOf[static_cast<std::size_t>(next++)] = c;
        }
        node.childCount = next - node.firstChild;
    }

    // Fail links, breadth first, so that every node's fail target is finished before its children need it.
    for (std::int32_t u = 0; u < static_cast<std::int32_t>(nodes_.size()); ++u) {
        const Node parent = nodes_[static_cast<std::size_t>(u)];
        for (std::int32_t v = parent.firstChild; v < parent.firstChild + parent.childCount; ++v) {
            Node& node = nodes_[static_cast<std::size_t>(v)];
            if (u == 0) {
                node.fail = 0;
            } else {
                std::int32_t f = parent.fail;
                std::int32_t target = child(f, node.ch);
                while (target < 0 && f != 0) {
                    f = nodes_[static_cast<std::size_t>(f)].fail;
                    target = child(f, node.ch);
                }
                node.fail = target < 0 ? 0 : target;
            }
            const Node& failNode = nodes_[static_cast<std::size_t>(node.fail)];
            node.output = failNode.pattern >= 0 ? node.fail : failNode.output;
        }
    }
}

} // namespace torvane::history
