#include "settings/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ScratchSettings.h"

namespace {

using namespace std::string_literals;

const std::string k999(999, 'x');

std::vector<std::string> ReadAll(CLineReader& reader) {
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line)) lines.emplace_back(line);
    return lines;
}

std::vector<std::string> LinesOf(const std::string& text) {
    CLineReader reader;
    reader.OpenText(text);
    return ReadAll(reader);
}

struct LineCase {
    const char* name;
    std::string input;
    std::vector<std::string> lines;
};

TEST(LineReader, SplitsByTheCommonLineRule) {
    const LineCase cases[] = {
        {"LF ends lines", "a\nb\n", {"a", "b"}},
        {"CR LF ends lines, the CR is not data", "a\r\nb\r\n", {"a", "b"}},
        {"last line without line end", "a\nlast", {"a", "last"}},
        {"blank lines and indentation vanish", "\n\n  \t\v\f\r\n  x\n\t\ty", {"x", "y"}},
        {"white space at the end stays", "ab  \t\nc", {"ab  \t", "c"}},
        {"a lone CR inside a line is data", "a\rb\nc", {"a\rb", "c"}},
        {"a lone CR at the very end is data", "a\r", {"a\r"}},
        {"only the CR right before LF is line end", "a\r\r\nb", {"a\r", "b"}},
        {"NUL bytes are data", "a\0b\nc\0"s, {"a\0b"s, "c\0"s}},
        {"only white space", " \r\n\t \n", {}},
        {"empty input", "", {}},
        {"999 bytes are one line", k999 + "\nz", {k999, "z"}},
        {"a CR LF after 998 bytes is line end",
         std::string(998, 'x') + "\r\nz",
         {std::string(998, 'x'), "z"}},
        {"the 1000th byte starts a line of its own", k999 + "yz\n", {k999, "yz"}},
        {"the rest loses its leading white space", k999 + " \t y\n", {k999, "y"}},
        {"a rest of only white space vanishes", k999 + "   \nz", {k999, "z"}},
        {"long lines are cut again and again",
         std::string(2500, 'x'),
         {k999, k999, std::string(502, 'x')}},
        {"comments are lines like any other", "#a\n x#\n", {"#a", "x#"}},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(LinesOf(c.input), c.lines) << c.name;
    }
}

TEST(LineReader, ReportsPhysicalLineNumbers) {
    const std::string text = "\n\n  a\r\nb\rc\n" + std::string(1000, 'x') + "\n\nd";
    CLineReader reader;
    reader.OpenText(text);
    std::string_view line;
    struct Expect {
        std::string text;
        std::size_t lineNumber;
        bool cut;
        bool continuation;
    };
    const Expect expected[] = {
        {"a", 3, false, false}, {"b\rc", 4, false, false}, {k999, 5, true, false},
        {"x", 5, false, true},  {"d", 7, false, false},
    };
    for (const Expect& e : expected) {
        ASSERT_TRUE(reader.Next(line)) << e.text;
        EXPECT_EQ(line, e.text);
        EXPECT_EQ(reader.LineNumber(), e.lineNumber) << e.text;
        EXPECT_EQ(reader.WasCut(), e.cut) << e.text;
        EXPECT_EQ(reader.IsContinuation(), e.continuation) << e.text;
    }
    EXPECT_FALSE(reader.Next(line));
    EXPECT_FALSE(reader.Failed());
}

TEST(LineReader, LineAfterCutOnlyWhiteSpaceIsNoContinuation) {
    const std::string text = k999 + "  \nz";
    CLineReader reader;
    reader.OpenText(text);
    std::string_view line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, k999);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "z");
    EXPECT_EQ(reader.LineNumber(), 2u);
    EXPECT_FALSE(reader.IsContinuation());
}

TEST(LineReader, FileReadsLikeMemoryAcrossBufferBoundaries) {
    // Lines of every length up to the limit, CR LF ends, long enough that any
    // read buffer is refilled many times, with CR and LF split across refills.
    std::string text;
    std::vector<std::string> expected;
    for (int i = 0; text.size() < 3000000; ++i) {
        std::string line(static_cast<std::size_t>(i * 37 % 998) + 2,
                         static_cast<char>('a' + i % 26));
        line.back() = '\r';  // a lone CR at the end of each line is data
        text += line + "\r\n";
        expected.push_back(line);
    }
    CScratchFolder dir;
    CLineReader reader;
    ASSERT_TRUE(reader.Open(dir.Write("big.txt", text)));
    EXPECT_EQ(ReadAll(reader), expected);
    EXPECT_FALSE(reader.Failed());
}

TEST(LineReader, OpeningAgainStartsAfresh) {
    CScratchFolder dir;
    CLineReader reader;
    ASSERT_TRUE(reader.Open(dir.Write("first.txt", "a\nb\n")));
    std::string_view line;
    ASSERT_TRUE(reader.Next(line));
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(reader.LineNumber(), 2u);

    ASSERT_TRUE(reader.Open(dir.Write("second.txt", "x\n")));
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "x");
    EXPECT_EQ(reader.LineNumber(), 1u);
    EXPECT_FALSE(reader.Next(line));

    reader.OpenText("m");
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "m");
    EXPECT_EQ(reader.LineNumber(), 1u);
}

TEST(LineReader, OpensRegularFilesOnly) {
    CScratchFolder dir;
    CLineReader reader;
    EXPECT_FALSE(reader.Open(dir.PathOf("missing.txt"))) << "missing file";
    EXPECT_FALSE(reader.Open(dir.Path())) << "directory";
    EXPECT_FALSE(reader.Open("/dev/null")) << "device";

    ASSERT_TRUE(reader.Open(dir.Write("empty.txt", "")));
    std::string_view line;
    EXPECT_FALSE(reader.Next(line));
    EXPECT_FALSE(reader.Failed());
}

TEST(LineReader, RefusesFifoWithoutBlocking) {
    CScratchFolder dir;
    const std::string fifo = dir.PathOf("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    auto opened = std::async(std::launch::async, [&fifo] {
        CLineReader reader;
        return reader.Open(fifo);
    });
    if (opened.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Give the blocked open a writer so that the test ends.
        const int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) close(fd);
        ADD_FAILURE() << "Open blocked on a FIFO";
    }
    EXPECT_FALSE(opened.get());
}

}  // namespace
