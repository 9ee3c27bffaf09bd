// The defaults store on macOS: [NSUserDefaults standardUserDefaults], under the agent's keys as
// they are, its booleans, numbers and strings converted to and from JSON values.
#pragma once

#include "platform/Settings.h"

namespace vantor::mac {

class MacSettings final : public platform::Settings {
public:
    std::optional<nlohmann::json> objectForKey(std::string_view key) const override;
    void setObject(std::string_view key, nlohmann::json value) override;
    void removeObjectForKey(std::string_view key) override;
    bool synchronize() override;
};

}  // namespace vantor::mac
