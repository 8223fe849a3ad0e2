// The whole human report of a small scored night against golden files (tab and comma, stage
// types 0 and 3, English and Japanese), the edge cases of its sections, and its writes.
#include <cmath>
#include <cstdlib>

#include "platform/system/file_io.h"
#include "platform/ui/messages.h"
#include "tests/human_report/report_fixture.h"

namespace {

// 40 epochs of 30 s (index: code):
//   0-1 Wake, 2-13 Stage2 (sleep onset at 2), 14-15 Wake (a 60-s run: WASO), 16 Stage3,
//   17 Wake (30 s: too short for WASO), 18-19 REM, 20 F1 inside the REM block, 21 REM,
//   22-27 Stage1, 28-29 REM (10 epochs after 18: the same cycle at 6 minutes),
//   30-32 Stage4, 33 REM (a new cycle; left open), 34-35 MT, 36 Stage2 (last sleep page),
//   37-38 Wake (bed out at 38), 39 not scored.
const std::vector<int> kNight = {1, 1, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 1, 1, 5, 1, 2, 2,
                                 8, 2, 3, 3, 3, 3, 3, 3, 2, 2, 6, 6, 6, 2, 7, 7, 4, 1, 1, 0};
constexpr int kChannels = 8;

class HumanReport : public reportfix::ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    savedPreview_ = ArousalThresholdPreview;
    ArousalThresholdPreview = 0;
  }
  void TearDown() override {
    ArousalThresholdPreview = savedPreview_;
    ReportTest::TearDown();
  }

  // The night with every channel the report reads, and events in every table.
  void FullNight() {
    Stages(kNight);
    const int n = static_cast<int>(kNight.size());
    HumanReportSettings.first = 6;  // REM cycle: 12 epochs
    LyrRecordInfo& r = doc_.RecordInfo;
    r.channelCount = kChannels;
    r.path = "/data/night one.fyd";
    r.subjectName = "Taro";
    r.gender = 0;
    r.ageYears = 52;
    const char* names[kChannels] = {"Flow", "Chest", "ECG", "SpO2", "Pos", "CPAP", "Snore", "C3-A2"};
    for (int c = 0; c < kChannels; ++c) {
      LyrChInfo& ch = doc_.ChInfo[static_cast<std::size_t>(c)];
      ch.name = names[c];
      ch.rate = 100;
      ch.filterMode = 4;
    }
    doc_.ChInfo[0].notch = 1;
    doc_.ChInfo[0].lineFrequencyHz = 49.9999;  // 50 Hz
    doc_.ChInfo[1].notch = 1;
    doc_.ChInfo[1].lineFrequencyHz = 50.0001;  // outside the 50-Hz window: 60 Hz
    doc_.ChInfo[2].filterMode = 0;
    doc_.ChInfo[2].cut1Hz = 40.0;
    doc_.ChInfo[3].filterMode = 2;
    doc_.ChInfo[3].cut1Hz = 0.3;
    doc_.ChInfo[3].cut2Hz = 35.0;
    doc_.ChInfo[4].smoothingCount = 3;
    doc_.ChInfo[5].baseLine = 1;
    doc_.ChInfo[5].unit = "hPa";
    doc_.ChInfo[7].filterMode = 3;
    doc_.ChInfo[7].cut1Hz = 48.0;
    doc_.ChInfo[7].cut2Hz = 52.0;

    SleepDstrbParam& p = doc_.Params.sleepDstrb;
    p.airFlow.channel = 0;
    p.chest.channel = 1;
    p.ecgChannel = 2;
    p.spo2Channel = 3;
    p.positionChannel = 4;
    p.cpapChannel = 5;
    p.snore.channel = 6;
    p.arousal.channel = 7;
    p.positionsInUse = 5;
    const char* positions[] = {"Front", "Left", "Right", "Back", "Upright"};
    for (int k = 0; k < 5; ++k) p.positions[static_cast<std::size_t>(k)] = {positions[k], k * 1.0, k + 1.0};

    // Respiratory events (0.25-s points, 120 per epoch).
    Resp(4 * kSlotsPerEpoch + 60, 5 * kSlotsPerEpoch + 100, 1);  // obstructive 40 s ending in epoch 5
    Resp(7 * kSlotsPerEpoch + 10, 7 * kSlotsPerEpoch + 50, 3);   // central 10.0 s (40 points)
    Resp(9 * kSlotsPerEpoch + 10, 9 * kSlotsPerEpoch + 49, 3);   // central 9.75 s (39 points)
    Resp(22 * kSlotsPerEpoch, 22 * kSlotsPerEpoch + 80, 2);      // mixed 20 s
    Resp(19 * kSlotsPerEpoch + 4, 19 * kSlotsPerEpoch + 52, 4);  // hypopnea 12 s in REM
    Resp(1 * kSlotsPerEpoch + 4, 1 * kSlotsPerEpoch + 48, 4);    // hypopnea 11 s before sleep onset

    doc_.EpochTables.AllocateRprsntTable();
    doc_.EpochTables.AllocateRprsntSpO2(30);
    doc_.EpochTables.AllocateRprsntCPAP(30);
    doc_.EpochTables.AllocateRprsntPosition(30);
    const int spo2 = doc_.EpochTables.RprsntCount(kRprsntSpO2);
    const int cpap = doc_.EpochTables.RprsntCount(kRprsntCPAP);
    const int pos = doc_.EpochTables.RprsntCount(kRprsntPosition);
    auto& rr = doc_.RecognitionTables.ECGLFHF();
    rr.assign(static_cast<std::size_t>(n), 1000.0);  // 60 beats per minute
    rr[24] = 800.0;                                  // 75 in one Stage1 epoch
    for (int e = 0; e < n; ++e) {
      float* s = doc_.EpochTables.Rprsnt(kRprsntSpO2, e);
      for (int i = 0; i < spo2; ++i) s[i] = 97.0f;
      float* c = doc_.EpochTables.Rprsnt(kRprsntCPAP, e);
      for (int i = 0; i < cpap; ++i) c[i] = 6.5f;
      float* q = doc_.EpochTables.Rprsnt(kRprsntPosition, e);
      // Back (class 4) through the night, Left (class 2) in epochs 0-1 and 22-25.
      const float v = (e < 2 || (e >= 22 && e <= 25)) ? 1.5f : 3.5f;
      for (int i = 0; i < pos; ++i) q[i] = v;
    }
    // An SpO2 dip in epoch 25 broken by artifacts (under 30): one episode, nadir 83.
    const float dip[] = {85.0f, 84.0f, 20.0f, 83.0f, 85.0f, 10.0f, 85.0f};
    float* s25 = doc_.EpochTables.Rprsnt(kRprsntSpO2, 25);
    for (int i = 0; i < 7; ++i) s25[10 + i] = dip[i];

    // Snore, limb-movement and arousal marks (0.1-s points, 300 per epoch).
    auto mark = [&](std::vector<std::uint8_t>& t, long long from, long long to) {
      if (t.empty()) t.assign(static_cast<std::size_t>(n) * 300, 0);
      for (long long i = from; i < to; ++i) t[static_cast<std::size_t>(i)] = 1;
    };
    mark(doc_.RecognitionTables.Snore(), 10 * 300 + 20, 10 * 300 + 45);
    mark(doc_.RecognitionTables.Snore(), 11 * 300 + 20, 11 * 300 + 60);
    mark(doc_.RecognitionTables.ArousalRecognize(), 24 * 300 + 20, 24 * 300 + 80);
    report_.m_pDoc = &doc_;
    report_.SetObjectEnables();
    report_.SetDefaultTimes();
  }

  // Compares the lines with a golden file (lines after its "#" header); QLM_UPDATE_GOLDEN=1
  // rewrites it.
  void ExpectGolden(const std::vector<std::string>& lines, const std::string& name) {
    const char* data = std::getenv("QLM_TEST_DATA");
    ASSERT_NE(data, nullptr);
    const std::string path = std::string(data) + "/../human_report/golden/" + name;
    if (std::getenv("QLM_UPDATE_GOLDEN") != nullptr) {
      std::ofstream out(path, std::ios::binary);
      out << "# Human report of the night in report_test.cpp (" << name
          << "), written by the program and checked by hand against the report's rules.\n";
      for (const std::string& l : lines) out << l << "\n";
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::vector<std::string> expected;
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) expected.push_back(line);
    ASSERT_EQ(lines.size(), expected.size()) << name;
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << name << " line " << i + 1;
  }

  std::uint16_t savedPreview_ = 0;
};

