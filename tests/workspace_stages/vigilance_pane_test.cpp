// The vigilance-state pane in the program's workspace: its lists after the parameters
// dialog, and its text outputs (episode transitions and counts per duration) with comma and
// tab, the re-staging columns and the line limit. Expected texts are worked out by hand from
// the stage lists below; the document's header lines come from the document.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/document/stage_names.h"
#include "app/scoring/lyr_re_stage_with_episode.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/workspace/lyr_workspace_dlg_vsp.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/lyr_workspace_search_views.h"
#include "app/workspace/lyr_workspace_vsp_view.h"
#include "app/workspace/workspace_settings.h"
#include "platform/system/file_system.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/dialog.h"
#include "tests/navigation/nav_fixture.h"

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  std::string s = ss.str();
  std::string out;
  for (char c : s)
    if (c != '\r') out += c;
  return out;
}

class VigilancePane : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    savedDivision_ = TextOutputTimeDivision;
    savedTrim_ = VigilanceTrimmingMode;
    savedTab_ = OutputDelimiterIsTab;
    savedMax_ = TextOutputMaxLine;
    VigilanceTrimmingMode = 0;
    folder_ = sys::CreateTempFolder("i30vsp");
    testhooks::Reset();
  }
  void TearDown() override {
    TextOutputTimeDivision = savedDivision_;
    VigilanceTrimmingMode = savedTrim_;
    OutputDelimiterIsTab = savedTab_;
    TextOutputMaxLine = savedMax_;
    UseEpisodeSetting = 0;
    std::filesystem::remove_all(folder_);
    testhooks::Reset();
    NavTest::TearDown();
  }
  LyrWorkspaceVSPView& Vsp() { return *Frame().WorkspaceTabs.VSPPane; }
  void Night(const std::vector<int>& codes) {
    Load(30, 240, static_cast<int>(codes.size()));
    Doc().Params.stageType.stageType = 0;
    Doc().Params.stageType.sharedInUse = 0;
    for (std::size_t e = 0; e < codes.size(); ++e)
      Doc().EpochTables.SetStage(static_cast<int>(e), static_cast<std::uint8_t>(codes[e]));
  }
  std::string L(int epoch) {
    std::string s;
    Doc().GetEpochTimeString(static_cast<unsigned>(epoch), s);
    return s;
  }
  std::string N(int code) { return GetStageName(Doc().Params.stageType, code); }
  std::string Header() {
    std::string h;
    Doc().PutTextHeader([&](const std::string& line) { h += line; }, nullptr);
    return h;
  }
  std::int32_t savedDivision_ = 0;
  std::uint32_t savedTrim_ = 0;
  std::uint16_t savedTab_ = 0;
  std::int32_t savedMax_ = 0;
  std::string folder_;
};

// Three divisions of 4 epochs: 1 1 2 2 | 2 3 3 3 | 1 1 2 2.
const std::vector<int> kNight = {1, 1, 2, 2, 2, 3, 3, 3, 1, 1, 2, 2};

TEST_F(VigilancePane, ParametersFillBothListsDivisionByDivision) {
  Night(kNight);
  Doc().EpochTables.SetStage(6, 103);  // an episode that is listed but counted nowhere
  testhooks::ScriptDialog(185, [](ui::Dialog& d) {
    auto& dlg = dynamic_cast<LyrWorkspaceDlgVSPFind&>(d);
    dlg.DivisionPanel()->SetEpoch(4);
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(*Frame().WorkspaceView()->Frame(), 32849));
  EXPECT_EQ(TextOutputTimeDivision, 4);
  ASSERT_EQ(Vsp().Divisions.size(), 3u);
  // Episodes: 2 + 4 + 2, each division closed by a separator row.
  ui::Control list = Vsp().List();
  ASSERT_EQ(list.GetCount(), 2 + 1 + 4 + 1 + 2 + 1);
  EXPECT_EQ(list.GetItemText(3, 0), "  1");
  EXPECT_EQ(list.GetItemText(3, 1), "4");
  EXPECT_EQ(list.GetItemText(5, 3), N(3) + "-");
  EXPECT_EQ(list.GetItemText(2, 0), "*******");
  // Summary: seven stages of type 0 and an empty row per division; stage 3's two episodes
  // (1 and 1 epochs) give mean 30 and SD 0; the "-" episode counts nowhere.
  const ui::Control summary = Vsp().SummaryList();
  ASSERT_EQ(summary.GetCount(), 3 * 8);
  EXPECT_EQ(summary.GetItemText(8, 0), L(4));
  EXPECT_EQ(summary.GetItemText(10, 2), "2");
  EXPECT_EQ(summary.GetItemText(10, 3), "30");
  EXPECT_EQ(summary.GetItemText(10, 4), "0");
  EXPECT_EQ(summary.GetItemText(11, 3), "None");
  // A click on an episode row makes its first epoch current.
  list.SetSelected(3, true);
  Vsp().OnControlNotify(LyrWorkspaceListPane::kListId, ui::NM_CLICK);
  EXPECT_EQ(Doc().CurrentEpoch, 4);
}

TEST_F(VigilancePane, AnUnscoredEpochComputesNothingAndIsListed) {
  Night(kNight);
  Doc().EpochTables.SetStage(9, 0);
  TextOutputTimeDivision = 4;
  EXPECT_EQ(Vsp().Apply(0, 11, 0, nullptr), 0) << "nothing computed is no success";
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "All the epochs must be specified.");
  EXPECT_EQ(Frame().WorkspaceTabs.CurrentPane, 9);
  EXPECT_EQ(Frame().WorkspaceTabs.SearchStrip->StagePane->List().GetCount(), 1);
}

