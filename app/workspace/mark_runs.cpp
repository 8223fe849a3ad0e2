#include "app/workspace/mark_runs.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>

#include "app/document/analysis_param_blocks.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/stage_names.h"
#include "app/frame/program_settings.h"
#include "app/workspace/workspace_text_out.h"

void BuildMarkRuns(MarkTable& marks, const MarkTypeParam& types) {
  if (marks.Capacity() <= 0) return;
  for (int t = 0; t < kMarkTypeCount; ++t)
    if (marks.Start(t) == nullptr || marks.End(t) == nullptr) return;
  for (int t = 0; t < kMarkTypeCount; ++t) {
    const MarkTypeParam::Item& item = types.items[static_cast<std::size_t>(t)];
    if (item.triggerChannel == -1) continue;
    std::uint8_t* flags = marks.Flags(t);
    if (flags == nullptr) continue;
    std::fill_n(flags, marks.FlagLength(), std::uint8_t{0});
    const int n = std::min(marks.Count(t), marks.Capacity());
    if (n <= 0) continue;
    const float* start = marks.Start(t);
    const float* end = marks.End(t);
    int runFirst = 0;
    for (int i = 0; i + 1 < n; ++i) {
      if (start[i + 1] - end[i] >= item.invalidTimeS) {
        marks.MarkEventRange(t, start[runFirst], end[i]);
        runFirst = i + 1;
      }
    }
    marks.MarkEventRange(t, start[runFirst], end[n - 1]);
  }
}

void AppendEndMarks(MarkTable& marks, int lastEpoch, int epochSeconds) {
  for (int t = 0; t < kMarkTypeCount; ++t) {
    const int n = marks.Count(t);
    if (marks.RunOpen(t) != 1 || n < 1 || n >= marks.Capacity() || marks.End(t) == nullptr) continue;
    marks.End(t)[n] = static_cast<float>((lastEpoch + 1) * epochSeconds);
    marks.SetCount(t, n + 1);
  }
}

std::vector<MarkRun> FindMarkRuns(const MarkTable& marks, const std::array<int, kMarkTypeCount>& listed,
                                  int* marksExist) {
  std::vector<MarkRun> runs;
  if (marksExist != nullptr) *marksExist = 0;
  const int n = marks.FlagLength();
  for (int t = 0; t < kMarkTypeCount; ++t) {
    const std::uint8_t* f = marks.Flags(t);
    if (f == nullptr || !marks.FlagsMayBeSet(t)) continue;
    for (int p = 0; p < n;) {
      if (f[p] != 1) {
        ++p;
        continue;
      }
      int q = p;
      while (q + 1 < n && f[q + 1] != 0) ++q;
      if (marksExist != nullptr) *marksExist = 1;
      if (listed[static_cast<std::size_t>(t)] == 1) runs.push_back({t, p, q - p + 1});
      p = q + 1;
      // A run's later points may hold other non-zero values; the run ends at the first 0.
      while (p < n && f[p] != 0 && f[p] != 1) ++p;
    }
  }
  std::stable_sort(runs.begin(), runs.end(), [](const MarkRun& a, const MarkRun& b) {
    return a.first != b.first ? a.first < b.first : a.type < b.type;
  });
  return runs;
}

namespace {

std::string Format(const char* format, double value) {
  char cell[64];
  std::snprintf(cell, sizeof cell, format, value);
  return cell;
}

std::string EpochLabel(CQLM2_AnalyzerDoc& doc, int epoch) {
  std::string label;
  doc.GetEpochTimeString(static_cast<unsigned>(std::max(epoch, 0)), label);
  return label;
}

bool Head(CQLM2_AnalyzerDoc& doc, WorkspaceTextOut& out, int startEpoch, int endEpoch, const std::string& endTail) {
  const char d = WorkspaceDelimiter();
  out.Header(doc);
  out.Put("\n");
  out.Put(std::string("Start time") + d + EpochLabel(doc, startEpoch) + "\n");
  out.Put(std::string("End time") + d + EpochLabel(doc, endEpoch) + endTail + "\n");
  return out.Put("\n");
}

}  // namespace

