// The animal report in the program's window: its run over the trend, workspace and dose-latency
// writers (file names, forced comma files, the settings put back, checks that stop it before
// anything is written, cancel, the workbook converter's command line, the closing question),
// and its dialogs (checks in order with their focus, the episode rules, enable states, channel
// texts, doses, what Close keeps, the command that opens it).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/document/stage_names.h"
#include "app/frame/lyr_dlg_output_progress.h"
#include "app/frame/lyr_dlg_small.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/results/lyr_dlg_animal_report.h"
#include "app/scoring/lyr_re_stage_with_episode.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_dlg_text_out_fft.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/lyr_workspace_stage_graph_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "app/workspace/workspace_settings.h"
#include "platform/system/file_system.h"
#include "platform/system/process.h"
#include "platform/system/program_folder.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/command.h"
#include "tests/navigation/nav_fixture.h"

namespace {

using ObjPage = LyrDlgReportObjectPage;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A night of 60 epochs of 10 s: wake, NREM, REM, wake, REM (stage type 3 codes).
class AnimalReport : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    Load(10, 40, 60);
    CQLM2_AnalyzerDoc& d = Doc();
    folder_ = sys::CreateTempFolder("animal");
    d.RecordInfo.path = folder_ + "/rat1.fyd";
    d.RecordInfo.channelCount = 3;
    const char* names[] = {"EEG", "EMG2", "EMG"};
    for (std::size_t c = 0; c < 3; ++c) {
      d.ChInfo[c].name = names[c];
      d.ChInfo[c].unit = "uV";
      d.ChInfo[c].rate = 100;
      d.ChInfo[c].dataCount = 600 * 100;
    }
    SetDefaultFFTPageParam(0, &d.Params, 4, {});
    d.Params.fftPageSelection.flags = {};
    d.Params.fftPageSelection.flags[0] = 1;
    d.Params.fftPageSelection.flags[2] = 1;
    d.FftOutputChannel = 1;
    for (int e = 0; e < 60; ++e) d.EpochTables.SetStage(e, static_cast<std::uint8_t>(CodeOf(e)));
    ResultModifiedState = 0;
    saved_ = {AnimalReportSettings, ReportEpochSelections, ReportWorkspaceSettings, StageEpisodeRules,
              AnimalReportSetting,  WorkspaceOutputSetting, OutputToClipboard,      OutputDelimiterIsTab,
              StageGraphTimeDivision, TextOutputTimeDivision, VigilanceTrimmingMode};
    AnimalReportSettings.fill(0);
    ReportEpochSelections = {-1, -1, -1};
    UseEpisodeSetting = 0;
    StageGraphTimeDivision = 2;
    TextOutputTimeDivision = 30;
    for (int i = 0; i < 10; ++i) SetStageGraphStageFlag(i, 1);
    testhooks::Reset();
  }
  void TearDown() override {
    if (dlg_ && dlg_->IsWindow()) dlg_->DestroyWindow();
    dlg_.reset();
    sys::SetStartProcessHandlerForTesting({});
    AnimalReportSettings = saved_.objects;
    ReportEpochSelections = saved_.doses;
    ReportWorkspaceSettings = saved_.stages;
    StageEpisodeRules = saved_.rules;
    AnimalReportSetting = saved_.useEpisodes;
    WorkspaceOutputSetting = saved_.artifact;
    OutputToClipboard = saved_.clipboard;
    OutputDelimiterIsTab = saved_.tab;
    StageGraphTimeDivision = saved_.minutes;
    TextOutputTimeDivision = saved_.division;
    VigilanceTrimmingMode = saved_.trimming;
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
    testhooks::Reset();
    NavTest::TearDown();
  }
  static int CodeOf(int e) { return e < 10 ? 1 : e < 30 ? 3 : e < 40 ? 2 : e < 50 ? 1 : 2; }

  LyrDlgAnimalReport& Open() {
    if (dlg_ && dlg_->IsWindow()) dlg_->DestroyWindow();
    dlg_ = std::make_unique<LyrDlgAnimalReport>(&Frame());
    dlg_->m_pDoc = &Doc();
    EXPECT_TRUE(dlg_->CreateModeless(&Frame()));
    return *dlg_;
  }
  // Ticks exactly the objects given on the page "Output object".
  static void Choose(LyrDlgAnimalReport& d, std::initializer_list<int> objects) {
    ObjPage& p = d.ObjectPage();
    for (int id : ObjPage::kObjectChecks) p.CheckDlgButton(id, 0);
    for (int k : objects) p.CheckDlgButton(ObjPage::kObjectChecks[static_cast<std::size_t>(k)], 1);
    p.UpdateEnables();
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& b : testhooks::ShownMessageBoxes()) t.push_back(b.text);
    return t;
  }
  std::string Base() const { return folder_ + "/rat1.csv"; }
  std::string Out(const char* suffix) const { return folder_ + "/rat1" + suffix + ".csv"; }
  std::vector<std::string> Written() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder_))
      if (e.path().extension() == ".csv") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // The unattended FFT outputs run their epochs on their timer; the report's progress window is
  // gone by then.
  void AnswerFftOutputs() {
    for (int id : {IDD_TEXT_OUT_CONTINUOUS, IDD_TEXT_OUT_AVERAGE})
      testhooks::ScriptDialog(id, [this](ui::Dialog& d) {
        EXPECT_EQ(dlg_->RunningProgress(), nullptr);
        while (testhooks::FireTimer(d, kFftOutputTimer)) {
        }
      });
  }

  struct Saved {
    std::array<std::uint32_t, 5> objects;
    std::array<std::int32_t, 3> doses;
    std::array<std::uint32_t, 5> stages;
    std::array<StageEpisodeRule, 10> rules;
    std::uint32_t useEpisodes;
    std::uint16_t artifact, clipboard, tab;
    std::int32_t minutes, division;
    std::uint32_t trimming;
  } saved_{};
  std::string folder_;
  std::unique_ptr<LyrDlgAnimalReport> dlg_;
};

