#pragma once

#include <string_view>

// What one line of the language file is.
struct CLanguageLine {
    enum class Kind { kComment, kHeader, kFragment };
    Kind kind;
    // The list name of a header, the fragment of a fragment line.
    std::string_view text;
};

// A header drops its first byte ('[') and its last byte, whatever that is; a
// leading '$' escapes a fragment that would otherwise read as something else.
CLanguageLine ParseLanguageLine(std::string_view line);
