#pragma once
// Clocks: a monotonic millisecond clock for measuring and pacing (timers, the AVI capture
// steps), the 32-bit tick counts the system's code compares, and the local calendar time.
#include <cstdint>
#include <ctime>

namespace sys {

// Milliseconds of a monotonic clock (never goes back; its start is unspecified).
std::uint64_t MonotonicMs();
// Milliseconds since the system started, wrapping at 2^32 (about 49.7 days), as the system's
// tick count and multimedia time; differences of two counts stay right across the wrap when
// taken as unsigned 32-bit numbers.
std::uint32_t TickCount();
std::uint32_t MultimediaTimeMs();

struct LocalTime {
  int year = 0;          // e.g. 2026
  int month = 0;         // 1..12
  int day = 0;           // 1..31
  int dayOfWeek = 0;     // 0 Sunday .. 6 Saturday
  int hour = 0;          // 0..23
  int minute = 0;        // 0..59
  int second = 0;        // 0..59
  int milliseconds = 0;  // 0..999
};

// The local time now, and a time_t in local time.
LocalTime GetLocalTime();
LocalTime ToLocalTime(std::time_t t);
// The time_t of a local calendar time (the time zone's rules decide daylight saving);
// -1 when the fields give no valid time.
std::time_t FromLocalTime(const LocalTime& t);

}  // namespace sys
