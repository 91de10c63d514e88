#include "planning/NameTypeStats.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <numeric>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "language/FragmentPool.h"
#include "language/LanguageTable.h"
#include "language/NameBuffer.h"
#include "language/RandomSource.h"
#include "planning/NameTypeCapacity.h"
#include "semantics/Semantics.h"
#include "text/TextReading.h"

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

// A name's hash is the polynomial sum of (byte + 1) * kHashBase^k over its
// bytes, the last byte at k = 0, modulo 2^64: the hash of a join follows from
// the hash of its first pieces and the next piece alone, so no join's bytes
// are ever put together. The + 1 keeps a NUL byte from vanishing.
constexpr std::uint64_t kHashBase = 0xC2B2AE3D27D4EB4FULL;

std::uint64_t HashOf(std::string_view bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), std::uint64_t{0},
                           [](std::uint64_t hash, char c) {
                               return hash * kHashBase + static_cast<unsigned char>(c) + 1;
                           });
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Every character of a name read as UTF-8 has one byte that is not a
// continuation byte; read as Windows-1252, every byte is a character. So
// these bytes never outnumber the characters, whichever reading applies.
std::uint64_t LeadBytes(std::string_view bytes) {
    return static_cast<std::uint64_t>(
        std::count_if(bytes.begin(), bytes.end(), [](char c) { return !IsContinuationByte(c); }));
}

std::uint64_t CharactersAsShown(std::string_view bytes) {
    return IsValidUtf8(bytes) ? LeadBytes(bytes) : bytes.size();
}

// One distinct piece of a position, as it is drawn (after the capital).
struct CPiece {
    std::uint64_t hash = 0;
    std::uint64_t power = 1;  // kHashBase to the number of its bytes
    double share = 0.0;       // its chance among the list's fragments
    std::size_t begin = 0;    // where its bytes lie in the position's text
    std::size_t bytes = 0;
    std::uint64_t characters = 0;  // as shown, where it is valid UTF-8
    bool validUtf8 = true;
};

// A list as a position of a pattern draws from it: the capital letter may
// make two fragments one piece ("ae" and "Ae").
struct CPosition {
    std::string text;
    std::vector<CPiece> pieces;
    bool allValidUtf8 = true;
    std::uint64_t fewestCharacters = kMax;  // of the valid pieces
    std::uint64_t mostCharacters = 0;
    std::uint64_t fewestLeadBytes = kMax;
    std::uint64_t mostBytes = 0;
    // How many pieces have each length in bytes.
    std::map<std::size_t, std::uint64_t> piecesOfLength;

    std::string_view Bytes(const CPiece& piece) const {
        return std::string_view(text).substr(piece.begin, piece.bytes);
    }
};

CPosition MakePosition(const CFragmentList& list, bool capital) {
    std::map<std::string, std::uint64_t> times;
    for (const std::string& fragment : list.m_fragments) {
        std::string piece = fragment;
        if (capital && !piece.empty()) piece[0] = UpperCaseAscii(piece[0]);
        ++times[piece];
    }
    CPosition position;
    const auto fragments = static_cast<double>(list.m_fragments.size());
    for (const auto& [bytes, count] : times) {
        CPiece piece;
        piece.hash = HashOf(bytes);
        for (std::size_t i = 0; i < bytes.size(); ++i) piece.power *= kHashBase;
        piece.share = static_cast<double>(count) / fragments;
        piece.begin = position.text.size();
        piece.bytes = bytes.size();
        piece.validUtf8 = IsValidUtf8(bytes);
        piece.characters = piece.validUtf8 ? LeadBytes(bytes) : bytes.size();
        position.text += bytes;
        position.pieces.push_back(piece);
        if (piece.validUtf8) {
            position.fewestCharacters = std::min(position.fewestCharacters, piece.characters);
            position.mostCharacters = std::max(position.mostCharacters, piece.characters);
        } else {
            position.allValidUtf8 = false;
        }
        position.fewestLeadBytes = std::min(position.fewestLeadBytes, LeadBytes(bytes));
        position.mostBytes = std::max<std::uint64_t>(position.mostBytes, bytes.size());
        ++position.piecesOfLength[bytes.size()];
    }
    return position;
}

