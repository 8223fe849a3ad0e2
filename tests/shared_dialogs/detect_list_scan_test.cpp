#include "app/frame/detect_list_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Label(std::int64_t ms) { return "t" + std::to_string(ms); }

// Flags of `seconds` seconds with waves [start, start + len) in flag indexes.
std::vector<std::uint8_t> Flags(std::int64_t seconds, std::vector<std::pair<int, int>> waves, std::uint8_t v = 1) {
  std::vector<std::uint8_t> f(static_cast<std::size_t>(seconds * 10), 0);
  for (auto [s, n] : waves) {
    for (int i = s; i < s + n; ++i) f[static_cast<std::size_t>(i)] = v;
  }
  return f;
}

std::string Shape(const std::vector<DetectScanEntry>& e) {
  std::string s;
  for (const auto& x : e) s += x.divisionMark ? "*" : "w" + std::to_string(x.start) + "-" + std::to_string(x.end) + " ";
  return s;
}

TEST(DetectListScan, RowsMarksAndRanges) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> flags;
    std::int64_t a, b;
    int minutes;
    std::string shape;
  };
  const std::vector<Case> cases = {
      {"one-minute divisions split 30 s and 90 s", Flags(180, {{300, 3}, {900, 5}}), 0, 180, 1, "w300-302 *w900-904 *"},
      {"start later than end", Flags(180, {{300, 3}, {900, 5}}), 180, 0, 1, "w300-302 *w900-904 *"},
      {"division 0 counts as one minute", Flags(180, {{300, 3}, {900, 5}}), 0, 180, 0, "w300-302 *w900-904 *"},
      {"range leaves out the first wave", Flags(180, {{300, 3}, {900, 5}}), 60, 180, 1, "*w900-904 *"},
      {"range after two boundaries marks each once", Flags(200, {{1500, 2}}), 130, 200, 1, "**w1500-1501 *"},
      {"a wave running to the end is listed", Flags(60, {{10, 2}, {590, 10}}), 0, 60, 10, "w10-11 w590-599 "},
      {"adjacent runs of different values are two waves", [] {
         auto f = Flags(10, {{5, 2}});
         f[7] = 2;
         return f;
       }(), 0, 10, 1, "w5-6 w7-7 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DetectScanInput in{c.flags.data(), static_cast<std::int64_t>(c.flags.size()), c.a, c.b, c.minutes};
    EXPECT_EQ(Shape(ScanDetectedWaves(in)), c.shape);
  }
  DetectScanInput none{nullptr, 0, 0, 10, 1};
  EXPECT_TRUE(ScanDetectedWaves(none).empty());
}

TEST(DetectListScan, RowTextsAndFileWithStatistics) {
  const auto f = Flags(180, {{300, 3}, {900, 5}, {1000, 1}});
  DetectScanInput in{f.data(), static_cast<std::int64_t>(f.size()), 0, 180, 1};
  const auto entries = ScanDetectedWaves(in);
  ASSERT_EQ(entries.size(), 5u);  // the boundary at 120 s lies in the range too
  const DetectRowTexts second = DetectRowOf(entries[2], 30, Label);
  EXPECT_EQ(second.time, "t90000");
  EXPECT_EQ(second.epoch, "3");
  EXPECT_EQ(second.latency, "30.0");
  EXPECT_EQ(second.duration, "0.5");
  EXPECT_EQ(DetectRowOf(entries[0], 30, Label).duration, "0.3");

  const std::string text = DetectListText(entries, 1, 30, Label);
  const std::string expected =
      "Time\tEpochNo.\tLatency(sec.)\tDuration(sec.)\n"
      "t30000\t1\t30.0\t0.3\n"
      "Total number\t1\nTotal time(min.)\t0.0\nMax. duration(sec.)\t0.3\nMin. duration(sec.)\t0.3\n"
      "Mean duration(sec.)\t0.3\nIndex #/h\t60.0\n"
      "t90000\t3\t30.0\t0.5\n"
      "t100000\t3\t40.0\t0.1\n"
      "Total number\t2\nTotal time(min.)\t0.0\nMax. duration(sec.)\t0.5\nMin. duration(sec.)\t0.1\n"
      "Mean duration(sec.)\t0.3\nIndex #/h\t120.0\n";
  EXPECT_EQ(text, expected);

  // A division without waves writes a block of zeros (no division by a zero count).
  const auto empty = Flags(130, {{1250, 2}});
  DetectScanInput in2{empty.data(), static_cast<std::int64_t>(empty.size()), 0, 130, 1};
  const std::string t2 = DetectListText(ScanDetectedWaves(in2), 1, 30, Label);
  EXPECT_NE(t2.find("Total number\t0\nTotal time(min.)\t0.0\nMax. duration(sec.)\t0.0\nMin. duration(sec.)\t0.0\n"
                    "Mean duration(sec.)\t0.0\nIndex #/h\t0.0\n"),
            std::string::npos);
}

}  // namespace
