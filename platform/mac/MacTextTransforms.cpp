// The text jobs of platform/TextTransforms.h with CoreFoundation, so that Vantor.app needs no
// ICU of its own.
#include <CoreFoundation/CoreFoundation.h>

#include <array>

#include "platform/TextTransforms.h"

namespace vantor::platform {

namespace {

// A mutable CFString that starts as one unit, released at the end of the scope.
class OneUnitString {
public:
    explicit OneUnitString(char16_t unit) : string_(CFStringCreateMutable(kCFAllocatorDefault, 0)) {
        const UniChar character = unit;
        if (string_ != nullptr) CFStringAppendCharacters(string_, &character, 1);
    }
    ~OneUnitString() {
        if (string_ != nullptr) CFRelease(string_);
    }
    OneUnitString(const OneUnitString&) = delete;
    OneUnitString& operator=(const OneUnitString&) = delete;

    CFMutableStringRef get() const { return string_; }

    std::u16string units() const {
        if (string_ == nullptr) return {};
        const CFIndex length = CFStringGetLength(string_);
        std::u16string out(static_cast<std::size_t>(length), u'\0');
        static_assert(sizeof(UniChar) == sizeof(char16_t));
        CFStringGetCharacters(string_, CFRangeMake(0, length),
                              reinterpret_cast<UniChar*>(out.data()));
        return out;
    }

private:
    CFMutableStringRef string_;
};

}  // namespace

std::u16string upperCased(char16_t unit) {
    OneUnitString string(unit);
    if (string.get() == nullptr) return {};
    // No locale: the mapping of no particular language.
    CFStringUppercase(string.get(), nullptr);
    return string.units();
}

std::string gb18030Bytes(char16_t unit) {
    OneUnitString string(unit);
    if (string.get() == nullptr) return {};
    std::array<UInt8, 8> bytes{};
    CFIndex used = 0;
    // Loss byte 0: a unit with no GB 18030 form converts to nothing rather than to a stand-in.
    const CFIndex converted =
        CFStringGetBytes(string.get(), CFRangeMake(0, 1),
                         static_cast<CFStringEncoding>(kCFStringEncodingGB_18030_2000), 0, false,
                         bytes.data(), static_cast<CFIndex>(bytes.size()), &used);
    if (converted != 1) return {};
    return std::string(reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(used));
}

char mandarinInitial(char16_t unit) {
    OneUnitString string(unit);
    if (string.get() == nullptr ||
        !CFStringTransform(string.get(), nullptr, kCFStringTransformMandarinLatin, false)) {
        return 0;
    }
    const std::u16string reading = string.units();
    // What the transform leaves as it was is no Han character ("É" stays "É").
    if (reading.empty() || reading == std::u16string(1, unit)) return 0;
    // The first letter without its tone mark.
    if (!CFStringTransform(string.get(), nullptr, kCFStringTransformStripCombiningMarks, false)) {
        return 0;
    }
    const std::u16string bare = string.units();
    if (bare.empty()) return 0;
    const char16_t letter = bare[0];
    if (letter >= u'a' && letter <= u'z') return static_cast<char>(letter - u'a' + 'A');
    if (letter >= u'A' && letter <= u'Z') return static_cast<char>(letter);
    return 0;
}

void prepareMandarinReadings() {
    // The first transform loads the reading tables; 中 is as good a character as any.
    mandarinInitial(u'\u4e2d');
}

}  // namespace vantor::platform
