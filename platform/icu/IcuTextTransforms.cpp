// The text jobs of platform/TextTransforms.h with ICU.
#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <array>
#include <memory>

#include "platform/TextTransforms.h"

namespace vantor::platform {

namespace {

// One GB 18030 converter per thread, stopping at (instead of substituting) what it cannot map.
class Gb18030Converter {
public:
    Gb18030Converter() {
        UErrorCode err = U_ZERO_ERROR;
        converter_ = ucnv_open("GB18030", &err);
        if (U_FAILURE(err)) {
            converter_ = nullptr;
            return;
        }
        ucnv_setFromUCallBack(converter_, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                              &err);
    }
    ~Gb18030Converter() {
        if (converter_ != nullptr) ucnv_close(converter_);
    }
    Gb18030Converter(const Gb18030Converter&) = delete;
    Gb18030Converter& operator=(const Gb18030Converter&) = delete;

    UConverter* get() const { return converter_; }

private:
    UConverter* converter_ = nullptr;
};

// The "Han-Latin" transliterator, built on first use (its rules take a noticeable fraction of
// a second to compile); null when ICU cannot build it.
const icu::Transliterator* hanLatin() {
    static const std::unique_ptr<icu::Transliterator> transliterator = [] {
        UErrorCode err = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> built(
            icu::Transliterator::createInstance("Han-Latin", UTRANS_FORWARD, err));
        if (U_FAILURE(err)) built.reset();
        return built;
    }();
    return transliterator.get();
}

}  // namespace

std::u16string upperCased(char16_t unit) {
    std::array<char16_t, 8> upper{};
    UErrorCode err = U_ZERO_ERROR;
    const std::int32_t length =
        u_strToUpper(upper.data(), static_cast<std::int32_t>(upper.size()), &unit, 1, "", &err);
    if (U_FAILURE(err)) return {};
    return std::u16string(upper.data(), static_cast<std::size_t>(length));
}

std::string gb18030Bytes(char16_t unit) {
    thread_local Gb18030Converter converter;
    if (converter.get() == nullptr) return {};
    std::array<char, 8> bytes{};
    UErrorCode err = U_ZERO_ERROR;
    const std::int32_t length = ucnv_fromUChars(
        converter.get(), bytes.data(), static_cast<std::int32_t>(bytes.size()), &unit, 1, &err);
    if (U_FAILURE(err)) return {};
    return std::string(bytes.data(), static_cast<std::size_t>(length));
}

char mandarinInitial(char16_t unit) {
    const icu::Transliterator* transliterator = hanLatin();
    if (transliterator == nullptr) return 0;
    icu::UnicodeString reading(unit);
    transliterator->transliterate(reading);
    // What the transliterator leaves as it was is no Han character ("É" stays "É").
    if (reading.isEmpty() || reading == icu::UnicodeString(unit)) return 0;

    // The first letter without its tone mark: the first unit of its canonical decomposition.
    UChar32 first = reading.char32At(0);
    UErrorCode err = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(err);
    icu::UnicodeString decomposed;
    if (U_SUCCESS(err) && nfd->getDecomposition(first, decomposed)) first = decomposed.char32At(0);
    if (first >= 'a' && first <= 'z') return static_cast<char>(first - 'a' + 'A');
    if (first >= 'A' && first <= 'Z') return static_cast<char>(first);
    return 0;
}

void prepareMandarinReadings() {
    hanLatin();
}

}  // namespace vantor::platform
