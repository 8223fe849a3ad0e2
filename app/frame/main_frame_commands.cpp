// The main frame's commands that open the display-look, data-processing, parameter-output,
// raw data text output, result-compare and video windows, the video file menu entry, and the
// user-program menu.
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/lyr_frame_bar.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/frame/window_command_states.h"
#include "app/raw/lyr_raw_dlg_data_processing.h"
#include "app/raw/lyr_raw_dlg_user_program.h"
#include "app/raw/lyr_raw_dlg_screen_item.h"
#include "app/raw/lyr_raw_dlg_text_output.h"
#include "app/raw/raw_text_output.h"
#include "app/results/lyr_dlg_parameter_output.h"
#include "app/results/lyr_dlg_report.h"
#include "app/results/lyr_utility_hypnogram_frame.h"
#include "app/video/cvp_info_exchange.h"
#include "app/video/lyr_workspace_dlg_video_sync.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/lyr_workspace_zoom_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/system/process.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kCmdResultFileSave = 33010;
constexpr std::uint32_t kCmdUserProgramAdd = 33001;
// Menu ids of the ten user-program entries, in table order.
constexpr std::uint32_t kUserProgramIds[kMaxUserPrograms] = {33123, 32992, 32993, 32994, 32995,
                                                            32996, 32997, 32998, 32999, 33000};

// The file's name without folder and extension.
std::string BaseName(const std::string& path) {
  std::string name = path;
  if (const std::size_t slash = name.find_last_of("/\\"); slash != std::string::npos) name.erase(0, slash + 1);
  if (const std::size_t dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
  return name;
}

// A command line split at blanks; double quotes keep blanks inside one argument.
std::vector<std::string> SplitCommandLine(const std::string& text) {
  std::vector<std::string> parts;
  std::string cur;
  bool quoted = false;
  bool any = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (any) parts.push_back(cur);
      cur.clear();
      any = false;
    } else {
      cur += c;
      any = true;
    }
  }
  if (any) parts.push_back(cur);
  return parts;
}

}  // namespace

void CMainFrame::MapFrameCommands() {
  MapCommand(ID_SCREEN_ITEM, [this] { OnScreenItem(); });
  MapCommand(ID_DATA_PROCESSING, [this] { OnDataProcessing(); });
  MapCommand(ID_PARAMETER_OUTPUT, [this] { OnParameterOutput(); });
  MapCommand(ID_RAW_TEXT_OUTPUT, [this] { OnRawTextOutput(); });
  MapCommand(ID_RAW_DATA_OUTPUT, [this] { OnRawDataOutput(); });
  MapCommand(ID_CALIBRATION, [this] { OnCalibration(); });
  MapCommand(ID_RESULT_FILE_COMPARE, [this] { OnResultFileCompare(); });
  MapCommand(ID_VIDEO_FILE_OPEN, [this] { OnVideoFileOpen(); });
  for (int i = 0; i < kMaxUserPrograms; ++i) {
    MapCommand(kUserProgramIds[i], [this, i] { RunUserProgram(static_cast<std::int16_t>(i)); });
  }
  MapCommand(kCmdUserProgramAdd, [this] { OnUserProgramAdd(); });
  MapUpdate(kCmdUserProgramAdd, [](ui::CmdUI& cmd) { cmd.Enable(DocumentLoaded != 0 && ScreeningRunning == 0); });
}

CVPInfoExchange* CMainFrame::VideoController() const {
  LyrWorkspaceDummyView* ws = WorkspaceView();
  return ws != nullptr ? &ws->Video : nullptr;
}

// ---- Display look and data processing --------------------------------------------------------

void CMainFrame::OnScreenItem() {
  WriteResumeFile();
  LyrRawDlgScreenItem dlg(this);
  if (dlg.DoModal() != ui::IDOK) return;
  RefreshAllViews(-1);
  if (EpochBar != nullptr) EpochBar->Invalidate();
  RedrawTrendViews(1);
  RedrawWorkspaceViews();
  WriteResumeFile();
}

void CMainFrame::OnDataProcessing() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return;
  WriteResumeFile();
  // The tables are made for the new processing; when that fails the user gets the dialog again.
  for (;;) {
    LyrRawDlgDataProcessing dlg(doc, this);
    if (dlg.DoModal() != ui::IDOK) return;
    if (doc->Init4ChangeEpochTime(doc->GetDivNum(EpochSeconds), EpochSeconds, doc->RecordInfo.channelCount, 0) != 0)
      break;
  }
  doc->SetPageData();
  RefreshAllViews(-1);
  UpdateFrameBarTime();
  WriteResumeFile();
}

