#include "planning/ContainsMatcher.h"

#include <algorithm>
#include <iterator>

// Each character that occurs in an entry gets a class of its own, in the
// order of the characters, so that sorted entries stay sorted as classes.
void CContainsMatcher::AssignClasses(const std::vector<std::u32string_view>& entries) {
    std::vector<char32_t> chars;
    for (const std::u32string_view entry : entries) {
        chars.insert(chars.end(), entry.begin(), entry.end());
    }
    std::sort(chars.begin(), chars.end());
    chars.erase(std::unique(chars.begin(), chars.end()), chars.end());
    m_asciiClass.fill(kNoClass);
    m_otherChars.clear();
    for (std::uint32_t i = 0; i < chars.size(); ++i) {
        if (chars[i] < 0x80) {
            m_asciiClass[chars[i]] = i + 1;
        } else {
            m_otherChars.push_back(chars[i]);
        }
    }
    m_firstOtherClass = static_cast<std::uint32_t>(chars.size() - m_otherChars.size()) + 1;
    m_classCount = static_cast<std::uint32_t>(chars.size()) + 1;
}

std::uint32_t CContainsMatcher::OtherClass(char32_t c) const {
    const auto found = std::lower_bound(m_otherChars.begin(), m_otherChars.end(), c);
    if (found == m_otherChars.end() || *found != c) return kNoClass;
    return m_firstOtherClass + static_cast<std::uint32_t>(found - m_otherChars.begin());
}

void CContainsMatcher::Build(const std::vector<std::u32string>& entries,
                             std::size_t maxDenseCells) {
    std::vector<std::u32string_view> sorted;
    sorted.reserve(entries.size());
    std::copy_if(entries.begin(), entries.end(), std::back_inserter(sorted),
                 [](const std::u32string& entry) { return !entry.empty(); });
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    AssignClasses(sorted);
    BuildTrie(sorted);
    LinkFailures();
    FillDenseRows(maxDenseCells);
}

// Level by level over the sorted entries: at each depth, the entries that
// share a node and the next class share the next node too. So the nodes of a
// level come in the order of their parents, each parent's edges lie
// together, sorted, and the node an edge makes follows the one before it.
void CContainsMatcher::BuildTrie(const std::vector<std::u32string_view>& entries) {
    m_nodes.assign(1, CNode{});
    m_edgeClasses.clear();
    std::vector<std::uint32_t> nodeOf(entries.size(), kRoot);  // at the current depth
    std::vector<std::uint32_t> longer(entries.size());         // the entries that go on, sorted
    for (std::uint32_t i = 0; i < longer.size(); ++i) longer[i] = i;
    for (std::size_t depth = 0; !longer.empty(); ++depth) {
        std::uint32_t lastParent = kRoot;
        std::uint32_t lastClass = kNoClass;
        std::uint32_t node = kRoot;
        std::size_t kept = 0;
        for (const std::uint32_t i : longer) {
            const std::uint32_t parent = nodeOf[i];
            const std::uint32_t c = ClassOf(entries[i][depth]);
            if (node == kRoot || parent != lastParent || c != lastClass) {
                node = static_cast<std::uint32_t>(m_nodes.size());
                m_nodes.emplace_back();
                m_edgeClasses.push_back(c);
                if (m_nodes[parent].endEdge == 0) m_nodes[parent].firstEdge = node - 1;
                m_nodes[parent].endEdge = node;
                lastParent = parent;
                lastClass = c;
            }
            nodeOf[i] = node;
            if (entries[i].size() == depth + 1) {
                m_nodes[node].matches = true;
            } else {
                longer[kept++] = i;
            }
        }
        longer.resize(kept);
    }
}

// In node order, which is level order: a node's failure link leads to a
// shallower node, whose own link is known by then.
void CContainsMatcher::LinkFailures() {
    for (std::uint32_t parent = 0; parent < m_nodes.size(); ++parent) {
        const CNode& from = m_nodes[parent];
        for (std::uint32_t e = from.firstEdge; e < from.endEdge; ++e) {
            std::uint32_t fail = kRoot;
            if (parent != kRoot) {
                for (std::uint32_t tried = from.fail;; tried = m_nodes[tried].fail) {
                    fail = Child(tried, m_edgeClasses[e]);
                    if (fail != kRoot || tried == kRoot) break;
                }
            }
            CNode& child = m_nodes[e + 1];
            child.fail = fail;
            child.matches = child.matches || m_nodes[fail].matches;
        }
    }
}

// A node's row holds where every class leads from it, failure links already
// followed. A node's failure link lies before it, so its row is complete
// when the node's is made.
void CContainsMatcher::FillDenseRows(std::size_t maxDenseCells) {
    m_denseNodes = static_cast<std::uint32_t>(
        std::clamp<std::size_t>(maxDenseCells / m_classCount, 1, m_nodes.size()));
    m_dense.assign(std::size_t{m_denseNodes} * m_classCount, kRoot);
    const auto rowOf = [&](std::uint32_t node) {
        return m_dense.begin() + static_cast<std::ptrdiff_t>(node) * m_classCount;
    };
    for (std::uint32_t node = 0; node < m_denseNodes; ++node) {
        const CNode& from = m_nodes[node];
        if (node != kRoot) std::copy_n(rowOf(from.fail), m_classCount, rowOf(node));
        for (std::uint32_t e = from.firstEdge; e < from.endEdge; ++e) {
            rowOf(node)[m_edgeClasses[e]] = Cell(e + 1);
        }
    }
}

std::uint32_t CContainsMatcher::Child(std::uint32_t node, std::uint32_t c) const {
    const auto begin = m_edgeClasses.begin() + m_nodes[node].firstEdge;
    const auto end = m_edgeClasses.begin() + m_nodes[node].endEdge;
    const auto found = std::lower_bound(begin, end, c);
    if (found == end || *found != c) return kRoot;
    return static_cast<std::uint32_t>(found - m_edgeClasses.begin()) + 1;
}

std::uint32_t CContainsMatcher::Step(std::uint32_t state, std::uint32_t c) const {
    // Deep nodes have only their edges; their failure links lead back to nodes
    // with a full row.
    while (state >= m_denseNodes) {
        const std::uint32_t child = Child(state, c);
        if (child != kRoot) return Cell(child);
        state = m_nodes[state].fail;
    }
    return m_dense[std::size_t{state} * m_classCount + c];
}

bool CContainsMatcher::FindsIn(std::u32string_view text) const {
    std::uint32_t state = kRoot;
    for (const char32_t character : text) {
        const std::uint32_t c = ClassOf(character);
        // A character of no entry ends every beginning of one.
        if (c == kNoClass) {
            state = kRoot;
            continue;
        }
        const std::uint32_t cell = Step(state, c);
        if ((cell & kMatches) != 0) return true;
        state = cell;
    }
    return false;
}
