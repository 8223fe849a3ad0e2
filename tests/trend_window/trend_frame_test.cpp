// The trend window in the started program: the host view with its docked frame, menu 129 and
// its update rules, the layout ratios, floating and docking, the cursor, the time scale and
// printing to a PDF file.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/frame/pane_layout.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_frame.h"
#include "app/trend/lyr_trend_info_area_view.h"
#include "app/trend/trend_settings.h"
#include "platform/ui/menu.h"
#include "tests/app_shell/app_fixture.h"

namespace {

class TrendFrameTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    Frame().MoveWindow(ui::Rect{0, 0, 1200, 800});
    saved_ = {TrendSplitRatio1, TrendSplitRatio2, PaneRowRatio, PaneColumnRatio, SavedPaneRowRatio,
              SavedPaneColumnRatio};
    savedStates_ = {TrendWindowDockState, WorkspaceWindowDockState};
  }
  void TearDown() override {
    TrendSplitRatio1 = saved_[0];
    TrendSplitRatio2 = saved_[1];
    PaneRowRatio = saved_[2];
    PaneColumnRatio = saved_[3];
    SavedPaneRowRatio = saved_[4];
    SavedPaneColumnRatio = saved_[5];
    TrendWindowDockState = savedStates_[0];
    WorkspaceWindowDockState = savedStates_[1];
    TrendZoomState = 0;
    AppTest::TearDown();
  }
  LyrTrendDummyView& Trend() { return *Frame().TrendView(); }
  LyrTrendFrame& TFrame() { return *Trend().Frame(); }
  ui::CmdUI State(std::uint32_t id) { return ui::QueryCommandState(TFrame(), id); }

  std::array<double, 6> saved_{};
  std::array<std::uint16_t, 2> savedStates_{};
};

TEST_F(TrendFrameTest, HostViewHoldsTheDockedFrameWithItsPanesAndMenu) {
  ASSERT_NE(Frame().TrendView(), nullptr);
  ASSERT_NE(Trend().Frame(), nullptr);
  EXPECT_TRUE(TFrame().IsDocked());
  EXPECT_EQ(TFrame().GetParent(), &Trend());
  EXPECT_EQ(TFrame().GetWindowText(), "TrendFrame");
  ASSERT_NE(TFrame().OuterSplitter(), nullptr);
  EXPECT_EQ(TFrame().OuterSplitter()->GetColumnCount(), 2);
  EXPECT_EQ(TFrame().NestedSplitter()->GetRowCount(), 2);
  EXPECT_EQ(TFrame().NestedSplitter()->GetPane(0, 0), &Trend().StageArea);
  EXPECT_EQ(TFrame().NestedSplitter()->GetPane(1, 0), &Trend().TrendArea);
  EXPECT_NE(Trend().InfoArea(), nullptr);
  ASSERT_NE(TFrame().GetMenu(), nullptr);
  EXPECT_EQ(TFrame().GetMenu()->GetItemCount(), 2);
  EXPECT_TRUE(TFrame().GetMenu()->Contains(kCmdTenKeyTable));
  // The frame fills its host.
  EXPECT_EQ(TFrame().GetClientRect().Width(), Trend().GetClientRect().Width());
}

TEST_F(TrendFrameTest, MenuUpdateRules) {
  struct Case {
    int loaded, screening;
    bool expectIdle;
  };
  const std::uint32_t idle[] = {kCmdHypnogramSetting, kCmdTrendTextOutput, kCmdTrendGraphSetting, kCmdTrendPrint,
                                kCmdZoom20,           kCmdZoom30,          kCmdZoom60,            kCmdZoom120};
  for (const Case c : {Case{0, 0, false}, Case{1, 1, false}, Case{1, 0, true}}) {
    DocumentLoaded = c.loaded;
    ScreeningRunning = c.screening;
    for (std::uint32_t id : idle) EXPECT_EQ(State(id).IsEnabled(), c.expectIdle) << id << " loaded " << c.loaded;
    EXPECT_TRUE(State(kCmdTenKeyTable).IsEnabled());
  }
  // ECG-RR needs two R peaks.
  DocumentLoaded = 1;
  ScreeningRunning = 0;
  auto& ecg = Doc().RecognitionTables.ECGRcgnz();
  for (int peaks : {0, 1, 2}) {
    ecg.positions.assign(4, 0);
    ecg.count = peaks;
    EXPECT_EQ(State(kCmdEcgRrOutput).IsEnabled(), peaks >= 2) << peaks;
  }
  ecg.positions.clear();
  ecg.count = 0;
  // The zoom commands only arm their span.
  for (std::uint32_t id = kCmdZoom20; id <= kCmdZoom120; ++id) {
    ui::ExecuteCommand(TFrame(), id);
    EXPECT_EQ(TrendZoomState, id - kCmdZoom20 + 1);
  }
  DocumentLoaded = 0;
}

