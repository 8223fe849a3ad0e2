// The spectrum text outputs: stage rows and divisions, the average tables against golden
// files (comma and tab), the continuous lines, and both dialogs run over the epochs of a
// recording: counts, messages, split parts, the clipboard and the temporary files.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/workspace/fft_text_output.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_dlg_text_out_fft.h"
#include "platform/system/file_system.h"
#include "platform/ui/common_dialogs.h"
#include "tests/navigation/nav_fixture.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Golden files: tests/workspace_spectra/golden/<name>. The references were written by this
// program and checked by hand against the sums in the tests (QLM_UPDATE_GOLDEN=1 rewrites them).
void ExpectGolden(const std::string& name, const std::string& text) {
  const char* data = std::getenv("QLM_TEST_DATA");
  ASSERT_NE(data, nullptr);
  const std::string path = std::string(data) + "/../workspace_spectra/golden/" + name;
  if (std::getenv("QLM_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(path, std::ios::binary) << text;
    return;
  }
  EXPECT_EQ(text, ReadFile(path)) << "golden " << name;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream s(text);
  std::string line;
  while (std::getline(s, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The line beginning with a cell, or "" when none.
std::string LineOf(const std::vector<std::string>& lines, const std::string& start) {
  for (const std::string& l : lines)
    if (l.rfind(start, 0) == 0) return l;
  return {};
}

FFTPageParam TwoBands() {
  FFTPageParam fp;
  fp.bandCount = 2;
  fp.bands[0] = {"Delta", 0.0, 4.0};
  fp.bands[1] = {"Theta", 4.0, 8.0};
  fp.unit = 0;
  return fp;
}

TEST(FftTextKernel, StageRowsAndDivisions) {
  EXPECT_EQ(ffttext::StageRowCodes(2, 2), (std::vector<int>{1, 2, 3, 5, 7, 8, 9}));
  EXPECT_EQ(ffttext::StageRow(2, 23), 2) << "a discarded 3 shares the row of 3";
  EXPECT_EQ(ffttext::StageRow(2, 4), -1) << "type 2 has no row of its own for 4";
  EXPECT_EQ(ffttext::StageRow(3, 8), 4);
  EXPECT_EQ(ffttext::StageRow(0, 10), 9);
  // 25 epochs in tens: 10, 10, 5. Shorter than one division: one.
  EXPECT_EQ(ffttext::DivisionCount(25, 10), 3);
  EXPECT_EQ(ffttext::DivisionCount(30, 10), 3);
  EXPECT_EQ(ffttext::DivisionCount(7, 10), 1);
  // 16 Hz, 16 points: df 1; 5 Hz shows bins 0..5, bands take all 9; never beyond the values.
  const ffttext::Bins b = ffttext::BinsOf(16.0, 16, 5.0f, 9);
  EXPECT_EQ(b.printed, 6);
  EXPECT_EQ(b.banded, 9);
  EXPECT_EQ(ffttext::BinsOf(16.0, 16, 50.0f, 4).printed, 4);
}

TEST(FftTextKernel, AverageTablesMatchTheirGoldenFiles) {
  const FFTPageParam fp = TwoBands();
  // Division 0: two epochs of 1 and 3 (average 2); division 1: none; division 2: one epoch k.
  ffttext::DivisionTable wake;
  wake.Reset(3, 9);
  wake.Add(0, std::vector<float>(9, 1.0f));
  wake.Add(0, std::vector<float>(9, 3.0f));
  std::vector<float> ramp(9);
  for (int k = 0; k < 9; ++k) ramp[static_cast<std::size_t>(k)] = static_cast<float>(k);
  wake.Add(2, ramp);
  wake.rejected[1] = 2;
  // Delta in division 2: bins 0..3 -> (0 + 1 + 2 + 3) / (1 x 4) = 1.5; Theta bins 4..7 -> 5.5,
  // although bins 6 and 7 lie above the 5 Hz display range.
  for (char d : {',', '\t'}) {
    ffttext::AverageLayout layout;
    layout.fp = &fp;
    layout.bins = ffttext::BinsOf(16.0, 16, 5.0f, 9);
    layout.unit = "uV";
    layout.delimiter = d;
    layout.divisions = 3;
    layout.divisionLabel = "01.00:05:00";
    const std::string perStage = ffttext::PerStageText(layout, {{"W", &wake}});
    const std::string all = ffttext::AllEpochText(layout, wake);
    const std::string suffix = d == ',' ? "comma.txt" : "tab.txt";
    ExpectGolden("average_per_stage_" + suffix, perStage);
    ExpectGolden("average_all_" + suffix, all);
    const std::vector<std::string> lines = Lines(perStage);
    const std::string dl(1, d);
    EXPECT_EQ(LineOf(lines, "EpochNo"), "EpochNo" + dl + "2" + dl + "0" + dl + "1" + dl);
    EXPECT_EQ(LineOf(lines, "Delta"), "Delta" + dl + "2.000000" + dl + "None" + dl + "1.500000" + dl);
    EXPECT_EQ(LineOf(lines, "Theta"), "Theta" + dl + "2.000000" + dl + "None" + dl + "5.500000" + dl);
  }
  // Unattended: the run's block with the division length in hours, fraction kept.
  ffttext::AverageLayout layout;
  layout.fp = &fp;
  layout.bins = ffttext::BinsOf(16.0, 16, 5.0f, 9);
  layout.divisions = 3;
  layout.unattended = true;
  layout.artifactExcludes = true;
  layout.firstLabel = "A";
  layout.lastLabel = "B";
  layout.divisionHours = 30.0 * 10 / 3600.0;
  const std::vector<std::string> lines = Lines(ffttext::AllEpochText(layout, wake));
  EXPECT_EQ(lines[0], "Start time,A,,Artfact excludes,");
  EXPECT_EQ(lines[1], "End time,B,Time division(hr),0.0833333,");
}

TEST(FftTextKernel, ContinuousLinesWithBandsAndPercentages) {
  FFTPageParam fp = TwoBands();
  fp.showContent = 1;
  fp.contentMode = 1;
  fp.contentFromHz = 0.0f;
  fp.contentToHz = 8.0f;
  const ffttext::ContinuousLayout layout{&fp, ffttext::BinsOf(16.0, 16, 2.0f, 9), "C3", "uV", ','};
  EXPECT_EQ(ffttext::ContinuousHeader(layout),
            "C3,,,%,%,,uV^2,uV^2,uV^2,\nEpochNo,Stage,Time,Delta,Theta,,0.000000Hz,1.000000Hz,2.000000Hz,\n");
  const std::vector<float> values = {1, 1, 1, 1, 2, 2, 2, 2, 9};
  // Total over 0..8 Hz (bins 0..7) = 12: Delta 4 / 12, Theta 8 / 12.
  EXPECT_EQ(ffttext::ContinuousLine(layout, 3, "W*", "t", values),
            "3,W*,t,33.333333,66.666667,,1.000000,1.000000,1.000000,\n");
  // A zero total leaves the sums.
  const std::vector<float> high = {0, 0, 0, 0, 0, 0, 0, 0, 9};
  fp.bands[1].toHz = 9.0;
  EXPECT_EQ(ffttext::BandValues(fp, layout.bins, high), (std::vector<double>{0.0, 9.0}));
}

class FftOutputs : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    CQLM2_AnalyzerDoc& d = Doc();
    folder_ = sys::CreateTempFolder("fftout");
    d.RecordInfo.path = folder_ + "/night.fyd";
    d.RecordInfo.channelCount = 2;
    d.ChInfo[0].name = "C3";
    d.ChInfo[0].unit = "uV";
    d.ChInfo[0].rate = 100;
    d.ChInfo[1].name = "O2";
    d.ChInfo[1].unit = "uV";
    d.ChInfo[1].rate = 100;
    SetDefaultFFTPageParam(0, &d.Params, kPerPage, {});
    d.Params.fftPageSelection.flags = {};
    d.Params.fftPageSelection.flags[1] = 1;
    for (int e = 0; e < kEpochs; ++e) d.EpochTables.SetStage(e, 1);
    OutputToClipboard = 0;
    OutputDelimiterIsTab = 0;
    WorkspaceOutputSetting = 0;
    WorkspaceEpochSpan = 10;
    ResultModifiedState = 0;
    for (int i = 0; i < 10; ++i) SetStageGraphStageFlag(i, i < 2 ? 1 : 0);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
    NavTest::TearDown();
  }
  // Runs the average output over epochs first..last: Start, then every tick.
  void RunAverage(LyrWorkspaceDlgTextOutAverage& dlg, std::function<void(ui::Dialog&)> during = {}) {
    testhooks::ScriptDialog(IDD_TEXT_OUT_AVERAGE, [&](ui::Dialog& d) {
      testhooks::ClickControl(d, LyrWorkspaceDlgTextOutAverage::kStart);
      if (during) during(d);
      while (testhooks::FireTimer(d, kFftOutputTimer)) {
      }
      d.EndDialog(ui::IDOK);
    });
    dlg.DoModal();
  }
  std::string folder_;
};

TEST_F(FftOutputs, AverageCountsDivisionsRejectsAndTheStageMerge) {
  CQLM2_AnalyzerDoc& d = Doc();
  d.Params.stageType.stageType = 2;
  d.EpochTables.SetStage(3, 21);   // discarded wake
  d.EpochTables.SetStage(12, 4);   // counted as 3 under type 2
  d.EpochTables.SetStage(13, 2);
  for (int e = 20; e < 25; ++e) d.EpochTables.SetStage(e, 2);
  for (int i = 0; i < 10; ++i) SetStageGraphStageFlag(i, i < 3 ? 1 : 0);
  const auto flags = d.Params.fftPageSelection.flags;
  LyrWorkspaceDlgTextOutAverage dlg(&d, &Frame());
  dlg.OutputPath = dlg.MakeDefaultFileName();
  EXPECT_EQ(dlg.OutputPath, folder_ + "/night_AFst.txt");
  dlg.EndEpoch = 24;
  testhooks::Reset();
  RunAverage(dlg);
  ASSERT_EQ(dlg.Written, 1);
  EXPECT_EQ(testhooks::ShownMessageBoxes().back().text, "Text output is complete.");
  EXPECT_EQ(d.Params.fftPageSelection.flags, flags) << "the channel flags come back with the dialog";
  const std::vector<std::string> lines = Lines(ReadFile(dlg.OutputPath));
  // 25 epochs in tens: 3 divisions. Row 1 (W): 10 - 1 rejected, 8 (epochs 10..19 less 12 and
  // 13), 0. Row 2 (S1): epoch 13, then epochs 20..24. Row 3 (code 3): epoch 12 as 4.
  std::vector<std::string> epochNo, discarded;
  for (const std::string& l : lines) {
    if (l.rfind("EpochNo", 0) == 0) epochNo.push_back(l);
    if (l.rfind("Discarded", 0) == 0) discarded.push_back(l);
  }
  EXPECT_EQ(epochNo, (std::vector<std::string>{"EpochNo,9,8,0,", "EpochNo,0,1,5,", "EpochNo,0,1,0,"}));
  EXPECT_EQ(discarded, (std::vector<std::string>{"Discarded,1,0,0,", "Discarded,0,0,0,", "Discarded,0,0,0,"}));
  EXPECT_NE(LineOf(lines, "0.000000,"), "");
  EXPECT_NE(LineOf(lines, "0.000000,").find("None"), std::string::npos) << "a division without epochs";
}

TEST_F(FftOutputs, AverageRefusesUnscoredEpochsAndListsThem) {
  Doc().EpochTables.SetStage(5, 0);
  LyrWorkspaceDlgTextOutAverage dlg(&Doc(), &Frame());
  dlg.OutputPath = dlg.MakeDefaultFileName();
  dlg.EndEpoch = 9;
  testhooks::Reset();
  RunAverage(dlg);
  EXPECT_EQ(dlg.Written, 0);
  ASSERT_FALSE(testhooks::ShownMessageBoxes().empty());
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "All the epochs must be specified.");
  EXPECT_EQ(Frame().WorkspaceTabs.CurrentPane, 9);
  EXPECT_FALSE(sys::FileExists(dlg.OutputPath));
}

TEST_F(FftOutputs, StopThenOkWritesWhatWasReachedAndDisregardAveragesDiscarded) {
  Doc().EpochTables.SetStage(1, 21);
  LyrWorkspaceDlgTextOutAverage dlg(&Doc(), &Frame());
  dlg.StageMode = 0;
  dlg.OutputPath = dlg.MakeDefaultFileName();
  dlg.EndEpoch = 24;
  testhooks::AnswerMessageBox(ui::IDOK);
  RunAverage(dlg, [](ui::Dialog& d) {
    for (int i = 0; i < 11; ++i) testhooks::FireTimer(d, kFftOutputTimer);
    testhooks::ClickControl(d, LyrWorkspaceDlgTextOutAverage::kStop);
  });
  ASSERT_EQ(dlg.Written, 1);
  const std::vector<std::string> lines = Lines(ReadFile(folder_ + "/night_AFdis.txt"));
  EXPECT_EQ(LineOf(lines, "Time Division"), "Time Division,1,2,3,");
  EXPECT_EQ(lines.size() > 20 ? LineOf(lines, "0.000000,").substr(0, 30) : "", "0.000000,0.000000,0.000000,Non");
}

TEST_F(FftOutputs, PauseIsAButtonThatStaysDownAndHoldsTheRun) {
  constexpr int kPause = 1614;
  LyrWorkspaceDlgTextOutAverage dlg(&Doc(), &Frame());
  dlg.OutputPath = dlg.MakeDefaultFileName();
  dlg.EndEpoch = 9;
  testhooks::ScriptDialog(IDD_TEXT_OUT_AVERAGE, [&](ui::Dialog& d) {
    EXPECT_EQ(d.Item(kPause).Kind(), ui::ControlKind::LatchButton);
    testhooks::ClickControl(d, LyrWorkspaceDlgTextOutAverage::kStart);
    testhooks::ClickControl(d, kPause);
    EXPECT_EQ(d.IsDlgButtonChecked(kPause), 1) << "down after a click";
    EXPECT_FALSE(d.IsTimerArmed(kFftOutputTimer)) << "the run holds";
    testhooks::ClickControl(d, kPause);
    EXPECT_EQ(d.IsDlgButtonChecked(kPause), 0) << "up at the next";
    EXPECT_TRUE(d.IsTimerArmed(kFftOutputTimer)) << "and the run goes on";
    while (testhooks::FireTimer(d, kFftOutputTimer)) {
    }
    d.EndDialog(ui::IDOK);
  });
  dlg.DoModal();
  EXPECT_EQ(dlg.Written, 1);
}

TEST_F(FftOutputs, AverageUnattendedWritesBothTablesAndEndsOk) {
  LyrWorkspaceDlgTextOutAverage dlg(&Doc(), &Frame());
  dlg.Unattended = 1;
  dlg.StageMode = -1;
  dlg.StagePath = folder_ + "/rep_AFst.txt";
  dlg.AllPath = folder_ + "/rep_AFdis.txt";
  dlg.EndEpoch = 4;
  testhooks::ScriptDialog(IDD_TEXT_OUT_AVERAGE, [](ui::Dialog& d) {
    while (testhooks::FireTimer(d, kFftOutputTimer)) {
    }
  });
  EXPECT_EQ(dlg.DoModal(), ui::IDOK);
  for (const std::string& path : {dlg.StagePath, dlg.AllPath}) {
    const std::vector<std::string> lines = Lines(ReadFile(path));
    EXPECT_EQ(LineOf(lines, "Start time").rfind("Start time,", 0), 0u) << path;
    EXPECT_NE(LineOf(lines, "End time").find("Time division(hr),0.0833333,"), std::string::npos) << path;
  }
}

TEST_F(FftOutputs, UnwritableDestinationIsReported) {
  LyrWorkspaceDlgTextOutAverage dlg(&Doc(), &Frame());
  dlg.OutputPath = folder_ + "/missing/out.txt";
  dlg.EndEpoch = 2;
  testhooks::Reset();
  RunAverage(dlg);
  EXPECT_EQ(dlg.Written, 0);
  std::vector<std::string> texts;
  for (const auto& b : testhooks::ShownMessageBoxes()) texts.push_back(b.text);
  EXPECT_EQ(texts, std::vector<std::string>{"There was an error saving this file."});
}

class ContinuousOutput : public FftOutputs {
 protected:
  void Run(LyrWorkspaceDlgTextOutContinuous& dlg, std::function<void(ui::Dialog&)> during = {}) {
    testhooks::ScriptDialog(IDD_TEXT_OUT_CONTINUOUS, [&](ui::Dialog& d) {
      testhooks::ClickControl(d, LyrWorkspaceDlgTextOutContinuous::kStart);
      temps_ = dynamic_cast<LyrWorkspaceDlgTextOutContinuous&>(d).TempPaths();
      if (during) during(d);
      while (testhooks::FireTimer(d, kFftOutputTimer)) {
      }
      testhooks::ClickControl(d, ui::IDOK);
    });
    dlg.DoModal();
  }
  std::vector<std::string> temps_;
};

TEST_F(ContinuousOutput, ArtifactExcludesDropsDiscardedEpochsElseMarksThem) {
  Doc().EpochTables.SetStage(2, 21);
  for (int excludes : {0, 1}) {
    SCOPED_TRACE(excludes);
    WorkspaceOutputSetting = static_cast<std::uint16_t>(excludes);
    LyrWorkspaceDlgTextOutContinuous dlg(&Doc(), &Frame());
    dlg.OutputPath = folder_ + "/night_cFFT.txt";
    dlg.EndEpoch = 4;
    Run(dlg);
    ASSERT_EQ(dlg.Written, 1);
    const std::vector<std::string> lines = Lines(ReadFile(dlg.OutputPath));
    const std::string two = LineOf(lines, "2,");
    if (excludes != 0) EXPECT_EQ(two, "");
    else EXPECT_EQ(two.substr(0, 4), "2,W*") << two;
    EXPECT_EQ(LineOf(lines, "O2,"), LineOf(lines, "O2,").empty() ? "" : LineOf(lines, "O2,"));
    EXPECT_NE(LineOf(lines, "EpochNo,Stage,Time,"), "");
    for (const std::string& t : temps_) EXPECT_FALSE(sys::FileExists(t)) << t;
  }
}

TEST_F(ContinuousOutput, MaxLinesSplitIntoNumberedPartsEachWithTheHeader) {
  // 2 channels x (2 header lines + 40 epochs) + 2 blank lines = 86 lines after the header.
  // A limit of 50 with 16 header lines: parts of 34, 34 and the rest.
  Doc().Params.fftPageSelection.flags[0] = 1;
  OutputMaxLines = 50;
  LyrWorkspaceDlgTextOutContinuous dlg(&Doc(), &Frame());
  dlg.OutputPath = folder_ + "/night_cFFT.txt";
  dlg.EndEpoch = kEpochs - 1;
  Run(dlg);
  ASSERT_EQ(dlg.Written, 1);
  EXPECT_FALSE(sys::FileExists(dlg.OutputPath));
  for (int part = 1; part <= 3; ++part) {
    const std::string path = folder_ + "/night_cFFT_" + std::to_string(part) + ".txt";
    ASSERT_TRUE(sys::FileExists(path)) << path;
    EXPECT_EQ(Lines(ReadFile(path))[0].rfind("File name,night.fyd", 0), 0u) << path;
  }
  EXPECT_FALSE(sys::FileExists(folder_ + "/night_cFFT_4.txt"));
  OutputMaxLines = -50;
}

TEST_F(ContinuousOutput, ClipboardCancelKeepsPartOneAndCloseLeavesNoTemporaryFile) {
  OutputToClipboard = 1;
  OutputMaxLines = 30;
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  LyrWorkspaceDlgTextOutContinuous dlg(&Doc(), &Frame());
  dlg.EndEpoch = kEpochs - 1;
  Run(dlg);
  const std::vector<std::string> clip = Lines(ui::GetClipboardText());
  EXPECT_EQ(clip[0].rfind("File name", 0), 0u);
  EXPECT_LE(clip.size(), 32u);
  EXPECT_EQ(dlg.Written, 0);

  // Close in the middle of a run: its files go.
  OutputToClipboard = 0;
  OutputMaxLines = -30;
  LyrWorkspaceDlgTextOutContinuous second(&Doc(), &Frame());
  second.OutputPath = folder_ + "/closed.txt";
  second.EndEpoch = kEpochs - 1;
  testhooks::ScriptDialog(IDD_TEXT_OUT_CONTINUOUS, [&](ui::Dialog& d) {
    testhooks::ClickControl(d, LyrWorkspaceDlgTextOutContinuous::kStart);
    testhooks::FireTimer(d, kFftOutputTimer);
    temps_ = second.TempPaths();
    testhooks::ClickControl(d, ui::IDOK);
  });
  second.DoModal();
  ASSERT_FALSE(temps_.empty());
  for (const std::string& t : temps_) EXPECT_FALSE(sys::FileExists(t)) << t;
  EXPECT_FALSE(sys::FileExists(second.OutputPath));
}

}  // namespace
