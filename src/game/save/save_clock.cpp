#include "game/save/save_clock.h"

#include <ctime>

namespace {

std::function<double()>& Clock() {
    static std::function<double()> clock;
    return clock;
}

// Days from the civil date to 1970-01-01 (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

double RealNow() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return DaysSince1899(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                         local.tm_sec);
}

}  // namespace

double DaysSince1899(int year, int month, int day, int hour, int minute, int second) {
    // 1899-12-30 is 25569 days before 1970-01-01.
    int64_t days = DaysFromCivil(year, month, day) + 25569;
    return double(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

double SaveClockNow() { return Clock() ? Clock()() : RealNow(); }

void SetSaveClock(std::function<double()> clock) { Clock() = std::move(clock); }
