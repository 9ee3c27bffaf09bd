#include "platform/JsonTextCheck.h"

#include <nlohmann/json.hpp>

namespace vantor::platform {

namespace {

using Json = nlohmann::json;

class Checker final : public nlohmann::json_sax<Json> {
public:
    explicit Checker(std::size_t maxNesting) : maxNesting_(maxNesting) {}

    JsonTextCheck result;

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return enter(); }
    bool key(string_t&) override { return true; }
    bool end_object() override { return leave(); }
    bool start_array(std::size_t) override { return enter(); }
    bool end_array() override { return leave(); }
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& ex) override {
        result.outcome = JsonTextCheck::Outcome::SyntaxError;
        result.position = position;
        // "[json.exception.parse_error.101] parse error at line 1, column 2: …"
        std::string_view what = ex.what();
        if (const auto close = what.find("] "); close != std::string_view::npos)
            what.remove_prefix(close + 2);
        result.message = std::string(what);
        return false;
    }

private:
    bool enter() {
        if (++depth_ <= maxNesting_) return true;
        result.outcome = JsonTextCheck::Outcome::TooDeep;
        return false;
    }
    bool leave() {
        --depth_;
        return true;
    }

    std::size_t maxNesting_;
    std::size_t depth_ = 0;
};

}  // namespace

JsonTextCheck checkJsonText(std::string_view text, std::size_t maxNesting) {
    Checker checker(maxNesting);
    if (!Json::sax_parse(text, &checker) && checker.result.outcome == JsonTextCheck::Outcome::Valid)
        checker.result.outcome = JsonTextCheck::Outcome::SyntaxError;
    return checker.result;
}

}  // namespace vantor::platform
