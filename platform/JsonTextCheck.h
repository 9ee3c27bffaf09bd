// A first pass over untrusted JSON text (a settings file, a window layout, an update answer)
// that checks its syntax and its nesting without building anything, so that deeply nested input
// never reaches a tree of values and a message can say where the text goes wrong.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantor::platform {

struct JsonTextCheck {
    enum class Outcome { Valid, SyntaxError, TooDeep };
    Outcome outcome = Outcome::Valid;
    // For a syntax error: the bytes read, the offending one included (one more than the text's
    // size when it ends early), and the parser's message ("parse error at line 1, column 2: …").
    std::size_t position = 0;
    std::string message;
};

// Checks that `text` is one JSON value whose objects and arrays nest at most `maxNesting` deep.
JsonTextCheck checkJsonText(std::string_view text, std::size_t maxNesting);

}  // namespace vantor::platform