// ---- Kernels --------------------------------------------------------------------------------------

TEST(AnimalReportKernel, FileNamesAndProgressRange) {
  const char* suffixes[] = {"_SG", "_DS", "_TG", "_AFst", "_AFdis", "_cFFT", "_VStrn", "_VScnt"};
  for (int k = 0; k < kAnimalObjects; ++k)
    EXPECT_EQ(AnimalObjectPath("/tmp/x/rat1.csv", k), std::string("/tmp/x/rat1") + suffixes[k] + ".csv");
  EXPECT_EQ(AnimalObjectPath("D:\\data\\rat1.csv", 0), "D:\\data\\rat1_SG.csv");
  EXPECT_EQ(AnimalObjectPath("rat1", 7), "rat1_VScnt");

  const struct {
    std::array<int, kAnimalObjects> flags;
    std::uint32_t range;
  } cases[] = {
      {{1, 1, 1, 0, 0, 0, 1, 1}, 60},   // 5 x 10 + 10 for the re-staging
      {{1, 1, 1, 0, 0, 1, 1, 1}, 80},   // + 20 continuous FFT
      {{1, 1, 1, 1, 1, 1, 1, 1}, 100},  // + 20 average FFT, once for both kinds
      {{0, 0, 0, 1, 0, 1, 0, 0}, 40},   // no re-staging
      {{1, 0, 1, 0, 0, 0, 0, 0}, 20},
      {{0, 0, 0, 0, 0, 0, 0, 1}, 20},
  };
  for (const auto& c : cases) EXPECT_EQ(AnimalProgressRange(c.flags), c.range);
}

