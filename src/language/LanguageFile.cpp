#include "language/LanguageFile.h"

#include "settings/LineReader.h"

CLanguageLine ParseLanguageLine(std::string_view line) {
    if (line.empty() || IsCommentLine(line)) {
        return {CLanguageLine::Kind::kComment, {}};
    }
    if (line[0] == '[') {
        // The last byte goes whatever it is: "[abc" names the list "ab".
        return {CLanguageLine::Kind::kHeader,
                line.size() < 2 ? std::string_view() : line.substr(1, line.size() - 2)};
    }
    if (line[0] == '$') {
        return {CLanguageLine::Kind::kFragment, line.substr(1)};
    }
    return {CLanguageLine::Kind::kFragment, line};
}
