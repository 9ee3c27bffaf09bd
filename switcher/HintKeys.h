// Hint keys of the switcher's entries: the letter of a title, the key strings made of it, and
// the dealing of keys over one scan with the keys remembered per item title across scans.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantor {

inline constexpr std::string_view kHintAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890";
inline constexpr int kMaxHintKeyLength = 32;
using TitleToKeyMap = std::unordered_map<std::string, std::string>;  // item title -> hint key
using MultiplexCounter = std::map<char, std::int32_t>;  // letter -> count (ordered by char)

// Upper-case letter of a title after any vendor prefix ("Google ", "Adobe ", "Microsoft "), as
// a string: "" when no letter can be taken (empty title, nothing after the prefix, invalid
// UTF-8, a first character outside the Basic Multilingual Plane), else the upper-cased first
// UTF-16 unit in UTF-8. The upper-case form may be longer than one unit ("ß" gives "SS").
std::string getFirstLetter(std::string_view title);

// "" (no letter), "A".."Z" or "?" for exactly one UTF-16 character: the initial table by its
// two-byte GB 18030 code, else the initial of a Han character's Mandarin reading; "?" for other
// two-byte characters. Single-byte characters, four-byte ones without a Mandarin reading, and
// arguments that are not one unit long give "".
std::string getChineseCharPinyinLetter(std::u16string_view character);

// The letter of the initial table's row that holds a two-byte GB 18030 code (0xb0a1 to
// 0xd7f9, the common characters by reading), 0 for a code in no row.
char initialTableLetter(unsigned code);

// n copies of c; n is clamped to 0..kMaxHintKeyLength.
std::string repeatedCharString(char c, int n);

// The hint letter of a title: a hint-alphabet char, a pinyin initial, '?', or 0 for no letter.
char letterForTitle(std::string_view title);

struct HintKeyAssignment {
    std::vector<std::string> itemTitles;  // "T/k" for every entry, in list order
    std::vector<std::string> keys;        // the entry's hint key, "" when it has none
    MultiplexCounter multiplexCounter;    // entries per letter in this scan (at most 32)
};

// One scan's dealing: from the raw titles in list order and the remembered map (updated in
// place: dealt keys recorded, pruned, compacted) to the item titles, keys and counts.
HintKeyAssignment assignHintKeys(const std::vector<std::string>& rawTitles,
                                 TitleToKeyMap& titleToKeyMap);

// The count of the key's first character, 0 when that letter has none (or the key is empty).
std::int32_t multiplexCountForKey(const MultiplexCounter& counter, std::string_view key);

}  // namespace vantor