TEST(AnimalReportKernel, ObjectFlagsShareTheirWordsTwoToOne) {
  const auto saved = AnimalReportSettings;
  AnimalReportSettings.fill(0);
  SetAnimalObjectFlag(3, 1);
  SetAnimalObjectFlag(6, 1);
  EXPECT_EQ(AnimalReportSettings[1], 0x00010000u);
  EXPECT_EQ(AnimalReportSettings[3], 0x00000001u);
  SetAnimalObjectFlag(3, 0);
  EXPECT_EQ(AnimalReportSettings[1], 0u);
  EXPECT_EQ(AnimalObjectFlag(6), 1);
  EXPECT_EQ(AnimalObjectFlag(8), 0);
  AnimalExcelBook = 1;
  EXPECT_EQ(AnimalReportSettings[4], 1u) << "the book flag has the last word";
  AnimalReportSettings = saved;
}

// ---- The run --------------------------------------------------------------------------------------

TEST_F(AnimalReport, EveryObjectGivesItsCommaFileAndTheSettingsComeBack) {
  ReportEpochSelections = {100, 300, -1};
  OutputDelimiterIsTab = 1;
  OutputToClipboard = 1;
  LyrDlgAnimalReport& d = Open();
  EXPECT_EQ(d.GetDlgItemText(LyrDlgAnimalReport::kBasePath), Base()) << "the recording's path, extension csv";
  Choose(d, {0, 1, 2, 3, 4, 5, 6, 7});
  d.ObjectPage().SetDlgItemText(ObjPage::kVsHours, "1");
  AnswerFftOutputs();
  testhooks::AnswerMessageBox(ui::IDNO);
  ASSERT_TRUE(testhooks::ClickControl(d, ui::IDOK));

  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u) << (Texts().empty() ? "" : Texts().front());
  const testhooks::ShownBox& q = testhooks::ShownMessageBoxes().front();
  EXPECT_EQ(q.text, "Complete auto output.\nIs another output continuously done?");
  EXPECT_EQ(q.type, ui::MB_YESNO | ui::MB_ICONQUESTION | ui::MB_DEFBUTTON2);
  EXPECT_TRUE(d.IsEnded()) << "No closes the dialog";

  EXPECT_EQ(Written(), (std::vector<std::string>{"rat1_AFdis.csv", "rat1_AFst.csv", "rat1_DS.csv", "rat1_SG.csv",
                                                 "rat1_TG.csv", "rat1_VScnt.csv", "rat1_VStrn.csv", "rat1_cFFT.csv"}));
  for (const char* s : {"_SG", "_DS", "_TG", "_AFst", "_AFdis", "_cFFT", "_VStrn", "_VScnt"}) {
    const std::string text = Slurp(Out(s));
    EXPECT_NE(text.find(','), std::string::npos) << s;
    EXPECT_EQ(text.find('\t'), std::string::npos) << s << " is comma-separated";
  }
  EXPECT_NE(Slurp(Out("_SG")).find("Time Division(min),2"), std::string::npos);
  // The page's doses reach the latency file: 100 s and 300 s, REM from epoch 30 (300 s).
  const std::string ds = Slurp(Out("_DS"));
  EXPECT_NE(ds.find("Time,01.00:01:40.000,01.00:05:00.000,None"), std::string::npos) << ds;
  EXPECT_NE(ds.find("R,\r\nlatency,0.00:03:20,0.00:00:00,None"), std::string::npos) << ds;
  EXPECT_EQ(OutputDelimiterIsTab, 1);
  EXPECT_EQ(OutputToClipboard, 1);
  // The average chose its channel alone while it ran; the user's channels come back.
  std::array<std::uint16_t, 32> flags{};
  flags[0] = flags[2] = 1;
  EXPECT_EQ(Doc().Params.fftPageSelection.flags, flags);
}

