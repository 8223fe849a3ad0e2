#include <cmath>
#include <filesystem>

#include "app/frame/resume_file.h"
#include "app/raw/lyr_raw_dlg_epoch.h"
#include "platform/draw/dc.h"
#include "platform/ui/command.h"
#include "platform/ui/dialog.h"
#include "tests/navigation/nav_fixture.h"

namespace {

// Chooses an epoch radio and a page row in the Epoch dialog, then OK.
void ScriptEpochDialog(int radio, int pageRow) {
  testhooks::ScriptDialog(LyrRawDlgEpoch::kTemplateId, [=](ui::Dialog& d) {
    testhooks::ClickControl(d, radio);
    d.Item(LyrRawDlgEpoch::kPageList).SetCurSel(pageRow);
    d.SendMessage(ui::WM_COMMAND, ui::MakeLong(LyrRawDlgEpoch::kPageList, ui::LBN_SELCHANGE), 0);
    testhooks::ClickControl(d, ui::IDOK);
  });
}

constexpr int kRadio20 = 1042;
constexpr int kRadio30 = 1046;

}  // namespace

class EpochLength : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    Doc().ChInfo[0].dataCount = 100 * 1200;  // 20 minutes at 100 samples/s
  }
};

TEST_F(EpochLength, ANewEpochLengthStartsAtTheBeginningWithFreshTables) {
  GoTo(13);
  ScriptEpochDialog(kRadio20, 0);  // 20-s epochs, 20-s pages
  Frame().OnEpochTime();
  EXPECT_EQ(EpochSeconds, 20);
  EXPECT_EQ(PageSeconds, 20);
  EXPECT_EQ(Epoch(), 0);
  EXPECT_EQ(Page(), 0);
  EXPECT_EQ(Doc().RecordSeconds, 1200);
  EXPECT_EQ(Doc().EpochTables.EpochCount(), 60);
  EXPECT_EQ(Doc().PageReads.fullReloads, 1);
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty()) << "nothing unsaved: no question";
}

TEST_F(EpochLength, ThePageLengthAloneKeepsTheTimePosition) {
  GoTo(13);
  ScriptEpochDialog(kRadio30, 1);  // 30-s epochs, 1-minute pages
  Frame().OnEpochTime();
  EXPECT_EQ(PageSeconds, 60);
  EXPECT_EQ(Epoch(), 13);
  EXPECT_EQ(Page(), 6);
}

TEST_F(EpochLength, UnsavedScoringIsNotDroppedSilently) {
  Doc().EpochTables.SetStage(4, 3);
  ResultModifiedState = 2;
  GoTo(13);

  // Cancel: nothing changes, both lengths come back.
  ScriptEpochDialog(kRadio20, 2);
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  Frame().OnEpochTime();
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].type & ui::MB_TYPEMASK, ui::MB_YESNOCANCEL);
  EXPECT_EQ(EpochSeconds, 30);
  EXPECT_EQ(PageSeconds, 240);
  EXPECT_EQ(ResultModifiedState, 2);
  EXPECT_EQ(Doc().EpochTables.GetStage(0, 4, 0), 3);
  EXPECT_EQ(Epoch(), 13);

  // Yes, but the save does not happen: the scoring stays, unsaved.
  ScriptEpochDialog(kRadio20, 2);
  testhooks::AnswerMessageBox(ui::IDYES);
  Frame().OnEpochTime();
  EXPECT_EQ(EpochSeconds, 30);
  EXPECT_EQ(ResultModifiedState, 2);
  EXPECT_EQ(Doc().EpochTables.GetStage(0, 4, 0), 3);

  // No: given up on purpose; asked only once although the dialog comes back
  // after a failed page read.
  testhooks::Reset();
  Doc().PageReads.failNextReloads = 1;
  ScriptEpochDialog(kRadio20, 2);
  ScriptEpochDialog(kRadio20, 2);
  testhooks::AnswerMessageBox(ui::IDNO);
  Frame().OnEpochTime();
  EXPECT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownDialogs().size(), 2u);
  EXPECT_EQ(EpochSeconds, 20);
  EXPECT_EQ(PageSeconds, 60);
  EXPECT_EQ(ResultModifiedState, 0);
}

