// The text jobs behind the hint letters, done by the system's own text library (ICU on Linux,
// CoreFoundation on a Mac): upper case, GB 18030 bytes and Mandarin readings of one UTF-16 unit.
#pragma once

#include <string>

namespace vantor::platform {

// The upper-case form of one unit with no language's rules (the root locale): one unit or
// more ("ß" gives "SS"); empty when the conversion fails.
std::u16string upperCased(char16_t unit);

// The unit's GB 18030 form: one, two or four bytes; empty when it has none (half of a
// surrogate pair).
std::string gb18030Bytes(char16_t unit);

// The first letter of the Mandarin reading of a Han character, 'A' to 'Z' without its tone
// mark (阿 "ā" gives 'A'); 0 for a unit that has no such reading.
char mandarinInitial(char16_t unit);

// Loads the readings once, so that no later mandarinInitial pays for it; the agent's start
// calls it. Calling it again, or not at all, is harmless.
void prepareMandarinReadings();

}  // namespace vantor::platform
