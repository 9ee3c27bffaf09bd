// Words of a scenario line, split the way a POSIX shell splits them: blanks separate words;
// single quotes keep everything up to the next one; double quotes keep everything but the
// backslash escapes of $ ` " and \; a backslash outside quotes keeps the next character; quoted
// and unquoted parts next to each other make one word; `#` at the start of a word begins a
// comment. Nothing is expanded: no variables, no globs, no tilde.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantor::tools {

// Splits one line into words; a comment ends them. False, with `error` set, for an
// unterminated quote or a backslash at the end of the line.
bool splitWords(std::string_view line, std::vector<std::string>& words, std::string& error);

// The text of a line up to its comment, without surrounding blanks. A line that does not split
// is kept whole.
std::string withoutComment(std::string_view line);

}  // namespace vantor::tools
