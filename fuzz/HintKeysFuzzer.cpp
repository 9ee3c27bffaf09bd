// The hint keys dealt over a sequence of scans of arbitrary UTF-16 titles, with the keys
// remembered from scan to scan. After every scan:
// - each entry's item title is its title and its occurrence number among equal titles;
// - a title with no letter gets no key; a key is its entry's letter repeated 1 to 32 times;
// - no two entries share a key, and the keys of a letter with n entries are exactly the
//   lengths 1..min(n, 32); the letter counts say the same;
// - every dealt key is remembered under its item title, and what is remembered is a key;
// - the same list scanned again deals the same keys, and a list of entries that were all there
//   before (with at most 32 per letter) moves no entry to a longer key.
//
// Input: little-endian UTF-16 units; 0x0000 ends a title, 0xFFFF ends a scan, 0xFFFE scans the
// previous list again. Lone surrogates reach the titles as generalized UTF-8 (invalid UTF-8).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "switcher/HintKeys.h"
#include "switcher/Utf8.h"

namespace {

using vantor::HintKeyAssignment;
using vantor::TitleToKeyMap;
using vantor::fuzz::check;

constexpr std::size_t kMaxTitles = 160;
constexpr std::size_t kMaxScans = 48;

bool isKeyOf(const std::string& key, char letter) {
    return !key.empty() && key.size() <= static_cast<std::size_t>(vantor::kMaxHintKeyLength) &&
           key.find_first_not_of(letter) == std::string::npos;
}

struct Scan {
    std::vector<std::string> raw;
    HintKeyAssignment result;
};

// Checks one scan on its own; returns the most entries any letter had.
int checkScan(const std::vector<std::string>& raw, const HintKeyAssignment& scan,
              const TitleToKeyMap& map) {
    check(scan.itemTitles.size() == raw.size() && scan.keys.size() == raw.size(),
          "one item title and one key per entry");
    std::unordered_map<std::string, int> occurrences;
    std::map<char, int> entries;
    std::map<char, std::set<std::size_t>> lengths;
    std::set<std::string> keys;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        check(scan.itemTitles[i] == raw[i] + "/" + std::to_string(occurrences[raw[i]]++),
              "an item title is the title and its occurrence number");
        const char letter = vantor::letterForTitle(raw[i]);
        const std::string& key = scan.keys[i];
        if (letter == 0) {
            check(key.empty(), "a title with no letter gets no key");
            continue;
        }
        ++entries[letter];
        if (key.empty()) continue;
        check(isKeyOf(key, letter), "a key is the entry's letter repeated 1 to 32 times");
        check(keys.insert(key).second, "no two entries share a key");
        lengths[letter].insert(key.size());
        const auto remembered = map.find(scan.itemTitles[i]);
        check(remembered != map.end() && remembered->second == key,
              "a dealt key is remembered under its item title");
    }
    int most = 0;
    check(scan.multiplexCounter.size() == entries.size(), "one count per letter present");
    for (const auto& [letter, count] : entries) {
        most = std::max(most, count);
        const int n = std::min(count, vantor::kMaxHintKeyLength);
        const auto counted = scan.multiplexCounter.find(letter);
        check(counted != scan.multiplexCounter.end() && counted->second == n,
              "a letter's count is its entries, at most 32");
        const std::set<std::size_t>& held = lengths[letter];
        check(held.size() == static_cast<std::size_t>(n) &&
                  (n == 0 || (*held.begin() == 1 && *held.rbegin() == static_cast<std::size_t>(n))),
              "the keys of a letter are exactly the lengths 1..count");
    }
    for (const auto& [title, key] : map) {
        check(!key.empty() && scan.multiplexCounter.contains(key[0]) && isKeyOf(key, key[0]),
              "what is remembered is a key of a letter of this scan");
    }
    return most;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::vector<std::string>> lists;
    std::vector<std::string> titles;
    std::u16string title;
    const auto endScan = [&] {
        titles.push_back(vantor::utf8FromUnits(title));
        title.clear();
        lists.push_back(std::move(titles));
        titles.clear();
    };
    for (std::size_t i = 0; i + 1 < size && lists.size() < kMaxScans; i += 2) {
        const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0xFFFF) {
            endScan();
        } else if (unit == 0xFFFE) {
            if (!lists.empty()) lists.push_back(lists.back());
        } else if (unit == 0x0000) {
            if (titles.size() < kMaxTitles) titles.push_back(vantor::utf8FromUnits(title));
            title.clear();
        } else {
            title += unit;
        }
    }
    if (lists.size() < kMaxScans && (!title.empty() || !titles.empty())) endScan();

    TitleToKeyMap map;
    std::vector<std::string> previousRaw;
    HintKeyAssignment previous;
    int previousMost = 0;
    bool first = true;
    for (const std::vector<std::string>& raw : lists) {
        HintKeyAssignment scan = vantor::assignHintKeys(raw, map);
        const int most = checkScan(raw, scan, map);
        if (!first) {
            if (raw == previousRaw)
                check(scan.keys == previous.keys, "a repeated scan deals the same keys");
            // Entries that were all there before keep their keys or move to shorter ones.
            std::unordered_map<std::string, std::string> before;
            for (std::size_t i = 0; i < previousRaw.size(); ++i)
                before[previous.itemTitles[i]] = previous.keys[i];
            const bool allKnown =
                std::all_of(scan.itemTitles.begin(), scan.itemTitles.end(),
                            [&](const std::string& t) { return before.contains(t); });
            if (allKnown && previousMost <= vantor::kMaxHintKeyLength) {
                for (std::size_t i = 0; i < raw.size(); ++i) {
                    const std::string& was = before[scan.itemTitles[i]];
                    check(scan.keys[i].size() <= was.size() && scan.keys[i].empty() == was.empty(),
                          "a known entry keeps its key or moves to a shorter one");
                }
            }
        }
        first = false;
        previousRaw = raw;
        previous = std::move(scan);
        previousMost = most;
    }
    return 0;
}
