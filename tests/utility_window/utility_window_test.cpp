// The result-file comparison window in the running program: opened from the main window, with
// generated result files loaded through its menu, its layout, display time, scrolling, stage
// graphs, closing files, the save offer at the window's close and printing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/frame/program_settings.h"
#include "app/frame/window_command_states.h"
#include "app/results/lyr_dlg_result_file.h"
#include "app/results/lyr_dlg_utility.h"
#include "app/results/lyr_utility_hypnogram_frame.h"
#include "app/results/lyr_utility_stage_views.h"
#include "app/workspace/lyr_workspace_dlg_stage_graph.h"
#include "app/workspace/lyr_workspace_stage_graph_view.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/ui/command.h"
#include "platform/ui/control_bar.h"
#include "platform/ui/messages.h"
#include "platform/ui/window_image.h"
#include "tests/app_shell/app_fixture.h"

namespace {

class UtilityWindow : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    savedLines_ = HypnogramSettingWord;
    savedMinutes_ = TrendTimeMinutes;
    ASSERT_TRUE(Start());
    HypnogramSettingWord = 1;
    TrendTimeMinutes = 120;
    ClockTimeDisplay = 1;
    ASSERT_TRUE(ui::ExecuteCommand(Frame(), ID_RESULT_FILE_COMPARE));
    utility_ = Frame().ResultCompareFrame;
    ASSERT_NE(utility_, nullptr);
    utility_->MoveWindow(ui::Rect{0, 0, 1200, 700});
    testhooks::ProcessMessages();
  }
  void TearDown() override {
    HypnogramSettingWord = savedLines_;
    TrendTimeMinutes = savedMinutes_;
    AppTest::TearDown();
  }

  // A result file of `epochs` epochs of `seconds`, every epoch scored `stage`.
  std::string Night(const std::string& name, int seconds, int epochs, int stage = 2) {
    UtilityResultFileRec f;
    f.epochTime = seconds;
    f.epochCount = epochs;
    f.epochs.assign(static_cast<std::size_t>(epochs), LyrEpochRec{});
    for (LyrEpochRec& e : f.epochs) e.stage[0] = static_cast<std::uint8_t>(stage);
    SetDefaultStageTypeParam(&f.stageType);
    f.storedStageType = f.stageType;
    f.startDateTime = {2026, 3, 14, 22, 30, 0};
    return folder_->WriteFile(name, BuildUtilityResultFileBytes(f, {"memo one", "", "", "", ""}));
  }
  // Loads through the menu's open command and its file dialog.
  void Open(const std::string& path) {
    testhooks::AnswerFileDialog(ui::IDOK, {path});
    ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_FILE_OPEN));
  }
  bool Enabled(std::uint32_t id) { return ui::QueryCommandState(*utility_, id).IsEnabled(); }

  LyrUtilityHypnogramFrame* utility_ = nullptr;
  std::uint16_t savedLines_ = 1;
  std::int32_t savedMinutes_ = 0;
};

TEST_F(UtilityWindow, MenuStatesFollowTheLoadedFilesAndTheMainWindowWaits) {
  EXPECT_FALSE(Frame().IsWindowEnabled()) << "the user works in the utility window";
  EXPECT_EQ(utility_->Files.Count(), 0);
  for (std::uint32_t id : {ID_UTILITY_FILE_CLOSE, ID_UTILITY_BITMAP, ID_UTILITY_PRINT, ID_UTILITY_STAGE_GRAPH_TEXT,
                           ID_UTILITY_STAGE_GRAPH_SETUP, ID_UTILITY_STAGE_COMPARE, ID_UTILITY_FILE_INFORMATION})
    EXPECT_FALSE(Enabled(id)) << id;
  for (std::uint32_t id : {ID_UTILITY_FILE_OPEN, ID_UTILITY_EXIT, ID_UTILITY_WINDOW_SETTING, ID_UTILITY_STAGE})
    EXPECT_TRUE(Enabled(id)) << id;
  // No file: no band to lay out, and nothing is divided by the count.
  LyrUtilityStageDummyView* stages = utility_->StageView();
  ASSERT_NE(stages, nullptr);
  EXPECT_EQ(stages->BandHeight(), 0);
  stages->LayoutFileLines();
  utility_->GraphView()->LayoutStageGraphs();
  const draw::Image empty = ui::RenderWindowImage(*stages);
  EXPECT_EQ(empty.GetPixel(empty.Width() / 2, empty.Height() / 3), draw::GetSysColor(draw::COLOR_WINDOW));

  Open(Night("one.raf", 30, 400));
  EXPECT_TRUE(Enabled(ID_UTILITY_FILE_CLOSE));
  EXPECT_FALSE(Enabled(ID_UTILITY_STAGE_COMPARE)) << "compare needs two files";
  Open(Night("two.raf", 30, 300));
  EXPECT_TRUE(Enabled(ID_UTILITY_STAGE_COMPARE));
  testhooks::ScriptDialog(230, [](ui::Dialog& d) { d.ClickButton(ui::IDCANCEL); });
  ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_STAGE_COMPARE));
  EXPECT_EQ(testhooks::ShownDialogs().back(), 230);
  EXPECT_EQ(ui::QueryCommandState(*utility_, ID_UTILITY_STAGE_GRAPH_WINDOW).Checked(), 1);

  // A failed load changes nothing.
  testhooks::AnswerMessageBox(ui::IDOK);
  Open(folder_->WriteFile("bad.raf", "not a result file"));
  EXPECT_EQ(utility_->Files.Count(), 2);
  EXPECT_EQ(stages->Band(2), nullptr);

  ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_EXIT));
  testhooks::ProcessMessages();
  EXPECT_EQ(Frame().ResultCompareFrame, nullptr);
  EXPECT_TRUE(Frame().IsWindowEnabled());
  EXPECT_EQ(UtilityHypnogramLoaded, 0u);
}