TEST_F(TrendFrameTest, TenKeyTableAndSplitterDragRatios) {
  struct Case {
    double ratio;
    bool checked;
    double afterToggle;
  };
  for (const Case c : {Case{0.5, true, 1.0}, Case{0.99, true, 1.0}, Case{0.995, false, 0.7}, Case{1.0, false, 0.7}}) {
    TrendColumnWidthRatio() = c.ratio;
    EXPECT_EQ(State(kCmdTenKeyTable).Checked(), c.checked ? 1 : 0) << c.ratio;
    ui::ExecuteCommand(TFrame(), kCmdTenKeyTable);
    EXPECT_DOUBLE_EQ(TrendColumnWidthRatio(), c.afterToggle) << c.ratio;
  }
  // A drag stores the column ratio at 0.99, but at 1.0 only the row ratio.
  for (double ratio : {0.99, 1.0}) {
    TrendColumnWidthRatio() = ratio;
    TrendHypnogramRowRatio() = 0.4;
    TFrame().LayoutPanes();
    TFrame().NestedSplitter()->DragBar(true, 0, 100);
    const ui::Rect f = TFrame().OuterSplitter()->GetClientRect();
    EXPECT_NEAR(TrendHypnogramRowRatio(), (Trend().StageArea.GetClientRect().bottom + 1.0) / (f.bottom + 1.0), 1e-9);
    if (ratio == 1.0) {
      EXPECT_DOUBLE_EQ(TrendColumnWidthRatio(), 1.0);
    } else {
      EXPECT_LT(TrendColumnWidthRatio(), 0.99) << "the shown column took the dragged width";
    }
  }
}

TEST_F(TrendFrameTest, FloatAndDockWithTheWorkspaceDockedOrFloating) {
  // Workspace docked: the bottom row goes to the workspace and comes back.
  WorkspaceWindowDockState = kDockShown;
  PaneColumnRatio = 0.45;
  PaneRowRatio = 0.6;
  EXPECT_TRUE(State(kCmdTrendFloat).IsEnabled());
  EXPECT_FALSE(State(kCmdTrendDocking).IsEnabled());
  EXPECT_EQ(State(kCmdTrendDocking).Checked(), 1);
  ui::ExecuteCommand(TFrame(), kCmdTrendFloat);
  EXPECT_EQ(TrendWindowDockState, kDockFloating);
  EXPECT_FALSE(TFrame().IsDocked());
  EXPECT_EQ(TFrame().GetParent(), nullptr);
  EXPECT_DOUBLE_EQ(PaneColumnRatio, 0.0);
  EXPECT_FALSE(State(kCmdTrendFloat).IsEnabled());
  EXPECT_EQ(State(kCmdTrendFloat).Checked(), 1);
  EXPECT_TRUE(State(kCmdTrendDocking).IsEnabled());
  ui::ExecuteCommand(TFrame(), kCmdTrendDocking);
  EXPECT_EQ(TrendWindowDockState, kDockShown);
  EXPECT_TRUE(TFrame().IsDocked());
  EXPECT_EQ(TFrame().GetParent(), &Trend());
  EXPECT_DOUBLE_EQ(PaneColumnRatio, 0.45);

  // Workspace floating: the raw window gets the whole height, docking restores it and
  // gives the trend window the whole bottom row.
  WorkspaceWindowDockState = kDockFloating;
  ui::ExecuteCommand(TFrame(), kCmdTrendFloat);
  EXPECT_DOUBLE_EQ(PaneRowRatio, 1.0);
  EXPECT_DOUBLE_EQ(PaneColumnRatio, 0.0);
  ui::ExecuteCommand(TFrame(), kCmdTrendDocking);
  EXPECT_DOUBLE_EQ(PaneRowRatio, 0.6);
  EXPECT_DOUBLE_EQ(PaneColumnRatio, 1.0);
}

