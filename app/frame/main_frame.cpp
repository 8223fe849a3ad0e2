#include "app/frame/main_frame.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string_view>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/command_line.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_splitter_wnd.h"
#include "app/frame/program_settings.h"
#include "app/frame/raw_rows.h"
#include "app/frame/resume_file.h"
#include "app/frame/display_fonts.h"
#include "app/frame/settings_startup.h"
#include "app/raw/raw_dummy_view.h"
#include "app/results/lyr_utility_hypnogram_frame.h"
#include "app/video/lyr_workspace_dlg_video_sync.h"
#include "app/video/lyr_dlg_make_avi.h"
#include "app/raw/wave_recognition.h"
#include "app/scoring/lyr_dlg_multi_screening.h"
#include "app/scoring/dsi_silent_open.h"
#include "app/trend/trend_dummy_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/system/key_state.h"
#include "platform/ui/app.h"
#include "platform/draw/image.h"
#include "platform/ui/control_bar.h"
#include "platform/ui/menu.h"
#include "platform/ui/message_box.h"
#include "platform/ui/splitter.h"

namespace {

constexpr int kDefaultFrameWidth = 1280;
constexpr int kDefaultFrameHeight = 860;
constexpr std::uint32_t kFrameIconId = 201;
constexpr std::uint32_t kCmdSleepDisturbance = 32801;
constexpr std::uint32_t kCmdModifyLogic = 32808;
constexpr std::uint32_t kFirstRecentFile = 57616;
constexpr std::uint32_t kLastRecentFile = 57625;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

bool IsResultFileName(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return false;
  return EqualsIgnoringCase(path.substr(dot + 1), "RAF");
}

CMainFrame::CMainFrame()
    : EpochWaveRecords(kMaxEpochs), EpochBandValues(kMaxEpochs), EpochChannelStats(kMaxEpochs) {
  // Screening and preview state starts idle.
  ScreeningRunning = 0;
  RawPreviewMode = 0;
  PreviewKind = 0;

  if (const ui::App* app = ui::App::Current()) {
    const AutoPlayRequest request = ParseAutoPlayRequest(app->CommandLineText());
    AutoPlayStart = request.start;
    AutoPlayEntry = request.entry;
  }

  DocumentLoaded = 0;
  ResultModifiedState = 0;
  AnimalOnlyMode = 0;
  DsiOnlyMode = 0;
  ScrollDirection = 0;
  PrintTarget = 0;
  PrintInColor = 1;
  DividedFftMode = 0;
  TimePointPicking = 0;

  if (ReadResumeFile(0) == 0) LoadDefaultGlobalSettings();

  const DockStates states = DeriveDockStates(PaneRowRatio, PaneColumnRatio);
  TrendWindowDockState = states.trend;
  WorkspaceWindowDockState = states.workspace;

  DragAcceptFiles(true);
  MapOutputCommands();
  MapPagingCommands();
  MapWindowCommands();
  MapFrameCommands();
  MapResultFileCommands();
  MapDisplayCommands();
  MapModeCommands();
  MapScreeningCommands();
  MapWorkspaceCommands();
}

CMainFrame::~CMainFrame() {
  DestroyOpenToolDialogs();
  AutoPlayStart = 0;
  if (LyrUtilityHypnogramFrame* utility = ResultCompareFrame) {
    ResultCompareFrame = nullptr;
    utility->Closed = nullptr;
    if (utility->IsWindow()) utility->DestroyWindow();
    delete utility;
  }
  if (VideoSyncDlg != nullptr) {
    if (VideoSyncDlg->IsWindow()) VideoSyncDlg->DestroyWindow();
    delete VideoSyncDlg;
    VideoSyncDlg = nullptr;
  }
  if (LyrDlgMultiScreening* multi = MultiScreeningDlg) {
    MultiScreeningDlg = nullptr;
    if (multi->IsWindow()) multi->DestroyWindow();
    delete multi;
  }
}

int CMainFrame::OnCreate() {
  // Restored placement of the frame; the first showing maximises it where a
  // window manager is there to do so.
  MoveWindow(ui::Rect{0, 0, kDefaultFrameWidth, kDefaultFrameHeight}, false);
  if (ui::Frame::OnCreate() == -1) return -1;
  SetIcon(ui::LoadIconImage(kFrameIconId));
  CreateBars();
  UpdateSleepDisturbanceMenu();
  BuildUserProgramMenu();
  AddVideoMenuItem();
  return 0;
}

bool CMainFrame::OnCreateClient(ui::CreateContext* context) {
  if (context != nullptr) savedCreateContext_ = *context;
  try {
    if (!outerSplitter_) outerSplitter_ = std::make_unique<LyrSplitterWnd>(this);
    if (!innerSplitter_) innerSplitter_ = std::make_unique<LyrSplitterWnd>(this);
    outerSplitter_->SplitterKind = 0;
    innerSplitter_->SplitterKind = 0;
    outerSplitter_->ApplySplitterStyle();
    innerSplitter_->ApplySplitterStyle();
  } catch (const std::exception&) {
    ui::MessageBox("CMainFrame::OnCreateClient1");
    return false;
  }
  if (!outerSplitter_->CreateStatic(this, 2, 1)) {
    ui::MessageBox("CMainFrame::OnCreateClient2");
    return false;
  }
  if (!innerSplitter_->CreateStatic(outerSplitter_.get(), 1, 2, outerSplitter_->IdFromRowCol(1, 0))) {
    ui::MessageBox("CMainFrame::OnCreateClient3");
    return false;
  }
  const ui::Rect outer = outerSplitter_->GetClientRect();
  if (!outerSplitter_->CreateView(0, 0, std::make_unique<LyrRawDummyView>(), ui::Size{outer.Width(), outer.Height() / 2},
                                  &savedCreateContext_)) {
    ui::MessageBox("CMainFrame::OnCreateClient4");
    return false;
  }
  if (!innerSplitter_->CreateView(0, 0, std::make_unique<LyrTrendDummyView>(), ui::Size{0, 0}, &savedCreateContext_)) {
    ui::MessageBox("CMainFrame::OnCreateClient5");
    return false;
  }
  if (!innerSplitter_->CreateView(0, 1, std::make_unique<LyrWorkspaceDummyView>(), ui::Size{0, 0},
                                  &savedCreateContext_)) {
    ui::MessageBox("CMainFrame::OnCreateClient6");
    return false;
  }
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) {
    // The frame keeps the binding state of the workspace window's video player library.
    ws->Video.BindingChanged = [this](bool bound) {
      VideoLibraryBound = bound ? 1 : 0;
      if (!bound) VideoFilePath.clear();
    };
    ws->Zoom.m_pDoc = context != nullptr ? dynamic_cast<CQLM2_AnalyzerDoc*>(context->currentDocument) : nullptr;
  }
  SetActiveView(RawView());
  LayoutPanes();
  return true;
}

