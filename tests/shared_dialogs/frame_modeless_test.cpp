// The frame's modeless windows: created into their slot, greying their command while open,
// and taken back by the frame when they close.
#include "app/frame/program_settings.h"
#include "app/frame/window_command_states.h"
#include "app/scoring/lyr_dlg_screening.h"
#include "app/video/lyr_dlg_make_avi.h"
#include "app_shell/app_fixture.h"
#include "platform/ui/command.h"

namespace {

using FrameModeless = AppTest;

TEST_F(FrameModeless, ScreeningAndAviWindowsComeAndGo) {
  ASSERT_TRUE(Start());
  CMainFrame& f = Frame();
  DocumentLoaded = 1;
  Doc().RecordInfo.channelCount = 1;
  Doc().ChInfo[0].rate = 100;
  Doc().ChInfo[0].dataCount = 100u * 600u;

  ASSERT_TRUE(ui::ExecuteCommand(f, ID_SCREENING));
  ASSERT_NE(f.ScreeningDlg, nullptr);
  EXPECT_EQ(f.ScreeningDlg->TemplateId(), IDD_SCREENING);
  ui::CmdUI screening = ui::QueryCommandState(f, ID_SCREENING);
  EXPECT_FALSE(screening.IsEnabled());
  EXPECT_EQ(screening.Checked(), 1);
  EXPECT_FALSE(ui::QueryCommandState(f, ID_DATA_PROCESSING).IsEnabled());
  EXPECT_FALSE(ui::QueryCommandState(f, ID_MULTI_SCREENING).IsEnabled());
  f.ScreeningDlg->ClickButton(ui::IDCANCEL);
  EXPECT_EQ(f.ScreeningDlg, nullptr);
  testhooks::ProcessMessages();
  EXPECT_TRUE(ui::QueryCommandState(f, ID_SCREENING).IsEnabled());

  AnimalOnlyMode = 1;
  ASSERT_TRUE(ui::ExecuteCommand(f, ID_SCREENING));
  ASSERT_NE(f.ScreeningDlg, nullptr);
  EXPECT_EQ(f.ScreeningDlg->TemplateId(), IDD_SCREENING_ANIMAL);
  f.CloseScreeningSettingDlgs();
  testhooks::ProcessMessages();
  AnimalOnlyMode = 0;

  ASSERT_TRUE(ui::ExecuteCommand(f, ID_AVI_OUTPUT));
  ASSERT_NE(f.MakeAviDlg, nullptr);
  EXPECT_FALSE(ui::QueryCommandState(f, ID_AVI_OUTPUT).IsEnabled());
  f.MakeAviDlg->SendMessage(ui::WM_CLOSE);
  EXPECT_EQ(f.MakeAviDlg, nullptr);
  testhooks::ProcessMessages();
  EXPECT_TRUE(ui::QueryCommandState(f, ID_AVI_OUTPUT).IsEnabled());
}

}  // namespace
