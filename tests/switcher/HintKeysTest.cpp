#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/TextTransforms.h"
#include "switcher/HintKeys.h"

namespace vantor {
namespace {

using testing::ElementsAre;

struct LetterCase {
    const char* title;
    char letter;              // letterForTitle
    const char* firstLetter;  // getFirstLetter
};

class TitleLetter : public testing::TestWithParam<LetterCase> {};

TEST_P(TitleLetter, TakesLetterAfterVendorPrefix) {
    EXPECT_EQ(letterForTitle(GetParam().title), GetParam().letter);
    EXPECT_EQ(getFirstLetter(GetParam().title), GetParam().firstLetter);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, TitleLetter,
    testing::Values(
        LetterCase{"Google Drive", 'D', "D"}, LetterCase{"Adobe Reader", 'R', "R"},
        LetterCase{"Microsoft Word", 'W', "W"}, LetterCase{"Googled", 'G', "G"},
        LetterCase{"google Drive", 'G', "G"}, LetterCase{"Google Google", 'G', "G"},
        LetterCase{"iTunes", 'I', "I"}, LetterCase{"1Password", '1', "1"},
        LetterCase{"-dash", 0, "-"}, LetterCase{"ねこ", '?', "ね"}, LetterCase{"Яндекс", '?', "Я"},
        LetterCase{"中文", 'Z', "中"}, LetterCase{"文", 'W', "文"}, LetterCase{"北京", 'B', "北"},
        // No letter can be taken.
        LetterCase{"", 0, ""}, LetterCase{"Google ", 0, ""}, LetterCase{"Microsoft ", 0, ""},
        LetterCase{"😀 Fun", 0, ""}, LetterCase{"\xff Mail", 0, ""}, LetterCase{"Mail\xc3", 0, ""},
        LetterCase{"\xed\xa0\x80 surrogate", 0, ""}, LetterCase{"\xc1\x81 overlong", 0, ""},
        // Upper case longer than one unit, and four-byte GB 18030 forms.
        LetterCase{"ßig", 0, "SS"}, LetterCase{"éclair", 0, "É"}, LetterCase{"한글", 0, "한"}));

struct InitialCase {
    const char16_t* character;
    const char* initial;
};

class PinyinInitial : public testing::TestWithParam<InitialCase> {};

TEST_P(PinyinInitial, FollowsInitialTableThenMandarinReading) {
    EXPECT_EQ(getChineseCharPinyinLetter(GetParam().character), GetParam().initial);
}

// Characters at the row boundaries, with their GB 18030 codes, and characters beyond the table.
INSTANTIATE_TEST_SUITE_P(
    Boundaries, PinyinInitial,
    testing::Values(InitialCase{u"啊", "A"} /* b0a1 */, InitialCase{u"损", "S"} /* cbf0 */,
                    InitialCase{u"笋", "S"} /* cbf1 */, InitialCase{u"所", "S"} /* cbf9 */,
                    InitialCase{u"塌", "T"} /* cbfa */, InitialCase{u"褖", "X"} /* d189 */,
                    InitialCase{u"迅", "X"} /* d1b8 */, InitialCase{u"压", "Y"} /* d1b9 */,
                    InitialCase{u"座", "Z"} /* d7f9 */,
                    // Beyond the table: Mandarin readings, else "?" for two bytes, "" for four.
                    InitialCase{u"盃", "B"} /* b0a0 */, InitialCase{u"哔", "B"} /* 8740 */,
                    InitialCase{u"㐀", "Q"} /* four bytes */,
                    InitialCase{u"\ue810", "?"} /* d7fa */, InitialCase{u"Ａ", "?"},
                    InitialCase{u"-", ""}, InitialCase{u"É", ""}, InitialCase{u"中文", ""},
                    InitialCase{u"", ""}));

// Every character of the table read by the transliterator as well: the two agree except on
// characters of several readings, where the table may follow another one than the reading.
TEST(PinyinInitial, TableAgreesWithMandarinReadings) {
    // 辟 bì/pì, 泊 bó/pō, 长 cháng/zhǎng, 匙 chí/shi, 脯 fǔ/pú, 蛤 gé/há, 槛 jiàn/kǎn, 咯 kǎ/gē,
    // 咳 ké/hāi, 傀 kuǐ/guī, 埔 pǔ/bù, 茄 qié/jiā, 炔 quē/guì, 伺 sì/cì, 厦 xià/shà, 畜 xù/chù,
    // 吁 yù/xū, 曾 zēng/céng, 轧 zhá/yà, 辗 zhǎn/niǎn, 椎 zhuī/chuí (the table's reading first).
    const std::u16string severalReadings = u"辟泊长匙脯蛤槛咯咳傀埔茄炔伺厦畜吁曾轧辗椎";
    ASSERT_EQ(platform::mandarinInitial(u'中'), 'Z') << "no Mandarin readings at all";
    int tableCharacters = 0;
    for (char32_t c = 0x80; c <= 0xffff; ++c) {
        const auto unit = static_cast<char16_t>(c);
        if (unit >= 0xd800 && unit <= 0xdfff) continue;
        const std::string bytes = platform::gb18030Bytes(unit);
        if (bytes.size() != 2) continue;
        const auto first = static_cast<unsigned char>(bytes[0]);
        const auto second = static_cast<unsigned char>(bytes[1]);
        if (first < 0xb0 || first > 0xd7 || second < 0xa1 || (first == 0xd7 && second > 0xf9)) {
            continue;
        }
        ++tableCharacters;
        if (severalReadings.find(unit) != std::u16string::npos) continue;
        EXPECT_EQ(initialTableLetter(first * 256u + second), platform::mandarinInitial(unit))
            << "U+" << std::hex << static_cast<unsigned>(unit);
    }
    EXPECT_EQ(tableCharacters, 3755);
}

TEST(AssignHintKeys, WorkedExampleOverTwoScans) {
    TitleToKeyMap map;
    HintKeyAssignment scan =
        assignHintKeys({"Mail", "Terminal", "Music", "Google Drive", "Terminal", "北京"}, map);
    EXPECT_THAT(scan.itemTitles, ElementsAre("Mail/0", "Terminal/0", "Music/0", "Google Drive/0",
                                             "Terminal/1", "北京/0"));
    EXPECT_THAT(scan.keys, ElementsAre("MM", "TT", "M", "D", "T", "B"));
    EXPECT_EQ(scan.multiplexCounter, (MultiplexCounter{{'B', 1}, {'D', 1}, {'M', 2}, {'T', 2}}));
    TitleToKeyMap expected = {{"Mail/0", "MM"},        {"Terminal/0", "TT"}, {"Music/0", "M"},
                              {"Google Drive/0", "D"}, {"Terminal/1", "T"},  {"北京/0", "B"}};
    EXPECT_EQ(map, expected);
    EXPECT_EQ(multiplexCountForKey(scan.multiplexCounter, "M"), 2);
    EXPECT_EQ(multiplexCountForKey(scan.multiplexCounter, "MM"), 2);
    EXPECT_EQ(multiplexCountForKey(scan.multiplexCounter, "D"), 1);
    EXPECT_EQ(multiplexCountForKey(scan.multiplexCounter, "Q"), 0);

    // Music has quit: its title is forgotten and Mail moves down to M.
    scan = assignHintKeys({"Terminal", "Mail", "Google Drive", "Terminal", "北京"}, map);
    EXPECT_THAT(scan.itemTitles,
                ElementsAre("Terminal/0", "Mail/0", "Google Drive/0", "Terminal/1", "北京/0"));
    EXPECT_THAT(scan.keys, ElementsAre("TT", "M", "D", "T", "B"));
    EXPECT_EQ(scan.multiplexCounter, (MultiplexCounter{{'B', 1}, {'D', 1}, {'M', 1}, {'T', 2}}));
    expected.erase("Music/0");
    expected["Mail/0"] = "M";
    EXPECT_EQ(map, expected);
}

// A quit title stays remembered while another entry holds its key; when both come back, the
// earlier one keeps the key and the later one is dealt the free one. (The invariants of every
// scan are checked by the hint-key fuzzer, whose corpus CTest replays.)
TEST(AssignHintKeys, ColliderClaimsAreResolvedToOneKeyEach) {
    TitleToKeyMap map;
    assignHintKeys({"Mail"}, map);
    assignHintKeys({"Maps"}, map);
    EXPECT_EQ(map, (TitleToKeyMap{{"Mail/0", "M"}, {"Maps/0", "M"}}));
    const HintKeyAssignment scan = assignHintKeys({"Mail", "Maps"}, map);
    EXPECT_THAT(scan.keys, ElementsAre("M", "MM"));
    EXPECT_EQ(map, (TitleToKeyMap{{"Mail/0", "M"}, {"Maps/0", "MM"}}));
}

// Every entry of a title is numbered apart, however many there are (the 257th is not numbered
// as the first); only the first 32 of a letter get keys, the longest first.
TEST(AssignHintKeys, ManyEntriesOfOneTitleAreNumberedApartAndTheFirst32GetKeys) {
    const std::vector<std::string> titles(300, "Mail");
    TitleToKeyMap map;
    for (int round = 0; round < 2; ++round) {  // the second round finds all keys remembered
        const HintKeyAssignment scan = assignHintKeys(titles, map);
        EXPECT_EQ(multiplexCountForKey(scan.multiplexCounter, "MMM"), 32);
        for (std::size_t i = 0; i < titles.size(); ++i) {
            EXPECT_EQ(scan.itemTitles[i], "Mail/" + std::to_string(i));
            EXPECT_EQ(scan.keys[i], std::string(i < 32 ? 32 - i : 0, 'M'));
        }
        EXPECT_EQ(map.size(), 32u);
    }
}

}  // namespace
}  // namespace vantor
