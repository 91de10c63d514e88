// The semantics file through CSemantics::Load, compared with the format's
// rules written out plainly, then a name for every culture and name type. The
// language file is a fixed small one: theLanguageTable reads once per process,
// at the first pattern.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "language/LanguageTable.h"
#include "semantics/Semantics.h"
#include "settings/MemoryRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

namespace {

// Lists with and without fragments, the empty name, a name that only a "^"
// before it reaches, and fragments starting with a letter, a digit and a
// byte above 127.
constexpr std::string_view kLanguageFile =
    "[a]\nan\nel\n[b]\n$\nx\n[]\nempty-name\n[^]\ncaret\n[none]\n[c]\n7th\n\xe4rm\n";
constexpr std::size_t kLongestFragment = 10;

struct CExpectedPattern {
    std::string label;
    std::int32_t weight;
    std::vector<std::string> listNames;
    bool operator==(const CExpectedPattern&) const = default;
};

using CExpectedTables = std::map<std::string, std::map<std::string, std::vector<CExpectedPattern>>>;

struct CExpectedSemantics {
    bool result = true;
    CExpectedTables cultures;
};

std::int32_t ReferenceWeight(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || (field[i] >= '\t' && field[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) {
        negative = field[i] == '-';
        ++i;
    }
    long double value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        value = value * 10 + (field[i] - '0');
    }
    if (negative) {
        value = -value;
    }
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    if (value > kMax) {
        return kMax;
    }
    if (value < kMin) {
        return kMin;
    }
    return static_cast<std::int32_t>(value);
}

std::vector<std::string> SplitAtCommas(const std::string& text) {
    std::vector<std::string> names(1);
    for (const char c : text) {
        if (c == ',') {
            names.emplace_back();
        } else {
            names.back() += c;
        }
    }
    return names;
}

CExpectedSemantics ExpectedSemantics(std::string_view input) {
    CExpectedSemantics expected;
    std::string section;
    for (const CReferenceLine& line : ReferenceLines(input)) {
        const std::string& text = line.text;
        if (ReferenceIsComment(text)) {
            continue;
        }
        if (text[0] == '[') {
            section = text.size() < 2 ? std::string() : text.substr(1, text.size() - 2);
            continue;
        }
        std::vector<std::string> fields(1);
        for (const char c : text) {
            if (c == ':' && fields.size() < 4) {
                fields.emplace_back();
            } else {
                fields.back() += c;
            }
        }
        if (fields.size() < 4 || section.empty()) {
            expected.result = false;
            return expected;
        }
        std::int32_t weight = ReferenceWeight(fields[1]);
        if (weight == 0) {
            weight = 10;
        }
        expected.cultures[section][fields[2]].push_back(
            {fields[0], weight, SplitAtCommas(fields[3])});
    }
    return expected;
}

std::uint32_t ExpectedTotal(const std::vector<CExpectedPattern>& patterns) {
    const std::uint64_t total = std::accumulate(
        patterns.begin(), patterns.end(), std::uint64_t{0},
        [](std::uint64_t sum, const CExpectedPattern& pattern) {
            return sum + (pattern.weight > 0 ? static_cast<std::uint64_t>(pattern.weight) : 0);
        });
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(total, std::numeric_limits<std::uint32_t>::max()));
}

template <typename Map>
std::vector<std::string> KeysOf(const Map& map) {
    std::vector<std::string> keys(map.size());
    std::transform(map.begin(), map.end(), keys.begin(),
                   [](const auto& entry) { return entry.first; });
    return keys;
}

void CheckTables(CSemantics& semantics, const CExpectedTables& expected) {
    FuzzCheck(semantics.GetCultureNames() == KeysOf(expected), "the culture names differ");

    for (const auto& [cultureName, nameTypes] : expected) {
        FuzzCheck(semantics.GetNameTypeNames(cultureName) == KeysOf(nameTypes),
                  "a culture's name types differ");
        const CCulture& culture = semantics.m_cultures.at(cultureName);
        for (const auto& [nameTypeName, patterns] : nameTypes) {
            const CNameType& nameType = culture.m_nameTypes.at(nameTypeName);
            FuzzCheck(nameType.m_patterns.size() == patterns.size(), "a pattern is missing");
            for (std::size_t i = 0; i < patterns.size(); ++i) {
                const CNamePattern& pattern = nameType.m_patterns[i];
                const CExpectedPattern actual{pattern.GetName(), pattern.GetWeight(),
                                              pattern.m_listNames};
                FuzzCheck(actual == patterns[i], "a pattern differs from its line");
                FuzzCheck(pattern.GetNameType() == nameTypeName, "a pattern is misfiled");
            }
            FuzzCheck(nameType.m_totalWeight == ExpectedTotal(patterns),
                      "a name type's total weight is wrong");
        }
    }
}

void GenerateEverything(CSemantics& semantics) {
    for (const std::string& cultureName : semantics.GetCultureNames()) {
        for (const std::string& nameTypeName : semantics.GetNameTypeNames(cultureName)) {
            const CNameType& nameType =
                semantics.m_cultures.at(cultureName).m_nameTypes.at(nameTypeName);
            std::size_t mostPositions = 0;
            for (const CNamePattern& pattern : nameType.m_patterns) {
                mostPositions = std::max(mostPositions, pattern.m_listNames.size());
            }
            const std::uint32_t total = nameType.m_totalWeight;
            const std::string name = semantics.Generate(cultureName, nameTypeName);
            FuzzCheck(total != 0 || name.empty(), "a name type without weight gave a name");
            // One fragment of the fixed language file a position at most.
            FuzzCheck(name.size() <= kLongestFragment * mostPositions, "a name is too long");
        }
        const std::string unknown = cultureName + "?";
        if (semantics.m_cultures.at(cultureName).m_nameTypes.count(unknown) == 0) {
            FuzzCheck(semantics.Generate(cultureName, unknown).empty(),
                      "an unknown name type gave a name");
        }
    }
    FuzzCheck(semantics.GetNameTypeNames("\x01unknown").empty(),
              "an unknown culture has name types");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    static CMemoryRegistryStore store;
    const std::string& dir = FuzzScratchDir();
    WriteFuzzFile(dir + "/init.txt", "languages=languages.txt\nsemantics=semantics.txt\n");
    WriteFuzzFile(dir + "/languages.txt", kLanguageFile);
    store.OpenKey(CRegistryStore::Access::kReadWrite);
    store.SetValue("DataDir", dir);
    store.SetValue("InitFile", "init.txt");
    store.CloseKey();
    UseRegistryStore(&store);
    SettingsReloadPending = true;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = AsText(data, size);
    WriteFuzzFile(FuzzScratchDir() + "/semantics.txt", input);

    CSemantics semantics;
    const bool result = semantics.Load();
    const CExpectedSemantics expected = ExpectedSemantics(input);
    FuzzCheck(result == expected.result, "Load's result differs from the file's rule");
    // On false the patterns before the offending line stay: the tables are
    // what the lines before it made.
    CheckTables(semantics, expected.cultures);
    GenerateEverything(semantics);
    return 0;
}
