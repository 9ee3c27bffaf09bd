// The trace of a simulated run: one line per event that matters, virtual time first
// ("  1.234567 Dock highlight Mail"), for people reading the road of one switch.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/SimRunLoop.h"

namespace vantor::sim {

class SimTrace {
public:
    explicit SimTrace(const SimRunLoop& clock) : clock_(clock) {}

    void add(std::string_view what);
    const std::vector<std::string>& lines() const { return lines_; }
    void clear() { lines_.clear(); }
    // Long soaks can stop keeping lines; echoing goes on.
    void setKeeping(bool keeping) { keeping_ = keeping; }
    // Also writes every line to `stream` as it comes (null: nowhere).
    void setEcho(std::ostream* stream) { echo_ = stream; }

    // "  1.234567": seconds with microseconds, the seconds right-aligned in three places.
    static std::string formatTime(Nanos time);

private:
    const SimRunLoop& clock_;
    std::vector<std::string> lines_;
    bool keeping_ = true;
    std::ostream* echo_ = nullptr;
};

}  // namespace vantor::sim
