// Strict UTF-8 decoding and encoding of the titles whose letters the hint keys take.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantor {

// The code point that starts at text[at] (at < text.size()), with `at` moved past it; -1 for
// an ill-formed sequence (overlong forms, encoded surrogates, beyond U+10FFFF, cut short),
// leaving `at` where it was.
long nextCodePoint(std::string_view text, std::size_t& at);

// Whether the whole text is well-formed UTF-8.
bool isWellFormedUtf8(std::string_view text);

// UTF-16 units as UTF-8; a surrogate pair is joined into its code point.
std::string utf8FromUnits(std::u16string_view units);

}  // namespace vantor