void CMainFrame::OnPaint(draw::Dc&) { LayoutPanes(); }

void CMainFrame::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::Frame::OnSize(sizeType, cx, cy);
  LayoutPanes();
  // The frame size enters the longest film.
  if (MakeAviDlg != nullptr && MakeAviDlg->IsWindow()) MakeAviDlg->UpdateMaxTime();
}

void CMainFrame::PostNcDestroy() {
  outerSplitter_.reset();
  innerSplitter_.reset();
  SetDsiSilentOpen(0);
  ui::Frame::PostNcDestroy();
}

LyrRawDummyView* CMainFrame::RawView() const {
  return outerSplitter_ ? dynamic_cast<LyrRawDummyView*>(outerSplitter_->GetPane(0, 0)) : nullptr;
}

LyrTrendDummyView* CMainFrame::TrendView() const {
  return innerSplitter_ ? dynamic_cast<LyrTrendDummyView*>(innerSplitter_->GetPane(0, 0)) : nullptr;
}

LyrWorkspaceDummyView* CMainFrame::WorkspaceView() const {
  return innerSplitter_ ? dynamic_cast<LyrWorkspaceDummyView*>(innerSplitter_->GetPane(0, 1)) : nullptr;
}

DockStates CMainFrame::CurrentDockStates() const { return DockStates{TrendWindowDockState, WorkspaceWindowDockState}; }

