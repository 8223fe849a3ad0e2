#include "platform/system/clock.h"

#include <chrono>

namespace sys {

std::uint64_t MonotonicMs() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::uint32_t TickCount() {
  timespec ts{};
  ::clock_gettime(CLOCK_BOOTTIME, &ts);
  const std::uint64_t ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(ms);
}

std::uint32_t MultimediaTimeMs() { return TickCount(); }

namespace {
LocalTime FromTm(const std::tm& tm, int ms) {
  LocalTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.dayOfWeek = tm.tm_wday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
  t.milliseconds = ms;
  return t;
}
}  // namespace

LocalTime GetLocalTime() {
  timespec ts{};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  std::tm tm{};
  const std::time_t secs = ts.tv_sec;
  ::localtime_r(&secs, &tm);
  return FromTm(tm, static_cast<int>(ts.tv_nsec / 1000000));
}

LocalTime ToLocalTime(std::time_t t) {
  std::tm tm{};
  ::localtime_r(&t, &tm);
  return FromTm(tm, 0);
}

std::time_t FromLocalTime(const LocalTime& t) {
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
      t.minute > 59 || t.second < 0 || t.second > 59)
    return -1;
  std::tm tm{};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  tm.tm_isdst = -1;
  const std::time_t r = std::mktime(&tm);
  // mktime rolls 31 February into March; such a date is not valid.
  if (r == -1 || tm.tm_mday != t.day || tm.tm_mon != t.month - 1) return -1;
  return r;
}

}  // namespace sys