TEST_F(UtilityWindow, BandsDisplayTimeAndScrollingAcrossEpochLengths) {
  Open(Night("ten.raf", 10, 2160));
  Open(Night("thirty.raf", 30, 720));
  Open(Night("short.raf", 30, 100));
  LyrUtilityStageDummyView& stages = *utility_->StageView();
  ASSERT_NE(stages.Band(2), nullptr);

  // Bands: the height less the scroll strip in three, each under a title strip of 1.5 "MM".
  draw::Image probe(1, 1, 32);
  draw::Dc dc(probe);
  dc.SelectFont(stages.MenuFont);
  const int t = dc.GetTextExtent("MM").cy * 3 / 2;
  EXPECT_EQ(stages.TitleHeight(), t);
  const int band = (stages.GetClientRect().Height() - 18) / 3;
  EXPECT_EQ(stages.BandHeight(), band);
  const ui::Rect wr = stages.Band(1)->GetWindowRect();
  EXPECT_EQ(stages.ScreenToClient(ui::Point{wr.left, wr.top}).y, band + t);
  EXPECT_EQ(wr.Height(), band - t);

  // Display time 2 hours from the bar: 720 and 240 epochs a line.
  ui::Control box = utility_->DisplayBar()->Item(IDC_UTILITY_DISPLAY_TIME);
  EXPECT_EQ(box.GetString(box.GetCurSel()), "2hours");
  box.SetCurSel(3);  // 1hour
  utility_->OnDisplayTimeChange();
  EXPECT_EQ(stages.Band(0)->EpochsPerLine(), 360);
  box.SetCurSel(4);  // 2hours
  utility_->OnDisplayTimeChange();
  EXPECT_EQ(utility_->m_TimeScaleMinutes, 120);
  EXPECT_EQ(stages.Band(0)->EpochsPerLine(), 720);
  EXPECT_EQ(stages.Band(1)->EpochsPerLine(), 240);
  EXPECT_EQ(utility_->Files.File(0)->epochsPerLine, 720);

  // Scrolling runs in the 30-s file's epochs; the 10-s file starts three times further.
  stages.UpdateScrollRange();
  EXPECT_EQ(stages.ScrollFile, 1);
  EXPECT_EQ(stages.ScrollBar.Maximum(), 719);
  EXPECT_EQ(stages.ScrollBar.Page(), 240);
  stages.ScrollBar.Scroll(ui::SB_PAGERIGHT);
  EXPECT_EQ(stages.ScrollPosition, 240);
  EXPECT_EQ(stages.Band(0)->GetEpochAt(0), 720);
  EXPECT_EQ(stages.Band(1)->GetEpochAt(0), 240);
  EXPECT_EQ(utility_->GetStage(2, 0, stages.Band(2)->GetEpochAt(0), 0), 0) << "past the short file: nothing";
  stages.ScrollBar.Scroll(ui::SB_LINERIGHT);
  EXPECT_EQ(stages.ScrollPosition, 240) << "the arrows do not scroll";

  // Minutes of no entry show "Free"; the window setting stores the lines.
  utility_->SetDisplayMinutes(300);
  utility_->SyncDisplayTimeBox();
  EXPECT_EQ(box.GetString(box.GetCurSel()), "Free");
  testhooks::ScriptDialog(IDD_UTILITY_WINDOW_SETTING, [](ui::Dialog& d) {
    d.Item(LyrDlgUtilityWindowSetting::kLines).SetCurSel(2);
    d.Item(LyrDlgUtilityWindowSetting::kTime).SetCurSel(3);
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_WINDOW_SETTING));
  EXPECT_EQ(HypnogramSettingWord, 3);
  EXPECT_EQ(stages.Band(2)->LineCount(), 3);
  EXPECT_EQ(stages.Band(0)->EpochsPerLine(), 360);
  EXPECT_EQ(box.GetString(box.GetCurSel()), "1hour");

  // The cursor across files with the line looked up: the 30-s file's epoch 250 is the 10-s
  // file's 750.
  utility_->SetCursorEpoch(1, -1, 250);
  EXPECT_EQ(utility_->GetEpochMarker(0, 0), 750);
  EXPECT_EQ(utility_->CurrentFile, 1);
}

