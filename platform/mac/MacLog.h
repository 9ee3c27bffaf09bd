// The system log on macOS: each message is one NSLog line.
#pragma once

#include "platform/Log.h"

namespace vantor::mac {

class MacLog final : public platform::Log {
public:
    void log(std::string_view message) override;
};

}  // namespace vantor::mac