void CMainFrame::OnParameterOutput() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return;
  LyrDlgParameterOutput dlg(doc, this);
  dlg.DoModal();
}

void CMainFrame::OnRawTextOutput() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return;
  LyrRawDlgTextOutput dlg(doc, this);
  WriteResumeFile();
  if (dlg.DoModal() != ui::IDOK) return;
  WriteRawTextOutput(*doc, dlg.m_Path, dlg.m_Flags, dlg.m_StartEpoch, dlg.m_EndEpoch, this);
}

void CMainFrame::OnResultFileCompare() {
  if (ResultCompareFrame != nullptr) {
    ResultCompareFrame->ShowWindow(ui::SW_SHOW);
    return;
  }
  auto* frame = new LyrUtilityHypnogramFrame(this);
  frame->SetTrendTimeScale(TrendTimeMinutes);
  frame->Closed = [this, frame] {
    if (ResultCompareFrame == frame) ResultCompareFrame = nullptr;
    ui::PostTask([frame] { delete frame; });
  };
  ResultCompareFrame = frame;
  if (!frame->LoadFrame(IDR_UTILITY_HYPNOGRAM)) {
    ResultCompareFrame = nullptr;
    delete frame;
    return;
  }
  const ui::Rect client = GetClientRect();
  frame->MoveWindow(ui::Rect{0, 0, client.Width(), client.Height()}, false);
  frame->SetWindowText(res::LoadString(IDS_SD_HYPNOGRAM_UTILITY));
  frame->ShowWindow(ui::SW_SHOW);
}

// ---- Video ---------------------------------------------------------------------------------------

void CMainFrame::AddVideoMenuItem() {
  ui::Menu* menu = GetMenu();
  if (menu == nullptr || !CVPInfoExchange::LibraryExists() || menu->Contains(ID_VIDEO_FILE_OPEN)) return;
  ui::Menu* file = menu->GetSubMenu(0);
  if (file == nullptr) return;
  const int save = file->FindPosition(kCmdResultFileSave);
  if (save < 0) return;
  file->InsertItem(save + 1, ID_VIDEO_FILE_OPEN, res::LoadString(IDS_SD_VIDEO_MENU_ITEM));
  file->InsertSeparator(save + 2);
  DrawMenuBar();
}

void CMainFrame::OnVideoFileOpen() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  CVPInfoExchange* video = VideoController();
  if (doc == nullptr || video == nullptr) return;
  ui::FileDialog dlg(true, "hdr", {}, ui::OFN_HIDEREADONLY, res::LoadString(IDS_SD_VIDEO_FILTER), this);
  dlg.SetInitialFolder(LastFolderPath);
  if (dlg.DoModal() != ui::IDOK) return;
  const std::string path = dlg.GetPathName();
  if (BaseName(path) != BaseName(doc->RecordInfo.path) &&
      ui::MessageBox(res::LoadString(IDS_SD_VIDEO_DIFFERS), ui::MB_YESNO | ui::MB_ICONQUESTION | ui::MB_DEFBUTTON2) !=
          ui::IDYES) {
    return;
  }
  // A running auto-play entry opens its own video set; nothing is chosen here then.
  if (video->ActiveAutoPlayEntry != -1) return;
  auto rebind = [video] {
    video->UnloadVideoDll();
    if (video->LoadVideoDll() != 0) video->InitVideoDll();
  };
  rebind();
  VideoFilePath = path;
  WaveFollowFlag = 0;
  VideoFollowsWave = 0;
  if (video->LoadVideoFileTable(path) == 0) {
    ui::MessageBox(res::LoadString(IDS_SD_CANNOT_OPEN_FILE));
    rebind();
    WaveFollowFlag = 1;
    return;
  }
  // The table was just made from the chosen file: no range file to read.
  if (video->OpenVideo(0) == 0) return;
  OpenVideoSyncDlg();
}

void CMainFrame::OpenVideoSyncDlg() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (VideoSyncDlg != nullptr) {
    VideoSyncDlg->DestroyWindow();
    delete VideoSyncDlg;
    VideoSyncDlg = nullptr;
  }
  auto* sync = new LyrWorkspaceDlgVideoSync(doc, this);
  sync->SetCloseCallback([this](int code) { EndVideoSyncDlg(code == ui::IDOK ? 1 : 2); });
  VideoSyncDlg = sync;
  if (!sync->CreateModeless(this)) {
    VideoSyncDlg = nullptr;
    delete sync;
    return;
  }
  CentreOnFrame(*sync);
  WorkspaceTabs.SelectPane(12);
  WorkspaceTabs.ShowSelectedPane(12);
  WriteResumeFile();
}

