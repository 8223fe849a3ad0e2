// The frame's modeless windows: created into their slot, greying their command while open,
// and taken back by the frame when they close.
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/program_settings.h"
#include "app/frame/window_command_states.h"
#include "app/results/lyr_dlg_report.h"
#include "app/scoring/dsi_silent_open.h"
#include "app/scoring/lyr_dlg_multi_screening.h"
#include "app/scoring/lyr_dlg_screening.h"
#include "app/video/lyr_dlg_make_avi.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/workspace_dummy_view.h"
#include "app_shell/app_fixture.h"
#include "platform/res/ui_resource.h"
#include "platform/system/profile.h"
#include "platform/system/program_folder.h"
#include "platform/ui/app.h"
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
  // Centred on the frame.
  const ui::Rect frame = f.GetWindowRect();
  const ui::Rect dlg = f.ScreeningDlg->GetWindowRect();
  EXPECT_NEAR((dlg.left + dlg.right) / 2, (frame.left + frame.right) / 2, 1);
  EXPECT_NEAR((dlg.top + dlg.bottom) / 2, (frame.top + frame.bottom) / 2, 1);
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

TEST_F(FrameModeless, MultiScreeningWindowComesAndGoes) {
  ASSERT_TRUE(Start());
  CMainFrame& f = Frame();
  // Offered without a recording; the DSI plug-in goes back to asking before the window opens.
  ASSERT_TRUE(SetDsiSilentOpen(1));
  EXPECT_TRUE(ui::QueryCommandState(f, ID_MULTI_SCREENING).IsEnabled());
  ASSERT_TRUE(ui::ExecuteCommand(f, ID_MULTI_SCREENING));
  ASSERT_NE(f.MultiScreeningDlg, nullptr);
  EXPECT_EQ(sys::GetPrivateProfileString("SilentOpen", "UseAuto", "", sys::PathBesideProgram("RXQD_IMP_DSI.ini")), "0");
  EXPECT_EQ(f.MultiScreeningDlg->TemplateId(), IDD_MULTI_SCREENING);
  EXPECT_EQ(f.MultiScreeningDlg->GetWindowText(), "Multi-screening");
  EXPECT_TRUE(f.MultiScreeningDlg->IsWindowVisible());

  DocumentLoaded = 1;
  for (std::uint32_t id : {ID_MULTI_SCREENING, ID_SCREENING, ID_DATA_PROCESSING, ID_PARAMETER_OUTPUT, ID_AVI_OUTPUT}) {
    EXPECT_FALSE(ui::QueryCommandState(f, id).IsEnabled()) << id;
  }
  // Enter neither runs nor closes; Close takes the window back.
  f.MultiScreeningDlg->ClickButton(ui::IDOK);
  ASSERT_NE(f.MultiScreeningDlg, nullptr);
  f.MultiScreeningDlg->ClickButton(ui::IDCANCEL);
  EXPECT_EQ(f.MultiScreeningDlg, nullptr);
  testhooks::ProcessMessages();
  EXPECT_TRUE(ui::QueryCommandState(f, ID_MULTI_SCREENING).IsEnabled());
  EXPECT_TRUE(ui::QueryCommandState(f, ID_DATA_PROCESSING).IsEnabled());
  // Left open, the window goes with the frame.
  ASSERT_TRUE(ui::ExecuteCommand(f, ID_MULTI_SCREENING));
  ASSERT_NE(f.MultiScreeningDlg, nullptr);
}

TEST_F(FrameModeless, OpenReportDialogGreysItsCommandsAndItsPanelFollowsTheEpoch) {
  ASSERT_TRUE(Start());
  CMainFrame& f = Frame();
  CQLM2_AnalyzerDoc& d = Doc();
  DocumentLoaded = 1;
  EpochSeconds = 30;
  PageSeconds = 120;
  d.RecordInfo.channelCount = 1;
  d.ChInfo[0].rate = 100;
  d.ChInfo[0].dataCount = 100u * 3600u;
  d.RecordSeconds = 3600;
  LyrWorkspaceDummyView* ws = f.WorkspaceView();
  ASSERT_NE(ws, nullptr);

  // The workspace's "&Human report..." makes the report dialog; its Time dialog holds the
  // range panel that follows the epoch.
  LyrWorkspaceFrame* wf = ws->Frame();
  ASSERT_NE(wf, nullptr);
  ASSERT_TRUE(ui::ExecuteCommand(*wf, 33044));
  LyrDlgReport* report = wf->ReportDlg();
  ASSERT_NE(report, nullptr);
  EXPECT_FALSE(ui::QueryCommandState(*wf, 33044).IsEnabled()) << "one report dialog at a time";

  EXPECT_TRUE(f.IsReportDlgOpen());
  for (std::uint32_t id : {ID_DATA_PROCESSING, ID_SCREENING, ID_AVI_OUTPUT, ID_MULTI_SCREENING}) {
    EXPECT_FALSE(ui::QueryCommandState(f, id).IsEnabled()) << id;
  }
  EXPECT_TRUE(ui::QueryCommandState(f, ID_PARAMETER_OUTPUT).IsEnabled());

  f.JumpToEpoch(10, 1);  // no Time dialog: nothing to move
  ASSERT_TRUE(report->ClickButton(LyrDlgReport::kBedIn));
  LyrDlgTimePoint* panel = report->TimePanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_FALSE(report->IsWindowVisible()) << "the report hides while its Time dialog is open";
  f.JumpToEpoch(50, 1);  // another page
  EXPECT_EQ(panel->GetEpoch(), 50);
  EXPECT_EQ(panel->m_LowEpoch, 0);
  EXPECT_EQ(panel->m_HighEpoch, 119);
  EXPECT_EQ(panel->GetDlgItemText(IDC_TP_EPOCH), "50");
  f.JumpToEpoch(49, 1);  // a step inside the page
  EXPECT_EQ(panel->GetEpoch(), 49);

  report->TimeDialog()->OnCancel();
  EXPECT_EQ(report->TimePanel(), nullptr);
  EXPECT_TRUE(report->IsWindowVisible());
  EXPECT_EQ(BedInEpoch, 0) << "a cancelled Time dialog leaves the marker";
  ui::PumpPendingMessages();

  ASSERT_TRUE(report->ClickButton(ui::IDCANCEL));  // "Close"
  EXPECT_EQ(wf->ReportDlg(), nullptr);
  EXPECT_FALSE(f.IsReportDlgOpen());
  ui::PumpPendingMessages();
  EXPECT_TRUE(ui::QueryCommandState(f, ID_DATA_PROCESSING).IsEnabled());
}

TEST_F(FrameModeless, ScreenItemAndEpochJumpWaitForARecordingAndARunningBatch) {
  ASSERT_TRUE(Start());
  CMainFrame& f = Frame();
  auto states = [&] {
    return std::string{ui::QueryCommandState(f, ID_SCREEN_ITEM).IsEnabled() ? '1' : '0',
                       ui::QueryCommandState(f, ID_EPOCH_JUMP).IsEnabled() ? '1' : '0'};
  };
  EXPECT_EQ(states(), "00");
  DocumentLoaded = 1;
  EXPECT_EQ(states(), "11");
  ScreeningRunning = 1;
  EXPECT_EQ(states(), "00");
  ScreeningRunning = 2;
  EXPECT_EQ(states(), "11");
}

}  // namespace