struct CPattern {
    double chance = 0.0;
    std::vector<const CPosition*> positions;
    // Joins of this pattern are numbered in mixed radix, the last position
    // counting fastest.
    std::uint64_t joins = 1;
    bool allValidUtf8 = true;
};

// Counts the distinct names of a name type's joins, and their chances, with
// a table keyed by the names' hashes: two joins with one hash are compared
// byte for byte, so the count is exact whatever the hashes do.
class CJoinCounter {
  public:
    CJoinCounter(const std::vector<CPattern>& patterns, std::uint64_t joins)
        : m_patterns(patterns) {
        std::size_t slots = 16;
        while (static_cast<double>(slots) * 0.7 < static_cast<double>(joins)) slots *= 2;
        m_table.assign(slots, CEntry{});
        m_mask = slots - 1;
        m_shift = 64 - static_cast<unsigned>(std::countr_zero(slots));
    }

    void Run() {
        for (std::size_t p = 0; p < m_patterns.size(); ++p) {
            m_pattern = static_cast<std::uint32_t>(p);
            const CPattern& pattern = m_patterns[p];
            if (pattern.positions.empty()) {
                Insert(0, pattern.chance, 0);
                Note(0);
            } else {
                Join(pattern, 0, 0, pattern.chance, 0, 0, true);
            }
        }
    }

    template <typename Visit>
    void ForEachName(Visit visit) const {
        for (const CEntry& entry : m_table) {
            if (entry.pattern != kFree) visit(entry.chance);
        }
    }
    std::uint64_t Names() const { return m_names; }
    std::uint64_t Shortest() const { return m_shortest; }
    std::uint64_t Longest() const { return m_longest; }

  private:
    static constexpr std::uint32_t kFree = std::numeric_limits<std::uint32_t>::max();
    // A distinct name, told by one join that makes it: its pattern and its
    // number there, below kEnumerationLimit.
    struct CEntry {
        std::uint64_t hash = 0;
        double chance = 0.0;  // summed over the joins that make the name
        std::uint32_t pattern = kFree;
        std::uint32_t ordinal = 0;
    };

    void Join(const CPattern& pattern, std::size_t at, std::uint64_t hash, double chance,
              std::uint64_t ordinal, std::uint64_t characters, bool valid) {
        const CPosition& position = *pattern.positions[at];
        const std::uint64_t base = ordinal * position.pieces.size();
        if (at + 1 < pattern.positions.size()) {
            for (std::size_t i = 0; i < position.pieces.size(); ++i) {
                const CPiece& piece = position.pieces[i];
                Join(pattern, at + 1, hash * piece.power + piece.hash, chance * piece.share,
                     base + i, characters + piece.characters, valid && piece.validUtf8);
            }
            return;
        }
        // The last position: where nearly all the time goes.
        for (std::size_t i = 0; i < position.pieces.size(); ++i) {
            const CPiece& piece = position.pieces[i];
            Insert(hash * piece.power + piece.hash, chance * piece.share, base + i);
            if (valid && piece.validUtf8) {
                Note(characters + piece.characters);
            } else {
                Measure(base + i);
            }
        }
    }

    void Insert(std::uint64_t hash, double chance, std::uint64_t ordinal) {
        // Fibonacci hashing: the polynomial's low bits depend on the bytes'
        // low bits alone, its high bits after the multiplication on all.
        std::size_t slot = (hash * 0x9E3779B97F4A7C15ULL) >> m_shift;
        for (;; slot = (slot + 1) & m_mask) {
            CEntry& entry = m_table[slot];
            if (entry.pattern == kFree) {
                entry = {hash, chance, m_pattern, static_cast<std::uint32_t>(ordinal)};
                ++m_names;
                return;
            }
            if (entry.hash == hash && SameName(entry, ordinal)) {
                entry.chance += chance;
                return;
            }
        }
    }

    bool SameName(const CEntry& entry, std::uint64_t ordinal) {
        Write(entry.pattern, entry.ordinal, m_first);
        Write(m_pattern, ordinal, m_second);
        return m_first == m_second;
    }

    // The bytes of a pattern's join.
    void Write(std::uint32_t p, std::uint64_t ordinal, std::string& name) {
        const CPattern& pattern = m_patterns[p];
        name.clear();
        m_digits.resize(pattern.positions.size());
        for (std::size_t at = pattern.positions.size(); at-- > 0;) {
            const std::size_t radix = pattern.positions[at]->pieces.size();
            m_digits[at] = ordinal % radix;
            ordinal /= radix;
        }
        for (std::size_t at = 0; at < pattern.positions.size(); ++at) {
            const CPosition& position = *pattern.positions[at];
            name += position.Bytes(position.pieces[m_digits[at]]);
        }
    }

