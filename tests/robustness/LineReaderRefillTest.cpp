// The line reader holds at most 1 MiB of a file and refills its buffer as it
// goes; a file read from disk must give exactly the lines of the same bytes
// read from memory, wherever a refill falls: inside a line, between a CR and
// its LF, inside a run of white space. The fuzzers cannot see this, as their
// inputs fit in one buffer.

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ScratchFolder.h"
#include "settings/LineReader.h"

namespace {

struct CReadLine {
    std::string text;
    std::size_t lineNumber;
    bool cut;
    bool continuation;
    bool operator==(const CReadLine&) const = default;
};

std::vector<CReadLine> ReadAll(CLineReader& reader) {
    std::vector<CReadLine> lines;
    std::string_view line;
    while (reader.Next(line)) {
        lines.push_back(
            {std::string(line), reader.LineNumber(), reader.WasCut(), reader.IsContinuation()});
    }
    return lines;
}

// Compares file and memory and names the first line where they part.
void ExpectFileReadsLikeMemory(const std::string& bytes, const std::string& what) {
    CScratchFolder folder;
    const std::string path = folder.Write("input.txt", bytes);
    CLineReader fromFile;
    ASSERT_TRUE(fromFile.Open(path)) << what;
    const std::vector<CReadLine> fileLines = ReadAll(fromFile);
    EXPECT_FALSE(fromFile.Failed()) << what;
    CLineReader fromMemory;
    fromMemory.OpenText(bytes);
    const std::vector<CReadLine> memoryLines = ReadAll(fromMemory);

    ASSERT_EQ(fileLines.size(), memoryLines.size()) << what;
    for (std::size_t i = 0; i < fileLines.size(); ++i) {
        if (!(fileLines[i] == memoryLines[i])) {
            ADD_FAILURE() << what << ": line " << i << " (physical line "
                          << memoryLines[i].lineNumber << ") differs: " << fileLines[i].text.size()
                          << " bytes from the file, " << memoryLines[i].text.size()
                          << " from memory";
            return;
        }
    }
}

// Lines of every awkward shape: around the 999-byte limit and its multiples,
// with LF, CR LF, CR CR LF and lone CRs, long runs of white space, NUL bytes.
std::string AwkwardText(unsigned seed, std::size_t size) {
    std::mt19937 random(seed);
    const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    static const char* const kEnds[] = {"\n", "\r\n", "\r\r\n", "\r", " \t\n", "", "\n\n\n"};
    std::string text;
    while (text.size() < size) {
        std::size_t length = 0;
        switch (pick(4)) {
            case 0:
                length = pick(6);
                break;
            case 1:
                length = 994 + pick(10);
                break;
            case 2:
                length = 1994 + pick(10);
                break;
            default:
                length = pick(3000);
                break;
        }
        for (std::size_t i = 0; i < length; ++i) {
            const std::size_t kind = pick(64);
            text += kind == 0 ? '\0' : kind == 1 ? '\r' : kind == 2 ? ' ' : char('a' + kind % 26);
        }
        text += kEnds[pick(std::size(kEnds))];
        if (pick(50) == 0) {
            text.append(pick(5000), pick(2) == 0 ? ' ' : '\n');
        }
    }
    return text;
}

TEST(LineReaderRefill, FileReadsLikeMemoryAcrossRefills) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        ExpectFileReadsLikeMemory(AwkwardText(seed, 3u << 20), "seed " + std::to_string(seed));
    }
}

TEST(LineReaderRefill, CrLfAtEveryDistanceFromARefill) {
    // Lines of 995 to 1003 bytes with CR LF ends move the line ends across
    // every position around the place where the buffer runs low.
    std::string text;
    for (std::size_t i = 0; text.size() < (5u << 20); ++i) {
        text.append(995 + i % 9, 'x');
        text += "\r\n";
    }
    ExpectFileReadsLikeMemory(text, "CR LF lines");

    std::string spaced;
    for (std::size_t i = 0; spaced.size() < (5u << 20); ++i) {
        spaced.append(998 + i % 4, 'y');
        spaced.append(1 + i % 7, ' ');
        spaced += (i % 2 == 0) ? "\r\n" : "\n";
    }
    ExpectFileReadsLikeMemory(spaced, "lines with trailing blanks");
}

TEST(LineReaderRefill, WhiteSpaceLongerThanTheBuffer) {
    const std::string text = "first\n" + std::string(3u << 20, ' ') + "\r\n\t" +
                             std::string(1500, 'z') + std::string(2u << 20, '\n') + "last";
    ExpectFileReadsLikeMemory(text, "white space runs of megabytes");
}

}  // namespace
