#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/CaseFolding.h"

// What a name must be like to be printed, from --starts-with, --ends-with,
// --min-length and --max-length.
struct CNameFilterOptions {
    std::optional<std::string> startsWith;
    std::optional<std::string> endsWith;
    std::optional<std::uint64_t> minLength;
    std::optional<std::uint64_t> maxLength;
};

// Decides whether a name fits. Names are read as the desktop program shows
// them: as UTF-8 where they are valid UTF-8, otherwise as Windows-1252; a
// length counts the characters of that reading, and beginnings and endings
// compare in it with the case of letters ignored (Unicode case folding,
// CaseFolding.h), so that "ä" finds "Ärwin" whichever encoding the data uses.
class CNameFilter {
  public:
    // One bit a filter, for telling which of them excludes everything.
    enum Bit : unsigned {
        kStartsWith = 1,
        kEndsWith = 2,
        kMinLength = 4,
        kMaxLength = 8,
    };

    explicit CNameFilter(const CNameFilterOptions& options);

    const CNameFilterOptions& Options() const { return m_options; }
    // The bits of the filters that were asked for.
    unsigned Asked() const { return m_asked; }
    bool Fits(std::string_view name) const { return Passes(name) == m_asked; }
    // The bits of the asked filters that `name` passes.
    unsigned Passes(std::string_view name) const;
    // The same for a name given as its folded reading (FoldedReading), for a
    // caller that has folded it anyway.
    unsigned PassesFolded(std::u32string_view folded) const;
    bool FitsFolded(std::u32string_view folded) const { return PassesFolded(folded) == m_asked; }

  private:
    unsigned PassesOf(std::size_t length, bool starts, bool ends) const;

    CNameFilterOptions m_options;
    std::u32string m_prefix;  // folded
    std::u32string m_suffix;
    unsigned m_asked = 0;
    mutable std::u32string m_reading;  // scratch, to spare an allocation a name
};