TEST_F(AnimalReport, CancelStopsAtOnceAndPutsTheSettingsBack) {
  OutputDelimiterIsTab = 1;
  LyrDlgAnimalReport& d = Open();
  Choose(d, {0, 2});
  // Cancel is pressed as soon as the progress window handles its messages.
  std::uint32_t range = 0;
  ui::PostTask([&d, &range] {
    if (LyrDlgOutputProgress* p = d.RunningProgress()) {
      range = p->RangeHigh();
      p->OnCancel();
    }
  });
  ASSERT_TRUE(testhooks::ClickControl(d, ui::IDOK));
  EXPECT_EQ(range, 20u) << "10 for each of the two objects";
  EXPECT_EQ(d.RunningProgress(), nullptr);
  EXPECT_TRUE(Written().empty());
  EXPECT_TRUE(Texts().empty()) << "no closing question";
  EXPECT_FALSE(d.IsEnded());
  EXPECT_EQ(OutputDelimiterIsTab, 1);
}

TEST_F(AnimalReport, OnlyTheEpisodeObjectsReStageTheNight) {
  // What the progress window says when it first handles its messages.
  const struct {
    std::initializer_list<int> objects;
    const char* firstText;
  } cases[] = {{{3, 5}, ""}, {{7}, "Culculate stage with episode length..."}, {{1}, "Culculate stage with episode length..."}};
  ReportEpochSelections = {100, -1, -1};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.firstText);
    testhooks::Reset();
    LyrDlgAnimalReport& d = Open();
    Choose(d, c.objects);
    d.ObjectPage().SetDlgItemText(ObjPage::kVsHours, "1");
    std::string text = "(no progress)";
    ui::PostTask([&d, &text] {
      if (LyrDlgOutputProgress* p = d.RunningProgress()) text = p->GetDlgItemText(IDC_PROGRESS_TEXT1);
    });
    AnswerFftOutputs();
    testhooks::AnswerMessageBox(ui::IDYES);
    ASSERT_TRUE(testhooks::ClickControl(d, ui::IDOK));
    EXPECT_EQ(text, c.firstText);
  }
}

TEST_F(AnimalReport, AFileThatCannotBeMadeStopsTheRunBeforeAnythingIsWritten) {
  { std::ofstream(Out("_SG")) << "old\n"; }
  // A folder where the trend file should go (a read-only file would not stop root).
  ASSERT_TRUE(sys::CreateFolder(Out("_TG")));
  LyrDlgAnimalReport& d = Open();
  Choose(d, {0, 2, 7});
  d.ObjectPage().SetDlgItemText(ObjPage::kVsHours, "1");
  ASSERT_TRUE(testhooks::ClickControl(d, ui::IDOK));
  EXPECT_EQ(Texts(), std::vector<std::string>{"Fail to make file. Please check the file has already opened."});
  EXPECT_EQ(Slurp(Out("_SG")), "old\n") << "an existing file is checked without truncating it";
  EXPECT_FALSE(sys::FileExists(Out("_VScnt")));
  EXPECT_EQ(Written(), (std::vector<std::string>{"rat1_SG.csv", "rat1_TG.csv"}));
}