TEST_F(HumanReport, GoldenReportsInBothDelimitersAndStageTypes) {
  FullNight();
  EXPECT_EQ(BedInEpoch, 0);
  EXPECT_EQ(SleepOnsetEpoch, 2);
  EXPECT_EQ(LastSleepPageEpoch, 36);
  EXPECT_EQ(BedOutEpoch, 38);
  ExpectGolden(Run(), "type0_tab.txt");
  OutputDelimiterIsTab = 0;
  ExpectGolden(Run(), "type0_comma.txt");
  doc_.Params.stageType.stageType = 3;
  ExpectGolden(Run(), "type3_comma.txt");
  EXPECT_EQ(testhooks::ShownMessageBoxes().size(), 3u);
  for (const auto& box : testhooks::ShownMessageBoxes()) EXPECT_EQ(box.text, "Text output is complete.");
}

TEST_F(HumanReport, JapaneseReportTakesItsTitlesFromItsStrings) {
  setenv("LC_ALL", "ja_JP.UTF-8", 1);
  sys::ResetThreadLocaleForTesting();
  res::SetLanguage(res::Language::Japanese);
  FullNight();
  doc_.Params.stageType.stageType = 3;
  const std::vector<std::string> lines = Run();
  EXPECT_EQ(lines[0], "印刷日\t2026/12/11  07:08:09");
  ExpectGolden(lines, "type3_tab_ja.txt");
}

