// The dose-latency file: golden files of a 10-s night (comma and tab, episode rules off and
// on), the stage columns and latency slots per stage type, time labels, REM cycle statistics,
// the range limits of the scans and a file that cannot be made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/frame/time_point_scale.h"
#include "app/scoring/lyr_re_stage_with_episode.h"
#include "app/workspace/lyr_workspace_text_out_dose_latency.h"
#include "platform/testing/ui_testing.h"

namespace {

using Codes = std::vector<int>;
using Lines = std::vector<std::string>;

// The golden night, 32 epochs of 10 s, stage type 0 (1 Wake, 2 REM, 3-6 stages 1-4, 7 MT):
//   0-2 W, 3 S1, 4-6 W, 7-9 S2, 10-11 S1, 12 W, 13-15 S3, 16-17 REM, 18 S2, 19 S2 discarded,
//   20 W, 21-23 REM, 24-26 W, 27 S4, 28-31 S1.
// Dose 1 at 20 s (epoch 2), dose 2 at 140 s (epoch 14), no dose 3.
//
// Rules off (every run counts from its first epoch):
//   dose 1: S1 epoch 3 (10 s later), S2 7 (50 s), S3 13 (1:50), S4 27 (4:10), REM 16 (2:20);
//   dose 2: S1 28 (2:20), S2 18 (0:40), S3 14 (0:00), S4 27 (2:10), REM 16 (0:20).
// Rules on, default rules at 10 s (L = 3, REM 2): the re-staged night is
//   1 1 1 1 1 1 1 4 4 4 103 103 101 5 5 5 2 2 104 104 101 2 2 2 1 1 1 1 3 3 3 3
//   (S1 at 3 and S4 at 27 absorbed into Wake; 10-12 and 18-20 real interruptions), so
//   dose 1: S1 28 (4:20), S2 7, S3 13, S4 none, REM 16; dose 2: the S3 run 14-15 is too short,
//   S2 18-19 lies outside: only REM 16 (0:20) and S1 28 (2:20).
// REM runs 16-17 and 21-23 in both: latencies 30 s (S3 13-15) and 0 s (after Wake, or after an
// epoch outside every episode), average 15.00, SD sqrt((15^2 + 15^2) / 1) = 21.21; one complete
// cycle 16 -> 21 (50 s), so the cycle statistics (count 1) are 0.00.
const Codes kNight = {1, 1, 1, 3, 1, 1, 1, 4, 4, 4, 3, 3, 1, 5, 5, 5,
                      2, 2, 4, 24, 1, 2, 2, 2, 1, 1, 1, 6, 3, 3, 3, 3};

Lines SplitCrLf(const std::string& text) {
  Lines lines;
  std::size_t from = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", from)) {
    lines.push_back(text.substr(from, at - from));
    from = at + 2;
  }
  if (from < text.size()) lines.push_back(text.substr(from));
  return lines;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class DoseLatency : public testing::Test {
 protected:
  void SetUp() override {
    savedEpoch_ = EpochSeconds;
    savedRules_ = StageEpisodeRules;
    savedTab_ = OutputDelimiterIsTab;
    savedClock_ = ClockTimeDisplay;
    SetDefaultSettings();
    EpochSeconds = 10;
    ClockTimeDisplay = 0;
    OutputDelimiterIsTab = 0;
    UseEpisodeSetting = 0;
    testhooks::Reset();
    std::random_device rd;
    dir_ = std::filesystem::temp_directory_path() / ("doselat_" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(dir_);
    SetDefaultStageTypeParam(&doc_.Params.stageType);
    doc_.Params.stageType.stageType = 0;
    doc_.RecordInfo.channelCount = 1;
    doc_.RecordInfo.path = "/data/rat1.fyd";
    doc_.RecordInfo.subjectName = "Rat 1";
    doc_.ChInfo[0].rate = 100;
    doc_.ChInfo[0].name = "EEG";
  }
  void TearDown() override {
    EpochSeconds = savedEpoch_;
    StageEpisodeRules = savedRules_;
    OutputDelimiterIsTab = savedTab_;
    ClockTimeDisplay = savedClock_;
    UseEpisodeSetting = 0;
    testhooks::Reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  void Night(const Codes& codes) {
    const int n = static_cast<int>(codes.size());
    doc_.RecordSeconds = EpochSeconds * n;
    ASSERT_EQ(doc_.EpochTables.SetNew(n, 0, 1, 0, 1), 1);
    for (int e = 0; e < n; ++e) doc_.EpochTables.SetStage(e, static_cast<std::uint8_t>(codes[static_cast<std::size_t>(e)]));
  }
  std::int64_t At(int seconds) const { return LyrWorkspaceTextOutDoseLatency::TimeOrigin(doc_) + seconds; }
  // Writes the file of the range with the doses (seconds into the data, -1 none) and returns
  // its lines; the re-staging runs first while the rules are on.
  Lines Output(int start, int end, std::array<int, 3> doseSeconds) {
    LyrReStageWithEpisode restage(&doc_);
    if (UseEpisodeSetting != 0) {
      EXPECT_EQ(restage.AllocateReStage(), 1);
      EXPECT_EQ(restage.ReStage(), 1);
    }
    std::array<std::int32_t, 3> epochs{};
    std::array<std::int64_t, 3> times{};
    for (std::size_t k = 0; k < 3; ++k) {
      epochs[k] = doseSeconds[k] < 0 ? -1 : doseSeconds[k] / EpochSeconds;
      times[k] = doseSeconds[k] < 0 ? 0 : At(doseSeconds[k]);
    }
    LyrWorkspaceTextOutDoseLatency out(start, end, epochs, times, &restage);
    out.m_pDoc = &doc_;
    const std::string path = (dir_ / "rat1_DS.csv").string();
    EXPECT_EQ(out.OutputText(path), 1);
    return SplitCrLf(Slurp(path));
  }
  // The body after the document's common header.
  Lines Body(const Lines& lines) {
    std::string header;
    doc_.PutTextHeader([&](const std::string& l) { header += l; }, nullptr);
    const std::size_t skip = static_cast<std::size_t>(std::count(header.begin(), header.end(), '\n'));
    return Lines(lines.begin() + static_cast<std::ptrdiff_t>(std::min(skip, lines.size())), lines.end());
  }
  void ExpectGolden(const Lines& lines, const std::string& name) {
    const char* data = std::getenv("QLM_TEST_DATA");
    ASSERT_NE(data, nullptr);
    const std::string path = std::string(data) + "/../re_staging/golden/" + name;
    if (std::getenv("QLM_UPDATE_GOLDEN") != nullptr) {
      std::ofstream out(path, std::ios::binary);
      out << "# Dose latency file of the night in dose_latency_test.cpp (" << name
          << "), written by the program and checked by hand against the night's comment.\n";
      for (const std::string& l : lines) out << l << "\n";
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    Lines expected;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) expected.push_back(line);
    ASSERT_EQ(lines.size(), expected.size()) << name;
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << name << " line " << i + 1;
  }
  static bool Has(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  CQLM2_AnalyzerDoc doc_;
  std::filesystem::path dir_;
  std::int32_t savedEpoch_ = 0;
  std::array<StageEpisodeRule, 10> savedRules_{};
  std::uint16_t savedTab_ = 0;
  std::uint16_t savedClock_ = 0;
};

class DoseLatencyGolden : public DoseLatency, public testing::WithParamInterface<std::tuple<bool, bool>> {};

TEST_P(DoseLatencyGolden, NightAgainstGolden) {
  const auto [tab, rules] = GetParam();
  OutputDelimiterIsTab = tab ? 1 : 0;
  UseEpisodeSetting = rules ? 1 : 0;
  Night(kNight);
  doc_.LastScreenedEpoch = -1;  // scored by hand: the whole range is read
  ExpectGolden(Output(0, 31, {20, 140, -1}),
               std::string(tab ? "tab" : "comma") + (rules ? "_episodes" : "_epochs") + ".txt");
}

INSTANTIATE_TEST_SUITE_P(DelimiterAndRules, DoseLatencyGolden,
                         testing::Combine(testing::Bool(), testing::Bool()));

TEST_F(DoseLatency, StageColumnsAndLatencySlotsPerStageType) {
  doc_.Params.stageType.sharedInUse = 2;
  struct Row {
    int type;
    std::vector<int> rowOfColumn;  // -1 not found; columns 0..9 (codes 1..10)
    std::vector<bool> slots;       // latency slots of codes 3, 4, 5, 6, 2
  };
  const std::vector<Row> table = {
      {0, {0, 1, 2, 3, 4, 5, 6, 7, 8, -1}, {true, true, true, true, true}},
      {1, {0, 1, 2, 3, 4, -1, 5, 6, 7, -1}, {true, true, true, false, true}},
      {2, {0, 1, 2, -1, 3, -1, 4, 5, 6, -1}, {true, false, true, false, true}},
      {3, {0, 1, 2, -1, -1, -1, 3, 4, 5, -1}, {true, false, false, false, true}},
  };
  LyrWorkspaceTextOutDoseLatency out(0, 0, {-1, -1, -1}, {0, 0, 0}, nullptr);
  out.m_pDoc = &doc_;
  for (const Row& r : table) {
    doc_.Params.stageType.stageType = static_cast<std::uint16_t>(r.type);
    for (int i = 0; i < 10; ++i) {
      const auto col = out.GetStageColumn(i);
      const int expected = r.rowOfColumn[static_cast<std::size_t>(i)];
      EXPECT_EQ(col.found, expected >= 0) << "type " << r.type << " column " << i;
      if (expected >= 0) {
        EXPECT_EQ(col.row, expected) << "type " << r.type << " column " << i;
        EXPECT_FALSE(col.name.empty()) << "type " << r.type << " column " << i;
      }
    }
    EXPECT_FALSE(out.GetStageColumn(10).found);
    for (int slot = 0; slot < 5; ++slot) {
      std::string name;
      EXPECT_EQ(out.GetLatencySlotName(slot, name), r.slots[static_cast<std::size_t>(slot)])
          << "type " << r.type << " slot " << slot;
    }
  }
}

TEST_F(DoseLatency, StatStageFlagsOutsideAndDiscardedCodes) {
  Night({3, 23, 2, 22});
  LyrReStageWithEpisode restage(&doc_);
  restage.ReStaged = {103, 3, 0, 2};
  LyrWorkspaceTextOutDoseLatency out(0, 3, {-1, -1, -1}, {0, 0, 0}, &restage);
  out.m_pDoc = &doc_;
  auto at = [&](int e) { return std::make_pair(out.GetStatStage(e).code, out.GetStatStage(e).flag); };
  EXPECT_EQ(at(1), std::make_pair(3, 20)) << "the document's discarded code while the rules are off";
  UseEpisodeSetting = 1;
  EXPECT_EQ(at(0), std::make_pair(3, 100));
  EXPECT_EQ(at(1), std::make_pair(3, 0));
  EXPECT_EQ(at(2), std::make_pair(0, 0));
}

TEST_F(DoseLatency, TimeLabelsClockAndElapsed) {
  Night(Codes(10, 1));
  LyrWorkspaceTextOutDoseLatency out(0, 9, {-1, -1, -1}, {0, 0, 0}, nullptr);
  out.m_pDoc = &doc_;
  // Elapsed: times count from 1 November 2000.
  EXPECT_EQ(LyrWorkspaceTextOutDoseLatency::TimeOrigin(doc_), DaysFromCivil(2000, 11, 1) * 86400);
  EXPECT_EQ(out.FormatTimeLabel(LyrWorkspaceTextOutDoseLatency::EpochTimeValue(doc_, 3)), "01.00:00:30.000");
  EXPECT_EQ(out.FormatTimeLabel(At(86400 + 3661)), "02.01:01:01.000");
  // Clock: the recording's start; a start that is not known keeps the elapsed labels.
  ClockTimeDisplay = 1;
  EXPECT_EQ(out.FormatTimeLabel(LyrWorkspaceTextOutDoseLatency::EpochTimeValue(doc_, 3)), "01.00:00:30.000");
  doc_.RecordInfo.startTimeValid = 1;
  doc_.RecordInfo.startDateTime = {2026, 3, 4, 23, 59, 50, 0};
  EXPECT_EQ(out.FormatTimeLabel(LyrWorkspaceTextOutDoseLatency::EpochTimeValue(doc_, 3)), "05/03/2026  00:00:20.000");
}

TEST_F(DoseLatency, LatencyBeyondADayAndTheRangeLimits) {
  // 60-s epochs: stage 4 (S4) only at epoch 1470 (24.5 h after the dose at 0) and at the end
  // epoch of the second range.
  EpochSeconds = 60;
  Codes night(1500, 1);
  night[1470] = 6;
  night[1480] = 5;
  Night(night);
  Lines lines = Body(Output(0, 1499, {0, -1, -1}));
  EXPECT_TRUE(Has(lines, "latency,1.00:30:00,None,None")) << "S4 latency";
  // The end epoch itself is scanned.
  lines = Body(Output(0, 1480, {0, -1, -1}));
  EXPECT_TRUE(Has(lines, "epochNo,1480,None,None")) << "S3 at the end epoch";
  // A screening that stopped before the end limits the scans to its last epoch.
  doc_.LastScreenedEpoch = 1475;
  lines = Body(Output(0, 1499, {0, -1, -1}));
  EXPECT_TRUE(Has(lines, "epochNo,1470,None,None"));
  EXPECT_FALSE(Has(lines, "epochNo,1480,None,None"));
  // A dose before the start of the range has no latencies.
  doc_.LastScreenedEpoch = -1;
  lines = Body(Output(10, 1499, {0, -1, -1}));
  EXPECT_FALSE(Has(lines, "epochNo,1470,None,None"));
  EXPECT_TRUE(Has(lines, "epochNo,None,None,None"));
}

TEST_F(DoseLatency, OneRemRunHasNoCycle) {
  // W W S1 S1 REM REM W: one REM run after 2 epochs of S1.
  Night({1, 1, 3, 3, 2, 2, 1});
  const Lines lines = Body(Output(0, 6, {0, -1, -1}));
  const Lines tail(lines.end() - 6, lines.end());
  EXPECT_EQ(tail, (Lines{",,REM Length(sec),REM Latency,REM Cycle", "Average(sec),,,0.00,0.00", "SD,,,0.00,0.00", "",
                         "Time,EpochNo", "01.00:00:40,4,20,20,-"}));
}

TEST_F(DoseLatency, AFileThatCannotBeMadeIsToldAndKeepsNothing) {
  Night(Codes(4, 1));
  LyrWorkspaceTextOutDoseLatency out(0, 3, {0, -1, -1}, {At(0), 0, 0}, nullptr);
  out.m_pDoc = &doc_;
  const std::string missing = (dir_ / "no such folder" / "rat1_DS.csv").string();
  EXPECT_EQ(out.OutputText(missing), 0);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text,
            "Failer to make file.\nStop to output data.\nLyrWorkspaceTextOutDoseLatency::OutputText()");
  // A folder in the way of the file: nothing is put in its place.
  const std::filesystem::path folder = dir_ / "rat1_DS.csv";
  std::filesystem::create_directories(folder);
  EXPECT_EQ(out.OutputText(folder.string()), 0);
  EXPECT_EQ(testhooks::ShownMessageBoxes().size(), 2u);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  std::vector<std::filesystem::path> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) left.push_back(entry.path());
  EXPECT_EQ(left, std::vector<std::filesystem::path>{folder}) << "no half-written file stays beside it";
}

}  // namespace
