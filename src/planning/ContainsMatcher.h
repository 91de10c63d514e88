#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Finds whether any of a set of folded entries occurs in a text, in one pass
// over the text for all entries together (Aho-Corasick). The characters of
// the entries are numbered as classes (every other character is class 0, and
// ends any match in progress); the entries' common beginnings form a trie
// over those classes, its nodes numbered level by level. Matching spends most
// steps near the root, so the first nodes get a full row of where each class
// leads (failure links already followed): one lookup a character. Deeper
// nodes, which a text seldom reaches, keep only their sorted edges, so that
// the rows stay within kMaxDenseCells whatever the alphabet.
class CContainsMatcher {
  public:
    // At most this many cells of full rows, 1 MiB.
    static constexpr std::size_t kMaxDenseCells = std::size_t{1} << 18;

    // Replaces the entries. An empty entry is left out: it would be found in
    // every text. Below `maxDenseCells`, fewer nodes get full rows (the root
    // always does).
    void Build(const std::vector<std::u32string>& entries,
               std::size_t maxDenseCells = kMaxDenseCells);
    bool FindsIn(std::u32string_view text) const;
    bool Empty() const { return m_nodes.size() <= 1; }

  private:
    static constexpr std::uint32_t kRoot = 0;
    static constexpr std::uint32_t kNoClass = 0;
    // Set in a step's result (a row's cell) when the node it leads to
    // matches, so that matching need not look at the node.
    static constexpr std::uint32_t kMatches = std::uint32_t{1} << 31;

    // A node's edges are m_edgeClasses from firstEdge to endEdge, sorted; the
    // edge with index e leads to node e + 1.
    struct CNode {
        std::uint32_t firstEdge = 0;
        std::uint32_t endEdge = 0;
        // The node for the longest proper ending of this node's text that
        // begins an entry: where matching goes on when no edge fits. It lies
        // on a shallower level, so before this node.
        std::uint32_t fail = kRoot;
        // This node's text ends with an entry: itself, or one reached through
        // its failure links, so that one entry inside another is found too.
        bool matches = false;
    };

    void AssignClasses(const std::vector<std::u32string_view>& entries);
    std::uint32_t ClassOf(char32_t c) const { return c < 0x80 ? m_asciiClass[c] : OtherClass(c); }
    std::uint32_t OtherClass(char32_t c) const;
    void BuildTrie(const std::vector<std::u32string_view>& entries);
    void LinkFailures();
    void FillDenseRows(std::size_t maxDenseCells);
    // The node the edge for `c` leads to from `node`; kRoot (never a target)
    // for none.
    std::uint32_t Child(std::uint32_t node, std::uint32_t c) const;
    // The node after `c` from `state`, failure links followed, as a cell.
    std::uint32_t Step(std::uint32_t state, std::uint32_t c) const;
    std::uint32_t Cell(std::uint32_t node) const {
        return m_nodes[node].matches ? node | kMatches : node;
    }

    std::array<std::uint32_t, 128> m_asciiClass{};
    std::vector<char32_t> m_otherChars;  // sorted; classes from m_firstOtherClass on
    std::uint32_t m_firstOtherClass = 1;
    std::uint32_t m_classCount = 1;

    std::vector<CNode> m_nodes;
    std::vector<std::uint32_t> m_edgeClasses;
    std::vector<std::uint32_t> m_dense;  // m_denseNodes rows of m_classCount cells
    std::uint32_t m_denseNodes = 0;
};