TEST_F(UtilityWindow, StageGraphsFollowTheFilesAndTheSetup) {
  Open(Night("a.raf", 30, 240, 1));
  Open(Night("b.raf", 30, 480, 2));
  Open(Night("c.raf", 30, 360, 3));
  LyrUtilityStageGraphDummyView& graphs = *utility_->GraphView();
  ASSERT_NE(graphs.Graph(2), nullptr);
  EXPECT_EQ(graphs.Graph(2)->LastEpoch, 360);
  EXPECT_EQ(graphs.Graph(2)->UtilityMode, 1);
  graphs.Graph(2)->StageItemFlags[5] = 1;
  graphs.Graph(2)->FirstEpoch = 7;

  // Hiding the stage graphs gives the hypnograms the whole width and keeps the share.
  utility_->StageGraphShare = 0.3;
  ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_STAGE_GRAPH_WINDOW));
  EXPECT_EQ(utility_->StageGraphShare, 0.0);
  EXPECT_EQ(ui::QueryCommandState(*utility_, ID_UTILITY_STAGE_GRAPH_WINDOW).Checked(), 0);
  int width = 0, minimum = 0;
  utility_->Splitter()->GetColumnInfo(0, width, minimum);
  EXPECT_GE(width, utility_->Splitter()->GetClientRect().Width() - utility_->Splitter()->GetBarWidth());
  ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_STAGE_GRAPH_WINDOW));
  EXPECT_EQ(utility_->StageGraphShare, 0.3);

  // Closing the middle file: the third moves to slot 1 with its graph's range and setting.
  testhooks::ScriptDialog(IDD_UTILITY_CLOSE, [](ui::Dialog& d) {
    d.Item(LyrDlgUtilityClose::kList).SetSelected(1, true);
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_FILE_CLOSE));
  ASSERT_EQ(utility_->Files.Count(), 2);
  EXPECT_EQ(utility_->FileNameOf(1), "c.raf");
  ASSERT_NE(graphs.Graph(1), nullptr);
  EXPECT_EQ(graphs.Graph(2), nullptr);
  EXPECT_EQ(graphs.Graph(1)->FirstEpoch, 7);
  EXPECT_EQ(graphs.Graph(1)->StageItemFlags[5], 1);
  EXPECT_EQ(graphs.Graph(1)->Utility.lastEpoch, 359);
  EXPECT_EQ(utility_->StageView()->Band(2), nullptr);
  EXPECT_EQ(utility_->StageView()->Band(1)->FileNo(), 1);

  // The stage graph setup sets every file's range by time from the shortest file.
  testhooks::ScriptDialog(LyrWorkspaceDlgStageGraph::kTemplateId, [](ui::Dialog& d) {
    d.SetDlgItemText(LyrWorkspaceDlgStageGraph::kDivision, "30");
    d.Item(LyrWorkspaceDlgStageGraph::kStages).SetSelected(0, true);
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_STAGE_GRAPH_SETUP));
  EXPECT_EQ(graphs.Graph(0)->FirstEpoch, 0);
  EXPECT_EQ(graphs.Graph(1)->LastEpoch, graphs.Graph(0)->LastEpoch);

  // "Stage": every file gets the chosen type; back to each file's own.
  testhooks::ScriptDialog(IDD_UTILITY_SETUP, [](ui::Dialog& d) {
    d.ClickButton(LyrDlgUtilitySetup::kArbitrary);
    d.ClickButton(LyrDlgUtilitySetup::kTypes[2]);
    d.ClickButton(LyrDlgUtilitySetup::kFree[1]);
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_STAGE));
  StageTypeParam st;
  utility_->GetStageTypeParam(1, st);
  EXPECT_EQ(st.stageType, 2);
  EXPECT_EQ(st.sharedInUse, 1);
  testhooks::ScriptDialog(IDD_UTILITY_SETUP, [](ui::Dialog& d) {
    d.ClickButton(LyrDlgUtilitySetup::kEachFile);
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_STAGE));
  utility_->GetStageTypeParam(1, st);
  EXPECT_EQ(st.stageType, utility_->Files.File(1)->storedStageType.stageType);
}

