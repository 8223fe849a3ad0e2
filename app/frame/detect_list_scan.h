#pragma once
// The scan behind the detected wave list: the runs of the wave-detection flags (one byte per
// 0.1 s) inside a time range, cut into time divisions, as list rows and as the tab-separated
// text file with per-division statistics.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct DetectScanEntry {
  bool divisionMark = false;   // a "*****" row / a statistics block
  std::int64_t start = 0;      // first flag index of the wave
  std::int64_t end = 0;        // last flag index of the wave
  std::int64_t divisionStart = 0;  // flag index where the wave's division starts
};

struct DetectScanInput {
  const std::uint8_t* flags = nullptr;
  std::int64_t flagCount = 0;
  std::int64_t startSeconds = 0;   // swapped with endSeconds when later
  std::int64_t endSeconds = 0;
  std::int32_t divisionMinutes = 1;  // below 1 counts as 1
};

// Division marks and waves in scan order. A wave that runs to the end of the flags is listed
// too.
std::vector<DetectScanEntry> ScanDetectedWaves(const DetectScanInput& in);

// The four texts of a wave's row: time label, epoch, latency and duration.
struct DetectRowTexts {
  std::string time, epoch, latency, duration;
};
// timeLabel gives the time label of an offset in milliseconds from the recording start.
DetectRowTexts DetectRowOf(const DetectScanEntry& e, std::int32_t epochSeconds,
                           const std::function<std::string(std::int64_t)>& timeLabel);

// The whole text file: header, one line per wave, a statistics block at each division mark
// and after the last wave of the last division.
std::string DetectListText(const std::vector<DetectScanEntry>& entries, std::int32_t divisionMinutes,
                           std::int32_t epochSeconds, const std::function<std::string(std::int64_t)>& timeLabel);
