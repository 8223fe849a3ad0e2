#include "app/video/video_range_edit.h"

#include <algorithm>

#include "platform/system/file_system.h"

std::string RecordingRawPathOf(const std::string& rangeFilePath) {
  if (rangeFilePath.empty()) return {};
  const std::string outer = sys::FolderOf(sys::FolderOf(rangeFilePath));
  return (outer.empty() ? std::string{} : outer + "/") + sys::FileTitleOf(rangeFilePath) + ".fyd";
}

std::vector<VideoFileRecord> CutVideoRange(const std::vector<VideoFileRecord>& table, double d1, double d2) {
  std::vector<VideoFileRecord> out;
  for (const VideoFileRecord& file : table) {
    VideoFileRecord kept = file;
    kept.ranges.clear();
    const double f = file.startTime;
    for (const auto& [rs, re] : file.ranges) {
      const double a = f + rs;
      const double b = f + re;
      if (d1 > b || d2 < a) {
        AddEffectiveRangeInfo(kept, rs, re);
      } else if (d1 <= a && b <= d2) {
        // cut whole
      } else if (a < d1 && d2 < b) {
        AddEffectiveRangeInfo(kept, rs, d1 - f);
        AddEffectiveRangeInfo(kept, d2 - f, re);
      } else if (a >= d1) {
        AddEffectiveRangeInfo(kept, d2 - f, re);
      } else {
        AddEffectiveRangeInfo(kept, rs, d1 - f);
      }
    }
    if (!kept.ranges.empty()) out.push_back(std::move(kept));
  }
  return out;
}

std::vector<VideoRange> RangesOutside(const std::vector<VideoRange>& list, double recordingStart,
                                      double recordingEnd) {
  if (list.empty()) return {};
  std::vector<VideoRange> sorted = list;
  // Of equal starts the earlier listed one comes first.
  std::stable_sort(sorted.begin(), sorted.end(), [](const VideoRange& x, const VideoRange& y) { return x.first < y.first; });
  std::vector<VideoRange> cut;
  if (recordingStart < sorted.front().first) cut.emplace_back(recordingStart, sorted.front().first);
  double largestEnd = sorted.front().second;
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    cut.emplace_back(sorted[i - 1].second, sorted[i].first);
    largestEnd = std::max(largestEnd, sorted[i].second);
  }
  if (largestEnd < recordingEnd) cut.emplace_back(largestEnd, recordingEnd);
  return cut;
}

void SetRangeInfo(RangeEditMode mode, std::vector<VideoFileRecord>& table, std::vector<VideoRange>& list,
                  double recordingStart, double recordingEnd) {
  if (mode == RangeEditMode::Save) list = RangesOutside(list, recordingStart, recordingEnd);
  for (const auto& [d1, d2] : list) {
    std::vector<VideoFileRecord> next = CutVideoRange(table, d1, d2);
    if (!next.empty()) table = std::move(next);
  }
}

namespace {

bool AnyRangeMeets(const std::vector<VideoFileRecord>& table, double start, double end) {
  for (const VideoFileRecord& file : table) {
    for (const auto& [rs, re] : file.ranges) {
      const double a = file.startTime + rs;
      const double b = file.startTime + re;
      if ((a < end && end <= b) || (a <= start && start < b) || (start <= a && b <= end)) return true;
    }
  }
  return false;
}

// Whether cutting the listed ranges and [start, end] would leave no kept range at all.
bool NothingWouldRemain(const std::vector<VideoFileRecord>& table, const std::vector<VideoRange>& list,
                        double start, double end) {
  std::vector<VideoFileRecord> rest = table;
  for (const auto& [d1, d2] : list) rest = CutVideoRange(rest, d1, d2);
  rest = CutVideoRange(rest, start, end);
  return rest.empty();
}

}  // namespace

std::uint32_t CheckNewRange(const RangeCheckContext& c, double start, double end) {
  static const std::vector<VideoFileRecord> noTable;
  static const std::vector<VideoRange> noList;
  static const std::vector<AutoPlayEntry> noEntries;
  const auto& table = c.table != nullptr ? *c.table : noTable;
  const auto& list = c.list != nullptr ? *c.list : noList;
  const auto& entries = c.autoPlay != nullptr ? *c.autoPlay : noEntries;

  if (end <= start) return kIdsStartAfterEnd;
  if (!AnyRangeMeets(table, start, end)) return kIdsNoMovieInRange;
  if (c.mode == RangeEditMode::Delete && NothingWouldRemain(table, list, start, end)) return kIdsWholeMovieData;
  for (const auto& [s, e] : list) {
    if ((s <= start && start < e) || (s <= end && end < e) || (start <= s && e < end)) return kIdsConflictsWithListed;
  }
  for (const AutoPlayEntry& entry : entries) {
    if (entry.rawPath != c.recordingRawPath) continue;
    const double S = entry.startTime;
    const double E = entry.endTime;
    if (c.mode == RangeEditMode::Delete) {
      if ((S <= start && start < E) || (S <= end && end < E) || (start < S && E < end)) return kIdsRepeatsAutoPlay;
    } else {
      const bool listed = std::any_of(list.begin(), list.end(), [S, E](const VideoRange& r) {
        return r.first <= S && E < r.second;
      });
      if (!listed && !(start <= S && E <= end)) return kIdsRepeatsAutoPlay;
    }
  }
  return 0;
}

std::uint64_t VideoSetBytes(const std::vector<VideoFileRecord>& table, const std::string& rangeFilePath) {
  std::uint64_t total = 0;
  for (const VideoFileRecord& r : table) {
    const std::string path = CVPInfoExchange::ResolveRecordPath(r, rangeFilePath);
    if (sys::FileExists(path)) total += sys::FileSize(path).value_or(0);
  }
  return total;
}

namespace {

struct Covering {
  bool found = false;
  double start = 0.0;
  double end = 0.0;
  int file = -1;
};

// The first kept range that holds t: from its start to before its end, or (atEnd) up to and
// including its end, so that a stretch may end with its range.
Covering RangeHolding(const std::vector<VideoFileRecord>& table, double t, bool atEnd) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    const VideoFileRecord& r = table[i];
    for (const auto& [rs, re] : r.ranges) {
      const double a = r.startTime + rs;
      const double b = r.startTime + re;
      if (a <= t && (t < b || (atEnd && t <= b))) return {true, a, b, static_cast<int>(i)};
    }
  }
  return {};
}

}  // namespace

std::uint32_t CheckAutoPlayStretch(const std::vector<VideoFileRecord>& table, double start, double end) {
  const Covering s = RangeHolding(table, start, false);
  const Covering e = RangeHolding(table, end, true);
  if (!s.found || !e.found) return kIdsNoMovieAtStartOrEnd;
  if (start == end) return kIdsSameStartAndEnd;
  constexpr double kGap = 2.0;
  if (s.end < e.start && e.start - s.end > kGap) {
    if (e.file <= s.file) return kIdsNotContiguous;
    for (int f = s.file; f < e.file; ++f) {
      const VideoFileRecord& here = table[static_cast<std::size_t>(f)];
      const VideoFileRecord& next = table[static_cast<std::size_t>(f) + 1];
      if (next.startTime - here.endTime > kGap) return kIdsNotContiguous;
    }
  }
  return 0;
}
