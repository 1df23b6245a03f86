#include <algorithm>
#include <history/pagematcher.h>
#include <numeric>

namespace torvane::history {

// A trie node as the trie grows: children as a linked list, appended in character order.
struct PageNameMatcher::RawNode {
    std::int32_t firstChild = -1;
    std::int32_t lastChild = -1;
    std::int32_t nextSibling = -1;
    std::int32_t pattern = -1;
    char16_t ch = 0;
};

namespace {

std::vector<std::u16string> foldAll(const std::vector<QString>& patterns) {
    std::vector<std::u16string> folded(patterns.size());
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        folded[i].reserve(static_cast<std::size_t>(patterns[i].size()));
        for (const QChar c : patterns[i]) {
            folded[i].push_back(PageNameMatcher::fold(c));
        }
    }
    return folded;
}

// The pattern numbers in the order of their folded text; equal texts keep their numbers' order.
std::vector<std::int32_t> sortedOrder(const std::vector<std::u16string>& folded) {
    std::vector<std::int32_t> order(folded.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
        return folded[static_cast<std::size_t>(a)] < folded[static_cast<std::size_t>(b)];
    });
    return order;
}

std::size_t commonPrefix(const std::u16string& a, const std::u16string& b) {
    const std::size_t limit = std::min(a.size(), b.size());
    std::size_t common = 0;
    while (common < limit && a[common] == b[common]) {
        ++common;
    }
    return common;
}

} // namespace

PageNameMatcher::PageNameMatcher(const std::vector<QString>& patterns) {
    // Folded once and taken in sorted order, each pattern shares the longest common prefix with the one
    // before it, and the trie grows along a single path without any lookups.
    const std::vector<std::u16string> folded = foldAll(patterns);
    renumberBreadthFirst(growTrie(folded, sortedOrder(folded)));
    linkFailures();
}

std::vector<PageNameMatcher::RawNode> PageNameMatcher::growTrie(const std::vector<std::u16string>& folded,
                                                                const std::vector<std::int32_t>& order) {
    std::size_t totalChars = 0;
    for (const std::u16string& p : folded) {
        totalChars += p.size();
    }
    std::vector<RawNode> raw(1);
    raw.reserve(totalChars + 1);
    std::vector<std::int32_t> path{0}; // the nodes along the previous pattern
    const std::u16string* previous = nullptr;
    for (const std::int32_t id : order) {
        const std::u16string& p = folded[static_cast<std::size_t>(id)];
        if (p.empty()) {
            continue;
        }
        const std::size_t common = previous != nullptr ? commonPrefix(*previous, p) : 0;
        path.resize(common + 1);
        for (std::size_t d = common; d < p.size(); ++d) {
            const auto created = static_cast<std::int32_t>(raw.size());
            RawNode node;
            node.ch = p[d];
            raw.push_back(node);
            RawNode& parent = raw[static_cast<std::size_t>(path[d])];
            if (parent.lastChild < 0) {
                parent.firstChild = created;
            } else {
                raw[static_cast<std::size_t>(parent.lastChild)].nextSibling = created;
            }
            parent.lastChild = created;
            path.push_back(created);
        }
        RawNode& end = raw[static_cast<std::size_t>(path[p.size()])];
        if (end.pattern < 0) {
            end.pattern = id; // the first of patterns equal but for case
        }
        previous = &p;
    }
    return raw;
}

void PageNameMatcher::renumberBreadthFirst(const std::vector<RawNode>& raw) {
    // Each node's children become one consecutive run.
    nodes_.resize(raw.size());
    std::vector<std::int32_t> rawOf(raw.size());
    rawOf[0] = 0;
    std::int32_t next = 1;
    for (std::int32_t n = 0; n < static_cast<std::int32_t>(raw.size()); ++n) {
        const RawNode& r = raw[static_cast<std::size_t>(rawOf[static_cast<std::size_t>(n)])];
        Node& node = nodes_[static_cast<std::size_t>(n)];
        node.pattern = r.pattern;
        node.ch = r.ch;
        node.firstChild = next;
        for (std::int32_t c = r.firstChild; c >= 0; c = raw[static_cast<std::size_t>(c)].nextSibling) {
            rawOf[static_cast<std::size_t>(next++)] = c;
        }
        node.childCount = next - node.firstChild;
    }
}

void PageNameMatcher::linkFailures() {
    // Breadth first, so that every node's fail target is finished before its children need it.
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