void CMainFrame::LayoutPanes() {
  if (!outerSplitter_ || !innerSplitter_ || !outerSplitter_->IsWindow() || !innerSplitter_->IsWindow()) return;
  const ui::Rect client = outerSplitter_->GetClientRect();
  const PaneSizes sizes = ComputePaneSizes(client.Width(), client.Height(), PaneRowRatio, PaneColumnRatio);
  outerSplitter_->SetRowInfo(0, sizes.rawRowHeight, 0);
  innerSplitter_->SetColumnInfo(0, sizes.trendColumnWidth, 0);
  outerSplitter_->RecalcLayout();
  innerSplitter_->RecalcLayout();
}

void CMainFrame::StoreSplitRatios() {
  if (!outerSplitter_ || !innerSplitter_) return;
  const ui::Rect outer = outerSplitter_->GetClientRect();
  const LyrRawDummyView* raw = RawView();
  const LyrTrendDummyView* trend = TrendView();
  const int rawHeight = raw != nullptr ? raw->GetClientRect().Height() : 0;
  const int trendWidth = trend != nullptr ? trend->GetClientRect().Width() : 0;
  StoreSplitRatiosFromPanes(CurrentDockStates(), outer.Width(), outer.Height(), rawHeight, trendWidth, PaneRowRatio,
                            PaneColumnRatio);
  LayoutPanes();
}

void CMainFrame::OnInitMenu(ui::Menu* menu) {
  ui::Frame::OnInitMenu(menu);
  UpdateSleepDisturbanceMenu();
  BuildUserProgramMenu();
}

void CMainFrame::OnInitMenuPopup(ui::Menu* popup, int index, bool systemMenu) {
  if (!systemMenu && index == 0 && popup != nullptr) ShowRecentFiles(*popup);
  ui::Frame::OnInitMenuPopup(popup, index, systemMenu);
  if (AutoPlayStart == 0 || index != 0 || popup == nullptr || systemMenu) return;
  for (std::uint32_t id = kFirstRecentFile; id <= kLastRecentFile; ++id) {
    if (!popup->Contains(id)) break;
    popup->EnableItem(id, false);
  }
}

void CMainFrame::ShowRecentFiles(ui::Menu& filePopup) {
  const ui::App* app = ui::App::Current();
  if (app == nullptr) return;
  const int first = filePopup.FindPosition(kFirstRecentFile);
  if (first < 0) return;
  if (recentFilePlaceholder_.empty()) recentFilePlaceholder_ = filePopup.GetItemText(kFirstRecentFile);
  for (std::uint32_t id = kFirstRecentFile + 1; id <= kLastRecentFile; ++id) filePopup.DeleteCommand(id);
  const std::vector<std::string>& files = app->RecentFiles();
  if (files.empty()) {
    filePopup.SetItemText(kFirstRecentFile, recentFilePlaceholder_);
    filePopup.EnableItem(kFirstRecentFile, false);
    return;
  }
  const std::size_t count = std::min<std::size_t>(files.size(), kLastRecentFile - kFirstRecentFile + 1);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t id = kFirstRecentFile + static_cast<std::uint32_t>(i);
    const std::string text = "&" + std::to_string((i + 1) % 10) + " " + files[i];
    if (i == 0) {
      filePopup.SetItemText(id, text);
      filePopup.EnableItem(id, true);
    } else {
      filePopup.InsertItem(first + static_cast<int>(i), id, text);
    }
  }
}

void CMainFrame::UpdateSleepDisturbanceMenu() {
  if (DocumentLoaded == 0) return;
  ui::Menu* menu = GetMenu();
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (menu == nullptr || doc == nullptr || menu->GetItemCount() < 3) return;
  ui::Menu* third = menu->GetSubMenu(2);
  if (third == nullptr) return;
  const SleepDstrbParam& p = doc->Params.sleepDstrb;
  // The channels of the ten recognisers.
  const std::int32_t channels[] = {p.airFlow.channel, p.chest.channel,    p.abdomen.channel, p.spo2Channel,
                                   p.snore.channel,   p.legLeft.channel,  p.legRight.channel, p.ecgChannel,
                                   p.positionChannel, p.arousal.channel};
  const std::int32_t count = doc->RecordInfo.channelCount;
  const bool used = count >= 1 && std::any_of(std::begin(channels), std::end(channels),
                                              [count](std::int32_t ch) { return ch >= 0 && ch < count; });
  if (used) {
    if (third->Contains(kCmdSleepDisturbance)) return;
    const int logic = third->FindPosition(kCmdModifyLogic);
    if (logic >= 0) third->InsertItem(logic + 1, kCmdSleepDisturbance, "Sleep Disturbance");
  } else {
    third->DeleteCommand(kCmdSleepDisturbance);
  }
}

