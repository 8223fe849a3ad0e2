// The channel display commands around their dialogs: a channel set saved in the dialog stays
// (the epoch tool bar offers it) even when the dialog is then cancelled; Scale applies and
// restores through the frame.
#include "app/frame/lyr_frame_bar.h"
#include "app/frame/main_frame.h"
#include "app/raw/lyr_raw_dlg_scale_ch.h"
#include "app/raw/lyr_raw_dlg_show_ch.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/command.h"
#include "tests/navigation/nav_fixture.h"

namespace {

TEST_F(NavTest, ShowChannelSetSavedBeforeCancelReachesTheToolBar) {
  const ChannelShowTypes saved = ShowTypeSets;
  ShowTypeSets.count = 1;
  ShowTypeIndex = 0;
  Frame().RefreshBarCombos(false, false, true);
  testhooks::ScriptDialog(LyrRawDlgTitle::kTemplateId, [](ui::Dialog& d) {
    d.SetDlgItemText(LyrRawDlgTitle::kTitleEdit, "EEG");
    testhooks::ClickControl(d, ui::IDOK);
  });
  testhooks::ScriptDialog(LyrRawDlgShowCh::kTemplateId, [](ui::Dialog& d) {
    ASSERT_TRUE(testhooks::ClickControl(d, LyrRawDlgShowCh::kSave));
    testhooks::ClickControl(d, ui::IDCANCEL);
  });
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 32778));
  ui::Control combo = Frame().EpochBar->Item(LyrFrameBar::kShowTypeCombo);
  EXPECT_EQ(combo.GetCount(), 2);
  EXPECT_EQ(combo.GetCurSel(), 1);
  EXPECT_EQ(combo.GetString(1), "EEG");
  ShowTypeSets = saved;
}

TEST_F(NavTest, ScaleCommandAppliesThroughTheFrameAndCancelRestores) {
  const double before = Doc().ChInfo[0].scaleValue;
  testhooks::ScriptDialog(LyrRawDlgScaleCh::kTemplateId, [](ui::Dialog& d) {
    d.Item(LyrRawDlgScaleCh::kList).SetSelected(0, true);
    d.SetDlgItemText(LyrRawDlgScaleCh::kValue, "123");
    ASSERT_TRUE(testhooks::ClickControl(d, LyrRawDlgScaleCh::kApply));
    testhooks::ClickControl(d, ui::IDCANCEL);
  });
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 32780));
  EXPECT_DOUBLE_EQ(Doc().ChInfo[0].scaleValue, before);
  EXPECT_EQ(testhooks::UnansweredCount(), 0);
}

}  // namespace
