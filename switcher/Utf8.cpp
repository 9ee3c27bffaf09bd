#include "switcher/Utf8.h"

namespace vantor {

namespace {

void appendCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xc0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xe0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
}

}  // namespace

long nextCodePoint(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return static_cast<long>(lead);
    }
    // The well-formed sequences: the lead byte fixes the length and the range of the second
    // byte, which shuts out overlong forms, surrogates and code points beyond U+10FFFF.
    std::size_t trailing = 0;
    unsigned low = 0x80;
    unsigned high = 0xbf;
    unsigned long code = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        trailing = 1;
        code = lead & 0x1f;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        trailing = 2;
        code = lead & 0x0f;
        if (lead == 0xe0) low = 0xa0;
        if (lead == 0xed) high = 0x9f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        trailing = 3;
        code = lead & 0x07;
        if (lead == 0xf0) low = 0x90;
        if (lead == 0xf4) high = 0x8f;
    } else {
        return -1;
    }
    if (text.size() - at <= trailing) return -1;
    for (std::size_t i = 1; i <= trailing; ++i) {
        const unsigned b = byte(at + i);
        if (b < low || b > high) return -1;
        low = 0x80;
        high = 0xbf;
        code = (code << 6) | (b & 0x3f);
    }
    at += trailing + 1;
    return static_cast<long>(code);
}

bool isWellFormedUtf8(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        if (nextCodePoint(text, at) < 0) return false;
    }
    return true;
}

std::string utf8FromUnits(std::u16string_view units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xd800 && unit <= 0xdbff && i + 1 < units.size() && units[i + 1] >= 0xdc00 &&
            units[i + 1] <= 0xdfff) {
            appendCodePoint(out, 0x10000 + ((char32_t{unit} - 0xd800) << 10) +
                                     (char32_t{units[i + 1]} - 0xdc00));
            ++i;
        } else {
            appendCodePoint(out, unit);
        }
    }
    return out;
}

}  // namespace vantor
