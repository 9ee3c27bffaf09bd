// The notice the overlay shows while Secure Input keeps every key from the agent: typing a hint
// does nothing then, and the notice says why and which application holds it.
#pragma once

#include <string>

#include "platform/EventServices.h"
#include "platform/Workspace.h"

namespace vantor {

// "Typing is off: Secure Input is on in NAME. Use the mouse." while Secure Input is on, NAME
// being the localized name of the running application that holds it, or "another
// application" when that cannot be found; empty while it is off.
std::string secureInputNotice(platform::EventServices& events, platform::Workspace& workspace);

}  // namespace vantor