void CMainFrame::OnDropFiles(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (IsResultFileName(path)) {
      OpenResultFile(path);
      continue;
    }
    ui::App* app = ui::App::Current();
    if (app == nullptr) continue;
    if (ui::Document* opened = app->OpenDocumentFile(path)) {
      // The recording's own path names the document (and enters the recent files).
      const auto* doc = dynamic_cast<const CQLM2_AnalyzerDoc*>(opened);
      if (doc != nullptr && !doc->RecordInfo.path.empty()) opened->SetPathName(doc->RecordInfo.path, true);
    }
  }
}

CQLM2_AnalyzerDoc* CMainFrame::GetDocument() { return dynamic_cast<CQLM2_AnalyzerDoc*>(GetActiveDocument()); }

void CMainFrame::RedrawRawFrames(std::int16_t row) {
  if (LyrRawDummyView* raw = RawView()) {
    for (int r : RawRowsToRepaint(row)) {
      if (LyrRawFrame* frame = raw->Row(r)) {
        frame->SetRowHeights();  // the divided-page mode may have changed
        frame->RedrawWindow();
      }
    }
  }
  RedrawPageFFTViews();
}

void CMainFrame::RefreshAllViews(std::int16_t row) {
  const CQLM2_AnalyzerDoc* doc = GetDocument();
  LyrRawDummyView* raw = RawView();
  if (raw != nullptr) {
    for (int r : RawRowsToRefresh(row, doc != nullptr ? doc->PageRows : 1)) {
      LyrRawFrame* frame = raw->Row(r);
      if (frame != nullptr && frame->AreaView() != nullptr) frame->AreaView()->RedrawWindow();
    }
  }
  RedrawPageFFTViews();
}

void CMainFrame::RedrawPageFFTViews() {
  if (DividedFftMode == 0) return;
  LyrRawDummyView* raw = RawView();
  if (raw == nullptr) return;
  for (int r = 0; r < kRawRowCount; ++r) {
    LyrRawFrame* frame = raw->Row(r);
    if (frame != nullptr && frame->FftView() != nullptr) frame->FftView()->RedrawWindow();
  }
}

int CMainFrame::ReadResumeFile(std::uint16_t part) {
  if (sys::IsKeyDown(sys::VirtualKey::Control)) return 0;
  if (part == 0) return ResumeFile::ReadGlobal(ResumeFile::Path()) != 0 ? 1 : 0;
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return 0;
  return ResumeFile::ReadDocument(ResumeFile::Path(), doc->Params, doc->ChInfo) != 0 ? 1 : 0;
}

int CMainFrame::WriteResumeFile() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return 0;
  std::string failure;
  const int written = ResumeFile::Write(ResumeFile::Path(), doc->Params, doc->ChInfo, &failure);
  if (written == 0 && !failure.empty()) ui::MessageBox(failure);
  return written;
}

void CMainFrame::ApplyAnimalSetting() {
  if (CQLM2_AnalyzerDoc* doc = GetDocument()) ::ApplyAnimalSetting(doc->Params);
}

bool CMainFrame::ForbidsClosingRecording() const {
  return ScreeningDlg != nullptr || LogicDlg != nullptr || WaveFormRecognitionDlg != nullptr ||
         SleepDisturbanceParentDlg != nullptr || MultiScreeningDlg != nullptr || IsReportDlgOpen() ||
         (MakeAviDlg != nullptr && AviRunning != 0);
}

void CMainFrame::LoadDefaultGlobalSettings() {
  InitScreenItemFonts();
  SetDefaultSettings();
}

void CMainFrame::SaveEditedVideoRanges() {
  if (CVPInfoExchange* video = VideoController()) video->SaveEditedRanges();
}
