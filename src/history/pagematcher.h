#pragma once

// Finds which of many page names occur inside a text, without regard to letter case, in one pass over
// the text (an Aho-Corasick automaton). The history window asks this for every history record against
// every page of the page list; comparing each pair instead costs 20000 x 20000 searches at capacity.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <string>
#include <vector>

namespace torvane::history {

class PageNameMatcher final {
public:
    // Pattern i is patterns[i]; empty patterns never match. Letter case is ignored (case folding).
    // Patterns equal but for case answer under the first of them.
    explicit PageNameMatcher(const std::vector<QString>& patterns);

    // Calls onMatch(i) for every occurrence of pattern i in `text` (so possibly more than once).
    template <typename OnMatch> void scan(QStringView text, OnMatch&& onMatch) const {
        std::int32_t state = 0;
        for (const QChar c : text) {
            const char16_t ch = fold(c);
            std::int32_t next = child(state, ch);
            while (next < 0 && state != 0) {
                state = nodes_[static_cast<std::size_t>(state)].fail;
                next = child(state, ch);
            }
            state = next < 0 ? 0 : next;
            const Node& reached = nodes_[static_cast<std::size_t>(state)];
            std::int32_t hit = reached.pattern >= 0 ? state : reached.output;
            while (hit >= 0) {
                const Node& node = nodes_[static_cast<std::size_t>(hit)];
                onMatch(node.pattern);
                hit = node.output;
            }
        }
    }

    static char16_t fold(QChar c) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            return (u >= u'A' && u <= u'Z') ? static_cast<char16_t>(u + 32) : u;
        }
        return c.toCaseFolded().unicode();
    }

    std::size_t nodeCount() const { return nodes_.size(); }

private:
    // The trie in breadth-first order: a node's children are consecutive and sorted by character, so a
    // step is a short scan of neighbouring memory rather than a hash lookup.
    struct Node {
        std::int32_t firstChild = 0;
        std::int32_t childCount = 0;
        std::int32_t fail = 0;
        std::int32_t output = -1;  // nearest node on the fail chain that ends a pattern
        std::int32_t pattern = -1; // the pattern ending here
        char16_t ch = 0;
    };

    // The phases of building: the trie grown from the folded patterns taken in `order`, renumbered
    // breadth first into nodes_, then given its fail and output links.
    struct RawNode;
    static std::vector<RawNode> growTrie(const std::vector<std::u16string>& folded,
                                         const std::vector<std::int32_t>& order);
    void renumberBreadthFirst(const std::vector<RawNode>& raw);
    void linkFailures();

    std::int32_t child(std::int32_t node, char16_t ch) const {
        const Node& n = nodes_[static_cast<std::size_t>(node)];
        std::int32_t lo = n.firstChild;
        std::int32_t hi = n.firstChild + n.childCount;
        while (hi - lo > 8) {
            const std::int32_t mid = lo + (hi - lo) / 2;
            if (nodes_[static_cast<std::size_t>(mid)].ch < ch) {
                lo = mid + 1;
            } else if (nodes_[static_cast<std::size_t>(mid)].ch == ch) {
                return mid;
            } else {
                hi = mid;
            }
        }
        for (std::int32_t i = lo; i < hi; ++i) {
            const char16_t c = nodes_[static_cast<std::size_t>(i)].ch;
            if (c == ch) {
                return i;
            }
            if (c > ch) {
                break;
            }
        }
        return -1;
    }

    std::vector<Node> nodes_;
};

} // namespace torvane::history