void CMainFrame::EndVideoSyncDlg(int result) {
  CVPInfoExchange* video = VideoController();
  LyrWorkspaceDlgVideoSync* dlg = VideoSyncDlg;
  if (video != nullptr) {
    const CQLM2_AnalyzerDoc* doc = GetDocument();
    LyrWorkspaceDummyView* ws = WorkspaceView();
    if (result == 1 && dlg != nullptr && doc != nullptr) {
      if (video->SaveRangeFile(dlg->m_Offset, doc->RecordInfo.path) == 0) video->UnloadVideoDll();
    } else if (ws != nullptr && ws->RestoreVideoFileTable() != 0) {
      // The set as it was before "Reset start time" shows again.
      if (video->IsBound()) video->OpenVideo(0);
    } else {
      // No saved table of an earlier set to go back to: the chosen file is let go.
      video->UnloadVideoDll();
    }
  }
  VideoFollowsWave = 1;
  VideoSyncDlg = nullptr;
  if (dlg != nullptr) {
    ui::PostTask([dlg] {
      if (dlg->IsWindow()) dlg->DestroyWindow();
      delete dlg;
    });
  }
  WaveFollowFlag = 1;
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) {
    ws->VideoPane.VideoShowingFlag = 1;
    ws->VideoPane.RelayoutPanes();
  }
  RedrawWorkspaceViews();
}

bool CMainFrame::IsReportDlgOpen() const {
  const LyrWorkspaceDummyView* ws = WorkspaceView();
  return ws != nullptr && ws->Frame() != nullptr && ws->Frame()->ReportDlg() != nullptr;
}

void CMainFrame::UpdateTimePointPanel(int epoch) {
  // The range panel of the workspace's open report dialog shows the whole recording and the
  // epoch; without the dialog or its panel there is nothing to move.
  LyrWorkspaceDummyView* ws = WorkspaceView();
  CQLM2_AnalyzerDoc* doc = GetDocument();
  LyrDlgReport* report = ws != nullptr && ws->Frame() != nullptr ? ws->Frame()->ReportDlg() : nullptr;
  LyrDlgTimePoint* panel = report != nullptr ? report->TimePanel() : nullptr;
  if (panel == nullptr || doc == nullptr) return;
  panel->SetRange(0, doc->GetDivNum(EpochSeconds) - 1);
  panel->SetEpoch(epoch);
}

// ---- User programs -----------------------------------------------------------------------------

void CMainFrame::BuildUserProgramMenu() {
  ui::Menu* menu = GetMenu();
  if (menu == nullptr) return;
  ui::Menu* tool = menu->GetSubMenu(3);
  if (tool == nullptr || tool->FindPosition(kCmdUserProgramAdd) < 0) return;
  for (std::uint32_t id : kUserProgramIds) {
    while (tool->FindPosition(id) >= 0) tool->RemoveAt(tool->FindPosition(id));
  }
  const int count = std::min<int>(UserProgramTable.count, kMaxUserPrograms);
  for (int i = 0; i < count; ++i) {
    const std::string& name = UserProgramTable.entries[static_cast<std::size_t>(i)].name;
    tool->AppendItem(kUserProgramIds[i], name);
  }
  DrawMenuBar();
}

void CMainFrame::OnUserProgramAdd() {
  LyrRawDlgUserProgram dlg(nullptr);
  dlg.DoModal();
  BuildUserProgramMenu();
}

void CMainFrame::RunUserProgram(std::int16_t index) {
  if (index < 0 || index >= kMaxUserPrograms || index >= UserProgramTable.count) return;
  const std::string& commandLine = UserProgramTable.entries[static_cast<std::size_t>(index)].commandLine;
  // A program file chosen in the list may have blanks in its path: the whole text names it.
  if (sys::FileExists(commandLine)) {
    sys::StartProcess(commandLine, {});
    return;
  }
  const std::vector<std::string> parts = SplitCommandLine(commandLine);
  if (parts.empty()) return;
  // A program that cannot be started is not reported.
  sys::StartProcess(parts.front(), std::vector<std::string>(parts.begin() + 1, parts.end()));
}

// ---- Closing a recording -------------------------------------------------------------------------

void CMainFrame::ReleaseVideoBeforeClose() {
  CVPInfoExchange* video = VideoController();
  if (video == nullptr || !video->IsBound() || video->ActiveAutoPlayEntry != -1) return;
  video->UnloadVideoDll();
  RedrawWorkspaceViews();
}

void CMainFrame::ClearWorkspaceLists() {
  if (WorkspaceTabs.ZoomPane != nullptr) WorkspaceTabs.ZoomPane->ResetZoom();
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) ws->ClearRecordingLists();
}
