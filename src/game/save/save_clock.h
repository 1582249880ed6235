#pragma once
// "Now" for the save files: local date and time as days since 30 December
// 1899 (whole days, plus the time of day as a fraction). Tests install a
// fixed clock so saves come out byte for byte the same.

#include <functional>

double SaveClockNow();
// Replaces the clock; an empty function restores the real one.
void SetSaveClock(std::function<double()> clock);
// Days since 30 December 1899 of a local calendar date and time.
double DaysSince1899(int year, int month, int day, int hour, int minute, int second);
