#include "BenchData.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

constexpr std::size_t kFlushSize = std::size_t{1} << 20;

// Collects text and writes it out in large blocks.
class CBlockWriter {
  public:
    explicit CBlockWriter(const std::string& path) : m_file(std::fopen(path.c_str(), "wb")) {
        m_text.reserve(kFlushSize + 4096);
    }
    CBlockWriter(const CBlockWriter&) = delete;
    CBlockWriter& operator=(const CBlockWriter&) = delete;
    ~CBlockWriter() { Close(); }

    std::string& Text() { return m_text; }
    std::uint64_t Written() const { return m_written + m_text.size(); }

    void MaybeFlush() {
        if (m_text.size() >= kFlushSize) {
            Flush();
        }
    }
    bool Close() {
        Flush();
        if (m_file != nullptr) {
            m_ok = std::fclose(m_file) == 0 && m_ok;
            m_file = nullptr;
        }
        return m_ok;
    }

  private:
    void Flush() {
        if (m_file == nullptr ||
            std::fwrite(m_text.data(), 1, m_text.size(), m_file) != m_text.size()) {
            m_ok = false;
        }
        m_written += m_text.size();
        m_text.clear();
    }

    std::FILE* m_file;
    std::string m_text;
    std::uint64_t m_written = 0;
    bool m_ok = true;
};

constexpr char kConsonants[] = "bcdfghklmnprstvwz";
constexpr char kVowels[] = "aeiou";

// Pronounceable letters: consonant and vowel by turns.
void AppendSyllables(std::string& text, int length, std::uint64_t& state) {
    bool vowel = NextRandom(state) % 2 == 0;
    for (int i = 0; i < length; ++i) {
        text += vowel ? kVowels[NextRandom(state) % (sizeof kVowels - 1)]
                      : kConsonants[NextRandom(state) % (sizeof kConsonants - 1)];
        vowel = !vowel;
    }
}

int LengthBetween(int lo, int hi, std::uint64_t& state) {
    return lo + static_cast<int>(NextRandom(state) % static_cast<std::uint64_t>(hi - lo + 1));
}

}  // namespace

std::uint64_t NextRandom(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

CScratchDir::CScratchDir() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/veltrano-bench-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) != nullptr) {
        m_path = buffer.data();
    }
}

CScratchDir::~CScratchDir() {
    if (!m_path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
}

void RunIsolatedFromUserSettings(char** argv) {
    constexpr const char* kMarker = "VELTRANO_BENCH_SETTINGS";
    if (std::getenv(kMarker) != nullptr) {
        return;
    }
    int exitCode = EXIT_FAILURE;
    {
        const CScratchDir settings;
        if (settings.Path().empty()) {
            std::perror("veltrano bench: no folder for the settings");
            std::exit(EXIT_FAILURE);
        }
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child == 0) {
            ::setenv("XDG_CONFIG_HOME", settings.Path().c_str(), 1);
            ::setenv("XDG_RUNTIME_DIR", settings.Path().c_str(), 1);
            ::setenv(kMarker, settings.Path().c_str(), 1);
            ::execv("/proc/self/exe", argv);
            std::perror("veltrano bench: cannot run again");
            ::_exit(127);
        }
        int status = 0;
        if (child > 0 && ::waitpid(child, &status, 0) == child) {
            exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        } else {
            std::perror("veltrano bench: cannot run again");
        }
    }  // the folder goes before the process ends
    std::exit(exitCode);
}

CFileStats WriteShortFragmentLanguage(const std::string& path, const CShortFragmentShape& shape) {
    CFileStats stats;
    std::uint64_t state = 0x5EED0001;
    CBlockWriter out(path);
    std::string& text = out.Text();
    text += "# short fragments for the load benchmark\n";
    while (out.Written() < shape.bytes) {
        text += "[s";
        text += std::to_string(stats.sections);
        text += "]\n";
        ++stats.sections;
        ++stats.lines;
        for (int i = 0; i < shape.perSection; ++i) {
            AppendSyllables(text, LengthBetween(shape.minLength, shape.maxLength, state), state);
            text += '\n';
            ++stats.items;
            ++stats.lines;
        }
        out.MaybeFlush();
    }
    stats.bytes = out.Written();
    stats.written = out.Close();
    return stats;
}

CFileStats WriteNumberedLists(const std::string& path, std::uint32_t lists, int perList) {
    CFileStats stats;
    std::uint64_t state = 0x5EED0002;
    CBlockWriter out(path);
    std::string& text = out.Text();
    for (std::uint32_t list = 0; list < lists; ++list) {
        text += "[l";
        text += std::to_string(list);
        text += "]\n";
        ++stats.sections;
        ++stats.lines;
        for (int i = 0; i < perList; ++i) {
            text += "    ";
            AppendSyllables(text, LengthBetween(2, 5, state), state);
            text += '\n';
            ++stats.items;
            ++stats.lines;
        }
        out.MaybeFlush();
    }
    stats.bytes = out.Written();
    stats.written = out.Close();
    return stats;
}

std::string PatternListNames(std::uint32_t lists, int positions, std::uint64_t& state) {
    std::string names;
    for (int i = 0; i < positions; ++i) {
        names += i == 0 ? "^l" : ",l";
        names += std::to_string(NextRandom(state) % lists);
    }
    return names;
}

CFileStats WriteSemanticsFile(const std::string& path, std::uint64_t patternLines,
                              std::uint32_t lists, int linesPerCulture, int nameTypesPerCulture) {
    CFileStats stats;
    std::uint64_t state = 0x5EED0003;
    CBlockWriter out(path);
    std::string& text = out.Text();
    text += "# patterns for the load benchmark\n";
    ++stats.lines;
    while (stats.items < patternLines) {
        text += "[Kultur ";
        text += std::to_string(stats.sections);
        text += "]\n";
        ++stats.sections;
        ++stats.lines;
        for (int i = 0; i < linesPerCulture && stats.items < patternLines; ++i) {
            if (NextRandom(state) % 20 == 0) {
                text += "# a comment between the patterns\n";
                ++stats.lines;
            }
            text += "    name";
            text += std::to_string(i);
            text += ':';
            text += std::to_string(1 + NextRandom(state) % 20);
            text += ":Typ ";
            text += std::to_string(NextRandom(state) % static_cast<unsigned>(nameTypesPerCulture));
            text += ':';
            text += PatternListNames(lists, LengthBetween(2, 4, state), state);
            text += '\n';
            ++stats.items;
            ++stats.lines;
        }
        out.MaybeFlush();
    }
    stats.bytes = out.Written();
    stats.written = out.Close();
    return stats;
}

CFileStats WriteInitFile(const std::string& path, const std::string& languages,
                         const std::string& semantics, std::uint64_t lines) {
    CFileStats stats;
    CBlockWriter out(path);
    std::string& text = out.Text();
    text += "languages=" + languages + "\n";
    text += "semantics=" + semantics + "\n";
    stats.lines = 2;
    for (; stats.lines < lines; ++stats.lines) {
        text += "key";
        text += std::to_string(stats.lines);
        text += "=a value of some length\n";
        out.MaybeFlush();
    }
    stats.items = stats.lines;
    stats.bytes = out.Written();
    stats.written = out.Close();
    return stats;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
    CBlockWriter out(path);
    out.Text() = text;
    return out.Close();
}
