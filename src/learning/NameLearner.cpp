// How names are learned
//
// A name is read as a row of characters (a letter with its accents is one),
// each a vowel, a consonant, a syllable by itself (Chinese, Japanese, Korean
// and unknown scripts) or no letter at all (blank, hyphen, apostrophe). A
// run of vowels, or one syllable character, is a nucleus; "Jennifer" has
// three (e, i, e). Two ways of cutting the examples give the lists:
//
// Syllables. Every name is cut after each nucleus: "Je" "nni" "fe" "r". The
// first piece goes to the list "anfang", the following ones to "silbe", the
// consonants after the last nucleus (often none) to "schluss". A name with n
// nuclei becomes the pattern anfang + n-1 × silbe + schluss. This makes new
// names out of syllables of many examples, and reaches names whose halves no
// example shares.
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
#include <cmath>
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

// The weight of half an example; fine enough that the halves' shares,
// rounded, keep their proportions.
constexpr double kHalfExample = 10.0;

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
                      const std::vector<std::size_t>& cuts, double weight);
    std::size_t AddHalves(const std::string& name, const std::vector<CNameUnit>& units);

    struct CJoin {
        std::vector<std::string> fronts;
        std::vector<std::string> backs;
        double weight = 0.0;
    };

    std::vector<std::string> m_first;
    std::vector<std::string> m_syllables;
    std::vector<std::string> m_last;
    std::vector<std::string> m_whole;
    double m_wholeWeight = 0.0;
    std::map<std::size_t, double> m_syllableWeights;  // by number of nuclei
    std::map<std::string, CJoin> m_joins;             // by kind of join, "vk"
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
    const double weight = hasHalves ? kHalfExample : 2 * kHalfExample;
    if (cuts.empty() || cuts.size() > kMaxSyllables) {
        m_whole.push_back(name);
        m_wholeWeight += weight;
    } else {
        AddSyllables(name, units, cuts, weight);
    }
}

void CLearner::AddSyllables(const std::string& name, const std::vector<CNameUnit>& units,
                            const std::vector<std::size_t>& cuts, double weight) {
    m_first.push_back(Bytes(name, units, 0, cuts.front()));
    for (std::size_t k = 1; k < cuts.size(); ++k) {
        m_syllables.push_back(Bytes(name, units, cuts[k - 1], cuts[k]));
    }
    m_last.push_back(Bytes(name, units, cuts.back(), units.size()));
    m_syllableWeights[cuts.size()] += weight;
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
    for (const std::size_t i : cuts) {
        const std::string kind{JoinClass(units[i - 1], true), JoinClass(units[i], false)};
        CJoin& join = m_joins[kind];
        join.fronts.push_back(name.substr(0, units[i].begin));
        join.backs.push_back(name.substr(units[i].begin));
        join.weight += kHalfExample / static_cast<double>(cuts.size());
    }
    return cuts.size();
}

std::uint32_t Weight(double weight) {
    constexpr double kMost = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::uint32_t>(std::clamp(std::round(weight), 1.0, kMost));
}

std::size_t AddList(CLearnedNameType& learned, std::string role, std::vector<std::string> list) {
    std::sort(list.begin(), list.end());
    learned.lists.push_back({std::move(role), std::move(list)});
    return learned.lists.size() - 1;
}

CLearnedNameType CLearner::Result(std::size_t exampleCount) {
    CLearnedNameType learned;
    learned.exampleCount = exampleCount;
    if (!m_syllableWeights.empty()) {
        const std::size_t first = AddList(learned, "anfang", std::move(m_first));
        const std::size_t syllable =
            m_syllables.empty() ? 0 : AddList(learned, "silbe", std::move(m_syllables));
        const std::size_t last = AddList(learned, "schluss", std::move(m_last));
        for (const auto& [nuclei, weight] : m_syllableWeights) {
            CLearnedPattern pattern{"silben_" + std::to_string(nuclei), Weight(weight), {first}};
            pattern.lists.insert(pattern.lists.end(), nuclei - 1, syllable);
            pattern.lists.push_back(last);
            learned.patterns.push_back(std::move(pattern));
        }
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
