#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <random>
#include <string>
#include <unordered_map>
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

// Checks that the keys of every letter are exactly the lengths 1..n (n the count, at most 32),
// each held once by an entry of that letter, and that keyed item titles are remembered. Returns
// the most entries that one letter had.
int expectScanInvariants(const std::vector<std::string>& raw, const HintKeyAssignment& scan,
                         const TitleToKeyMap& map) {
    std::unordered_map<std::string, int> seen;
    std::map<char, int> entries;
    std::map<char, std::bitset<kMaxHintKeyLength + 1>> held;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        EXPECT_EQ(scan.itemTitles[i], raw[i] + "/" + std::to_string(seen[raw[i]]++));
        const char letter = letterForTitle(raw[i]);
        const std::string& key = scan.keys[i];
        if (letter != 0) ++entries[letter];
        if (key.empty()) continue;
        EXPECT_EQ(key, std::string(key.size(), letter)) << raw[i];
        EXPECT_FALSE(held[letter][key.size()]) << key << " held twice";
        held[letter][key.size()] = true;
        const auto remembered = map.find(scan.itemTitles[i]);
        EXPECT_TRUE(remembered != map.end() && remembered->second == key) << scan.itemTitles[i];
    }
    EXPECT_EQ(scan.multiplexCounter.size(), entries.size());
    int most = 0;
    for (const auto& [letter, count] : entries) {
        const int n = std::min(count, kMaxHintKeyLength);
        EXPECT_EQ(scan.multiplexCounter.at(letter), n);
        EXPECT_EQ(held[letter], std::bitset<kMaxHintKeyLength + 1>((2ull << n) - 2)) << letter;
        most = std::max(most, count);
    }
    return most;
}

TEST(AssignHintKeys, RandomScansKeepInvariantsAndKeys) {
    const std::vector<std::string> mTitles = {"Mail", "Maps", "Music", "Messages", "Mx"};
    const std::vector<std::string> others = {"Terminal", "Tips", "Google Drive", "Docs", "北京",
                                             "中文",     "ねこ", "-dash",        "",     "ßig",
                                             "😀",        "1Pass"};
    std::mt19937 random(20240611);
    auto pick = [&](std::size_t bound) { return static_cast<long>(random() % bound); };
    std::vector<std::string> running;
    TitleToKeyMap map;
    std::unordered_map<std::string, std::string> previousKeys;  // item title -> key
    std::size_t target = 0;
    int mostEntries = 0;
    int collisions = 0;
    for (int scanIndex = 0; scanIndex < 1500; ++scanIndex) {
        // Apps start and quit towards a moving target size; one may come to the front.
        if (scanIndex % 40 == 0) target = static_cast<std::size_t>(pick(75));
        for (long c = pick(3); c >= 0; --c) {
            if (running.size() < target) {
                running.insert(running.begin() + pick(running.size() + 1),
                               pick(2) == 0 ? mTitles[pick(5)] : others[pick(others.size())]);
            } else if (!running.empty()) {
                running.erase(running.begin() + pick(running.size()));
            }
        }
        if (!running.empty() && pick(4) == 0) {
            std::rotate(running.begin(), running.begin() + pick(running.size()), running.end());
        }

        const TitleToKeyMap before = map;
        const HintKeyAssignment scan = assignHintKeys(running, map);
        SCOPED_TRACE("scan " + std::to_string(scanIndex));
        mostEntries = std::max(mostEntries, expectScanInvariants(running, scan, map));

        // A surviving item title keeps its key or moves to a shorter one, unless an earlier
        // entry remembered with the same key claimed it first.
        std::unordered_map<std::string, std::string> keys;
        for (std::size_t i = 0; i < running.size(); ++i) {
            const std::string& title = scan.itemTitles[i];
            const std::string& key = scan.keys[i];
            if (!key.empty()) keys[title] = key;
            const auto previous = previousKeys.find(title);
            if (previous == previousKeys.end()) continue;
            const bool claimedEarlier =
                std::any_of(scan.itemTitles.begin(), scan.itemTitles.begin() + static_cast<long>(i),
                            [&](const std::string& earlier) {
                                const auto found = before.find(earlier);
                                return found != before.end() && found->second == previous->second;
                            });
            collisions += claimedEarlier ? 1 : 0;
            EXPECT_TRUE(claimedEarlier || (!key.empty() && key[0] == previous->second[0] &&
                                           key.size() <= previous->second.size()))
                << title << " had " << previous->second << ", now " << key;
        }
        previousKeys = std::move(keys);
        if (HasFailure()) return;
    }
    EXPECT_GT(mostEntries, 32);
    EXPECT_GT(collisions, 0);
}

}  // namespace
}  // namespace vantor
