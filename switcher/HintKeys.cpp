#include "switcher/HintKeys.h"

#include <algorithm>
#include <array>
#include <optional>

#include "platform/TextTransforms.h"
#include "switcher/Utf8.h"

namespace vantor {

namespace {

// Titles of these vendors take their letter from the word after the vendor name.
constexpr std::array<std::string_view, 3> kVendorPrefixes = {"Google ", "Adobe ", "Microsoft "};

// Initial of a Chinese character by its two-byte GB 18030 code: the 3,755 most common
// characters, which GB 2312 orders by their reading. The rows are tested in order.
struct InitialRow {
    char letter;
    unsigned first;
    unsigned last;
};
constexpr std::array<InitialRow, 23> kInitialTable = {{
    {'A', 0xb0a1, 0xb0c4}, {'B', 0xb0c5, 0xb2c0}, {'C', 0xb2c1, 0xb4ed}, {'D', 0xb4ee, 0xb6e9},
    {'E', 0xb6ea, 0xb7a1}, {'F', 0xb7a2, 0xb8c0}, {'G', 0xb8c1, 0xb9fd}, {'H', 0xb9fe, 0xbbf6},
    {'J', 0xbbf7, 0xbfa5}, {'K', 0xbfa6, 0xc0ab}, {'L', 0xc0ac, 0xc2e7}, {'M', 0xc2e8, 0xc4c2},
    {'N', 0xc4c3, 0xc5b5}, {'O', 0xc5b6, 0xc5bd}, {'P', 0xc5be, 0xc6d9}, {'Q', 0xc6da, 0xc8ba},
    {'R', 0xc8bb, 0xc8f5}, {'S', 0xc8f6, 0xcbf9}, {'T', 0xcbfa, 0xcdd9}, {'W', 0xcdda, 0xcef3},
    {'X', 0xcef4, 0xd1b8}, {'Y', 0xd1b9, 0xd4d0}, {'Z', 0xd4d1, 0xd7f9},
}};

// The title's first UTF-16 unit after any vendor prefix, upper-cased with no language's rules
// so that the result does not depend on the user's language. Nothing when no unit can be
// taken: ill-formed UTF-8, nothing after the prefix, a character outside the Basic
// Multilingual Plane.
std::optional<std::u16string> upperFirstUnit(std::string_view title) {
    if (!isWellFormedUtf8(title)) return std::nullopt;
    std::size_t start = 0;
    for (std::string_view prefix : kVendorPrefixes) {
        if (title.starts_with(prefix)) {
            start = prefix.size();
            break;
        }
    }
    if (start >= title.size()) return std::nullopt;
    const long code = nextCodePoint(title, start);
    if (code < 0 || code > 0xffff) return std::nullopt;
    std::u16string upper = platform::upperCased(static_cast<char16_t>(code));
    if (upper.empty()) return std::nullopt;
    return upper;
}

// Length of key when it is a hint key of letter (letter repeated 1..32 times), else 0.
int keyLengthForLetter(std::string_view key, char letter) {
    if (key.empty() || key.size() > static_cast<std::size_t>(kMaxHintKeyLength)) return 0;
    if (key.find_first_not_of(letter) != std::string_view::npos) return 0;
    return static_cast<int>(key.size());
}

// Which entry holds each key length of one letter during a scan.
struct LetterSlots {
    std::array<int, kMaxHintKeyLength + 1> holder;  // entry index by key length, -1 when free
    int count = 0;                                  // entries of the letter, at most 32
    int nextFree = 0;  // no free length above this one (up to count) for new entries
    LetterSlots() { holder.fill(-1); }
};

}  // namespace

std::string getFirstLetter(std::string_view title) {
    const std::optional<std::u16string> upper = upperFirstUnit(title);
    return upper ? utf8FromUnits(*upper) : std::string();
}

char initialTableLetter(unsigned code) {
    for (const InitialRow& row : kInitialTable) {
        if (row.first <= code && code <= row.last) return row.letter;
    }
    return 0;
}

std::string getChineseCharPinyinLetter(std::u16string_view character) {
    if (character.size() != 1) return {};
    const std::string bytes = platform::gb18030Bytes(character[0]);
    // Single-byte characters (punctuation, symbols, controls) have no letter.
    if (bytes.size() != 2 && bytes.size() != 4) return {};
    if (bytes.size() == 2) {
        const unsigned code =
            static_cast<unsigned char>(bytes[0]) * 256u + static_cast<unsigned char>(bytes[1]);
        if (const char letter = initialTableLetter(code); letter != 0)
            return std::string(1, letter);
    }
    // Beyond the table, a Han character takes the initial of its Mandarin reading. Other
    // two-byte characters (kana, Cyrillic, full-width forms) give "?", and other four-byte ones
    // (accented Latin, Hangul) no letter.
    if (const char initial = platform::mandarinInitial(character[0]); initial != 0) {
        return std::string(1, initial);
    }
    return bytes.size() == 2 ? "?" : "";
}

std::string repeatedCharString(char c, int n) {
    return std::string(static_cast<std::size_t>(std::clamp(n, 0, kMaxHintKeyLength)), c);
}

char letterForTitle(std::string_view title) {
    const std::optional<std::u16string> upper = upperFirstUnit(title);
    if (!upper || upper->size() != 1) return 0;
    const char16_t unit = (*upper)[0];
    if (unit < 0x80 && kHintAlphabet.find(static_cast<char>(unit)) != std::string_view::npos) {
        return static_cast<char>(unit);
    }
    const std::string initial = getChineseCharPinyinLetter(*upper);
    return initial.empty() ? 0 : initial[0];
}

HintKeyAssignment assignHintKeys(const std::vector<std::string>& rawTitles,
                                 TitleToKeyMap& titleToKeyMap) {
    const std::size_t entryCount = rawTitles.size();
    HintKeyAssignment result;
    result.itemTitles.reserve(entryCount);
    result.keys.resize(entryCount);

    // Item titles and letters; the occurrence number counts earlier entries with the same title.
    std::vector<char> letters(entryCount, 0);
    std::map<char, LetterSlots> slotsByLetter;
    std::unordered_map<std::string_view, int> occurrences;
    for (std::size_t i = 0; i < entryCount; ++i) {
        const std::string& raw = rawTitles[i];
        result.itemTitles.push_back(raw + "/" + std::to_string(occurrences[raw]++));
        letters[i] = letterForTitle(raw);
        if (letters[i] == 0) continue;
        LetterSlots& slots = slotsByLetter[letters[i]];
        slots.count = std::min(slots.count + 1, kMaxHintKeyLength);
    }
    for (auto& [letter, slots] : slotsByLetter) {
        result.multiplexCounter[letter] = slots.count;
        slots.nextFree = slots.count;
    }

    // Remembered entries claim their keys first, in list order; a key claimed twice goes to
    // the earlier entry and the later one is dealt a key like a new entry.
    std::vector<std::size_t> newEntries;
    for (std::size_t i = 0; i < entryCount; ++i) {
        const char letter = letters[i];
        if (letter == 0) continue;
        LetterSlots& slots = slotsByLetter[letter];
        const auto remembered = titleToKeyMap.find(result.itemTitles[i]);
        const int length =
            remembered == titleToKeyMap.end() ? 0 : keyLengthForLetter(remembered->second, letter);
        if (length > 0 && slots.holder[length] < 0) {
            slots.holder[length] = static_cast<int>(i);
            result.keys[i] = remembered->second;
        } else {
            newEntries.push_back(i);
        }
    }

    // New entries take the longest free length not above their letter's count, so that the
    // first new entry of a letter gets the longest key. Past 32 entries none is left.
    for (const std::size_t i : newEntries) {
        const char letter = letters[i];
        LetterSlots& slots = slotsByLetter[letter];
        while (slots.nextFree > 0 && slots.holder[slots.nextFree] >= 0)
            --slots.nextFree;
        if (slots.nextFree == 0) continue;
        slots.holder[slots.nextFree] = static_cast<int>(i);
        result.keys[i] = repeatedCharString(letter, slots.nextFree);
        titleToKeyMap[result.itemTitles[i]] = result.keys[i];
    }

    // Forget titles whose key nobody holds now; a title whose key is held by another entry
    // stays remembered.
    std::erase_if(titleToKeyMap, [&](const auto& remembered) {
        const std::string& key = remembered.second;
        if (key.empty()) return true;
        const auto slots = slotsByLetter.find(key[0]);
        if (slots == slotsByLetter.end()) return true;
        const int length = keyLengthForLetter(key, key[0]);
        return length == 0 || slots->second.holder[length] < 0;
    });

    // Close the gaps: each free length up to the count takes the entry of the next longer key,
    // so that the keys of a letter are exactly the lengths 1..count.
    for (auto& [letter, slots] : slotsByLetter) {
        for (int length = 1; length <= slots.count; ++length) {
            if (slots.holder[length] >= 0) continue;
            int longer = length + 1;
            while (longer <= kMaxHintKeyLength && slots.holder[longer] < 0)
                ++longer;
            if (longer > kMaxHintKeyLength) break;
            const auto entry = static_cast<std::size_t>(slots.holder[longer]);
            slots.holder[length] = slots.holder[longer];
            slots.holder[longer] = -1;
            result.keys[entry] = repeatedCharString(letter, length);
            titleToKeyMap[result.itemTitles[entry]] = result.keys[entry];
        }
    }
    return result;
}

std::int32_t multiplexCountForKey(const MultiplexCounter& counter, std::string_view key) {
    if (key.empty()) return 0;
    const auto found = counter.find(key[0]);
    return found == counter.end() ? 0 : found->second;
}

}  // namespace vantor