TEST_F(HumanReport, SectionEdgeCases) {
  FullNight();
  const std::vector<std::string> l = Run();
  auto at = [&](const std::string& head, int skip = 0) { return LineStarting(l, head, skip); };
  // Notch frequencies on either side of the 50-Hz window.
  EXPECT_EQ(at("Flow\t"), "Flow\tOFF\tOFF\tOFF\tNotch:50Hz");
  EXPECT_EQ(at("Chest\t"), "Chest\tOFF\tOFF\tOFF\tNotch:60Hz");
  // One REM cycle: 18 to 33 = 15 epochs = 7.5 min, written whole minutes; the last is open.
  EXPECT_EQ(at("REM 1"), "REM 1\t01.00:09:00\t7\t00:09:00\t00:08:00");
  EXPECT_EQ(at("REM 2"), "");
  // WASO: the 60-s run 14-15 counts, the 30-s run at 17 does not: 1.0 min.
  EXPECT_EQ(at("Wake after sleep onset(WASO)"), "Wake after sleep onset(WASO)\tWake\t1.0\t(min.)\tduring SPT");
  // Events: the obstructive 40 s once, in ">=30sec."; the central of 40 points in ">=10 <20sec.",
  // the one of 39 points in no class.
  EXPECT_EQ(at("Total number"), "Total number\t2\t1\t1\t4\t2\t6");
  EXPECT_EQ(at(">=30sec."), ">=30sec.\t0\t1\t0\t1\t0\t1");
  EXPECT_EQ(at(">=20 <30sec."), ">=20 <30sec.\t0\t0\t1\t1\t0\t1");
  EXPECT_EQ(at(">=10 <20sec."), ">=10 <20sec.\t1\t0\t0\t1\t2\t3");
  // RDI ends with the TST value and no delimiter.
  const std::string rdi = at("RDI(#/h)");
  ASSERT_FALSE(rdi.empty());
  EXPECT_NE(rdi.back(), '\t');
  // CPAP: every type's mean 6.5 in "6<= <7"; index 4 / (35 epochs = 0.2917 h) = 13.7.
  EXPECT_EQ(at("6<= <7"), "6<= <7\t1\t1\t1\t1\t13.7");
  // SpO2: one episode in the dip at each criterion below 86.
  EXPECT_EQ(at("Counts\t"), "Counts\t1\t1\t1");
  EXPECT_EQ(at("Mean nadir(%)"), "Mean nadir(%)\t83.0\t83.0\t83.0");
  EXPECT_EQ(at("Lowest(%)"), "Lowest(%)\t83.0");
  // Position: the hypopnea in epoch 1 (TIB, before sleep onset) counts for Left.
  EXPECT_EQ(at("Left\t"), "Left\t 1\t 2.0\t 60.0\t 0\t 0\t 1\t 1\t 0.0\t 0.0\t 100.0");
  // Heart rate: Stage3 has one epoch: SD and CV 0.0. NREM: 22 epochs of 60 and one of 75
  // (mean 60.65, SD 3.13, CV 5.2); Stage1: five of 60 and one of 75 (mean 62.5, SD 6.12, CV 9.8).
  EXPECT_EQ(at("SD\t"), "SD\t0.0\t0.0\t3.1\t6.1\t0.0\t0.0\t0.0\t0.0");
  EXPECT_EQ(at("CV\t"), "CV\t0.0\t0.0\t5.2\t9.8\t0.0\t0.0\t0.0\t0.0");
}

