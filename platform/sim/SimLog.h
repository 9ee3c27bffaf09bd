// The system log of the simulated desktop: keeps every line the agent logs and puts it in the
// trace; can also print it the way NSLog does.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Log.h"
#include "platform/sim/SimTrace.h"

namespace vantor::sim {

class SimLog final : public platform::Log {
public:
    SimLog(SimTrace& trace, const SimRunLoop& clock, std::int32_t pid)
        : trace_(trace), clock_(clock), pid_(pid) {}

    void log(std::string_view message) override;

    const std::vector<std::string>& lines() const { return lines_; }
    // Lines so far that contain `text`.
    std::size_t count(std::string_view text) const;
    // Prints each new line to `stream` as NSLog would (null: nowhere).
    void setEcho(std::ostream* stream) { echo_ = stream; }
    // "2001-01-01 00:16:40.000 Vantor[500] message": the date of the absolute time
    // (1000 s after the reference date plus the virtual time), in UTC.
    std::string formatLine(Nanos time, std::string_view message) const;

private:
    SimTrace& trace_;
    const SimRunLoop& clock_;
    std::int32_t pid_;
    std::vector<std::string> lines_;
    std::ostream* echo_ = nullptr;
};

}  // namespace vantor::sim