TEST_F(NavTest, EpochDialogRules) {
  // A page length that the new epoch length does not offer leaves no choice.
  EpochSeconds = 4;
  PageSeconds = 40;
  testhooks::ScriptDialog(LyrRawDlgEpoch::kTemplateId, [](ui::Dialog& d) {
    auto& dlg = static_cast<LyrRawDlgEpoch&>(d);
    EXPECT_EQ(dlg.Item(LyrRawDlgEpoch::kPageList).GetCurSel(), 9) << "40 s in the 4-s table";
    testhooks::ClickControl(d, kRadio30);
    EXPECT_EQ(dlg.ChosenPage, -1);
    testhooks::ClickControl(d, ui::IDOK);
    EXPECT_EQ(testhooks::ShownMessageBoxes().back().text, "Page time is not selected.");
    testhooks::ClickControl(d, ui::IDCANCEL);
  });
  LyrRawDlgEpoch dlg(&Doc(), &Frame());
  EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
  EXPECT_EQ(EpochSeconds, 4);

  // Existing screening results ask before the epoch length changes.
  Doc().ScreeningMarker = 10;
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  ScriptEpochDialog(kRadio20, 0);
  LyrRawDlgEpoch again(&Doc(), &Frame());
  EXPECT_EQ(again.DoModal(), ui::IDCANCEL) << "Cancel to the question leaves the dialog open";
  EXPECT_EQ(testhooks::ShownMessageBoxes().back().text,
            "The screening condition was changed. The analysis result will be initialized. Continue?");
  EXPECT_EQ(EpochSeconds, 4);
}

TEST(FreePage, HoursToWholeEpochSeconds) {
  struct Case {
    double hours;
    int record;
    int epoch;
    int seconds;
  };
  for (const Case& c : {Case{1.5, 36000, 30, 5400}, Case{30.0, 200000, 30, 86400}, Case{30.0, 7000, 30, 6990},
                        Case{0.4, 36000, 30, -1}, Case{0.5, 36000, 20, 1800}, Case{2.0, 36000, 8, 7200}}) {
    EXPECT_EQ(LyrRawDlgFreePage::FreePageSeconds(c.hours, c.record, c.epoch), c.seconds) << c.hours;
  }
}

struct BottomCase {
  std::uint32_t command;
  std::uint16_t trend;
  std::uint16_t workspace;
  double row;
  double column;
  double savedRow;
  double savedColumn;
  double expectRow;
  double expectColumn;
};

class BottomWindows : public NavTest, public testing::WithParamInterface<BottomCase> {};

TEST_P(BottomWindows, RatiosFollowTheTable) {
  const BottomCase& c = GetParam();
  TrendWindowDockState = c.trend;
  WorkspaceWindowDockState = c.workspace;
  PaneRowRatio = c.row;
  PaneColumnRatio = c.column;
  SavedPaneRowRatio = c.savedRow;
  SavedPaneColumnRatio = c.savedColumn;
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), c.command));
  EXPECT_DOUBLE_EQ(PaneRowRatio, c.expectRow);
  EXPECT_DOUBLE_EQ(PaneColumnRatio, c.expectColumn);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BottomWindows,
    testing::Values(
        // Trend hidden while the workspace shows: the whole row to the workspace.
        BottomCase{32789, 1, 1, 0.6, 0.4, 0.5, 0.5, 0.6, 0.0},
        // Shown again: the previous split.
        BottomCase{32789, 2, 1, 0.6, 0.0, 0.5, 0.4, 0.6, 0.4},
        // Both hidden then: the raw window takes the height.
        BottomCase{32789, 1, 2, 0.6, 1.0, 0.5, 0.5, 1.0, 0.0},
        // One shown from both hidden: the whole row and the previous height.
        BottomCase{32789, 2, 2, 1.0, 0.0, 0.6, 0.5, 0.6, 1.0},
        BottomCase{32788, 2, 2, 1.0, 0.0, 0.6, 0.5, 0.6, 0.0},
        BottomCase{32788, 1, 1, 0.6, 0.4, 0.5, 0.5, 0.6, 1.0},
        // A floating window is left alone.
        BottomCase{32788, 1, 0, 0.6, 0.4, 0.5, 0.5, 0.6, 0.4}));

TEST_F(NavTest, BottomWindowCommandStates) {
  TrendWindowDockState = 0;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 32789).IsEnabled());
  TrendWindowDockState = 2;
  const ui::CmdUI hidden = ui::QueryCommandState(Frame(), 32789);
  EXPECT_TRUE(hidden.IsEnabled());
  EXPECT_EQ(hidden.Checked(), 0);
  TrendWindowDockState = 1;
  EXPECT_EQ(ui::QueryCommandState(Frame(), 32789).Checked(), 1);
  ScreeningRunning = 1;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 32789).IsEnabled());
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 32776).IsEnabled());
  ScreeningRunning = 0;
}