class VigilanceOutputs : public VigilancePane, public testing::WithParamInterface<char> {};

TEST_P(VigilanceOutputs, EpisodeTransitionsAndCountsPerDuration) {
  const char d = GetParam();
  OutputDelimiterIsTab = d == '\t' ? 1 : 0;
  auto D = [d](std::string s) {
    for (char& c : s)
      if (c == ',') c = d;
    return s;
  };
  Night(kNight);
  TextOutputTimeDivision = 4;
  ASSERT_EQ(Vsp().Apply(0, 11, 0, nullptr), 1);
  const std::string path = folder_ + "/t.txt";
  ASSERT_EQ(Vsp().OutputText(0, 0, path, 0, 11, 0), 1);
  std::string expected = Header() + "\n";
  expected += D("Start time," + L(0) + "\n" + "End time," + L(11) + "\n" + "Time division,00:02:00\n\n");
  expected += D(L(0) + ",,,,,,," + L(4) + ",,,,,,," + L(8) + ",,,,,,,\n");
  for (int i = 0; i < 3; ++i) expected += D("Stage,Count,Mean duration(sec.),SD(+-),,,,");
  expected += "\n";
  // Per stage of type 0 (codes 1..7): division 1 has stages 1 and 2, division 2 has 2 and 3
  // (3 epochs), division 3 as division 1.
  const std::string none = N(4) + ",0,None,None,,,,";
  expected += D(N(1) + ",1,60,None,,,," + N(1) + ",0,None,None,,,," + N(1) + ",1,60,None,,,,\n");
  expected += D(N(2) + ",1,60,None,,,," + N(2) + ",1,30,None,,,," + N(2) + ",1,60,None,,,,\n");
  expected += D(N(3) + ",0,None,None,,,," + N(3) + ",1,90,None,,,," + N(3) + ",0,None,None,,,,\n");
  for (int code = 4; code <= 7; ++code) {
    const std::string cell = N(code) + ",0,None,None,,,,";
    expected += D(cell + cell + cell + "\n");
  }
  expected += "\n";
  for (int i = 0; i < 3; ++i) expected += D("No.,Epoch No.,Time,Episode,Count,Duration(sec.),,");
  expected += "\n";
  expected += D("1,0," + L(0) + "," + N(1) + ",2,60,,1,4," + L(4) + "," + N(2) + ",1,30,,1,8," + L(8) + "," + N(1) +
                ",2,60,,\n");
  expected += D("2,2," + L(2) + "," + N(2) + ",2,60,,2,5," + L(5) + "," + N(3) + ",3,90,,2,10," + L(10) + "," +
                N(2) + ",2,60,,\n");
  (void)none;
  EXPECT_EQ(Slurp(path), expected);

  // Counts per duration with the middle division unscored: four delimiters on every line.
  for (int e = 4; e < 8; ++e) Doc().EpochTables.SetStage(e, 0);
  ASSERT_EQ(Vsp().OutputText(1, 0, path, 0, 11, 0), 1);
  expected = Header() + "\n";
  expected += D("Start time," + L(0) + "\n" + "End time," + L(11) + "\n" + "Time division,00:02:00\n\n");
  expected += D(L(0) + ",,,," + L(4) + ",,,," + L(8) + ",,,,\n");
  for (int i = 0; i < 3; ++i) expected += D("Stage,Duration(sec.),Count,,");
  expected += "\n";
  expected += D(N(1) + ",60,1,,,,,," + N(1) + ",60,1,,\n");
  expected += D(N(2) + ",60,1,,,,,," + N(2) + ",60,1,,\n");
  EXPECT_EQ(Slurp(path), expected);
}

