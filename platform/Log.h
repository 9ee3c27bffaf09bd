// The system log (NSLog): one line per message.
#pragma once

#include <string_view>

namespace vantor::platform {

class Log {
public:
    virtual ~Log() = default;
    // NSLog: writes one line, "YYYY-MM-DD HH:MM:SS.mmm Vantor[pid] message".
    virtual void log(std::string_view message) = 0;
};

}  // namespace vantor::platform