TEST_F(AnimalReport, EveryEpochOfTheRangeMustBeScored) {
  const struct {
    int code;
    bool runs;
  } cases[] = {{20, false}, {0, false}, {21, true}, {3, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    testhooks::Reset();
    std::filesystem::remove(Out("_TG"));
    Doc().EpochTables.SetStage(5, static_cast<std::uint8_t>(c.code));
    LyrDlgAnimalReport& d = Open();
    Choose(d, {2});
    testhooks::AnswerMessageBox(ui::IDYES);
    ASSERT_TRUE(testhooks::ClickControl(d, ui::IDOK));
    if (c.runs) {
      EXPECT_TRUE(sys::FileExists(Out("_TG")));
    } else {
      EXPECT_EQ(Texts(), std::vector<std::string>{"Please analyze data.\nStop to output text data."});
      EXPECT_FALSE(sys::FileExists(Out("_TG")));
    }
  }
}

TEST_F(AnimalReport, StartAfterEndIsSwappedAndYesKeepsTheDialogOpen) {
  LyrDlgAnimalReport& d = Open();
  Choose(d, {0});
  d.StartPanel()->SetEpoch(30);
  d.EndPanel()->SetEpoch(5);
  testhooks::AnswerMessageBox(ui::IDYES);
  ASSERT_TRUE(testhooks::ClickControl(d, ui::IDOK));
  const LyrWorkspaceStageGraphView& graph = *Frame().WorkspaceTabs.StageGraphPane;
  EXPECT_EQ(graph.FirstEpoch, 5);
  EXPECT_EQ(graph.LastEpoch, 30);
  EXPECT_FALSE(d.IsEnded());
  EXPECT_TRUE(sys::FileExists(Out("_SG")));
}

TEST_F(AnimalReport, OneBookStartsTheConverterWithTheFolderAndBookName) {
  std::vector<std::string> lines;
  sys::SetStartProcessHandlerForTesting([&lines](const std::string& program, const std::vector<std::string>& args) {
    std::string line = "\"" + program + "\"";
    for (const std::string& a : args) line += " " + a;
    lines.push_back(line);
    return 0;
  });
  LyrDlgAnimalReport& d = Open();
  Choose(d, {2});
  d.CheckDlgButton(LyrDlgAnimalReport::kExcelBook, 1);
  testhooks::AnswerMessageBox(ui::IDNO);
  ASSERT_TRUE(testhooks::ClickControl(d, ui::IDOK));
  const std::string converter = sys::PathBesideProgram("CSVBOOK");
  EXPECT_EQ(lines, std::vector<std::string>{"\"" + converter + "\" \"" + folder_ + "/\",\"" + folder_ + "/rat1.xls\",1"});
  EXPECT_EQ(AnimalExcelBook, 1u);
}

// ---- The dialogs ---------------------------------------------------------------------------------

TEST_F(AnimalReport, PagesAreCheckedInOrderWithTheFocusOnTheField) {
  // Each step mends the previous failure, so the next check in line speaks.
  LyrDlgAnimalReport& d = Open();
  ObjPage& p = d.ObjectPage();
  const struct {
    std::function<void()> setup;
    const char* message;
    int tab;
    int focus;
  } steps[] = {
      {[&] { Choose(d, {}); }, "Select analysis output type.\nStop to output data.", 0, 0},
      {[&] {
         Choose(d, {0, 1, 6});
         p.SetDlgItemText(ObjPage::kSgMinutes, "0");
         p.SetDlgItemText(ObjPage::kVsHours, "0");
       },
       "Input positive integer number to division time of stage graph.\nStop to output data.", 0, ObjPage::kSgMinutes},
      {[&] { p.SetDlgItemText(ObjPage::kSgMinutes, "5"); }, "Input dosing time.\nStop to output data.", 0, ObjPage::kDose1},
      {[&] { p.DoseFromSeconds(1, 200); }, "Input positive integer number to division time.", 0, ObjPage::kVsHours},
      {[&] {
         p.SetDlgItemText(ObjPage::kVsHours, "1");
         d.EpisodePage().CheckDlgButton(LyrDlgEpisodeLengthPage::kUse, 1);
         d.EpisodePage().Item(LyrDlgEpisodeLengthPage::kList).SetItemText(2, 2, "0");
       },
       "Input episode length over 1.\nStop to output data.", 1, LyrDlgEpisodeLengthPage::kList},
      {[&] { p.SetDlgItemText(ObjPage::kSgMinutes, "5001"); }, "Please enter a number between 0 and 5000.", 0,
       ObjPage::kSgMinutes},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.message);
    testhooks::Reset();
    s.setup();
    ASSERT_TRUE(testhooks::ClickControl(d, ui::IDOK));
    EXPECT_EQ(Texts(), std::vector<std::string>{s.message});
    EXPECT_EQ(d.Item(LyrDlgAnimalReport::kTab).GetCurSel(), s.tab);
    if (s.focus != 0 && ui::Window::GetFocus() != nullptr) {
      EXPECT_EQ(ui::Window::GetFocusControlId(), s.focus);
    }
  }
  EXPECT_EQ(d.EpisodePage().Item(LyrDlgEpisodeLengthPage::kList).GetSelectedIndexes(), std::vector<int>{2})
      << "the refused row is selected";
  EXPECT_TRUE(Written().empty());
}

