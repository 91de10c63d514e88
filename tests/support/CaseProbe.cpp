// Performs operations on the core in this one process, left to right, and
// prints what each gives, for the case runner to compare. The core keeps
// process-wide state (the language table is read once), so every case runs a
// probe of its own. The operations: support/README.md.

#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "language/LanguageTable.h"
#include "language/Random.h"
#include "planning/AvoidList.h"
#include "planning/NameFilter.h"
#include "semantics/Semantics.h"
#include "settings/FileRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"
#include "text/CaseFolding.h"

namespace {

// "a,b" as {"a", "b"}, for arguments that name several things.
std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, ',');) parts.push_back(part);
    return parts;
}

// " <a> <b>": empty items and blanks at either end stay visible.
std::string Bracketed(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += " <" + item + ">";
    return text;
}

// Characters as UTF-8, for printing folded readings.
std::string Utf8(std::u32string_view characters) {
    constexpr unsigned char kLead[] = {0x00, 0xC0, 0xE0, 0xF0};
    std::string text;
    for (const char32_t c : characters) {
        const int tail = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        text += static_cast<char>(kLead[tail] | (c >> (6 * tail)));
        for (int k = tail - 1; k >= 0; --k)
            text += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
    }
    return text;
}

void PrintSemantics(const CSemantics& semantics) {
    for (const auto& [culture, types] : semantics.m_cultures) {
        for (const std::string& type : semantics.GetNameTypeNames(culture)) {
            for (const CNamePattern& pattern : types.m_nameTypes.at(type).m_patterns) {
                std::cout << culture << '/' << type << ' ' << pattern.GetName() << ' '
                          << pattern.GetWeight() << Bracketed(pattern.m_listNames) << '\n';
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // A NUL byte cannot travel in argv: the arguments spell it \x00.
    for (std::string& arg : args) {
        for (auto at = arg.find("\\x00"); at != std::string::npos; at = arg.find("\\x00", at)) {
            arg.replace(at, 4, 1, '\0');
        }
    }
    std::cout << std::boolalpha;
    CAvoidList avoidList;
    std::size_t at = 0;
    auto next = [&]() { return at < args.size() ? args[at++] : std::string(); };
    while (at < args.size()) {
        const std::string op = next();
        if (op == "settings") {
            const CConfigBase reader;
            for (const auto& [key, value] : SettingsMap)
                std::cout << '[' << key << "] " << value << '\n';
        } else if (op == "lists") {
            std::cout << theLanguageTable.Load() << '\n';
            for (const auto& [name, list] : theLanguageTable.m_lists) {
                std::cout << '[' << name << ']' << Bracketed(list.m_fragments) << '\n';
            }
        } else if (op == "semantics") {
            CSemantics semantics;
            std::cout << semantics.Load() << '\n';
            PrintSemantics(semantics);
        } else if (op == "names" || op == "pick") {
            CSemantics semantics;
            semantics.Load();
            const std::string culture = next();
            const std::string type = next();
            // names: how many; pick: the draws, each handed to the weighted choice.
            const std::string countOrDraws = next();
            for (int n = op == "names" ? std::stoi(countOrDraws) : 0; n > 0; --n) {
                std::cout << semantics.Generate(culture, type) << '\n';
            }
            if (op == "pick") {
                CNameType& nameType = semantics.m_cultures[culture].m_nameTypes[type];
                for (const std::string& draw : Split(countOrDraws)) {
                    const CNamePattern* picked =
                        nameType.PickByWeight(static_cast<std::uint32_t>(std::stoul(draw)));
                    std::cout << ' ' << (picked != nullptr ? picked->GetName() : "-");
                }
                std::cout << '\n';
            }
        } else if (op == "seed") {
            SeedRandom(static_cast<unsigned>(std::stoul(next())));
        } else if (op == "store") {
            static CFileRegistryStore store(next());
            UseRegistryStore(&store);
        } else if (op == "path") {
            std::cout << CFileRegistryStore::DefaultPath() << '\n';
        } else if (op == "read") {
            for (const std::string& name : Split(next())) {
                std::cout << ReadRegistryValue(name) << '\n';
            }
        } else if (op == "write") {
            SettingsReloadPending = false;
            const std::string name = next();
            std::cout << WriteRegistryValue(name, next())
                      << (SettingsReloadPending ? " reload\n" : "\n");
        } else if (op == "fold") {
            std::u32string folded;
            FoldedReading(next(), folded);
            std::cout << Utf8(folded) << '\n';
        } else if (op == "starts-with") {
            CNameFilterOptions options;
            options.startsWith = next();
            const CNameFilter filter(options);
            for (const std::string& name : Split(next())) {
                std::cout << name << ": " << filter.Fits(name) << '\n';
            }
        } else if (op == "avoid" || op == "avoid-containing") {
            std::string error;
            const std::string path = next();
            if (!(op == "avoid" ? avoidList.AddExactFile(path, error)
                                : avoidList.AddContainingFile(path, error))) {
                std::cout << error << '\n';
            }
        } else if (op == "avoids") {
            avoidList.Finish();
            std::u32string folded;
            for (const std::string& name : Split(next())) {
                FoldedReading(name, folded);
                std::cout << name << ": " << avoidList.Avoids(folded) << '\n';
            }
        } else if (op == "put") {
            std::ofstream file(next(), std::ios::binary | std::ios::trunc);
            file << next();
        } else {
            std::cerr << "unknown operation " << op << '\n';
            return 2;
        }
    }
    return 0;
}
