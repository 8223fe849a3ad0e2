#include "app/frame/lyr_frame_bar.h"
#include "app/raw/lyr_raw_display_dialogs.h"
#include "app/raw/lyr_raw_dlg_epoch.h"
#include "app/trend/lyr_trend_info_area_view.h"
#include "app/trend/trend_dummy_view.h"
#include "app/workspace/lyr_workspace_mark_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/res/ui_resource.h"
#include "platform/system/key_state.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/command.h"
#include "platform/ui/dialog.h"
#include "tests/navigation/nav_fixture.h"

namespace {

// Assigns keypad 2 to W under stage type 0.
void AssignKeypad2(CQLM2_AnalyzerDoc& doc) {
  doc.Params.stageType.stageType = 0;
  auto set = doc.Params.stageType.Set(0);
  for (auto& record : set) record.key = 0;
  set[0].key = kStageKeyFirst + 2;
}

}  // namespace

TEST_F(NavTest, ScoringMovesTheTrendCursorOnToTheNextEpoch) {
  AssignKeypad2(Doc());
  LyrTrendDummyView* trend = Frame().TrendView();
  ASSERT_NE(trend, nullptr);
  GoTo(10);
  KeyDown(ui::VK_NUMPAD0 + 2);
  EXPECT_EQ(Epoch(), 11);
  EXPECT_EQ(trend->CursorEpoch(), 11);
  EXPECT_EQ(trend->CursorDraws, 2) << "drawn off the scored epoch, then on the next";
  EXPECT_EQ(trend->StageArea.ScrollEpoch, 10 % kPerPage) << "the epoch's index within its page";
  EXPECT_EQ(trend->StageArea.ScrollMode, 0);
  EXPECT_EQ(trend->StageArea.ScrollFlag, 1);
  EXPECT_EQ(trend->TrendArea.CursorEpoch, 10);
}

TEST_F(NavTest, ScoringRefillsTheMarkListOnlyWhenItMustFollow) {
  AssignKeypad2(Doc());
  LyrWorkspaceDummyView* ws = Frame().WorkspaceView();
  ASSERT_NE(ws, nullptr);
  LyrWorkspaceMarkView* marks = ws->MarkView();
  ASSERT_NE(marks, nullptr);
  ASSERT_EQ(Doc().AllocateMark(), 1);
  struct Case {
    int marksPresent;
    int pane;
    int markWindowDocked;
    int refills;
  };
  for (const Case& c : {Case{1, LyrWorkspaceDummyView::kMarkListPane, 1, 1}, Case{1, 3, 1, 0}, Case{1, 3, 0, 1},
                        Case{0, LyrWorkspaceDummyView::kMarkListPane, 0, 0}}) {
    Doc().Marks.SetMarksPresent(c.marksPresent);
    ws->CurrentPane = c.pane;
    Frame().WorkspaceTabs.MarkWindowDocked = c.markWindowDocked;
    marks->RefreshPending = 0;
    const int updates = marks->Updates;
    const int refills = marks->Refills;
    GoTo(3);
    KeyDown(ui::VK_NUMPAD0 + 2);
    EXPECT_EQ(marks->Updates, updates + 1) << "the list is refreshed after every score";
    EXPECT_EQ(marks->Refills - refills, c.refills)
        << "marks " << c.marksPresent << " pane " << c.pane << " docked " << c.markWindowDocked;
  }
}

TEST_F(NavTest, VideoKeysDriveTheVideoPane) {
  LyrWorkspaceDummyView* ws = Frame().WorkspaceView();
  ASSERT_NE(ws, nullptr);
  Frame().HandleNavigationKey(ui::WM_KEYUP, ui::VK_F1, 0, 0);
  EXPECT_TRUE(ws->VideoPane.Playing);
  Frame().HandleNavigationKey(ui::WM_KEYUP, ui::VK_F1, 0, 0);
  EXPECT_FALSE(ws->VideoPane.Playing);

  // Space opens the mark menu only with a video file open, from the matching menu state.
  KeyDown(ui::VK_SPACE);
  EXPECT_EQ(ws->VideoPane.MarkMenuRuns, 0) << "no video file";
  ws->VideoPane.FileOpen = true;
  KeyDown(ui::VK_SPACE);
  EXPECT_EQ(ws->VideoPane.MarkMenuRuns, 1) << "key down from idle";
  Frame().HandleNavigationKey(ui::WM_KEYUP, ui::VK_SPACE, 0, 0);
  EXPECT_EQ(ws->VideoPane.MarkMenuRuns, 1) << "key up needs menu state 0";
  ws->VideoPane.MenuState = 0;
  Frame().HandleNavigationKey(ui::WM_KEYUP, ui::VK_SPACE, 0, 0);
  EXPECT_EQ(ws->VideoPane.MarkMenuRuns, 2);
  Frame().AutoPagingMode = 2;
  Frame().HandleNavigationKey(ui::WM_KEYUP, ui::VK_SPACE, 0, 0);
  EXPECT_EQ(ws->VideoPane.MarkMenuRuns, 2) << "not while paging automatically";
  Frame().AutoPagingMode = 0;

  // Moves show the video at the epoch's time.
  GoTo(4);
  KeyDown(ui::VK_RIGHT);
  EXPECT_DOUBLE_EQ(ws->VideoPane.ShownTime, 5 * 30.0);
}