    // A join with a piece that is not UTF-8 on its own is read whole: pieces
    // split inside a character may still make valid UTF-8 together.
    void Measure(std::uint64_t ordinal) {
        Write(m_pattern, ordinal, m_first);
        Note(CharactersAsShown(m_first));
    }

    void Note(std::uint64_t characters) {
        m_shortest = std::min(m_shortest, characters);
        m_longest = std::max(m_longest, characters);
    }

    const std::vector<CPattern>& m_patterns;
    std::vector<CEntry> m_table;
    std::size_t m_mask = 0;
    unsigned m_shift = 0;
    std::uint32_t m_pattern = 0;  // the pattern being joined
    std::uint64_t m_names = 0;
    std::uint64_t m_shortest = kMax;
    std::uint64_t m_longest = 0;
    std::string m_first;
    std::string m_second;
    std::vector<std::size_t> m_digits;
};

// 99 less the expected number of distinct names in a list of 99 draws: a
// name of chance p is in the list with the chance 1 - (1 - p)^99, taken as
// -expm1(99 log1p(-p)) so that a tiny p keeps its digits.
class CRepeatsSum {
  public:
    void Add(double chance) {
        const double p = std::min(chance, 1.0);
        const double present =
            -std::expm1(static_cast<double>(CNameTypeStats::kListSize) * std::log1p(-p));
        // Neumaier's compensated sum: a million terms near 99 / names each.
        const double sum = m_sum + present;
        m_carry += std::abs(m_sum) >= std::abs(present) ? (m_sum - sum) + present
                                                        : (present - sum) + m_sum;
        m_sum = sum;
    }
    double RepeatsIn99() const {
        return std::max(0.0, static_cast<double>(CNameTypeStats::kListSize) - (m_sum + m_carry));
    }

  private:
    double m_sum = 0.0;
    double m_carry = 0.0;
};

// The repeats within the lists of 99 that seed 1's first names make, as
// veltrano-cli --seed 1 prints them; the last list, which is not whole, is
// left out.
double EstimatedRepeats(const CNameType& nameType) {
    CRandomSource source(1);
    CNameBuffer names;
    nameType.AppendNames(names, source, CNameTypeStats::kSampleNames, true);
    const std::string_view text = names.View();
    std::vector<std::string_view> list;
    list.reserve(CNameTypeStats::kListSize);
    std::uint64_t repeats = 0;
    std::uint64_t lists = 0;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t end = text.find('\n', begin);
        list.push_back(text.substr(begin, end - begin));
        begin = end + 1;
        if (list.size() < CNameTypeStats::kListSize) continue;
        std::sort(list.begin(), list.end());
        repeats += list.size() -
                   static_cast<std::size_t>(std::unique(list.begin(), list.end()) - list.begin());
        ++lists;
        list.clear();
    }
    return lists == 0 ? 0.0 : static_cast<double>(repeats) / static_cast<double>(lists);
}

// A lower bound of the distinct names where they are too many to count.
// Joins whose pieces have the same lengths in bytes, position by position,
// make different names whenever one piece differs: the lengths fix where
// each piece lies in the name. Names of different lengths differ too. So a
// pattern makes, for each total length L, at least the largest product of
// the pieces of one length per position over the length choices that add
// up to L; the name type at least the sum over L of the largest of these
// over its patterns (patterns may share names, lengths never).
class CDistinctLowerBound {
  public:
    void Add(const CPattern& pattern) {
        std::vector<std::uint64_t> best{1};  // by total length: the largest product
        for (const CPosition* position : pattern.positions) {
            std::vector<std::uint64_t> next(best.size() + position->mostBytes, 0);
            for (std::size_t length = 0; length < best.size(); ++length) {
                if (best[length] == 0) continue;
                for (const auto& [bytes, count] : position->piecesOfLength) {
                    std::uint64_t& slot = next[length + bytes];
                    slot = std::max(slot, SaturatingMultiply(best[length], count));
                }
            }
            best = std::move(next);
        }
        if (m_best.size() < best.size()) m_best.resize(best.size(), 0);
        for (std::size_t length = 0; length < best.size(); ++length) {
            m_best[length] = std::max(m_best[length], best[length]);
        }
    }
    std::uint64_t Names() const {
        return std::accumulate(
            m_best.begin(), m_best.end(), std::uint64_t{0},
            [](std::uint64_t sum, std::uint64_t count) { return SaturatingAdd(sum, count); });
    }

