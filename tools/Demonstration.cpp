#include "tools/Demonstration.h"

namespace vantor::tools {

std::string_view demonstrationScript() {
    return R"(# Six applications, two of them named Terminal and one with a Chinese title, and an update
# server that knows of a newer version.
app Safari
app Mail
app Terminal
app Music
app Terminal
app 微信
update 200 '{"Version": "1.1", "WhatsNew": "Hints for the middle-button trigger.\nFaster drawing."}'
launch

# The first start opens the preferences window.
wait 0.5
expect window PrefWindow open
shot 0-preferences.png
close PrefWindow

# Ten seconds after the update server answered, the newer version is announced.
wait 10
expect window NewVersionWindow open
shot 1-update.png
click NewVersionWindow mindLater:
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
shot 2-hints.png

# Tab moves the switcher's highlight; Vantor reads the list again and its labels follow.
tap Tab
wait 0.1
expect highlight Terminal
shot 3-tab.png

# Releasing Command switches to the highlighted application; the labels go with the switcher.
up LeftCommand
wait 0.1
expect showing no
expect overlay hidden
expect front Terminal

# Option pressed twice quickly opens the switcher too.
tap LeftOption
tap LeftOption
wait 0.1
expect showing yes
shot 4-option-twice.png

# M once highlights Music; a second M within a quarter second completes MM: Mail comes forward.
tap M
expect highlight Music
shot 5-first-m.png
tap M
wait 0.1
expect front Mail
expect showing no

# Holding a hint quits its application.
tap LeftOption
tap LeftOption
wait 0.1
down W
wait 0.5
up W
wait 0.1
expect running 微信 no
shot 6-held-w-quit.png
tap Escape
wait 0.1
expect showing no

# Holding the middle button still for a quarter second opens the switcher as well.
mouse down middle 960 200
wait 0.4
expect showing yes
shot 7-middle-hold.png
mouse up middle 960 200
tap Escape
wait 0.1
)";
}

}  // namespace vantor::tools
