#include "platform/sim/SimLog.h"

#include <fmt/format.h>

#include <ostream>

namespace vantor::sim {

namespace {

// Days since 1970-01-01 to a civil date (proleptic Gregorian calendar).
void civilFromDays(std::int64_t days, std::int64_t& year, int& month, int& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

// The reference date of absolute time, 2001-01-01 00:00:00 UTC, in Unix seconds.
constexpr std::int64_t kReferenceDateUnixSeconds = 978307200;
constexpr std::int64_t kAbsoluteSecondsAtStart = 1000;

}  // namespace

void SimLog::log(std::string_view message) {
    lines_.emplace_back(message);
    trace_.add(fmt::format("log: {}", message));
    if (echo_) *echo_ << formatLine(clock_.now(), message) << '\n';
}

std::size_t SimLog::count(std::string_view text) const {
    std::size_t n = 0;
    for (const std::string& line : lines_) {
        if (line.find(text) != std::string::npos) ++n;
    }
    return n;
}

std::string SimLog::formatLine(Nanos time, std::string_view message) const {
    const std::int64_t millis = time / kMillisecond;
    const std::int64_t unixSeconds =
        kReferenceDateUnixSeconds + kAbsoluteSecondsAtStart + millis / 1000;
    const std::int64_t days = unixSeconds / 86400;
    const std::int64_t secondOfDay = unixSeconds % 86400;
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    civilFromDays(days, year, month, day);
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}.{:03} Vantor[{}] {}", year, month, day,
                       secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60, millis % 1000,
                       pid_, message);
}

}  // namespace vantor::sim
