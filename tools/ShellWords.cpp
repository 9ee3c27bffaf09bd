#include "tools/ShellWords.h"

#include <cstring>
#include <utility>

namespace vantor::tools {

namespace {

using Words = std::vector<std::string>;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Splits a line; `end` is where its last word ends (an escaped blank belongs to the word), so
// neither the comment nor the blanks around it are before it.
bool split(std::string_view line, Words& words, std::string& error, std::size_t& end) {
    words.clear();
    std::string word;
    bool inWord = false;
    std::size_t i = 0;
    std::size_t wordEnd = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (inWord) wordEnd = i;
        if (isBlank(c)) {
            if (inWord) words.push_back(std::exchange(word, {}));
            inWord = false;
            ++i;
        } else if (c == '#' && !inWord) {
            break;
        } else if (c == '\\') {
            if (i + 1 == line.size()) {
                error = "a backslash ends the line";
                return false;
            }
            word += line[i + 1];
            inWord = true;
            i += 2;
        } else if (c == '\'') {
            const std::size_t close = line.find('\'', i + 1);
            if (close == std::string_view::npos) {
                error = "a single quote is not closed";
                return false;
            }
            word.append(line.substr(i + 1, close - i - 1));
            inWord = true;
            i = close + 1;
        } else if (c == '"') {
            inWord = true;
            for (++i;; ++i) {
                if (i == line.size()) {
                    error = "a double quote is not closed";
                    return false;
                }
                if (line[i] == '"') break;
                // Inside double quotes a backslash escapes only these; otherwise it stays.
                if (line[i] == '\\' && i + 1 < line.size() &&
                    std::strchr("$`\"\\", line[i + 1]) != nullptr) {
                    ++i;
                }
                word += line[i];
            }
            ++i;
        } else {
            word += c;
            inWord = true;
            ++i;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
        wordEnd = i;
    }
    end = wordEnd;
    return true;
}

}  // namespace

bool splitWords(std::string_view line, std::vector<std::string>& words, std::string& error) {
    std::size_t end = 0;
    return split(line, words, error, end);
}

std::string withoutComment(std::string_view line) {
    Words words;
    std::string error;
    std::size_t end = 0;
    const bool splits = split(line, words, error, end);
    std::string_view text = line.substr(0, splits ? end : line.size());
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    // A line that does not split is kept whole, less its trailing blanks.
    while (!splits && !text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

}  // namespace vantor::tools