TEST_F(HumanReport, DurationOfADayAndMoreWrapsItsHoursButKeepsItsMinutes) {
  Stages(std::vector<int>(3000, 4));  // 25 h
  report_.m_pDoc = &doc_;
  report_.SetObjectEnables();
  report_.SetDefaultTimes();
  const std::vector<std::string> l = Run();
  EXPECT_EQ(LineStarting(l, "Duration time"), "Duration time\t01:00:00\tMin.\t1500");
}

TEST_F(HumanReport, AnEmptyColumnTotalLeavesOutItsCells) {
  // The sleep period holds free stages only: no SPT or TST cells; TIB keeps its own.
  Stages({1, 8, 9, 1});
  report_.m_pDoc = &doc_;
  SetMarkers(0, 1, 2, 3);
  report_.m_Offered.fill(0);
  report_.m_Offered[LyrDlgReport::kStages] = 1;
  const std::vector<std::string> l = Run();
  EXPECT_EQ(LineStarting(l, "W\t"), "W\t2\t1.0\t100.00\t");
  EXPECT_EQ(LineStarting(l, "R\t"), "R\t0\t0.0\t0.00\t");
  EXPECT_EQ(LineStarting(l, "Sleep efficiency1"), "Sleep efficiency1\t0.0\tTST / TIB (%)");
  SetMarkers(1, 1, 2, 2);  // no scored stage in bed either
  const std::vector<std::string> m = Run();
  EXPECT_EQ(LineStarting(m, "W\t"), "W\t");
}

TEST_F(HumanReport, CentralAndMixedOnlyAverageTheirMeans) {
  Stages(std::vector<int>(20, 4));
  // Two centrals of 10 and 20 s (mean 15) and one mixed of 30 s: (15 + 30) / 2, unweighted.
  Resp(2 * kSlotsPerEpoch, 2 * kSlotsPerEpoch + 40, 3);
  Resp(4 * kSlotsPerEpoch, 4 * kSlotsPerEpoch + 80, 3);
  Resp(6 * kSlotsPerEpoch, 6 * kSlotsPerEpoch + 120, 2);
  report_.m_pDoc = &doc_;
  SetMarkers(0, 0, 19, 19);
  report_.m_Offered.fill(0);
  report_.m_Offered[LyrDlgReport::kRespiration] = 1;
  const std::vector<std::string> l = Run();
  EXPECT_EQ(LineStarting(l, "Mean duration(sec.)"), "Mean duration(sec.)\t15.0\t0.0\t30.0\t22.5\t0.0\t22.5");
}

