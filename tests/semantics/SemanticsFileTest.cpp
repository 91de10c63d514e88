#include "semantics/SemanticsFile.h"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ScratchSettings.h"
#include "language/LanguageTable.h"
#include "semantics/Semantics.h"

namespace {

using namespace std::string_literals;
using Kind = CSemanticsLine::Kind;

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

TEST(SemanticsLine, KindAndFieldsFollowColonsAndFirstBytes) {
    const struct {
        const char* name;
        std::string line;
        Kind kind;
        std::vector<std::string> fields;  // section, or label/weight/nameType/listNames
    } cases[] = {
        {"data",
         "short:10:First name:^elfstart,elfend",
         Kind::kData,
         {"short", "10", "First name", "^elfstart,elfend"}},
        {"fields untrimmed", "a: 7 : t : l ", Kind::kData, {"a", " 7 ", " t ", " l "}},
        {"further colons are list names", "a:b:c:d:e", Kind::kData, {"a", "b", "c", "d:e"}},
        {"empty fields", ":::", Kind::kData, {"", "", "", ""}},
        {"'#' third is data", "ab#:1:t:l", Kind::kData, {"ab#", "1", "t", "l"}},
        {"header", "[Elves]", Kind::kHeader, {"Elves"}},
        {"header with trailing blank", "[Elves] ", Kind::kHeader, {"Elves]"}},
        {"header without bracket", "[Elves", Kind::kHeader, {"Elve"}},
        {"empty header", "[]", Kind::kHeader, {""}},
        {"lone bracket", "[", Kind::kHeader, {""}},
        {"'#' second makes no header", "[#x]", Kind::kComment, {}},
        {"'#' second makes no data", "x#:1:t:l", Kind::kComment, {}},
        {"comment", "#a:1:t:l", Kind::kComment, {}},
        {"empty", "", Kind::kComment, {}},
        {"two colons", "a:1:t", Kind::kMalformed, {}},
        {"no colon", "abc", Kind::kMalformed, {}},
    };
    for (const auto& c : cases) {
        const CSemanticsLine parsed = ParseSemanticsLine(c.line);
        EXPECT_EQ(parsed.kind, c.kind) << c.name;
        if (c.kind == Kind::kHeader) {
            EXPECT_EQ(parsed.section, c.fields[0]) << c.name;
        } else if (c.kind == Kind::kData) {
            EXPECT_EQ((std::vector<std::string>{
                          std::string(parsed.label), std::string(parsed.weight),
                          std::string(parsed.nameType), std::string(parsed.listNames)}),
                      c.fields)
                << c.name;
        }
    }
}

TEST(Weight, ReadsLikeAtoiButSaturates) {
    const struct {
        const char* field;
        std::int32_t weight;
    } cases[] = {
        {"12", 12},
        {"0", 0},
        {"", 0},
        {"abc", 0},
        {" 7", 7},
        {"\t\n\v\f\r 3", 3},
        {"7abc", 7},
        {"00012", 12},
        {"+5", 5},
        {"-5", -5},
        {"- 5", 0},
        {"--5", 0},
        {"2147483647", kInt32Max},
        {"2147483648", kInt32Max},
        {"4294967306", kInt32Max},  // 2^32 + 10 must not wrap to 10
        {"99999999999999999999999999", kInt32Max},
        {"-2147483648", kInt32Min},
        {"-2147483649", kInt32Min},
        {"-99999999999999999999999999", kInt32Min},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseWeight(c.field), c.weight) << '"' << c.field << '"';
    }
}

// The tables as text: cultures, name types with their totals, patterns with
// label, weight and list names, in map and file order.
std::string Dump(const CSemantics& semantics) {
    std::string out;
    for (const auto& [cultureName, culture] : semantics.m_cultures) {
        out += "[" + cultureName + "]\n";
        for (const auto& [typeName, type] : culture.m_nameTypes) {
            out += " " + typeName + " (" + std::to_string(type.m_totalWeight) + ")\n";
            for (const CNamePattern& pattern : type.m_patterns) {
                out += "  " + pattern.GetName() + " " + std::to_string(pattern.GetWeight()) + " ";
                for (const std::string& list : pattern.m_listNames) out += "<" + list + ">";
                out += "\n";
            }
        }
    }
    return out;
}