  private:
    std::vector<std::uint64_t> m_best;
};

}  // namespace

CNameTypeStats MeasureNameTypeStats(const CNameType& nameType, const CLanguageTable& table) {
    CNameTypeStats stats;
    if (!nameType.MakesNonEmptyNames()) {
        // Every draw makes the empty name: one name, certain, of no length,
        // and 98 repeats in a list of 99.
        stats.onlyEmptyNames = true;
        stats.patterns = ChosenPatterns(nameType, table).size();
        stats.names = stats.namesAtMost = 1;
        stats.repeatsIn99 = CNameTypeStats::kListSize - 1;
        stats.rarest = 1.0;
        stats.namesExact = stats.repeatsExact = stats.lengthsExact = stats.rarestExact = true;
        return stats;
    }
    std::map<std::pair<const CFragmentList*, bool>, std::unique_ptr<CPosition>> positions;
    std::vector<CPattern> patterns;
    std::uint64_t joins = 0;
    for (const CChosenPattern& chosen : ChosenPatterns(nameType, table)) {
        CPattern pattern;
        pattern.chance = chosen.chance;
        for (const auto& key : chosen.positions) {
            std::unique_ptr<CPosition>& position = positions[key];
            if (position == nullptr) {
                position = std::make_unique<CPosition>(MakePosition(*key.first, key.second));
            }
            pattern.positions.push_back(position.get());
            pattern.joins = SaturatingMultiply(pattern.joins, position->pieces.size());
            pattern.allValidUtf8 = pattern.allValidUtf8 && position->allValidUtf8;
        }
        joins = SaturatingAdd(joins, pattern.joins);
        patterns.push_back(std::move(pattern));
    }
    stats.patterns = patterns.size();

    // As many joins as --unique counts: the same names, the same count.
    if (joins <= kEnumerationLimit) {
        CJoinCounter counter(patterns, joins);
        counter.Run();
        CRepeatsSum repeats;
        double rarest = 1.0;
        counter.ForEachName([&](double chance) {
            repeats.Add(chance);
            rarest = std::min(rarest, chance);
        });
        stats.names = stats.namesAtMost = counter.Names();
        stats.namesExact = stats.repeatsExact = stats.lengthsExact = stats.rarestExact = true;
        stats.repeatsIn99 = repeats.RepeatsIn99();
        stats.shortest = counter.Shortest();
        stats.longest = counter.Longest();
        stats.rarest = rarest;
        return stats;
    }

    const CNameTypeCapacity capacity = MeasureNameType(nameType, table);
    CDistinctLowerBound lowerBound;
    stats.shortest = kMax;
    stats.lengthsExact = true;
    for (const CPattern& pattern : patterns) {
        lowerBound.Add(pattern);
        // Where every piece is UTF-8, so is every join, and its characters
        // are the sum of its pieces'. Otherwise a name has at least as many
        // characters as lead bytes and at most as many as bytes.
        std::uint64_t shortest = 0;
        std::uint64_t longest = 0;
        for (const CPosition* position : pattern.positions) {
            shortest +=
                pattern.allValidUtf8 ? position->fewestCharacters : position->fewestLeadBytes;
            longest += pattern.allValidUtf8 ? position->mostCharacters : position->mostBytes;
        }
        stats.shortest = std::min(stats.shortest, shortest);
        stats.longest = std::max(stats.longest, longest);
        stats.lengthsExact = stats.lengthsExact && pattern.allValidUtf8;
    }
    stats.names = lowerBound.Names();
    stats.namesAtMost = capacity.maxDistinctNames;
    // Bounds that meet are a count, unless the upper one stopped at 64 bits.
    stats.namesExact = stats.names == stats.namesAtMost && stats.namesAtMost != kMax;
    stats.repeatsIn99 = EstimatedRepeats(nameType);
    stats.rarest = std::exp(capacity.logMinNameProbability);
    return stats;
}
