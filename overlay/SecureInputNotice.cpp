#include "overlay/SecureInputNotice.h"

#include <fmt/format.h>

namespace vantor {

std::string secureInputNotice(platform::EventServices& events, platform::Workspace& workspace) {
    if (!events.isSecureEventInputEnabled()) return {};
    std::string holder = "another application";
    if (const auto pid = events.secureEventInputProcessIdentifier()) {
        for (const platform::RunningApplication& app : workspace.runningApplications()) {
            if (app.processIdentifier == *pid && !app.localizedName.empty()) {
                holder = app.localizedName;
                break;
            }
        }
    }
    return fmt::format("Typing is off: Secure Input is on in {}. Use the mouse.", holder);
}

}  // namespace vantor
