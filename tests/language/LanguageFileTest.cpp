#include "language/LanguageFile.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ScratchSettings.h"
#include "language/LanguageTable.h"

namespace {

using namespace std::string_literals;
using Kind = CLanguageLine::Kind;
using Lists = std::map<std::string, std::vector<std::string>>;

const std::string k999(999, 'x');

TEST(LanguageLine, KindAndTextFollowFirstBytes) {
    const struct {
        const char* name;
        std::string line;
        Kind kind;
        std::string text;
    } cases[] = {
        {"header", "[abc]", Kind::kHeader, "abc"},
        {"header with trailing blank keeps bracket", "[abc] ", Kind::kHeader, "abc]"},
        {"header without bracket loses last char", "[abc", Kind::kHeader, "ab"},
        {"lone bracket is the empty name", "[", Kind::kHeader, ""},
        {"empty brackets are the empty name", "[]", Kind::kHeader, ""},
        {"'#' second makes no header", "[#]", Kind::kComment, ""},
        {"comment", "#x", Kind::kComment, ""},
        {"'#' second", "a#b", Kind::kComment, ""},
        {"escaped '#' second is still a comment", "$#x", Kind::kComment, ""},
        {"empty line", "", Kind::kComment, ""},
        {"fragment", "lor", Kind::kFragment, "lor"},
        {"'#' third", "ab#", Kind::kFragment, "ab#"},
        {"trailing blanks stay", "ab  ", Kind::kFragment, "ab  "},
        {"'$' alone is the empty fragment", "$", Kind::kFragment, ""},
        {"escaped blank", "$ x", Kind::kFragment, " x"},
        {"escaped bracket", "$[x", Kind::kFragment, "[x"},
        {"escaped dollar", "$$", Kind::kFragment, "$"},
        {"NUL is data", "a\0b"s, Kind::kFragment, "a\0b"s},
    };
    for (const auto& c : cases) {
        const CLanguageLine parsed = ParseLanguageLine(c.line);
        EXPECT_EQ(parsed.kind, c.kind) << c.name;
        if (c.kind != Kind::kComment) {
            EXPECT_EQ(parsed.text, c.text) << c.name;
        }
    }
}

Lists ListsOf(const CLanguageTable& table) {
    Lists lists;
    for (const auto& [key, list] : table.m_lists) {
        EXPECT_EQ(list.GetName(), key) << "entry and list disagree on the name";
        lists[key] = list.m_fragments;
    }
    return lists;
}

TEST(LanguageFile, ReadsSectionsByTheFileRules) {
    const struct {
        const char* name;
        std::string file;
        bool ok;
        Lists lists;
    } cases[] = {
        {"small example",
         "#fragments for elvish names\n[elfstart]\nae\nlor\n[elfmid]\nan\n$\n[elfend]\ndil\nwen\n",
         true,
         {{"elfstart", {"ae", "lor"}}, {"elfmid", {"an", ""}}, {"elfend", {"dil", "wen"}}}},
        {"header kinds",
         "[abc]\n1\n[abc] \n2\n[abc\n3\n[\n4\n",
         true,
         {{"abc", {"1"}}, {"abc]", {"2"}}, {"ab", {"3"}}, {"", {"4"}}}},
        {"escapes", "[a]\n$\n$ x\n$[x\n$$\n", true, {{"a", {"", " x", "[x", "$"}}}},
        {"comments add nothing", "[a]\n$#x\na#b\n   # indented\n#\n", true, {{"a", {}}}},
        {"repeated fragment stays twice", "[a]\nx\nx\n", true, {{"a", {"x", "x"}}}},
        {"repeated section replaces",
         "[a]\n1\n2\n[b]\n3\n[a]\n4\n",
         true,
         {{"a", {"4"}}, {"b", {"3"}}}},
        {"empty sections are lists",
         "[a]\n[b]\nx\n[c]",
         true,
         {{"a", {}}, {"b", {"x"}}, {"c", {}}}},
        {"indentation and blank lines vanish", "\n  \t[a]\n\n    x  \n", true, {{"a", {"x  "}}}},
        {"CR LF line ends", "[a]\r\nx\r\n\r\n$\r\n", true, {{"a", {"x", ""}}}},
        {"lone CR and NUL are data", "[a]\nx\ry\nn\0l\n"s, true, {{"a", {"x\ry", "n\0l"s}}}},
        {"last line without line end", "[a]\nlast", true, {{"a", {"last"}}}},
        {"long fragment is cut into several",
         "[a]\n" + std::string(2500, 'x') + "\n",
         true,
         {{"a", {k999, k999, std::string(502, 'x')}}}},
        {"rest of a cut line loses its white space",
         "[a]\n" + k999 + "   y\n",
         true,
         {{"a", {k999, "y"}}}},
        {"fragment before any header", "# c\n\n  x\n[a]\ny\n", false, {}},
        {"escaped fragment before any header", "$\n[a]\n", false, {}},
        {"only comments", "# a\n\n#b\n", true, {}},
        {"empty file", "", true, {}},
    };
    for (const auto& c : cases) {
        CScratchFolder dir;
        CLanguageTable table;
        EXPECT_EQ(table.Read(dir.Write("lang.txt", c.file)), c.ok) << c.name;
        EXPECT_EQ(ListsOf(table), c.lists) << c.name;
    }
}

TEST(LanguageFile, UnreadableFileReadsAsEmpty) {
    CScratchFolder dir;
    CLanguageTable table;
    EXPECT_TRUE(table.Read(dir.PathOf("missing.txt")));
    EXPECT_TRUE(table.Read(dir.Path())) << "a directory";
    EXPECT_TRUE(table.m_lists.empty());
}

TEST(LanguageTable, FindIsExact) {
    CScratchFolder dir;
    CLanguageTable table;
    ASSERT_TRUE(table.Read(dir.Write("lang.txt", "[abc]\nx\n[]\ny\n")));
    ASSERT_NE(table.Find("abc"), nullptr);
    EXPECT_EQ(table.Find("abc")->m_fragments, std::vector<std::string>{"x"});
    ASSERT_NE(table.Find(""), nullptr);
    EXPECT_EQ(table.Find("")->m_fragments, std::vector<std::string>{"y"});
    EXPECT_EQ(table.Find("ABC"), nullptr);
    EXPECT_EQ(table.Find("abc "), nullptr);
    EXPECT_EQ(table.Find("ab"), nullptr);
}

}  // namespace
