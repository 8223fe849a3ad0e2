#include "app/frame/detect_list_scan.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string Format1(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  return buf;
}

// Counters of one division for the statistics block.
struct DivisionStats {
  long count = 0;
  std::int64_t sum = 0;
  std::int64_t longest = 0;
  std::int64_t shortest = 0;

  void Add(std::int64_t len) {
    if (count == 0 || len > longest) longest = len;
    if (count == 0 || len < shortest) shortest = len;
    sum += len;
    ++count;
  }
  // A division without waves reports zeros throughout.
  void Write(std::string& out, std::int64_t division) const {
    char buf[128];
    std::snprintf(buf, sizeof buf, "Total number%c%ld\n", '\t', count);
    out += buf;
    std::snprintf(buf, sizeof buf, "Total time(min.)%c%.1f\n", '\t', static_cast<double>(sum) / 600.0);
    out += buf;
    std::snprintf(buf, sizeof buf, "Max. duration(sec.)%c%.1f\n", '\t', static_cast<double>(longest) * 0.1);
    out += buf;
    std::snprintf(buf, sizeof buf, "Min. duration(sec.)%c%.1f\n", '\t', static_cast<double>(shortest) * 0.1);
    out += buf;
    const double mean = count > 0 ? static_cast<double>(sum) / static_cast<double>(count) * 0.1 : 0.0;
    std::snprintf(buf, sizeof buf, "Mean duration(sec.)%c%.1f\n", '\t', mean);
    out += buf;
    std::snprintf(buf, sizeof buf, "Index #/h%c%.1f\n", '\t',
                  static_cast<double>(count) * 36000.0 / static_cast<double>(division));
    out += buf;
  }
};

void Line(std::string& out, const std::string& a, const std::string& b, const std::string& c, const std::string& d) {
  out += a;
  out += '\t';
  out += b;
  out += '\t';
  out += c;
  out += '\t';
  out += d;
  out += '\n';
}

}  // namespace

std::vector<DetectScanEntry> ScanDetectedWaves(const DetectScanInput& in) {
  std::vector<DetectScanEntry> out;
  if (in.flags == nullptr || in.flagCount <= 0) return out;
  const std::int64_t division = 600LL * std::max<std::int32_t>(in.divisionMinutes, 1);
  std::int64_t a = in.startSeconds;
  std::int64_t b = in.endSeconds;
  if (a > b) std::swap(a, b);
  const std::int64_t first = 10 * a;
  const std::int64_t last = 10 * b;  // exclusive
  std::int64_t boundary = division;
  std::int64_t i = 0;
  while (i < in.flagCount) {
    if (i < first || i >= last) {
      ++i;
      continue;
    }
    if (i >= boundary) {
      DetectScanEntry mark;
      mark.divisionMark = true;
      out.push_back(mark);
      boundary += division;
    }
    const std::uint8_t f = in.flags[i];
    if (f == 0) {
      ++i;
      continue;
    }
    std::int64_t e = i;
    while (e + 1 < in.flagCount && in.flags[e + 1] == f) ++e;
    DetectScanEntry wave;
    wave.start = i;
    wave.end = e;
    wave.divisionStart = boundary - division;
    out.push_back(wave);
    i = e + 1;
  }
  return out;
}

DetectRowTexts DetectRowOf(const DetectScanEntry& e, std::int32_t epochSeconds,
                           const std::function<std::string(std::int64_t)>& timeLabel) {
  DetectRowTexts r;
  r.time = timeLabel ? timeLabel(e.start * 100) : std::string();
  r.epoch = std::to_string((e.start / 10) / std::max<std::int32_t>(epochSeconds, 1));
  r.latency = Format1(static_cast<double>(e.start - e.divisionStart) * 0.1);
  r.duration = Format1(static_cast<double>(e.end - e.start + 1) * 0.1);
  return r;
}

std::string DetectListText(const std::vector<DetectScanEntry>& entries, std::int32_t divisionMinutes,
                           std::int32_t epochSeconds, const std::function<std::string(std::int64_t)>& timeLabel) {
  const std::int64_t division = 600LL * std::max<std::int32_t>(divisionMinutes, 1);
  std::string out;
  Line(out, "Time", "EpochNo.", "Latency(sec.)", "Duration(sec.)");
  DivisionStats stats;
  for (const DetectScanEntry& e : entries) {
    if (e.divisionMark) {
      stats.Write(out, division);
      stats = DivisionStats();
      continue;
    }
    const DetectRowTexts r = DetectRowOf(e, epochSeconds, timeLabel);
    Line(out, r.time, r.epoch, r.latency, r.duration);
    stats.Add(e.end - e.start + 1);
  }
  if (stats.count > 0) stats.Write(out, division);
  return out;
}
