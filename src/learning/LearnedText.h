#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "learning/NameLearner.h"

// What learning adds to the data files: lines to append to the language file
// and to the semantics file, in UTF-8, each part beginning with a comment
// that names the example file.
struct CLearnedText {
    std::string language;
    std::string semantics;
    // The names of the new fragment lists, in the order written.
    std::vector<std::string> listNames;
};

// The German refusal for a culture or name type that the semantics file
// cannot hold as learning writes them: empty, a line break, a "]", a "#" as
// first or second character, a ":" in the name type, a culture too long for
// its header line. Empty when both are fine.
std::string LearnedNamesProblem(std::string_view culture, std::string_view nameType);

// Writes `learned` as lines for the files, ending each with `lineEnd` ("\n"
// or "\r\n"). `sourceName` is the example file's name for the comments. The
// list names are plain ASCII made from "gelernt", the culture and the name
// type, and none is in `existingLists` (the lists the language file already
// has, which a list of the same name would replace). False with a German
// message in `error` when the names are refused (LearnedNamesProblem), when
// nothing was learned, when the name type leaves no pattern line within the
// line length, or when a fragment cannot be written.
bool MakeLearnedText(const CLearnedNameType& learned, const std::string& sourceName,
                     std::string_view culture, std::string_view nameType,
                     const std::set<std::string>& existingLists, std::string_view lineEnd,
                     CLearnedText& text, std::string& error);

// The language-file line that reads back as `fragment`, with the escape "$"
// where the line rule would otherwise change it; false for a fragment no
// line can hold (a line break in it, "#" first, a CR last, too long).
bool FragmentLine(std::string_view fragment, std::string& line);
