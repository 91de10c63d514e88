// How names are learned
//
// A name is read as a row of characters (a letter with its accents is one),
// each a vowel, a consonant, a syllable by itself (Chinese, Japanese, Korean
// and unknown scripts) or no letter at all (blank, hyphen, apostrophe). A
// run of vowels, or one syllable character, is a nucleus; "Jennifer" has
// three (e, i, e). Two ways of cutting the examples give the lists:
//
// Syllables. Every name is cut after each nucleus, and once more where its
// first nucleus begins: "J" "e" "nni" "fe" "r". The consonants before the
// first nucleus go to the list "anlaut", the first nucleus to "kern", the
// following syllables to "silbe", the consonants after the last nucleus
// (often none) to "schluss"; a name that begins with its nucleus keeps its
// first syllable whole in "anfang", so that its capital stays in front. A
// name with n nuclei becomes the pattern anlaut + kern + n-1 × silbe +
// schluss (or anfang + n-1 × silbe + schluss). This makes new names out of
// the sounds of many examples, and reaches names whose halves no example
// shares.
//
// Halves. Every name is also cut at each place between its first and its
// last nucleus, except inside a run of vowels: "Je|nnifer", "Jen|nifer",
// "Jenn|ifer", ... The front goes to a "vorn" list, the back to the
// "hinten" list of the same kind of join: the kind of character on either
// side of the cut (vowel, consonant, other, and a capital after it). Joining
// a front and a back of the same kind repeats a join that occurs in the
// examples: "Jean-" only meets backs such as "Luc" that followed a hyphen,
// and a front that ended inside a consonant cluster meets a back that begins
// inside one. Halves keep long stretches of real names and so sound most
// like them. (A cut inside a run of vowels would join "Dionysi|os" to
// "E|irene" as "Dionysiirene".)
//
// Each example weighs the same: half of it goes to its syllable pattern,
// half to its halves, shared among its cuts. A name with only one nucleus
// has no halves, nor has one of more than kMaxUnitsForHalves characters;
// such a name goes wholly to its syllable pattern. A name without any
// vowel, or with more than kMaxSyllables syllables, is kept whole ("ganz")
// in place of its syllables. Capitals, blanks, hyphens and apostrophes stay
// inside the fragments where the examples had them, so no pattern needs
// "^".
//
// No cut lets a fragment begin with "#" (the files cannot hold such a line)
// or end with a CR (the line end would swallow it).

#include "learning/NameLearner.h"

#include <algorithm>
#include <limits>
#include <map>

#include "learning/NameLetters.h"

namespace {

// Longer names give syllables only: their halves would cost memory by the
// square of their length, and few names are that long.
constexpr std::size_t kMaxUnitsForHalves = 32;

// A name of more syllables is kept whole: its pattern would need a list
// name for each, and a line of the semantics file holds about a dozen.
constexpr std::size_t kMaxSyllables = 10;

// The weight of half an example, in whole numbers so that no rounding can
// differ between machines. Twelve shares evenly among 1, 2, 3, 4 or 6 cuts;
// for other numbers of cuts the first few get one more.
constexpr std::uint64_t kHalfExample = 12;

bool IsNucleus(const CNameUnit& unit) {
    return unit.kind == CLetterKind::kVowel || unit.kind == CLetterKind::kSyllable;
}

// The kind of character on one side of a cut, as a list name shows it:
// v(okal), k(onsonant), z(eichen), and g(roß) for a capital that begins a
// back half, which must not follow a small letter ("Jean-|Luc", "Mc|Donald").
char JoinClass(const CNameUnit& unit, bool front) {
    if (!front && unit.capital) return 'g';
    switch (unit.kind) {
        case CLetterKind::kVowel:
        case CLetterKind::kSyllable:
            return 'v';
        case CLetterKind::kConsonant:
            return 'k';
        case CLetterKind::kOther:
            break;
    }
    return 'z';
}

bool StartsWithHash(std::string_view name, const CNameUnit& unit) {
    return name[unit.begin] == '#';
}

// Where the syllable cuts lie: after each nucleus, as unit indexes. A cut
// before a "#" moves behind it, so the "#" stays with the syllable before.
std::vector<std::size_t> SyllableCuts(std::string_view name, const std::vector<CNameUnit>& units) {
    std::vector<std::size_t> cuts;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const bool endsNucleus =
            units[i].kind == CLetterKind::kSyllable ||
            (units[i].kind == CLetterKind::kVowel &&
             (i + 1 == units.size() || units[i + 1].kind != CLetterKind::kVowel));
        if (!endsNucleus) continue;
        std::size_t cut = i + 1;
        while (cut < units.size() && StartsWithHash(name, units[cut])) ++cut;
        cuts.push_back(cut);
    }
    return cuts;
}