bool WriteMarkList(CQLM2_AnalyzerDoc& doc, WorkspaceTextOut& out, int startEpoch, int endEpoch,
                   const std::vector<int>& types) {
  const char d = WorkspaceDelimiter();
  if (startEpoch > endEpoch) std::swap(startEpoch, endEpoch);
  Head(doc, out, startEpoch, endEpoch, {});
  std::string line = "Time";
  for (const char* h : {"Epoch No", "Stage", "Mark", "Duration(sec)"}) (line += d) += h;
  out.Put(line + "\n");
  const MarkTable& marks = doc.Marks;
  const int n = marks.FlagLength();
  const long long eps = std::max(EpochSeconds, 1);
  const long long first = std::max<long long>(startEpoch * eps * 10, 0);
  const long long end = std::min<long long>((endEpoch + 1LL) * eps * 10, n);
  int written = 0;
  std::array<bool, kMarkTypeCount> inRun{};
  std::string label;
  for (long long p = first; p < end; ++p) {
    for (int t : types) {
      const std::uint8_t* f = marks.Flags(t);
      if (f == nullptr) continue;
      bool& running = inRun[static_cast<std::size_t>(t)];
      if (f[p] == 0) {
        running = false;
        continue;
      }
      if (f[p] != 1 || running) continue;
      long long q = p;
      while (q + 1 < n && f[q + 1] != 0) ++q;
      const int epoch = static_cast<int>(p / 10 / eps);
      doc.GetMSecTimeString(ClockTimeDisplay, p * 100, &label);
      const int code = doc.EpochTables.GetStage(doc.Params.stageType.stageType, epoch, 0);
      line = label;
      line += d;
      line += std::to_string(epoch);
      line += d;
      if (code != 0) line += GetStageName(doc.Params.stageType, code);
      line += d;
      line += doc.Params.markType.items[static_cast<std::size_t>(t)].name;
      line += d;
      line += Format("%.1f", static_cast<double>(q - p + 1) * 0.1);
      out.Put(line + "\n");
      running = true;
      ++written;
    }
  }
  if (written == 0) out.Put("Mark list has no data.");
  return !out.Failed();
}

bool WriteMarkSumUp(CQLM2_AnalyzerDoc& doc, WorkspaceTextOut& out, int startEpoch, int endEpoch, int divisionMinutes,
                    const std::vector<int>& types) {
  const char d = WorkspaceDelimiter();
  if (startEpoch > endEpoch) std::swap(startEpoch, endEpoch);
  Head(doc, out, startEpoch, endEpoch, std::string(1, d) + "Time Division" + d + Format("%.1f", divisionMinutes));
  const MarkTable& marks = doc.Marks;
  const long long n = marks.FlagLength();
  const long long eps = std::max(EpochSeconds, 1);
  const long long seconds = static_cast<long long>(std::max(divisionMinutes, 1)) * 60;
  const long long first = startEpoch * eps * 10;
  const long long end = (endEpoch + 1LL) * eps * 10;
  const long long L = std::min(seconds * 10, end - first);
  const long long rangeSeconds = (endEpoch - startEpoch + 1LL) * eps;
  const int N = static_cast<int>((rangeSeconds + seconds - 1) / seconds);
  if (L <= 0 || N <= 0) return !out.Failed();
  for (int t : types) {
    std::vector<long> number(static_cast<std::size_t>(N), 0), total(static_cast<std::size_t>(N), 0),
        longest(static_cast<std::size_t>(N), LONG_MIN), shortest(static_cast<std::size_t>(N), LONG_MAX);
    const std::uint8_t* f = marks.Flags(t);
    // Divisions are windows of L points from the range's first point; a mark counts in the
    // division where it starts.
    for (long long p = first; f != nullptr && p < end && p < n;) {
      if (f[p] != 1) {
        ++p;
        continue;
      }
      long long q = p;
      while (q + 1 < end && q + 1 < n && f[q + 1] != 0) ++q;
      const long long div = (p - first) / L;
      if (div < N) {
        const auto i = static_cast<std::size_t>(div);
        const long len = static_cast<long>(q - p + 1);
        ++number[i];
        total[i] += len;
        longest[i] = std::max(longest[i], len);
        shortest[i] = std::min(shortest[i], len);
      }
      p = q + 1;
    }
    const std::string& name = doc.Params.markType.items[static_cast<std::size_t>(t)].name;
    out.Put(name + "\n");
    std::string line = "Time division";
    for (int i = 1; i <= N; ++i) (line += d) += std::to_string(i);
    out.Put(line + "\n");
    line = "Total number";
    for (long v : number) (line += d) += std::to_string(v);
    out.Put(line + "\n");
    line = "Total time(min.)";
    for (long v : total) (line += d) += Format("%.2f", static_cast<double>(v) / 600.0);
    out.Put(line + "\n");
    auto durations = [&](const char* title, auto value) {
      std::string row = title;
      for (int i = 0; i < N; ++i) {
        row += d;
        row += number[static_cast<std::size_t>(i)] == 0 ? std::string("none")
                                                           : Format("%.2f", value(static_cast<std::size_t>(i)) * 0.1);
      }
      out.Put(row + "\n");
    };
    durations("Max. duration(sec.)", [&](std::size_t i) { return static_cast<double>(longest[i]); });
    durations("Min. duration(sec.)", [&](std::size_t i) { return static_cast<double>(shortest[i]); });
    durations("Mean duration(sec.)", [&](std::size_t i) { return static_cast<double>(total[i] / number[i]); });
    line = "Index #/h";
    for (int i = 0; i < N; ++i) {
      const long num = number[static_cast<std::size_t>(i)];
      line += d;
      // Marks per hour of the division's length, the last, shorter window bounded by the range.
      const long long window = std::min(L, end - (first + static_cast<long long>(i) * L));
      line += num == 0 ? std::string("none")
                       : std::to_string(static_cast<long>(static_cast<double>(num) * 3600.0 /
                                                          (static_cast<double>(window) * 0.1)));
    }
    out.Put(line + "\n");
    out.Put("\n");
  }
  return !out.Failed();
}
