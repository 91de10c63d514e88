#pragma once

#include <cstddef>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// What a child process found wrong, gathered so that one run reports every
// difference at once.
class CFindings {
  public:
    template <typename Actual, typename Expected>
    void ExpectEq(const Actual& actual, const Expected& expected, const std::string& what) {
        if (!(actual == expected)) {
            std::ostringstream text;
            text << what << ": got " << Printable(actual) << ", expected " << Printable(expected);
            Add(text.str());
        }
    }
    void Expect(bool condition, const std::string& what) {
        if (!condition) {
            Add(what);
        }
    }
    void Add(const std::string& finding) { m_text += (m_text.empty() ? "" : "; ") + finding; }
    const std::string& Text() const { return m_text; }

  private:
    static std::string Printable(const std::vector<std::string>& values) {
        std::string text = "{";
        for (const std::string& value : values) {
            text += (text.size() > 1 ? ", " : "") + Printable(value);
        }
        return text + "}";
    }
    template <typename T>
    static std::string Printable(const T& value) {
        std::ostringstream text;
        if constexpr (std::is_convertible_v<T, std::string_view>) {
            const std::string_view bytes(value);
            text << '"' << bytes.substr(0, 60) << (bytes.size() > 60 ? "..." : "") << "\" ("
                 << bytes.size() << " bytes)";
        } else {
            text << value;
        }
        return text.str();
    }

    std::string m_text;
};

// Children that need permissions to count (root reads every file) give up
// root first; a child that cannot reports a finding with this prefix, and the
// test skips.
inline constexpr const char* kSkipPrefix = "skip: ";

// Makes this process an unprivileged user, as the program's users are, and
// checks that this user is denied `access` (R_OK or W_OK) to `path`. False,
// with a skip in `findings`, when the check would not count.
bool BecomeUserDenied(CFindings& findings, const std::string& path, int access);

// Stands in for a full disk: this process's writes past `bytes` fail with
// EFBIG, for root too. False, with a finding, when the limit cannot be set.
bool LimitFileSize(CFindings& findings, std::size_t bytes);
