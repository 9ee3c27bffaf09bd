#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/ShellWords.h"

namespace vantor::tools {
namespace {

using Words = std::vector<std::string>;

Words split(std::string_view line) {
    Words words;
    std::string error;
    EXPECT_TRUE(splitWords(line, words, error)) << line << ": " << error;
    return words;
}

std::string splitError(std::string_view line) {
    Words words;
    std::string error;
    EXPECT_FALSE(splitWords(line, words, error)) << line;
    return error;
}

TEST(SplitWords, SplitsOnBlanksAndGroupsQuotes) {
    EXPECT_EQ(split("  tap \t Tab  "), (Words{"tap", "Tab"}));
    EXPECT_EQ(split("expect log 'a  b'"), (Words{"expect", "log", "a  b"}));
    EXPECT_EQ(split(R"(expect log "a  b")"), (Words{"expect", "log", "a  b"}));
    // Quoted and unquoted parts next to each other make one word.
    EXPECT_EQ(split(R"(app Micro'soft 'Word" "x)"), (Words{"app", "Microsoft Word x"}));
    EXPECT_EQ(split("log '' \"\""), (Words{"log", "", ""}));
    EXPECT_EQ(split("app 网易云音乐"), (Words{"app", "网易云音乐"}));
    EXPECT_EQ(split(""), Words{});
}

TEST(SplitWords, BackslashesEscapeOutsideQuotesAndOnlySomeInsideDoubleQuotes) {
    EXPECT_EQ(split(R"(app My\ App)"), (Words{"app", "My App"}));
    EXPECT_EQ(split(R"(x \' \" \\ \#)"), (Words{"x", "'", "\"", "\\", "#"}));
    // Inside double quotes only $ ` " \ are escaped; other backslashes stay.
    EXPECT_EQ(split(R"(x "a\"b\\c\$d\`e\nf")"), (Words{"x", "a\"b\\c$d`e\\nf"}));
    // Inside single quotes nothing is.
    EXPECT_EQ(split(R"(x 'a\nb\')"), (Words{"x", "a\\nb\\"}));
    // No expansion of any kind.
    EXPECT_EQ(split("x $HOME ~ *"), (Words{"x", "$HOME", "~", "*"}));
}

TEST(SplitWords, HashBeginsACommentOnlyAtTheStartOfAWord) {
    EXPECT_EQ(split("tap Tab # the next icon"), (Words{"tap", "Tab"}));
    EXPECT_EQ(split("# a whole line"), Words{});
    EXPECT_EQ(split("expect front Terminal#2"), (Words{"expect", "front", "Terminal#2"}));
    EXPECT_EQ(split("expect log '# not a comment' #but this is"),
              (Words{"expect", "log", "# not a comment"}));
    EXPECT_EQ(split(R"(expect log "x"#y)"), (Words{"expect", "log", "x#y"}));
    EXPECT_EQ(withoutComment("  tap Tab   # the next icon"), "tap Tab");
    EXPECT_EQ(withoutComment(R"(expect log "a # b" # c)"), R"(expect log "a # b")");
    // An escaped blank at the end belongs to the last word.
    EXPECT_EQ(withoutComment(R"(expect log a\  # c)"), R"(expect log a\ )");
    EXPECT_EQ(withoutComment("expect log a\\ "), "expect log a\\ ");
}

TEST(SplitWords, UnterminatedQuotesAndTrailingBackslashAreErrors) {
    EXPECT_EQ(splitError("expect log 'abc"), "a single quote is not closed");
    EXPECT_EQ(splitError(R"(expect log "abc)"), "a double quote is not closed");
    EXPECT_EQ(splitError(R"(expect log "abc\")"), "a double quote is not closed");
    EXPECT_EQ(splitError(R"(tap Tab \)"), "a backslash ends the line");
}

}  // namespace
}  // namespace vantor::tools