TEST_F(NavTest, KeysTypedIntoSearchAndThresholdBoxesStayThere) {
  auto tmpl = res::ParseDialog("caption \"Search\"\nrow\n  edit 1500\n  edit 1501\n  edit 1502\nend\n");
  ASSERT_TRUE(tmpl);
  ui::Dialog box(*tmpl);
  ASSERT_TRUE(box.CreateModeless(&Frame()));
  box.ShowWindow(ui::SW_SHOW);
  testhooks::ProcessMessages();
  box.Item(1500).SetFocus();
  testhooks::ProcessMessages();
  if (ui::Window::GetFocus() != &box || ui::Window::GetFocusControlId() != 1500) {
    box.DestroyWindow();
    GTEST_SKIP() << "the platform gives no keyboard focus here";
  }
  LyrTrendDummyView* trend = Frame().TrendView();
  LyrWorkspaceDummyView* ws = Frame().WorkspaceView();
  ASSERT_NE(trend, nullptr);
  ASSERT_NE(ws, nullptr);
  // 1500 is the free search box, 1501 a threshold box, 1502 an edit of nobody's.
  ws->SetFreeSearchEdit(&box, 1500);
  // The information column's own 40 boxes make room for this box's.
  trend->UnregisterThresholdEdits(trend->InfoArea());
  ASSERT_TRUE(trend->RegisterThresholdEdit(&box, 1501));
  struct Case {
    int focus;
    std::uint16_t source;
    int epochAfter;
  };
  for (const Case& c : {Case{1500, 0, 4}, Case{1501, 0, 4}, Case{1502, 0, 5}, Case{1501, 1, 5}}) {
    box.Item(c.focus).SetFocus();
    testhooks::ProcessMessages();
    GoTo(4);
    KeyDown(ui::VK_RIGHT, c.source);
    EXPECT_EQ(Epoch(), c.epochAfter) << "focus " << c.focus << ", source " << c.source;
  }
  // The trend column holds at most 40 threshold boxes.
  for (int id = 2000; id < 2039; ++id) EXPECT_TRUE(trend->RegisterThresholdEdit(&box, id));
  EXPECT_FALSE(trend->RegisterThresholdEdit(&box, 2039));

  ws->SetFreeSearchEdit(nullptr, 0);
  trend->UnregisterThresholdEdits(&box);
  for (int id : {1500, 1501}) {
    box.Item(id).SetFocus();
    GoTo(4);
    KeyDown(ui::VK_RIGHT);
    EXPECT_EQ(Epoch(), 5) << "no longer registered: " << id;
  }
  box.DestroyWindow();
  testhooks::ProcessMessages();
}

namespace {

// Chooses a row of the "Page" dialog's page list, then OK.
void ScriptPageDialog(int row) {
  testhooks::ScriptDialog(LyrRawDlgPage::kTemplateId, [row](ui::Dialog& d) {
    d.Item(LyrRawDlgPage::kPageList).SetCurSel(row);
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(LyrRawDlgPage::kPageList, ui::LBN_SELCHANGE), 0);
    testhooks::ClickControl(d, ui::IDOK);
  });
}

}  // namespace

TEST_F(NavTest, PageTimeKeepsTheTimeShown) {
  // 30-s epochs, pages of 8 epochs; epoch 12 is on page 1.
  GoTo(12);
  // Row 1 of the 30-s table is " 1min.": 2 epochs a page, so epoch 12 is on page 6.
  ScriptPageDialog(1);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 32775));
  EXPECT_EQ(PageSeconds, 60);
  EXPECT_EQ(Epoch(), 12);
  EXPECT_EQ(Page(), 6);
  EXPECT_EQ(Frame().EpochBar->Item(LyrFrameBar::kPageCombo).GetCurSel(), 1);

  // The same length again: the dialog ends as cancelled and nothing moves.
  ScriptPageDialog(1);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 32775));
  EXPECT_EQ(Page(), 6);
  PageSeconds = 240;
}

TEST_F(NavTest, PageDialogRefusesNoLength) {
  testhooks::Reset();
  // "Free" (the last row of the 30-s table) with its dialog cancelled leaves no length.
  testhooks::ScriptDialog(LyrRawDlgFreePage::kTemplateId, [](ui::Dialog& d) { testhooks::ClickControl(d, ui::IDCANCEL); });
  testhooks::ScriptDialog(LyrRawDlgPage::kTemplateId, [](ui::Dialog& d) {
    ui::Control pages = d.Item(LyrRawDlgPage::kPageList);
    pages.SetCurSel(pages.GetCount() - 1);
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(LyrRawDlgPage::kPageList, ui::LBN_SELCHANGE), 0);
    testhooks::ClickControl(d, ui::IDOK);
    EXPECT_FALSE(d.IsEnded()) << "no length chosen: the dialog stays";
  });
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 32775));
  ASSERT_FALSE(testhooks::ShownMessageBoxes().empty());
  EXPECT_EQ(testhooks::ShownMessageBoxes().back().text, "Page time is not selected.");
  EXPECT_EQ(PageSeconds, 240);
}

TEST_F(NavTest, ChannelCommandsNeedARecording) {
  for (std::uint32_t id : {32777u, 32778u, 32779u, 32780u, 32781u, 32782u}) {
    EXPECT_TRUE(ui::QueryCommandState(Frame(), id).IsEnabled()) << id;
    DocumentLoaded = 0;
    EXPECT_FALSE(ui::QueryCommandState(Frame(), id).IsEnabled()) << id;
    DocumentLoaded = 1;
  }
  ScreeningRunning = 1;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 32805).IsEnabled()) << "no stage type change while screening";
  ScreeningRunning = 0;
  EXPECT_TRUE(ui::QueryCommandState(Frame(), 32805).IsEnabled());
}