TEST_F(HumanReport, CpapOfTwentyFiveIsInTheLastRowAndNoEventTableLetsTheReportGoOn) {
  Stages(std::vector<int>(20, 4));
  doc_.RecordInfo.channelCount = 8;
  doc_.Params.sleepDstrb.cpapChannel = 5;
  doc_.Params.sleepDstrb.snore.channel = 6;
  doc_.EpochTables.AllocateRprsntTable();
  doc_.EpochTables.AllocateRprsntCPAP(30);
  for (int e = 0; e < 20; ++e) {
    float* c = doc_.EpochTables.Rprsnt(kRprsntCPAP, e);
    for (int i = 0; i < doc_.EpochTables.RprsntCount(kRprsntCPAP); ++i) c[i] = 25.0f;
  }
  report_.m_pDoc = &doc_;
  report_.SetObjectEnables();
  SetMarkers(0, 0, 19, 19);
  // Without an event table the CPAP section writes nothing, and "Others" still follows.
  std::vector<std::string> l = Run();
  EXPECT_EQ(LineStarting(l, "CPAP"), "");
  EXPECT_EQ(LineStarting(l, "Snoring"), "Snoring\t(during SPT)");
  Resp(3 * kSlotsPerEpoch, 3 * kSlotsPerEpoch + 60, 1);
  l = Run();
  EXPECT_EQ(LineStarting(l, "<=25"), "<=25\t0\t1\t0\t0\t6.0");
}

TEST_F(HumanReport, EventCountsEqualTheTrendWindowsValues) {
  FullNight();
  const std::vector<std::string> l = Run();
  LyrTrendGraphValues values(&doc_, 0);
  long apnea[4] = {}, snore = 0, arousal = 0;
  const std::pair<int, int> types[] = {{11, 1}, {11, 0}, {11, 2}, {12, 0}};
  for (int e = BedInEpoch; e <= BedOutEpoch; ++e)
    for (int t = 0; t < 4; ++t) apnea[t] += values.GetApneaValue(types[t].first, types[t].second, e).Number() > 0 ? 1 : 0;
  for (int e = SleepOnsetEpoch; e <= LastSleepPageEpoch; ++e) {
    snore += values.GetSnoreValue(0, e).value;
    arousal += values.GetArousalValue(0, e).value;
  }
  char expected[128];
  std::snprintf(expected, sizeof expected, "Total number\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld", apnea[0], apnea[1], apnea[2],
                apnea[0] + apnea[1] + apnea[2], apnea[3], apnea[0] + apnea[1] + apnea[2] + apnea[3]);
  EXPECT_EQ(LineStarting(l, "Total number"), expected);
  EXPECT_EQ(LineStarting(l, "Total\t"), "Total\t" + std::to_string(snore));
  EXPECT_EQ(LineStarting(l, "Counts\t", 1), "Counts\t" + std::to_string(arousal));
  EXPECT_GT(snore, 0);
  EXPECT_GT(arousal, 0);
}

TEST_F(HumanReport, AFailedWriteIsToldAndKeepsTheEarlierFile) {
  FullNight();
  // A folder that does not exist: nothing is written and no completion is claimed.
  report_.m_OutputPath = Path("missing/report.txt");
  EXPECT_EQ(report_.OutputReport(), 0);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text,
            "The report could not be written.\nAn earlier file of that name is kept.");
  // A target that cannot be replaced stays as it was.
  testhooks::Reset();
  std::filesystem::create_directories(Path("taken"));
  report_.m_OutputPath = Path("taken");
  EXPECT_EQ(report_.OutputReport(), 0);
  EXPECT_TRUE(std::filesystem::is_directory(Path("taken")));
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_NE(testhooks::ShownMessageBoxes()[0].text, "Text output is complete.");
  // An earlier report is replaced whole by a complete one.
  {
    std::ofstream old(Path("report.txt"));
    old << "old report\n";
  }
  report_.m_OutputPath = Path("report.txt");
  const std::vector<std::string> l = Run();
  ASSERT_FALSE(l.empty());
  EXPECT_EQ(l[0], "Printed day\t12/11/2026  07:08:09");
}

}  // namespace
