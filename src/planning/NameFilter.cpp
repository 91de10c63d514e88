#include "planning/NameFilter.h"

#include <algorithm>

CNameFilter::CNameFilter(const CNameFilterOptions& options) : m_options(options) {
    if (options.startsWith) {
        FoldedReading(*options.startsWith, m_prefix);
        m_asked |= kStartsWith;
    }
    if (options.endsWith) {
        FoldedReading(*options.endsWith, m_suffix);
        m_asked |= kEndsWith;
    }
    if (options.minLength) m_asked |= kMinLength;
    if (options.maxLength) m_asked |= kMaxLength;
}

namespace {

// Whether `text`, ASCII throughout, holds `folded` at `at`, letters compared
// in lower case. An ASCII name is its own reading, and its letters fold within
// ASCII; `folded` may still come from non-ASCII text (the Kelvin sign folds to
// "k"), so it is compared folded, never as the bytes the user typed.
bool AsciiMatches(std::string_view text, std::size_t at, std::u32string_view folded) {
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (FoldCase(static_cast<unsigned char>(text[at + i])) != folded[i]) return false;
    }
    return true;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

unsigned CNameFilter::Passes(std::string_view name) const {
    // Most names are ASCII, where a byte is a character in either reading.
    std::size_t length = name.size();
    bool starts = false;
    bool ends = false;
    if (IsAscii(name)) {
        starts = length >= m_prefix.size() && AsciiMatches(name, 0, m_prefix);
        ends = length >= m_suffix.size() && AsciiMatches(name, length - m_suffix.size(), m_suffix);
    } else {
        FoldedReading(name, m_reading);
        const std::u32string_view reading = m_reading;
        length = reading.size();
        starts = reading.starts_with(m_prefix);
        ends = reading.ends_with(m_suffix);
    }
    return PassesOf(length, starts, ends);
}

unsigned CNameFilter::PassesFolded(std::u32string_view folded) const {
    if (m_asked == 0) return 0;
    return PassesOf(folded.size(), folded.starts_with(m_prefix), folded.ends_with(m_suffix));
}

unsigned CNameFilter::PassesOf(std::size_t length, bool starts, bool ends) const {
    unsigned passes = 0;
    if ((m_asked & kStartsWith) != 0 && starts) passes |= kStartsWith;
    if ((m_asked & kEndsWith) != 0 && ends) passes |= kEndsWith;
    if ((m_asked & kMinLength) != 0 && length >= *m_options.minLength) passes |= kMinLength;
    if ((m_asked & kMaxLength) != 0 && length <= *m_options.maxLength) passes |= kMaxLength;
    return passes;
}
