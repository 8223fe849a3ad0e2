#include "app/document/mark_table.h"

#include <algorithm>
#include <cmath>

int MarkTable::AllocateMark(int recordSeconds, const tablemem::FailureReporter& report) {
  const int seconds = std::max(recordSeconds, 0);
  bool ok = true;
  for (int t = 0; t < kMarkTypeCount && ok; ++t)
    ok = tablemem::AllocZeroed(flags_[static_cast<std::size_t>(t)], tablemem::Count(seconds, 10));
  flagLength_ = seconds * 10;
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

void MarkTable::MarkSpan(int type, float startSeconds, float endSeconds) {
  std::uint8_t* flags = Flags(type);
  if (flags == nullptr || flagLength_ <= 0) return;
  const double first = std::round(static_cast<double>(startSeconds) * 10.0);
  const double last = std::round(static_cast<double>(endSeconds) * 10.0);
  if (!(first < last)) {
    if (first >= 0 && first < flagLength_) flags[static_cast<std::size_t>(first)] = 1;
    return;
  }
  const double from = std::max(first, 0.0);
  const double to = std::min(last, static_cast<double>(flagLength_));
  for (double p = from; p < to; p += 1.0) flags[static_cast<std::size_t>(p)] = 1;
}

std::uint8_t* MarkTable::Flags(int type) {
  return ValidType(type) && !flags_[static_cast<std::size_t>(type)].empty()
             ? flags_[static_cast<std::size_t>(type)].data()
             : nullptr;
}

const std::uint8_t* MarkTable::Flags(int type) const {
  return const_cast<MarkTable*>(this)->Flags(type);
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
