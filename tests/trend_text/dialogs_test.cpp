// The Text Output dialogs of the trend table (209) and of the ECG R-R intervals (492) by
// control id, and the trend window's commands that open them and the hypnogram setting, run
// through the started program's trend frame.
#include <gtest/gtest.h>

#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_frame.h"
#include "app/trend/lyr_trend_hypno_setting.h"
#include "app/trend/lyr_trend_text_dialogs.h"
#include "app/trend/trend_settings.h"
#include "platform/ui/command.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/dialog.h"
#include "tests/app_shell/app_fixture.h"

namespace {

using D = LyrDlgTextOutputRange;

class TrendTextCommandTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    saved_ = {OutputMaxLines, EpochSeconds};
    savedWords_ = {OutputToClipboard, OutputDelimiterIsTab, WorkspaceOutputSetting, TrendSettingWord1};
    EpochSeconds = 30;
    Doc().RecordSeconds = 100 * 30;
    Doc().RecordInfo.channelCount = 2;
    Doc().ChInfo[1].rate = 200;
    ASSERT_EQ(Doc().EpochTables.SetNew(100, 0, 2, 1, 1), 1);
    DocumentLoaded = 1;
  }
  void TearDown() override {
    OutputMaxLines = saved_[0];
    EpochSeconds = saved_[1];
    OutputToClipboard = savedWords_[0];
    OutputDelimiterIsTab = savedWords_[1];
    WorkspaceOutputSetting = savedWords_[2];
    TrendSettingWord1 = savedWords_[3];
    AppTest::TearDown();
  }
  LyrTrendFrame& TFrame() { return *Frame().TrendView()->Frame(); }
  std::array<std::int32_t, 2> saved_{};
  std::array<std::uint16_t, 4> savedWords_{};
};

TEST_F(TrendTextCommandTest, TrendTableDialogAndCommand) {
  OutputMaxLines = -50;
  OutputToClipboard = 0;
  testhooks::ScriptDialog(LyrDlgTrendTextOutput::kTemplateId, [](ui::Dialog& d) {
    EXPECT_EQ(d.GetDlgItemText(D::kMaxLineEdit), "50");
    EXPECT_EQ(d.IsDlgButtonChecked(D::kMaxLineCheck), 0);
    EXPECT_FALSE(d.Item(D::kMaxLineEdit).IsEnabled());
    EXPECT_EQ(d.Item(D::kList).GetCount(), TrendGraphCountHeld());
    // No path: told, the path dialog offered, the dialog stays.
    d.ClickButton(ui::IDOK);
    EXPECT_TRUE(d.IsWindow());
    d.ClickButton(D::kMaxLineCheck);
    EXPECT_TRUE(d.Item(D::kMaxLineEdit).IsEnabled());
    d.CheckRadioButton(D::kFile, D::kClipboard, D::kClipboard);
    d.ClickButton(D::kClipboard);
    EXPECT_FALSE(d.Item(D::kPath).IsEnabled());
    d.CheckDlgButton(D::kArtifactExcludes, 1);
    d.CheckRadioButton(D::kComma, D::kTab, D::kTab);
    d.ClickButton(ui::IDOK);
  });
  testhooks::AnswerFileDialog(ui::IDCANCEL);
  // Every clipboard portion of 50 lines is taken.
  for (int i = 0; i < 40; ++i) testhooks::AnswerMessageBox(ui::IDOK);
  ASSERT_TRUE(ui::ExecuteCommand(TFrame(), kCmdTrendTextOutput));
  EXPECT_EQ(OutputMaxLines, 50);
  EXPECT_EQ(OutputToClipboard, 1);
  EXPECT_EQ(OutputDelimiterIsTab, 1);
  EXPECT_EQ(WorkspaceOutputSetting, 1);
  const std::vector<std::string> boxes = BoxTexts();
  ASSERT_GE(boxes.size(), 3U);
  EXPECT_EQ(boxes.front(), "The file is not selected.");
  EXPECT_EQ(boxes[1], "Enter new file name.") << "a portion of 50 lines";
  EXPECT_EQ(boxes.back(), "Text output is complete.");
  const std::string clip = ui::GetClipboardText();
  EXPECT_NE(clip.find("\t99\t"), std::string::npos) << "the last epoch is included";
  EXPECT_EQ(clip.find("File name"), std::string::npos) << "no header on the clipboard";
}

