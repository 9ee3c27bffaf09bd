#include "tools/Demonstration.h"

namespace vantor::tools {

std::string_view demonstrationScript() {
    return R"(# Six applications, two of them named Terminal and one with a Chinese title.
app Safari
app Mail
app Terminal
app Music
app Terminal
app 微信
# Not the first start: no preferences window comes up.
setting "Current Version" 1.0
launch
wait 0.5

# The user holds Command and presses Tab: the Dock's switcher opens, and Vantor lays a hint
# label on the bottom edge of every icon.
down LeftCommand
tap Tab
wait 0.1
expect showing yes
expect overlay visible
expect highlight Mail
expect hint Safari S
expect hint Mail MM
expect hint Terminal TT
expect hint Music M
expect hint Terminal#2 T
expect hint 微信 W
shot 1-hints.png

# Tab moves the switcher's highlight; Vantor reads the list again and its labels follow.
tap Tab
wait 0.1
expect highlight Terminal
expect hint Terminal TT
expect hint Terminal#2 T
shot 2-tab.png

# Releasing Command switches to the highlighted application; the labels go with the switcher.
up LeftCommand
wait 0.1
expect showing no
expect overlay hidden
expect front Terminal
shot 3-switched.png
)";
}

}  // namespace vantor::tools