class CLearner {
  public:
    void Add(const std::string& name);
    CLearnedNameType Result(std::size_t exampleCount);

  private:
    void AddSyllables(const std::string& name, const std::vector<CNameUnit>& units,
                      const std::vector<std::size_t>& cuts, std::uint64_t weight);
    std::size_t AddHalves(const std::string& name, const std::vector<CNameUnit>& units);

    struct CJoin {
        std::vector<std::string> fronts;
        std::vector<std::string> backs;
        std::uint64_t weight = 0;
    };

    std::vector<std::string> m_onsets;
    std::vector<std::string> m_firstNuclei;
    std::vector<std::string> m_first;
    std::vector<std::string> m_syllables;
    std::vector<std::string> m_last;
    std::vector<std::string> m_whole;
    std::uint64_t m_wholeWeight = 0;
    // By whether the first syllable begins with its nucleus (these last),
    // and by the number of nuclei.
    std::map<std::pair<bool, std::size_t>, std::uint64_t> m_syllableWeights;
    std::map<std::string, CJoin> m_joins;  // by kind of join, "vk"
};

std::string Bytes(const std::string& name, const std::vector<CNameUnit>& units, std::size_t from,
                  std::size_t to) {
    const std::size_t begin = from < units.size() ? units[from].begin : name.size();
    const std::size_t end = to < units.size() ? units[to].begin : name.size();
    return name.substr(begin, end - begin);
}

void CLearner::Add(const std::string& name) {
    const std::vector<CNameUnit> units = NameUnits(name);
    const std::vector<std::size_t> cuts = SyllableCuts(name, units);
    const bool hasHalves = units.size() <= kMaxUnitsForHalves && AddHalves(name, units) > 0;
    const std::uint64_t weight = hasHalves ? kHalfExample : 2 * kHalfExample;
    if (cuts.empty() || cuts.size() > kMaxSyllables) {
        m_whole.push_back(name);
        m_wholeWeight += weight;
    } else {
        AddSyllables(name, units, cuts, weight);
    }
}

void CLearner::AddSyllables(const std::string& name, const std::vector<CNameUnit>& units,
                            const std::vector<std::size_t>& cuts, std::uint64_t weight) {
    const auto nucleus = static_cast<std::size_t>(
        std::find_if(units.begin(), units.end(), IsNucleus) - units.begin());
    // An onset that ends in a CR stays with its nucleus, like one that
    // begins with the nucleus.
    const bool split = nucleus > 0 && name[units[nucleus].begin - 1] != '\r';
    if (split) {
        m_onsets.push_back(Bytes(name, units, 0, nucleus));
        m_firstNuclei.push_back(Bytes(name, units, nucleus, cuts.front()));
    } else {
        m_first.push_back(Bytes(name, units, 0, cuts.front()));
    }
    for (std::size_t k = 1; k < cuts.size(); ++k) {
        m_syllables.push_back(Bytes(name, units, cuts[k - 1], cuts[k]));
    }
    m_last.push_back(Bytes(name, units, cuts.back(), units.size()));
    m_syllableWeights[{!split, cuts.size()}] += weight;
}