TEST_F(NavTest, ActualSizeScaleOnTheFixedScreen) {
  draw::ScreenMetrics screen;
  screen.widthPx = 1024;
  screen.heightPx = 768;
  draw::OverrideScreenMetrics(&screen);
  const double savedWidth = ScreenWidthMm;
  const double savedHeight = ScreenHeightMm;
  ScreenWidthMm = 0.0;
  ScreenHeightMm = 192.0;
  PageSeconds = 30;
  double vertical = 0.0;
  double horizontal = 0.0;
  CMainFrame::CalcActualSizeScale(nullptr, &vertical, &horizontal, 50.0);
  EXPECT_EQ(ScreenWidthMm, 360.0);
  EXPECT_NEAR(horizontal, 1024 / 36.0, 1e-9) << "28.44... pixels per second";
  EXPECT_NEAR(vertical, 40.0 / 50.0, 1e-9);
  CMainFrame::CalcActualSizeScale(nullptr, nullptr, &horizontal, 0.0);  // null outputs are allowed
  EXPECT_EQ(CMainFrame::CheckScreenSizeMillimetres(), 1);
  draw::OverrideScreenMetrics(nullptr);
  ScreenWidthMm = savedWidth;
  ScreenHeightMm = savedHeight;
}

TEST_F(NavTest, OffsetButtonsJumpAndGreyAtTheEnds) {
  GoTo(3);
  auto enabled = [&](int offset) { return ui::QueryCommandState(Frame(), 33021 + offset).IsEnabled(); };
  EXPECT_FALSE(enabled(-5));
  EXPECT_FALSE(enabled(-4));
  EXPECT_TRUE(enabled(-3));
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33018));
  EXPECT_EQ(Epoch(), 0);
  GoTo(kEpochs - 2);
  EXPECT_TRUE(enabled(1));
  EXPECT_FALSE(enabled(2));
  GoTo(kEpochs - 1);
  for (int k = 1; k <= 5; ++k) EXPECT_FALSE(enabled(k));
  EXPECT_TRUE(enabled(0));
  GoTo(20);
  Frame().WaveFollowFlag = 0;
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33026));
  EXPECT_EQ(Epoch(), 20) << "inert while a video is being synchronised";
  Frame().WaveFollowFlag = 1;
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33026));
  EXPECT_EQ(Epoch(), 25);
  ScreeningRunning = 1;
  EXPECT_FALSE(enabled(1));
  ScreeningRunning = 0;
}

TEST_F(NavTest, PageButtons) {
  Load(1, 7, 15);  // 7 epochs a page over 15 epochs: 3 pages
  Doc().PageRows = 1;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 33027).IsEnabled());
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 33028).IsEnabled());
  Doc().PageRows = 3;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 33027).IsEnabled()) << "page 0";
  EXPECT_TRUE(ui::QueryCommandState(Frame(), 33028).IsEnabled());
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33028));
  EXPECT_EQ(Page(), 2) << "three rows: three pages on, cut at the last";
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 33028).IsEnabled());
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33027));
  EXPECT_EQ(Page(), 0);
}

TEST_F(NavTest, CloseAsksForUnsavedResultsAndCancelKeepsEverything) {
  ResultModifiedState = 2;
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  Frame().SendMessage(ui::WM_CLOSE);
  EXPECT_TRUE(Frame().IsWindow());
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text,
            "The analysis data was changed. Do you save it in an analysis file?");
  EXPECT_FALSE(std::filesystem::exists(ResumeFile::Path())) << "the settings file is not rewritten";

  ScreeningRunning = 1;
  Frame().SendMessage(ui::WM_CLOSE);
  EXPECT_TRUE(Frame().IsWindow()) << "refused while screening";
  EXPECT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
}

TEST_F(NavTest, CtrlCloseSkipsRefusalsAndQuestions) {
  ResultModifiedState = 2;
  ScreeningRunning = 1;
  sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
  Frame().SendMessage(ui::WM_CLOSE);
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
  EXPECT_FALSE(Frame().IsWindow());
  ScreeningRunning = 0;
}

TEST_F(NavTest, MinimiseAndMaximiseAreSwallowedWhileCapturing) {
  Frame().MakeAviDlg = reinterpret_cast<LyrDlgMakeAvi*>(&Frame());
  Frame().AviRunning = 1;
  EXPECT_EQ(Frame().SendMessage(ui::WM_SYSCOMMAND, 0xF020, 0), 0);
  EXPECT_TRUE(Frame().IsWindow());
  sys::SetKeyStateForTesting(sys::VirtualKey::Control, false);
  Frame().SendMessage(ui::WM_CLOSE);
  EXPECT_TRUE(Frame().IsWindow()) << "no close while capturing";
  Frame().AviRunning = 0;
  Frame().MakeAviDlg = nullptr;
}
