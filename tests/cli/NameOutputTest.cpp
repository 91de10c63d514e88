#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "cli/NameGenerator.h"
#include "cli/NameWriter.h"
#include "language/LanguageTable.h"
#include "language/Random.h"
#include "semantics/Semantics.h"

namespace {

// A temporary file to write names to and read them back from.
class CapturedFile {
  public:
    CapturedFile() : m_file(std::tmpfile()) {}
    CapturedFile(const CapturedFile&) = delete;
    CapturedFile& operator=(const CapturedFile&) = delete;
    ~CapturedFile() {
        if (m_file != nullptr) std::fclose(m_file);
    }

    std::FILE* Get() const { return m_file; }
    std::string Contents() const {
        std::fflush(m_file);
        std::rewind(m_file);
        std::string text;
        char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, m_file)) > 0;) {
            text.append(buffer, n);
        }
        return text;
    }

  private:
    std::FILE* m_file;
};

std::string Written(bool crlf, std::initializer_list<const char*> names) {
    const CapturedFile file;
    CNameWriter writer(file.Get(), crlf);
    for (const char* name : names) EXPECT_TRUE(writer.Write(name));
    EXPECT_TRUE(writer.Flush());
    return file.Contents();
}

TEST(NameWriter, LfEndsEveryNameCrLfOnlySeparates) {
    EXPECT_EQ(Written(false, {"a", "", "b"}), "a\n\nb\n");
    EXPECT_EQ(Written(true, {"a", "", "b"}), "a\r\n\r\nb");
    EXPECT_EQ(Written(true, {"a"}), "a");
    EXPECT_EQ(Written(false, {}), "");
    EXPECT_EQ(Written(true, {}), "");
}

TEST(NameWriter, NamesAcrossTheBufferBoundaryArriveWhole) {
    const CapturedFile file;
    std::string expected;
    {
        CNameWriter writer(file.Get(), true);
        for (int i = 0; expected.size() < 3 * CNameWriter::kBufferSize; ++i) {
            const std::string name = "name" + std::to_string(i);
            expected += (i == 0 ? "" : "\r\n") + name;
            ASSERT_TRUE(writer.Write(name));
        }
        ASSERT_TRUE(writer.Flush());
    }
    EXPECT_EQ(file.Contents(), expected);
}

TEST(NameWriter, FullDiskIsAFailureWithItsErrno) {
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    {
        CNameWriter writer(full, false);
        EXPECT_TRUE(writer.Write("a"));
        EXPECT_FALSE(writer.Flush());
        EXPECT_TRUE(writer.Failed());
        EXPECT_EQ(writer.ErrorNumber(), ENOSPC);
        EXPECT_FALSE(writer.Write("b"));
    }
    std::fclose(full);
}

// Name types over lists of theLanguageTable, which must hold the lists
// before a pattern is made: patterns look their lists up once.
class Generator : public ::testing::Test {
  protected:
    void SetUp() override {
        theLanguageTable.Load();
        AddList("front", {"a", "ab"});
        AddList("back", {"bc", "c"});
        AddList("start", {"k", "l", "m"});
        RandomInRange(0, 0);
        std::srand(11);
    }

    static void AddList(const std::string& name, std::initializer_list<const char*> fragments) {
        CFragmentList list(name);
        for (const char* fragment : fragments) list.Add(fragment);
        theLanguageTable.Store(name, list);
    }

    static CNameType Type(const std::string& lists) {
        CNameType nameType("T");
        nameType.AddPattern(CNamePattern("p", "T", lists, 1));
        return nameType;
    }
};

TEST_F(Generator, UniqueNeverRepeatsAndStopsWhenNamesRunOut) {
    // Four joins, three names: the fourth never comes.
    CNameType nameType = Type("front,back");
    const CapturedFile file;
    CNameWriter writer(file.Get(), false);
    const CGenerationOutcome outcome = GenerateUniqueNames(nameType, 4, 1000, writer);
    ASSERT_TRUE(writer.Flush());
    EXPECT_EQ(outcome.status, CGenerationOutcome::Status::kNoNewNames);
    EXPECT_EQ(outcome.written, 3u);
    const std::string text = file.Contents();
    std::set<std::string> names;
    std::size_t lines = 0;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1, ++lines) {
        names.insert(text.substr(start, end - start));
    }
    EXPECT_EQ(lines, 3u);
    EXPECT_EQ(names, (std::set<std::string>{"abc", "ac", "abbc"}));
}

}  // namespace