std::size_t CLearner::AddHalves(const std::string& name, const std::vector<CNameUnit>& units) {
    const auto firstNucleus = std::find_if(units.begin(), units.end(), IsNucleus);
    const auto lastNucleus = std::find_if(units.rbegin(), units.rend(), IsNucleus);
    if (firstNucleus == units.end()) return 0;
    const auto from = static_cast<std::size_t>(firstNucleus - units.begin()) + 1;
    const auto to = static_cast<std::size_t>(units.rend() - lastNucleus) - 1;
    // Both halves keep a nucleus: the cut lies after the first and at or
    // before the last.
    std::vector<std::size_t> cuts;
    for (std::size_t i = from; i <= to && i < units.size(); ++i) {
        const bool inVowels =
            units[i - 1].kind == CLetterKind::kVowel && units[i].kind == CLetterKind::kVowel;
        if (inVowels || StartsWithHash(name, units[i]) || name[units[i].begin - 1] == '\r') {
            continue;
        }
        cuts.push_back(i);
    }
    for (std::size_t k = 0; k < cuts.size(); ++k) {
        const std::size_t i = cuts[k];
        const std::string kind{JoinClass(units[i - 1], true), JoinClass(units[i], false)};
        CJoin& join = m_joins[kind];
        join.fronts.push_back(name.substr(0, units[i].begin));
        join.backs.push_back(name.substr(units[i].begin));
        join.weight += kHalfExample / cuts.size() + (k < kHalfExample % cuts.size() ? 1 : 0);
    }
    return cuts.size();
}

// A pattern's weight as the semantics file holds it: above 0, which reads
// as 10, and within its 32-bit range.
std::uint32_t Weight(std::uint64_t weight) {
    constexpr std::uint64_t kMost = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(weight, 1, kMost));
}

std::size_t AddList(CLearnedNameType& learned, std::string role, std::vector<std::string> list) {
    std::sort(list.begin(), list.end());
    learned.lists.push_back({std::move(role), std::move(list)});
    return learned.lists.size() - 1;
}

CLearnedNameType CLearner::Result(std::size_t exampleCount) {
    CLearnedNameType learned;
    learned.exampleCount = exampleCount;
    // Lists that no pattern uses stay out; their index is never read.
    const auto add = [&learned](std::string role, std::vector<std::string>& list) {
        return list.empty() ? 0 : AddList(learned, std::move(role), std::move(list));
    };
    const std::size_t onset = add("anlaut", m_onsets);
    const std::size_t firstNucleus = add("kern", m_firstNuclei);
    const std::size_t first = add("anfang", m_first);
    const std::size_t syllable = add("silbe", m_syllables);
    const std::size_t last = add("schluss", m_last);
    for (const auto& [shape, weight] : m_syllableWeights) {
        const auto& [beginsWithNucleus, nuclei] = shape;
        const bool split = !beginsWithNucleus;
        CLearnedPattern pattern{
            (split ? "silben_" : "vokal_silben_") + std::to_string(nuclei), Weight(weight), {}};
        if (split) {
            pattern.lists = {onset, firstNucleus};
        } else {
            pattern.lists = {first};
        }
        pattern.lists.insert(pattern.lists.end(), nuclei - 1, syllable);
        pattern.lists.push_back(last);
        learned.patterns.push_back(std::move(pattern));
    }
    if (!m_whole.empty()) {
        const std::size_t whole = AddList(learned, "ganz", std::move(m_whole));
        learned.patterns.push_back({"ganz", Weight(m_wholeWeight), {whole}});
    }
    for (auto& [kind, join] : m_joins) {
        const std::size_t front = AddList(learned, "vorn_" + kind, std::move(join.fronts));
        const std::size_t back = AddList(learned, "hinten_" + kind, std::move(join.backs));
        learned.patterns.push_back({"haelften_" + kind, Weight(join.weight), {front, back}});
    }
    return learned;
}

}  // namespace

CLearnedNameType LearnNameType(const std::vector<std::string>& examples) {
    CLearner learner;
    for (const std::string& name : examples) learner.Add(name);
    return learner.Result(examples.size());
}