TEST_F(AnimalReport, SetEpisodeLengthFollowsSecondsAndEpochsAndRefusesSmallNumbers) {
  LyrDlgSetEpisodeLength dlg(&Frame());
  dlg.m_StageName = "REM";
  dlg.m_EpisodeSec = 25;
  dlg.m_DetectSec = 20;
  dlg.m_Allow = 3;
  ASSERT_TRUE(dlg.CreateModeless(&Frame()));
  using D = LyrDlgSetEpisodeLength;
  EXPECT_EQ(dlg.GetDlgItemText(D::kStage), "REM");
  EXPECT_EQ(dlg.GetDlgItemText(D::kEpisodeEpochs), "3") << "25 s at 10 s epochs round up to 3";
  dlg.SetDlgItemText(D::kEpisodeEpochs, "");
  dlg.SetDlgItemText(D::kEpisodeEpochs, "3");
  EXPECT_EQ(dlg.GetDlgItemText(D::kEpisodeSec), "30");
  dlg.SetDlgItemText(D::kDetectSec, "41");
  EXPECT_EQ(dlg.GetDlgItemText(D::kDetectEpochs), "5");

  const struct {
    const char* episode;
    const char* detect;
    const char* allow;
    const char* message;
    int focus;
  } cases[] = {
      {"0", "20", "3", "Input number over 1.", D::kEpisodeSec},
      {"0", "0", "3", "Input number over 1.", D::kEpisodeSec},
      {"30", "0", "-1", "Input number over 1.", D::kDetectSec},
      {"30", "20", "-1", "Input number over 0.", D::kAllow},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.episode) + "/" + c.detect + "/" + c.allow);
    testhooks::Reset();
    dlg.SetDlgItemText(D::kEpisodeSec, c.episode);
    dlg.SetDlgItemText(D::kDetectSec, c.detect);
    dlg.SetDlgItemText(D::kAllow, c.allow);
    dlg.OnOK();
    EXPECT_EQ(Texts(), std::vector<std::string>{c.message});
    EXPECT_FALSE(dlg.IsEnded());
    if (ui::Window::GetFocus() != nullptr) {
      EXPECT_EQ(ui::Window::GetFocusControlId(), c.focus);
    }
  }
  dlg.SetDlgItemText(D::kEpisodeSec, "30");
  dlg.SetDlgItemText(D::kDetectSec, "20");
  dlg.SetDlgItemText(D::kAllow, "0");
  dlg.OnOK();
  EXPECT_TRUE(dlg.IsEnded());
  EXPECT_EQ(dlg.m_EpisodeSec, 30);
  EXPECT_EQ(dlg.m_Allow, 0);
  dlg.DestroyWindow();
}

TEST_F(AnimalReport, StageRowsFollowTheStageTypeInBothLists) {
  const struct {
    int type;
    int extra;
    int rows;
  } cases[] = {{3, 0, 4}, {0, 2, 9}, {1, 3, 9}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    Doc().Params.stageType.stageType = static_cast<std::uint16_t>(c.type);
    Doc().Params.stageType.sharedInUse = static_cast<std::uint16_t>(c.extra);
    LyrDlgAnimalReport& d = Open();
    EXPECT_EQ(d.Item(LyrDlgAnimalReport::kStageList).GetCount(), c.rows);
    const ui::Control list = d.EpisodePage().Item(LyrDlgEpisodeLengthPage::kList);
    EXPECT_EQ(list.GetCount(), c.rows);
    EXPECT_EQ(list.GetItemText(0, 0), GetStageName(Doc().Params.stageType, 1));
    EXPECT_EQ(list.GetItemText(1, 1), "20") << "row 2 of the episode rules";
  }
}

