#include "language/LanguageFile.h"

#include "settings/LineReader.h"

CLanguageLine ParseLanguageLine(std::string_view line) {
    if (line.empty() || IsCommentLine(line)) {
        return {CLanguageLine::Kind::kComment, {}};
    }
    if (line[0] == '[') {
        return {CLanguageLine::Kind::kHeader, SectionName(line)};
    }
    if (line[0] == '$') {
        return {CLanguageLine::Kind::kFragment, line.substr(1)};
    }
    return {CLanguageLine::Kind::kFragment, line};
}