TEST_F(TrendFrameTest, CursorEpochs) {
  Trend().SetCursorEpoch(-1, 7);
  Trend().SetCursorEpoch(3, 9);
  EXPECT_EQ(Trend().GetCursorEpoch(0), 9);
  EXPECT_EQ(Trend().GetCursorEpoch(5), 7) << "any other value: the previous cursor";
  Trend().ResetCursorEpoch(1);
  EXPECT_EQ(Trend().GetCursorEpoch(1), -1);
  EXPECT_EQ(Trend().GetCursorEpoch(0), 9);
  Trend().SetCursorEpoch(-1, 4);
  Trend().ResetCursorEpoch(2);
  EXPECT_EQ(Trend().GetCursorEpoch(0), -1);
  EXPECT_EQ(Trend().GetCursorEpoch(1), -1);
  Trend().SetGraphMark(3, 1, 0, 2.5f);
  EXPECT_FLOAT_EQ(Trend().GetGraphMark(3).floatValue, 2.5f);
  Trend().ClearGraphMarks();
  EXPECT_TRUE(Trend().GetGraphMark(3).IsNone());
}

TEST_F(TrendFrameTest, FewerScoredEpochsThanSlotsLeaveNothingToScroll) {
  TrendSettingWord1 = 2;
  TFrame().ApplyDisplaySetting(2, 60, 3);
  EXPECT_EQ(TrendSettingWord1, 2);
  EXPECT_EQ(TrendSettingWord2, 3);
  EXPECT_EQ(Trend().StageArea.ScrollBar.Maximum(), 0);
  EXPECT_EQ(Trend().StageArea.ScrollBar.Page(), 1);
  // With more scored epochs than slots the range is the scored epochs, a page the slots.
  DocumentLoaded = 1;
  ASSERT_EQ(Doc().EpochTables.SetNew(400, 30, 1, 1, 1), 1);
  for (int e = 0; e < 300; ++e) Doc().EpochTables.SetStage(e, 2);
  SetTrendTimeScale(60);
  const std::int32_t savedEpoch = EpochSeconds;
  EpochSeconds = 30;
  SetTrendTimeScale(60);  // 120 epochs a line
  TFrame().ApplyDisplaySetting(2, 60, 3);
  EXPECT_EQ(Trend().StageArea.ScrollBar.Maximum(), 300);
  EXPECT_EQ(Trend().StageArea.ScrollBar.Page(), 240);
  EpochSeconds = savedEpoch;
  DocumentLoaded = 0;
  // Counts out of range are held.
  TFrame().ApplyDisplaySetting(0, 0, 99);
  EXPECT_EQ(HypnogramLinesHeld(), 1);
  EXPECT_EQ(TrendGraphCountHeld(), 20);
  EXPECT_GE(EpochsPerLineHeld(), 1);
}