TEST_F(AnimalReport, EpisodeTabAndListFollowTheCheckBox) {
  LyrDlgAnimalReport& d = Open();
  LyrDlgEpisodeLengthPage& e = d.EpisodePage();
  const ui::Control tab = d.Item(LyrDlgAnimalReport::kTab);
  EXPECT_EQ(tab.GetString(1), "Set Episode length");
  EXPECT_FALSE(e.Item(LyrDlgEpisodeLengthPage::kList).IsEnabled());
  ASSERT_TRUE(testhooks::ClickControl(e, LyrDlgEpisodeLengthPage::kUse));
  EXPECT_EQ(tab.GetString(1), "*Set Episode length");
  EXPECT_TRUE(e.Item(LyrDlgEpisodeLengthPage::kList).IsEnabled());

  // A double-click without a row asks for one; on a row it opens the row's rule.
  e.OnDoubleClick();
  EXPECT_EQ(Texts(), std::vector<std::string>{"Select Episode length list."});
  e.Item(LyrDlgEpisodeLengthPage::kList).SetSelected(1, true);
  testhooks::ScriptDialog(IDD_SET_EPISODE_LENGTH, [](ui::Dialog& s) {
    EXPECT_EQ(s.GetDlgItemText(LyrDlgSetEpisodeLength::kEpisodeSec), "20");
    s.SetDlgItemText(LyrDlgSetEpisodeLength::kEpisodeSec, "25");
    s.SetDlgItemText(LyrDlgSetEpisodeLength::kAllow, "4");
    testhooks::ClickControl(s, ui::IDOK);
  });
  e.OnDoubleClick();
  EXPECT_EQ(e.Item(LyrDlgEpisodeLengthPage::kList).GetItemText(1, 1), "25");
  EXPECT_EQ(e.Item(LyrDlgEpisodeLengthPage::kList).GetItemText(1, 3), "4");
}

