// The built-in demonstration that vantor-sim plays without arguments: a scenario like any
// other, so that what it shows is also checked.
#pragma once

#include <string_view>

namespace vantor::tools {

// Where the demonstration writes its screen PNGs, relative to the working directory.
inline constexpr std::string_view kDemonstrationOutputDir = "vantor-sim-out";

// The demonstration's script.
std::string_view demonstrationScript();

}  // namespace vantor::tools
