#pragma once

#include <cstdint>
#include <string>

// Synthetic data files for the benchmarks. They are made at run time from a
// fixed seed, so every run measures the same bytes and nothing large lives in
// the repository.

struct CFileStats {
    std::uint64_t bytes = 0;
    std::uint64_t lines = 0;     // non-blank lines: headers, fragments, patterns
    std::uint64_t items = 0;     // fragments, or pattern lines
    std::uint64_t sections = 0;  // list or culture headers
    bool written = true;         // false when the file could not be written whole
};

// A folder of its own under $TMPDIR (or /tmp), removed with everything in it
// when the object goes.
class CScratchDir {
  public:
    CScratchDir();
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;
    ~CScratchDir();

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};

// The shape of the short-fragment language file: fragments of minLength to
// maxLength lower-case letters, one a line, `perSection` of them under each
// header "[s<number>]", until the file holds about `bytes` bytes.
struct CShortFragmentShape {
    std::uint64_t bytes = 0;
    int minLength = 2;
    int maxLength = 6;
    int perSection = 100;
};
CFileStats WriteShortFragmentLanguage(const std::string& path, const CShortFragmentShape& shape);

// A language file of `lists` lists named "l0", "l1", ..., each holding
// `perList` syllables of two to five letters.
CFileStats WriteNumberedLists(const std::string& path, std::uint32_t lists, int perList);

// The list names of a pattern line: `positions` names drawn from "l0" to
// "l<lists - 1>", the first one marked with "^" for a capital.
std::string PatternListNames(std::uint32_t lists, int positions, std::uint64_t& state);

// A semantics file of `patternLines` data lines in cultures of
// `linesPerCulture` lines and `nameTypesPerCulture` name types each; every
// pattern names two to four lists of the numbered lists above, and one line
// in twenty is a comment.
CFileStats WriteSemanticsFile(const std::string& path, std::uint64_t patternLines,
                              std::uint32_t lists, int linesPerCulture, int nameTypesPerCulture);

// An init file of `lines` key=value lines; the first two name the language
// and semantics files.
CFileStats WriteInitFile(const std::string& path, const std::string& languages,
                         const std::string& semantics, std::uint64_t lines);

// Writes `text` to `path`, replacing it. False when that fails.
bool WriteWholeFile(const std::string& path, const std::string& text);

// Runs this program again with XDG_CONFIG_HOME and XDG_RUNTIME_DIR pointing
// at a private folder of its own, and ends with that run's exit status; in
// that run it returns at once. The settings are read before main() (by
// theLanguageTable's construction), so only a new process can read them from
// somewhere other than the user's store; the measured run never sees it.
void RunIsolatedFromUserSettings(char** argv);

// splitmix64: the data's own random source, so that making data never
// disturbs rand(), which the code under test draws from.
std::uint64_t NextRandom(std::uint64_t& state);
