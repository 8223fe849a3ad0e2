#include "app/frame/time_point_scale.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::int64_t kDay = 86400;

// Civil date of a day count since 1970-01-01.
void CivilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

std::int64_t ToSeconds(const CalendarTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * kDay + t.hour * 3600LL + t.minute * 60LL + t.second;
}

std::string DayText(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%2d", n);
  return buf;
}

}  // namespace

std::int64_t DaysFromCivil(int year, int month, int day) {
  // Carry the month into the year first so that any month number works.
  std::int64_t y = year + FloorDiv(month - 1, 12);
  const std::int64_t m = month - 1 - FloorDiv(month - 1, 12) * 12 + 1;
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

CalendarTime AddSeconds(const CalendarTime& t, std::int64_t seconds) {
  const std::int64_t total = ToSeconds(t) + seconds;
  const std::int64_t days = FloorDiv(total, kDay);
  const std::int64_t rest = total - days * kDay;
  CalendarTime r;
  CivilFromDays(days, r.year, r.month, r.day);
  r.hour = static_cast<int>(rest / 3600);
  r.minute = static_cast<int>(rest % 3600 / 60);
  r.second = static_cast<int>(rest % 60);
  return r;
}

std::int64_t SecondsBetween(const CalendarTime& a, const CalendarTime& b) { return ToSeconds(b) - ToSeconds(a); }

TimePointScale TimePointScale::ForEpochs(bool clock, const CalendarTime& base, std::int32_t epochSeconds,
                                         std::int64_t lowestEpoch, std::int64_t highestEpoch) {
  TimePointScale s;
  s.clock_ = clock;
  s.base_ = base;
  s.unit_ = std::max<std::int32_t>(epochSeconds, 1);
  s.low_ = lowestEpoch;
  s.high_ = highestEpoch;
  s.sliderUnits_ = highestEpoch - lowestEpoch + 1;
  s.span_ = s.sliderUnits_ * s.unit_;
  return s;
}

TimePointScale TimePointScale::ForSeconds(bool clock, const CalendarTime& base, std::int64_t recordSeconds) {
  TimePointScale s;
  s.clock_ = clock;
  s.base_ = base;
  s.unit_ = 1;
  s.low_ = 0;
  s.high_ = std::max<std::int64_t>(recordSeconds, 0);
  s.sliderUnits_ = s.high_;
  s.span_ = s.high_;
  return s;
}

std::int64_t TimePointScale::BaseSecondOfDay() const {
  return clock_ ? base_.hour * 3600LL + base_.minute * 60LL + base_.second : 0;
}

std::int64_t TimePointScale::Clamp(std::int64_t v) const {
  if (v > high_) v = high_;
  if (v < low_) v = low_;
  return v;
}

std::vector<std::string> TimePointScale::DayEntries() const {
  std::vector<std::string> out;
  const std::int64_t span = std::max<std::int64_t>(span_, 0);
  const std::int64_t count = (BaseSecondOfDay() + span) / kDay + 1;
  if (!clock_) {
    for (std::int64_t k = 0; k < count; ++k) out.push_back(DayText(static_cast<int>(k + 1)));
    return out;
  }
  const CalendarTime first{base_.year, base_.month, base_.day, 0, 0, 0};
  for (std::int64_t k = 0; k < count; ++k) out.push_back(DayText(AddSeconds(first, k * kDay).day));
  return out;
}

int TimePointScale::DayIndexOf(std::int64_t v) const {
  return static_cast<int>((v * unit_ + BaseSecondOfDay()) / kDay);
}

int TimePointScale::SliderOf(std::int64_t v) const {
  if (sliderUnits_ <= 0) return 0;
  return static_cast<int>(static_cast<double>(v) * (static_cast<double>(kSliderMax) / static_cast<double>(sliderUnits_)));
}

std::int64_t TimePointScale::SecondOfDayOf(std::int64_t v) const {
  std::int64_t t = (BaseSecondOfDay() + v * unit_) % kDay;
  if (t < 0) t += kDay;
  return t;
}

DayTimeLimits TimePointScale::LimitsFor(int dayIndex, int dayCount) const {
  const std::int64_t b = BaseSecondOfDay();
  DayTimeLimits l;
  if (dayIndex == 0) {
    if (clock_) {
      l.from = b;
      // A first day that the span leaves before midnight ends at 23:59:50.
      l.to = b + span_ < kDay ? b + span_ : 86390;
    } else {
      l.from = 0;
      l.to = std::min<std::int64_t>(span_, kDay - 1);
    }
  } else if (dayIndex == dayCount - 1) {
    l.from = 0;
    l.to = (span_ + b) % kDay;
  }
  return l;
}

std::int64_t TimePointScale::FromSlider(int position) const {
  return Clamp(static_cast<std::int64_t>(static_cast<double>(position) * static_cast<double>(sliderUnits_) * 0.0001));
}

std::int64_t TimePointScale::FromTime(int h, int m, int s, int dayIndex) const {
  std::int64_t a = 0;
  if (unit_ > 1 && s % unit_ != 0) a = s + unit_ >= 60 ? unit_ - 60 : unit_;
  std::int64_t t;
  if (clock_) {
    t = ((static_cast<std::int64_t>(h) - base_.hour + 24LL * dayIndex) * 60 - base_.minute + m) * 60 - base_.second + s + a;
  } else {
    t = (static_cast<std::int64_t>(h) + 24LL * dayIndex) * 3600 + m * 60LL + s + a;
  }
  return Clamp(t / unit_);
}

std::int64_t TimePointScale::FromDay(int dayIndex) const {
  const std::int64_t q = static_cast<std::int64_t>(dayIndex) * kDay - BaseSecondOfDay();
  std::int64_t v = q / unit_;
  if (clock_ && q % unit_ != 0) ++v;
  return Clamp(v);
}
