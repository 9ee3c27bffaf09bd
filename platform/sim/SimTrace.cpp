#include "platform/sim/SimTrace.h"

#include <fmt/format.h>

#include <ostream>

namespace vantor::sim {

std::string SimTrace::formatTime(Nanos time) {
    return fmt::format("{:3}.{:06}", time / kNanosPerSecond,
                       (time % kNanosPerSecond) / kMicrosecond);
}

void SimTrace::add(std::string_view what) {
    std::string line = fmt::format("{} {}", formatTime(clock_.now()), what);
    if (echo_) *echo_ << line << '\n';
    if (keeping_) lines_.push_back(std::move(line));
}

}  // namespace vantor::sim