INSTANTIATE_TEST_SUITE_P(Delimiters, VigilanceOutputs, testing::Values(',', '\t'));

TEST_F(VigilancePane, ReStagingColumnsAndSleepTotals) {
  OutputDelimiterIsTab = 0;
  Night(kNight);
  TextOutputTimeDivision = 12;
  LyrReStageWithEpisode restage(&Doc());
  restage.ReStaged = {1, 1, 2, 2, 2, 3, 3, 3, 1, 1, 2, 2};
  UseEpisodeSetting = 1;
  const auto savedRules = StageEpisodeRules;
  for (int k = 0; k < 10; ++k) StageEpisodeRules[static_cast<std::size_t>(k)] = {10 * k, k, static_cast<std::uint16_t>(k % 2)};
  ASSERT_EQ(Vsp().Apply(0, 11, 1, &restage), 1);
  const std::string path = folder_ + "/r.txt";
  ASSERT_EQ(Vsp().OutputText(1, 0, path, 0, 11, 1), 1);
  StageEpisodeRules = savedRules;
  const std::string text = Slurp(path);
  std::string names = ",,,,";
  for (int code = 1; code <= 7; ++code) names += N(code) + ",";
  std::string rules = "Start time," + L(0) + ",,Episode time(sec),0,10,20,30,40,50,60,\n";
  EXPECT_NE(text.find(Header() + names + "\n" + rules), std::string::npos) << text;
  EXPECT_NE(text.find("End time," + L(11) + ",,Detect Interruption(sec),0,1,2,3,4,5,6,\n"), std::string::npos);
  EXPECT_NE(text.find("Time division(hr),0.10,,Allow Short Interruption,0,1,0,1,0,1,0,\n"), std::string::npos)
      << "12 epochs of 30 s are 0.1 hour";
  // Sleep: 2 2 2 3 3 3 is one run of 6 epochs, 1 1 2 2 ends with one of 2; NonREM: 3 3 3.
  EXPECT_NE(text.find("NonREMSleep,90,1,,\n"), std::string::npos) << text;
  EXPECT_NE(text.find("TotalSleep,60,1,,\n"), std::string::npos);
  EXPECT_NE(text.find("TotalSleep,180,1,,\n"), std::string::npos);
}

TEST_F(VigilancePane, LongTransitionsSplitAtTheLineLimit) {
  OutputDelimiterIsTab = 0;
  std::vector<int> codes(300);
  for (int e = 0; e < 300; ++e) codes[static_cast<std::size_t>(e)] = e % 2 == 0 ? 1 : 2;
  Night(codes);
  TextOutputTimeDivision = 300;
  ASSERT_EQ(Vsp().Apply(0, 299, 0, nullptr), 1);
  TextOutputMaxLine = 100;
  for (int i = 0; i < 3; ++i) {
    testhooks::AnswerMessageBox(ui::IDOK);
    testhooks::AnswerFileDialog(ui::IDOK, {folder_ + "/part" + std::to_string(i + 2) + ".txt"});
  }
  ASSERT_EQ(Vsp().OutputText(0, 0, folder_ + "/part1.txt", 0, 299, 0), 1);
  // 32 lines before the 300 episode lines; each file holds 100 lines, the later ones starting
  // with the header and an empty line: 68, 83 and 83 episodes, then the last 66 after 17.
  std::vector<std::size_t> sizes;
  for (int i = 1; i <= 4; ++i) {
    const std::string t = Slurp(folder_ + "/part" + std::to_string(i) + ".txt");
    sizes.push_back(static_cast<std::size_t>(std::count(t.begin(), t.end(), '\n')));
  }
  EXPECT_EQ(sizes, (std::vector<std::size_t>{100, 100, 100, 17 + 66}));
  EXPECT_EQ(Vsp().FileName, folder_ + "/part4.txt");
}

}  // namespace