TEST_F(UtilityWindow, CancelledOrFailedSaveKeepsTheWindowOpen) {
  Open(Night("kept.raf", 30, 120));
  utility_->Files.File(0)->modified = 1;
  // Cancel at the question.
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  utility_->SendMessage(ui::WM_CLOSE);
  testhooks::ProcessMessages();
  ASSERT_EQ(Frame().ResultCompareFrame, utility_);
  EXPECT_EQ(utility_->Files.Count(), 1);
  // Yes, then the save dialog cancelled.
  testhooks::AnswerMessageBox(ui::IDYES);
  testhooks::AnswerFileDialog(ui::IDCANCEL);
  ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_EXIT));
  testhooks::ProcessMessages();
  ASSERT_EQ(Frame().ResultCompareFrame, utility_);
  // Yes and saved: the window closes.
  const std::string saved = folder_->Path() + "/saved.raf";
  testhooks::AnswerMessageBox(ui::IDYES);
  testhooks::AnswerFileDialog(ui::IDOK, {saved});
  ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_EXIT));
  testhooks::ProcessMessages();
  EXPECT_EQ(Frame().ResultCompareFrame, nullptr);
  EXPECT_TRUE(std::filesystem::exists(saved));
}

TEST_F(UtilityWindow, PrintingPutsThreeFilesOnAPage) {
  for (const char* name : {"p1.raf", "p2.raf", "p3.raf", "p4.raf"}) Open(Night(name, 30, 240));
  draw::PageSetup setup;
  setup.dpi = 100;
  std::unique_ptr<draw::PrintJob> job = draw::PrintJob::OpenPreview(setup, 100);
  ASSERT_NE(job, nullptr);
  EXPECT_EQ(utility_->PrintHypnograms(*job), 2);
  EXPECT_EQ(job->PageCount(), 2);
  EXPECT_EQ(PrintTarget, 0);
  // The page carries the drawn hypnograms: not all white.
  const draw::Image* page = job->PreviewPage(0);
  ASSERT_NE(page, nullptr);
  int ink = 0;
  for (int y = 0; y < page->Height(); y += 3)
    for (int x = 0; x < page->Width(); x += 3)
      if (page->GetPixel(x, y) != 0xFFFFFF) ++ink;
  EXPECT_GT(ink, 100);
}

}  // namespace

namespace {

TEST_F(UtilityWindow, ToolsReachTheirDialogsAndTheBitmapIsWritten) {
  Open(Night("first.raf", 30, 240));
  Open(Night("second.raf", 30, 240));
  testhooks::ScriptDialog(IDD_UTILITY_FILE_INFORMATION, [](ui::Dialog& d) {
    ui::Control files = d.Item(LyrDlgUtilityFileInformation::kFiles);
    EXPECT_EQ(files.GetString(1), "second");
    files.SetCurSel(1);
    d.SendMessage(ui::WM_COMMAND,
                  ui::MakeLong(static_cast<std::uint16_t>(LyrDlgUtilityFileInformation::kFiles), ui::LBN_SELCHANGE), 0);
    EXPECT_EQ(d.Item(LyrDlgUtilityFileInformation::kInfo).GetItemText(0, 1), "second.raf");
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_FILE_INFORMATION));

  // Text output of the chosen file's stage graph.
  testhooks::ScriptDialog(IDD_UTILITY_SELECT_FILE, [](ui::Dialog& d) {
    d.Item(LyrDlgUtilitySelectFile::kFiles).SetCurSel(1);
    d.ClickButton(ui::IDOK);
  });
  testhooks::ScriptDialog(LyrWorkspaceDlgTextOutStageGraph::kTemplateId, [](ui::Dialog& d) { d.ClickButton(ui::IDCANCEL); });
  ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_STAGE_GRAPH_TEXT));
  EXPECT_EQ(testhooks::ShownDialogs().back(), LyrWorkspaceDlgTextOutStageGraph::kTemplateId);

  const std::string bmp = folder_->Path() + "/window.bmp";
  testhooks::AnswerFileDialog(ui::IDOK, {bmp});
  ASSERT_TRUE(ui::ExecuteCommand(*utility_, ID_UTILITY_BITMAP));
  std::ifstream in(bmp, std::ios::binary);
  char magic[2] = {};
  in.read(magic, 2);
  EXPECT_EQ(std::string(magic, 2), "BM");
}

}  // namespace
