#pragma once
// Text helpers of the report and parameter outputs: printf-style formatting, durations on a
// clock face, the short date and the filter and notch texts of a channel.
#include <string>

#include "platform/system/clock.h"

namespace report {

// printf-style formatting into a string of any length.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Seconds as "%H:%M:%S" laid onto a day: the hours wrap at 24.
std::string ClockText(long long seconds);
// The date as the language's short date format shows it.
std::string ShortDate(const sys::LocalTime& t);
// "LPF:%.2f", "HPF:%.2f", "BPF:%.2f-%.2f", "BSF:%.2f-%.2f" by filter mode 0..3, else off.
std::string FilterText(int mode, double cut1, double cut2, const char* off);
// A notch frequency taken as 50 Hz (else 60 Hz).
bool IsFiftyHz(double hz);

}  // namespace report
