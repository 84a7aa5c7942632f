// Clock, dates and random numbers. A date is the count of seconds since
// 1970-01-01 00:00:00 of the local clock, read as it stands (no zone shift).
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>

namespace tarnwick {

int32_t NowDate();
int32_t DateFromTime(std::time_t t);
std::time_t TimeFromDate(int32_t date);
// The local date and time now, broken down.
std::tm LocalNow();
// A uniformly drawn integer from lo to hi inclusive.
int RandomBetween(int lo, int hi);
// Milliseconds of a monotonic clock.
int64_t MonotonicMs();

// Tests replace the clock that dates and naming read.
using NowSource = std::function<std::time_t()>;
void SetNowSource(NowSource source);

}  // namespace tarnwick