class SemanticsLoad : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(settings.UseInitFile("languages=lang.txt\nsemantics=sem.txt\n"));
    }
    bool LoadText(const std::string& text, CSemantics& semantics) {
        settings.Dir().Write("sem.txt", text);
        return semantics.Load();
    }
    CScratchSettings settings;
};

TEST_F(SemanticsLoad, ReadsPatternsByTheFileRules) {
    const struct {
        const char* name;
        std::string file;
        bool ok;
        std::string tables;
    } cases[] = {
        {"small example",
         "#Elvish names\n[Elves]\nshort:10:First name:^elfstart,elfend\n"
         "long:5:First name:^elfstart,elfmid,elfend\nclan:10:Family name:^clanstart,clanend\n",
         true,
         "[Elves]\n Family name (10)\n  clan 10 <^clanstart><clanend>\n"
         " First name (15)\n  short 10 <^elfstart><elfend>\n"
         "  long 5 <^elfstart><elfmid><elfend>\n"},
        {"comments", "# c\n  # indented\nx#:1:t:l\n[C]\n[#x]\na:1:t:l\nb#:1:t:l\n", true,
         "[C]\n t (1)\n  a 1 <l>\n"},
        {"header variants", "[C] \na:1:t:l\n[Cult\nb:1:t:l\n", true,
         "[C]]\n t (1)\n  a 1 <l>\n[Cul]\n t (1)\n  b 1 <l>\n"},
        {"indentation and CR LF", "  [C]\r\n\t a:1:t:l\r\n\r\n", true, "[C]\n t (1)\n  a 1 <l>\n"},
        {"blanks stay in fields", "[C]\na: 7 :t : l ,x\nb:2:t:m\n", true,
         "[C]\n t (2)\n  b 2 <m>\n t  (7)\n  a 7 < l ><x>\n"},
        {"weights", "[C]\nw0:0:t:l\nwl:abc:t:l\nwe::t:l\nwb: 7:t:l\nwa:7abc:t:l\nw12:12:t:l\n",
         true,
         "[C]\n t (56)\n  w0 10 <l>\n  wl 10 <l>\n  we 10 <l>\n  wb 7 <l>\n  wa 7 <l>\n"
         "  w12 12 <l>\n"},
        {"negative weight counts as 0", "[C]\nn:-3:t:l\np:4:t:l\n", true,
         "[C]\n t (4)\n  n -3 <l>\n  p 4 <l>\n"},
        {"huge weights saturate the total", "[C]\na:2147483647:t:l\nb:2147483647:t:l\nc:9:t:l\n",
         true, "[C]\n t (4294967295)\n  a 2147483647 <l>\n  b 2147483647 <l>\n  c 9 <l>\n"},
        {"list names split at every comma", "[C]\na:1:t:a,,b,\nb:1:t:\nc:1:t:x:y,z\n", true,
         "[C]\n t (3)\n  a 1 <a><><b><>\n  b 1 <>\n  c 1 <x:y><z>\n"},
        {"repeated section continues", "[A]\na:1:t:l\n[B]\nb:1:t:l\n[A]\nc:2:t:m\n", true,
         "[A]\n t (3)\n  a 1 <l>\n  c 2 <m>\n[B]\n t (1)\n  b 1 <l>\n"},
        {"long line is cut into two", "[A]\na:1:t:" + std::string(993, 'x') + "b:2:t:m\n", true,
         "[A]\n t (3)\n  a 1 <" + std::string(993, 'x') + ">\n  b 2 <m>\n"},
        {"lone CR and NUL are data", "[A]\na:1:t\rx:l\0m"s, true,
         "[A]\n t\rx (1)\n  a 1 <l\0m>\n"s},
        {"headers only", "[A]\n[B]\n# c\n", true, ""},
        {"empty file", "", true, ""},
        {"data before any header", "a:1:t:l\n[A]\nb:1:t:l\n", false, ""},
        {"header leaving the section empty", "[A]\na:1:t:l\n[x\nb:1:t:l\n", false,
         "[A]\n t (1)\n  a 1 <l>\n"},
        {"empty brackets", "[]\na:1:t:l\n", false, ""},
        {"fewer than three colons", "[A]\na:1:t:l\nb:1:t\nc:1:t:l\n", false,
         "[A]\n t (1)\n  a 1 <l>\n"},
    };
    for (const auto& c : cases) {
        CSemantics semantics;
        EXPECT_EQ(LoadText(c.file, semantics), c.ok) << c.name;
        EXPECT_EQ(Dump(semantics), c.tables) << c.name;
    }
}

