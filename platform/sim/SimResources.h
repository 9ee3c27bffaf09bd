// The files of resources/ (window layouts, Info) as the simulated desktop's programs find
// them: in a "resources" folder beside the running executable when it has the file, otherwise
// in the copies compiled into the program, so any working directory will do.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantor::sim {

struct BuiltInResource {
    std::string_view name;  // the file name ("MainMenu.json")
    std::string_view text;
};

// The copies compiled in at build time.
std::span<const BuiltInResource> builtInResources();

// The text of the resource file of that name; none when neither place has it or the name is
// not a plain file name.
std::optional<std::string> resourceText(std::string_view fileName);

}  // namespace vantor::sim