TEST_F(TrendTextCommandTest, EcgRrDialogAndCommand) {
  OutputMaxLines = 0;
  OutputToClipboard = 1;
  Doc().Params.sleepDstrb.ecgChannel = 1;
  EcgRcgnzTable& peaks = Doc().RecognitionTables.ECGRcgnz();
  peaks.positions = {10, 300, 6000 * 4 + 5};  // the last in epoch 4
  peaks.count = 3;
  Frame().TrendView()->StageArea.FillFrom(4);
  testhooks::ScriptDialog(LyrDlgEcgRrTextOutput::kTemplateId, [](ui::Dialog& d) {
    auto& dlg = dynamic_cast<LyrDlgEcgRrTextOutput&>(d);
    EXPECT_EQ(dlg.StartPanel()->GetEpoch(), 4) << "the hypnogram's first epoch";
    EXPECT_EQ(dlg.EndPanel()->GetEpoch(), std::min(4 + ShownEpochs() - 1, 99));
    // A stored limit of 0: checking leaves the edit disabled.
    d.CheckDlgButton(D::kMaxLineCheck, 1);
    d.ClickButton(D::kMaxLineCheck);
    EXPECT_EQ(OutputMaxLines, 0);
    EXPECT_FALSE(d.Item(D::kMaxLineEdit).IsEnabled());
    d.ClickButton(D::kTab);
    EXPECT_EQ(OutputDelimiterIsTab, 1);
    d.ClickButton(D::kComma);
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(TFrame(), kCmdEcgRrOutput));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Text output is complete."});
  const std::string clip = ui::GetClipboardText();
  EXPECT_EQ(clip.rfind("File name,", 0), 0U) << "the header also on the clipboard";
  EXPECT_NE(clip.find("\n2,"), std::string::npos);
  EXPECT_EQ(clip.find("\n1,"), std::string::npos) << "peak 1 lies before the range";
}

TEST_F(TrendTextCommandTest, HypnogramSettingCommandAppliesLinesAndSpan) {
  SetTrendTimeScale(60);
  testhooks::ScriptDialog(LyrDlgHypnogramSetting::kTemplateId, [](ui::Dialog& base) {
    auto& d = dynamic_cast<LyrDlgHypnogramSetting&>(base);
    d.Item(LyrDlgHypnogramSetting::kLines).SetCurSel(1);
    d.Item(LyrDlgHypnogramSetting::kSpan).SetCurSel(2);  // " 30min."
    d.OnTimeChange();
    d.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(TFrame(), kCmdHypnogramSetting));
  EXPECT_EQ(TrendSettingWord1, 2);
  EXPECT_EQ(MinutesPerLineHeld(), 30);
  LyrTrendStageAreaDummyView& area = Frame().TrendView()->StageArea;
  EXPECT_EQ(area.LineCount(), 2);
  EXPECT_EQ(area.EpochsPerLine(), 60);
  EXPECT_EQ(area.TableSize(), 120);
}

}  // namespace

namespace {

// A click in a hypnogram line of the started program moves the raw page there while no
// key-held scrolling runs.
TEST_F(TrendTextCommandTest, HypnogramClickMovesTheCurrentEpoch) {
  LyrTrendStageAreaDummyView& area = Frame().TrendView()->StageArea;
  SetTrendTimeScale(60);
  area.ApplyDisplaySetting();
  LyrTrendStageAreaView* line = area.LineView(0);
  ASSERT_NE(line, nullptr);
  const draw::Rect r = line->DrawRect();
  const double width = static_cast<double>(r.right - r.left) / line->EpochsPerLine();
  ASSERT_GT(width, 0.0);
  const int x = static_cast<int>(width * 7 + width / 2);
  ScrollDirection = 1;
  line->OnLButtonDown(0, ui::Point{x, 3});
  EXPECT_EQ(Frame().TrendView()->CursorEpoch(), 7);
  EXPECT_NE(Doc().CurrentEpoch, 7) << "no jump while the page scrolls by itself";
  ScrollDirection = 0;
  line->OnLButtonDown(0, ui::Point{x, 3});
  EXPECT_EQ(Doc().CurrentEpoch, 7);
}

}  // namespace