TEST_F(AnimalReport, ControlsFollowTheirObjects) {
  LyrDlgAnimalReport& d = Open();
  ObjPage& p = d.ObjectPage();
  const std::array<int, 6> probes{ObjPage::kSgMinutes, ObjPage::kDose1, ObjPage::kVsHours, ObjPage::kChannel, ObjPage::kSelectCh,
                                  ObjPage::kTrimAuto};
  const struct {
    int object;
    std::array<bool, 6> enabled;
  } cases[] = {
      {0, {true, false, false, false, false, false}}, {1, {false, true, false, false, false, false}},
      {2, {false, false, false, false, false, false}}, {3, {false, false, true, true, false, false}},
      {4, {false, false, true, true, false, false}},   {5, {false, false, false, false, true, false}},
      {6, {false, false, true, false, false, true}},   {7, {false, false, true, false, false, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.object);
    Choose(d, {});
    ASSERT_TRUE(testhooks::ClickControl(p, ObjPage::kObjectChecks[static_cast<std::size_t>(c.object)]));
    for (std::size_t i = 0; i < probes.size(); ++i) EXPECT_EQ(p.Item(probes[i]).IsEnabled(), c.enabled[i]) << probes[i];
  }
}

TEST_F(AnimalReport, ChannelTextsAndDosesOfThePage) {
  ReportEpochSelections = {100, 601, -5};
  LyrDlgAnimalReport& d = Open();
  Choose(d, {1});
  ObjPage& p = d.ObjectPage();
  const ui::Control combo = p.Item(ObjPage::kChannel);
  ASSERT_EQ(combo.GetCount(), 3);
  EXPECT_EQ(combo.GetString(0), " 1:EEG");
  EXPECT_EQ(combo.GetCurSel(), 1) << "the document's chosen FFT channel";
  EXPECT_EQ(p.GetDlgItemText(ObjPage::kSelectChText), "[ 1:EEG/3:EMG ]");
  // 601 s lies beyond the 600 s recording: no dose, as a negative time.
  EXPECT_EQ(p.m_DoseEpoch, (std::array<std::int32_t, 3>{10, -1, -1}));
  EXPECT_EQ(p.GetDlgItemText(ObjPage::kDoseText1 + 1), "None");
  EXPECT_EQ(p.GetDlgItemText(ObjPage::kDoseText1 + 2), "None");
  EXPECT_EQ(p.GetDlgItemText(ObjPage::kDoseText1).find('.'), p.GetDlgItemText(ObjPage::kDoseText1).rfind('.'))
      << "the label is cut before its milliseconds";
  EXPECT_NE(p.GetDlgItemText(ObjPage::kDoseText1), "None");

  // Switched off in "Set dose time": the dose is gone now and at the next opening.
  testhooks::ScriptDialog(IDD_SET_DOSE_TIME, [](ui::Dialog& s) {
    s.CheckDlgButton(IDC_DOSE_USE, 0);
    testhooks::ClickControl(s, ui::IDOK);
  });
  ASSERT_TRUE(testhooks::ClickControl(p, ObjPage::kDose1));
  EXPECT_EQ(p.GetDlgItemText(ObjPage::kDoseText1), "None");
  EXPECT_EQ(ReportEpochSelections[0], -1);
}

TEST_F(AnimalReport, CloseKeepsEveryChoiceForTheNextOpening) {
  LyrDlgAnimalReport& d = Open();
  Choose(d, {2, 6});
  ui::Control stages = d.Item(LyrDlgAnimalReport::kStageList);
  for (int i = 0; i < stages.GetCount(); ++i) stages.SetSelected(i, i == 1);
  d.CheckDlgButton(LyrDlgAnimalReport::kArtifact, 1);
  d.CheckDlgButton(LyrDlgAnimalReport::kExcelBook, 1);
  d.ObjectPage().SetDlgItemText(ObjPage::kVsHours, "0");
  d.ObjectPage().CheckRadioButton(ObjPage::kTrimManual, ObjPage::kTrimAuto, ObjPage::kTrimAuto);
  ASSERT_TRUE(testhooks::ClickControl(d.EpisodePage(), LyrDlgEpisodeLengthPage::kUse));
  ASSERT_TRUE(testhooks::ClickControl(d, ui::IDCANCEL));
  EXPECT_TRUE(d.IsEnded());
  EXPECT_TRUE(Texts().empty());

  LyrDlgAnimalReport& again = Open();
  for (int k = 0; k < kAnimalObjects; ++k) EXPECT_EQ(again.ObjectPage().Checked(k), k == 2 || k == 6 ? 1 : 0) << k;
  EXPECT_EQ(again.Item(LyrDlgAnimalReport::kStageList).GetSelectedIndexes(), std::vector<int>{1});
  EXPECT_EQ(again.IsDlgButtonChecked(LyrDlgAnimalReport::kArtifact), 1);
  EXPECT_EQ(again.IsDlgButtonChecked(LyrDlgAnimalReport::kExcelBook), 1);
  EXPECT_EQ(again.ObjectPage().IsDlgButtonChecked(ObjPage::kTrimAuto), 1);
  EXPECT_EQ(again.EpisodePage().IsDlgButtonChecked(LyrDlgEpisodeLengthPage::kUse), 1);
  EXPECT_EQ(again.Item(LyrDlgAnimalReport::kTab).GetString(1), "*Set Episode length");
  EXPECT_EQ(UseEpisodeSetting, 1u);
}

TEST_F(AnimalReport, TheWorkspaceCommandOpensTheReportOnTheDocument) {
  LyrWorkspaceFrame& ws = *Frame().WorkspaceView()->Frame();
  CQLM2_AnalyzerDoc* seen = nullptr;
  testhooks::ScriptDialog(IDD_ANIMAL_REPORT, [&seen](ui::Dialog& s) {
    seen = dynamic_cast<LyrDlgAnimalReport&>(s).m_pDoc;
    testhooks::ClickControl(s, ui::IDCANCEL);
  });
  ASSERT_TRUE(ui::ExecuteCommand(ws, 33163));
  EXPECT_EQ(testhooks::ShownDialogs(), std::vector<int>{IDD_ANIMAL_REPORT});
  EXPECT_EQ(seen, &Doc());
}

}  // namespace