TEST_F(TrendFrameTest, TimeScaleInElapsedAndClockModes) {
  const std::int32_t savedEpoch = EpochSeconds, savedMinutes = TrendTimeMinutes;
  const std::uint16_t savedClock = ClockTimeDisplay;
  EpochSeconds = 30;
  SetTrendTimeScale(60);  // step 30 min
  // Elapsed mode: the base is 2000-11-01 00:00:00; epoch 60 starts at 00:30:00.
  ClockTimeDisplay = 0;
  const auto p = Trend().GetEpochDateParts(60);
  EXPECT_EQ(p.year + "-" + p.month + "-" + p.day + " " + p.hour + ":" + p.minute + ":" + p.second, "2000-11-1 0:30:0");
  EXPECT_EQ(Trend().IsTimeScaleEpoch(60), 1);
  EXPECT_EQ(Trend().IsTimeScaleEpoch(61), 0);
  EXPECT_EQ(Trend().GetTimeScaleOffset(0, 60, 100), 0) << "only in clock mode";
  // A day later in elapsed mode the date turns over.
  EXPECT_EQ(Trend().GetEpochDateParts(2880 + 60).day, "2");
  // Clock mode: a recording starting at 23:59:50 on 2024-12-31: epoch 0 crosses midnight.
  ClockTimeDisplay = 1;
  auto& info = Doc().RecordInfo;
  info.startTimeValid = 1;
  info.startDateTime = {2024, 12, 31, 23, 59, 50, 0};
  Doc().ChInfo[0].rate = 0;
  EXPECT_EQ(Trend().IsTimeScaleEpoch(0), 1);
  EXPECT_EQ(Trend().IsTimeScaleEpoch(1), 0);
  const auto q = Trend().GetEpochDateParts(1);
  EXPECT_EQ(q.year + "-" + q.month + "-" + q.day + " " + q.hour + ":" + q.minute, "2025-1-1 0:0");
  // The tick of epoch 1 (00:00:20..00:00:50) lies at 00:00:00, before its start: offset
  // (0 - 20) * 30 / 30 = -20.
  EXPECT_EQ(Trend().GetTimeScaleOffset(0, 1, 30), -20);
  // An offset of exactly 1 is given as 0: start 23:59:59.. with width 30 over 30 s.
  info.startDateTime = {2024, 12, 31, 23, 59, 29, 0};
  // Epoch 1: 23:59:59..00:00:29; the last boundary at or before the end is 00:00:00 = 86400
  // seconds of the day counted from the start's day? The day wraps: start 86399, end 86429,
  // tick 86400: offset (86400 - 86399) * 30 / 30 = 1, given as 0.
  EXPECT_EQ(Trend().GetTimeScaleOffset(0, 1, 30), 0);
  info.startTimeValid = 0;
  ClockTimeDisplay = savedClock;
  EpochSeconds = savedEpoch;
  SetTrendTimeScale(savedMinutes);
}

TEST_F(TrendFrameTest, PrintsOnePageToPdfWithSeventyMillimetreLabels) {
  DocumentLoaded = 1;
  TrendSettingWord1 = 12;
  TrendSettingWord2 = 4;
  const std::string pdf = folder_->Path() + "/trend.pdf";
  testhooks::AnswerPrintDialog(ui::IDOK, pdf);
  ui::ExecuteCommand(TFrame(), kCmdTrendPrint);
  EXPECT_EQ(testhooks::UnansweredCount(), 0);
  EXPECT_TRUE(BoxTexts().empty()) << testing::PrintToString(BoxTexts());
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_EQ(PrintTarget, 0);
  // Twelve lines side by side as one strip; the label column is 70 mm.
  const auto& lines = Trend().StageArea.PrintRects;
  ASSERT_EQ(lines.size(), 12u);
  for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i].second.left, lines[i - 1].second.right);
  const int label = Trend().GetPrintLabelWidth();
  EXPECT_EQ(lines[0].first.Width(), label);
  ASSERT_EQ(Trend().TrendArea.PrintRects.size(), 4u);
  EXPECT_EQ(Trend().TrendArea.PrintRects[0].second.left, label);
  const std::string cmd = "pdftoppm -r 10 -png '" + pdf + "' '" + folder_->Path() + "/page' >/dev/null 2>&1";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  // A folder that does not exist: a message, no file.
  testhooks::AnswerPrintDialog(ui::IDOK, folder_->Path() + "/none/trend.pdf");
  ui::ExecuteCommand(TFrame(), kCmdTrendPrint);
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_NE(BoxTexts()[0].find("could not be printed"), std::string::npos);
  DocumentLoaded = 0;
}

TEST(TrendMenu, BothLanguagesCarryTheSameCommands) {
  const auto en = ui::Menu::Load(kTrendMenuId, 1033);
  const auto ja = ui::Menu::Load(kTrendMenuId, 1041);
  ASSERT_TRUE(en && ja);
  for (std::uint32_t id : {kCmdHypnogramSetting, kCmdTrendTextOutput, kCmdTrendGraphSetting, kCmdTrendPrint,
                           kCmdEcgRrOutput, kCmdZoom20, kCmdZoom30, kCmdZoom60, kCmdZoom120, kCmdTenKeyTable,
                           kCmdTrendFloat, kCmdTrendDocking}) {
    EXPECT_TRUE(en->Contains(id)) << id;
    EXPECT_TRUE(ja->Contains(id)) << id;
  }
  EXPECT_EQ(en->GetSubMenu(0)->GetItemText(kCmdHypnogramSetting), "&Setting...");
  EXPECT_EQ(ja->GetSubMenu(0)->GetItemText(kCmdHypnogramSetting), "設定(&S)...");
}

}  // namespace