TEST_F(SemanticsLoad, UnreadableFileReadsAsEmpty) {
    CSemantics missing;
    EXPECT_TRUE(missing.Load());
    EXPECT_TRUE(missing.GetCultureNames().empty());

    // An empty "semantics" value makes the path the data directory itself.
    ASSERT_TRUE(settings.UseInitFile("semantics=\n", "other.txt"));
    CSemantics directory;
    EXPECT_TRUE(directory.Load());
    EXPECT_TRUE(directory.GetCultureNames().empty());
}

TEST_F(SemanticsLoad, ListsNamesInUnsignedByteOrder) {
    CSemantics semantics;
    ASSERT_TRUE(
        LoadText("[b]\nx:1:t:l\n[\xe9]\nx:1:t:l\n[B]\nx:1:t:l\n[ab]\nx:1:t:l\n[a]\nx:1:t:l\n[A b]\n"
                 "x:1:t:l\n"
                 "[C]\nx:1:b:l\nx:1:\xe9:l\nx:1:B:l\nx:1:ab:l\nx:1:a:l\nx:1:A b:l\n",
                 semantics));
    const std::vector<std::string> ordered = {"A b", "B", "a", "ab", "b", "\xe9"};
    std::vector<std::string> cultures = ordered;
    cultures.insert(cultures.begin() + 2, "C");
    EXPECT_EQ(semantics.GetCultureNames(), cultures);
    EXPECT_EQ(semantics.GetNameTypeNames("C"), ordered);
    EXPECT_EQ(semantics.GetNameTypeNames("c"), std::vector<std::string>{});
    EXPECT_EQ(semantics.GetNameTypeNames("C "), std::vector<std::string>{});
    EXPECT_EQ(semantics.GetNameTypeNames(""), std::vector<std::string>{});
}

TEST_F(SemanticsLoad, OnlyFirstDataLineLoadsLanguageFile) {
    settings.Dir().Write("lang.txt", "[l]\nfragment\n");
    CSemantics headersOnly;
    ASSERT_TRUE(LoadText("[A]\n# no data\n", headersOnly));
    EXPECT_TRUE(theLanguageTable.m_lists.empty());

    CSemantics withData;
    ASSERT_TRUE(LoadText("[A]\na:1:t:l\n", withData));
    ASSERT_NE(theLanguageTable.Find("l"), nullptr);
    EXPECT_EQ(withData.Generate("A", "t"), "fragment");
}

TEST_F(SemanticsLoad, NextSemanticsReadsNewInitFileButNotNewLanguages) {
    settings.Dir().Write("lang.txt", "[l]\nold\n");
    CSemantics first;
    ASSERT_TRUE(LoadText("[Old]\na:1:t:l\n", first));

    settings.Dir().Write("new/init.txt", "languages=lang.txt\nsemantics=sem.txt\n");
    settings.Dir().Write("new/lang.txt", "[l]\nnew\n");
    settings.Dir().Write("new/sem.txt", "[New]\na:1:t:l\n");
    ASSERT_TRUE(settings.PointAt(settings.Dir().PathOf("new"), "init.txt"));
    CSemantics second;
    ASSERT_TRUE(second.Load());
    EXPECT_EQ(second.GetCultureNames(), std::vector<std::string>{"New"});
    EXPECT_EQ(second.Generate("New", "t"), "old");
}

}  // namespace
