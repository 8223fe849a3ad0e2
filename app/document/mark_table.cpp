#include "app/document/mark_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

int MarkTable::AllocateMark(int recordSeconds, const tablemem::FailureReporter& report) {
  const int seconds = std::max(recordSeconds, 0);
  bool ok = true;
  for (int t = 0; t < kMarkTypeCount && ok; ++t)
    ok = tablemem::AllocZeroed(flags_[static_cast<std::size_t>(t)], tablemem::Count(seconds, 10));
  flagLength_ = seconds * 10;
  flagsHandedOut_.fill(false);
  marksPresent_ = 0;
  capacity_ = seconds;
  for (int t = 0; t < kMarkTypeCount && ok; ++t) {
    const auto i = static_cast<std::size_t>(t);
    ok = tablemem::AllocZeroed(start_[i], tablemem::Count(seconds)) &&
         tablemem::AllocZeroed(end_[i], tablemem::Count(seconds));
    count_[i] = 0;
  }
  runOpen_.fill(0);
  overflow_.fill(0);
  overflowAll_ = 0;
  if (!ok) {
    Free();
    if (report) report(tablemem::OutOfMemoryMessage("CQLM2_AnalyzerDoc::AllocateMark"));
    return 0;
  }
  return 1;
}

void MarkTable::Free() {
  for (int t = 0; t < kMarkTypeCount; ++t) {
    const auto i = static_cast<std::size_t>(t);
    tablemem::ZeroedTable<std::uint8_t>().swap(flags_[i]);
    tablemem::ZeroedTable<float>().swap(start_[i]);
    tablemem::ZeroedTable<float>().swap(end_[i]);
    count_[i] = 0;
  }
  flagLength_ = 0;
  capacity_ = 0;
  marksPresent_ = 0;
  runOpen_.fill(0);
  overflow_.fill(0);
  overflowAll_ = 0;
}

int RoundByFirstDecimal(double value, int mode) {
  const double whole = std::trunc(value);
  char text[64];
  std::snprintf(text, sizeof text, "%.5lf", std::fabs(value - whole));
  // "0.d....": the first decimal digit.
  const char* dot = std::strchr(text, '.');
  const int digit = dot != nullptr && dot[1] >= '0' && dot[1] <= '9' ? dot[1] - '0' : 0;
  // A fraction printed as "1.00000" rounds the whole number up.
  const int carry = text[0] == '1' ? 1 : 0;
  const bool up = carry != 0 || (mode == 0 ? digit >= 5 : digit > 5);
  return static_cast<int>(whole) + (up ? 1 : 0);
}

void MarkTable::MarkEventRange(int type, float startSeconds, float endSeconds) {
  std::uint8_t* flags = Flags(type);
  if (flags == nullptr || flagLength_ <= 0) return;
  const int from = RoundByFirstDecimal(static_cast<double>(startSeconds) * 10.0, 0);
  const int to = RoundByFirstDecimal(static_cast<double>(endSeconds) * 10.0, 0);
  if (to - from < 1) {
    if (from >= 0 && from < flagLength_) flags[from] = 1;
    return;
  }
  for (int p = std::max(from, 0); p < to && p < flagLength_; ++p) flags[p] = 1;
}

void MarkTable::SetPoints(int type, int from, int to, int value) {
  std::uint8_t* flags = Flags(type);
  if (flags == nullptr) return;
  from = std::max(from, 0);
  to = std::min(to, flagLength_);
  if (from >= to) return;
  std::fill(flags + from, flags + to, static_cast<std::uint8_t>(value != 0 ? 1 : 0));
  float* start = Start(type);
  float* end = End(type);
  if (start == nullptr || end == nullptr) return;
  const std::size_t t = static_cast<std::size_t>(type);
  // The closed spans (an open run's start stays where it is, after them).
  std::vector<std::pair<float, float>> spans;
  for (int i = 0; i < count_[t]; ++i) spans.emplace_back(start[i], end[i]);
  const float a = static_cast<float>(from) / 10.0f;
  const float b = static_cast<float>(to) / 10.0f;
  std::vector<std::pair<float, float>> kept;
  if (value != 0) {
    kept = spans;
    kept.emplace_back(a, b);
    std::stable_sort(kept.begin(), kept.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
  } else {
    for (const auto& [s, e] : spans) {
      const int ps = RoundByFirstDecimal(static_cast<double>(s) * 10.0, 0);
      int pe = RoundByFirstDecimal(static_cast<double>(e) * 10.0, 0);
      if (pe - ps < 1) pe = ps + 1;
      if (pe <= from || ps >= to) {
        kept.emplace_back(s, e);
        continue;
      }
      if (ps < from) kept.emplace_back(s, a);
      if (pe > to) kept.emplace_back(b, e);
    }
  }
  const int room = capacity_ - (runOpen_[t] != 0 ? 1 : 0);
  if (static_cast<int>(kept.size()) > room) return;
  const float openStart = runOpen_[t] != 0 && count_[t] < capacity_ ? start[count_[t]] : 0.0f;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    start[i] = kept[i].first;
    end[i] = kept[i].second;
  }
  count_[t] = static_cast<int>(kept.size());
  if (runOpen_[t] != 0) start[count_[t]] = openStart;
}

std::uint8_t* MarkTable::Flags(int type) {
  if (!ValidType(type) || flags_[static_cast<std::size_t>(type)].empty()) return nullptr;
  flagsHandedOut_[static_cast<std::size_t>(type)] = true;
  return flags_[static_cast<std::size_t>(type)].data();
}

const std::uint8_t* MarkTable::Flags(int type) const {
  return ValidType(type) && !flags_[static_cast<std::size_t>(type)].empty()
             ? flags_[static_cast<std::size_t>(type)].data()
             : nullptr;
}

float* MarkTable::Start(int type) {
  return ValidType(type) && !start_[static_cast<std::size_t>(type)].empty()
             ? start_[static_cast<std::size_t>(type)].data()
             : nullptr;
}

float* MarkTable::End(int type) {
  return ValidType(type) && !end_[static_cast<std::size_t>(type)].empty()
             ? end_[static_cast<std::size_t>(type)].data()
             : nullptr;
}

int MarkTable::Count(int type) const { return ValidType(type) ? count_[static_cast<std::size_t>(type)] : 0; }

void MarkTable::SetCount(int type, int count) {
  if (ValidType(type)) count_[static_cast<std::size_t>(type)] = std::clamp(count, 0, capacity_);
}
