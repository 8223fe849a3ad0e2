#include "app/results/lyr_utility_hypnogram_frame.h"

#include <algorithm>
#include <cstdio>

#include "app/frame/frame_globals.h"
#include "app/frame/help_commands.h"
#include "app/frame/program_settings.h"
#include "app/results/hypnogram_printing.h"
#include "app/results/lyr_dlg_stage_compare.h"
#include "app/results/lyr_dlg_utility.h"
#include "app/results/lyr_utility_stage_views.h"
#include "app/results/result_analysis_file.h"
#include "app/results/result_strings.h"
#include "app/results/utility_result_file_dialogs.h"
#include "app/trend/hypnogram_span_table.h"
#include "app/trend/lyr_trend_tool.h"
#include "app/workspace/lyr_workspace_dlg_stage_graph.h"
#include "app/workspace/lyr_workspace_stage_graph_view.h"
#include "common/draw/fyn_bitmap.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/control_bar.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"
#include "platform/ui/print_dialog.h"
#include "platform/ui/window_image.h"

namespace {
constexpr std::uint32_t kCmdClose = 57602;
constexpr int kDisplayBarId = 59420;
constexpr std::uint32_t kStrPrintFailed = 63480;

// The locale's short date as the date labels of the program show it.
std::string ShortDate(int year, int month, int day) {
  char text[32];
  if (res::CurrentLanguage() == res::Language::Japanese)
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", year, month, day);
  else
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", day, month, year);
  return text;
}

int MulDiv(int a, int b, int c) { return c != 0 ? static_cast<int>(static_cast<long long>(a) * b / c) : 0; }
}  // namespace

LyrUtilityHypnogramFrame::LyrUtilityHypnogramFrame(ui::Window* owner) : owner_(owner) {
  // The user works in this window until it is closed.
  if (owner_ != nullptr && owner_->IsWindow()) owner_->EnableWindow(false);
  MapCommands();
}

LyrUtilityHypnogramFrame::~LyrUtilityHypnogramFrame() {
  ReleasePanes();
  if (owner_ != nullptr && owner_->IsWindow()) owner_->EnableWindow(true);
}

void LyrUtilityHypnogramFrame::ReleasePanes() {
  // The panes outlive the frame's own members: they forget it first.
  if (stageView_ != nullptr) {
    stageView_->RemoveAllFileLines();
    stageView_->Owner = nullptr;
  }
  if (graphView_ != nullptr) {
    for (int slot = 0; slot < kUtilityFileSlots; ++slot) graphView_->RemoveStageGraph(slot);
    graphView_->Owner = nullptr;
  }
  StageAreas.clear();
}

void LyrUtilityHypnogramFrame::MapCommands() {
  const auto anyFile = [this](ui::CmdUI& cmd) { cmd.Enable(Files.Count() >= 1); };
  MapCommand(kCmdClose, [this] { OnExit(); });
  MapCommand(ID_UTILITY_FILE_OPEN, [this] { OnFileOpen(); });
  MapCommand(ID_UTILITY_FILE_CLOSE, [this] { OnFileClose(); });
  MapUpdate(ID_UTILITY_FILE_CLOSE, anyFile);
  MapCommand(ID_UTILITY_BITMAP, [this] { OnBitmap(); });
  MapUpdate(ID_UTILITY_BITMAP, anyFile);
  MapCommand(ID_UTILITY_PRINT, [this] { OnPrint(); });
  MapUpdate(ID_UTILITY_PRINT, anyFile);
  MapCommand(ID_UTILITY_EXIT, [this] { OnExit(); });
  MapCommand(ID_UTILITY_WINDOW_SETTING, [this] { OnWindowSetting(); });
  MapCommand(ID_UTILITY_STAGE, [this] { OnStage(); });
  MapCommand(ID_UTILITY_STAGE_GRAPH_WINDOW, [this] { OnStageGraphWindow(); });
  MapUpdate(ID_UTILITY_STAGE_GRAPH_WINDOW, [this](ui::CmdUI& cmd) { cmd.SetCheck(StageGraphShown ? 1 : 0); });
  MapCommand(ID_UTILITY_STAGE_COMPARE, [this] { OnStageCompare(); });
  MapUpdate(ID_UTILITY_STAGE_COMPARE, [this](ui::CmdUI& cmd) { cmd.Enable(Files.Count() >= 2); });
  MapCommand(ID_UTILITY_FILE_INFORMATION, [this] { OnFileInformation(); });
  MapUpdate(ID_UTILITY_FILE_INFORMATION, anyFile);
  MapCommand(ID_UTILITY_STAGE_GRAPH_SETUP, [this] { OnStageGraphSetup(); });
  MapUpdate(ID_UTILITY_STAGE_GRAPH_SETUP, anyFile);
  MapCommand(ID_UTILITY_STAGE_GRAPH_TEXT, [this] { OnStageGraphText(); });
  MapUpdate(ID_UTILITY_STAGE_GRAPH_TEXT, anyFile);
  MapCommand(ID_UTILITY_HELP_TOPICS, [] { OpenHelpTopics(); });
  MapNotify(IDC_UTILITY_DISPLAY_TIME, ui::CBN_SELCHANGE, [this] { OnDisplayTimeChange(); });
}

// ---- Creation and end --------------------------------------------------------------------------

int LyrUtilityHypnogramFrame::OnCreate() {
  if (ui::Frame::OnCreate() != 0) return -1;
  auto bar = std::make_unique<ui::DialogBar>();
  if (bar->CreateBar(this, IDD_UTILITY_DISPLAY_BAR, kDisplayBarId)) {
    bar_ = Adopt(std::move(bar));
    DockControlBar(bar_);
    ui::Control box = bar_->Item(IDC_UTILITY_DISPLAY_TIME);
    for (int row = 0; row <= kHypnogramSpanFree; ++row) box.AddString(HypnogramSpanText(row));
    SyncDisplayTimeBox();
  }
  return 0;
}

bool LyrUtilityHypnogramFrame::OnCreateClient(ui::CreateContext* context) {
  ui::CreateContext ctx = context != nullptr ? *context : ui::CreateContext{};
  auto splitter = std::make_unique<LyrSplitterWnd>();
  splitter->SplitterKind = 3;
  splitter->ApplySplitterStyle();
  if (!splitter->CreateStatic(this, 1, 2)) {
    ui::MessageBox("LyrUtilityHypnogramFrame::OnCreateClient1");
    return true;
  }
  splitter_ = Adopt(std::move(splitter));
  const ui::Rect r = GetClientRect();
  auto stage = std::make_unique<LyrUtilityStageDummyView>(this);
  LyrUtilityStageDummyView* stageRaw = stage.get();
  if (splitter_->CreateView(0, 0, std::move(stage), ui::Size{r.Width() / 2, r.Height()}, &ctx)) stageView_ = stageRaw;
  else ui::MessageBox("LyrUtilityHypnogramFrame::OnCreateClient2");
  auto graph = std::make_unique<LyrUtilityStageGraphDummyView>(this);
  LyrUtilityStageGraphDummyView* graphRaw = graph.get();
  if (splitter_->CreateView(0, 1, std::move(graph), ui::Size{r.Width() / 4, r.Height()}, &ctx)) graphView_ = graphRaw;
  else ui::MessageBox("LyrUtilityHypnogramFrame::OnCreateClient3");
  return true;
}

void LyrUtilityHypnogramFrame::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::Frame::OnSize(sizeType, cx, cy);
  ApplyColumnWidths();
}

void LyrUtilityHypnogramFrame::OnClose() { OnExit(); }

void LyrUtilityHypnogramFrame::OnExit() {
  // Cancel, or a save that did not happen, keeps the window and the changes.
  if (!CheckSaveFiles()) return;
  DestroyWindow();
}

void LyrUtilityHypnogramFrame::OnDestroy() {
  ReleasePanes();
  Files.CloseAll();
  if (owner_ != nullptr && owner_->IsWindow()) {
    owner_->EnableWindow(true);
    if (auto* frame = dynamic_cast<ui::Frame*>(owner_)) frame->ActivateFrame();
  }
  ui::Frame::OnDestroy();
}

void LyrUtilityHypnogramFrame::PostNcDestroy() {
  ui::Frame::PostNcDestroy();
  if (Closed) Closed();
}

// ---- Columns -----------------------------------------------------------------------------------

void LyrUtilityHypnogramFrame::ApplyColumnWidths() {
  if (splitter_ == nullptr || !splitter_->IsWindow()) return;
  const int width = splitter_->GetClientRect().Width();
  splitter_->SetColumnInfo(0, static_cast<int>((1.0 - StageGraphShare) * width), 0);
  splitter_->SetColumnInfo(1, static_cast<int>(StageGraphShare * width), 0);
  splitter_->RecalcLayout();
}

void LyrUtilityHypnogramFrame::OnSplitterDragged(LyrSplitterWnd& splitter) {
  // RecalcScale: the stage-graph column's share of the width; 0 while it is hidden.
  if (!StageGraphShown) return;
  int current = 0, minimum = 0;
  splitter.GetColumnInfo(1, current, minimum);
  StageGraphShare = static_cast<double>(current) / (splitter.GetClientRect().Width() + 1);
}

void LyrUtilityHypnogramFrame::OnStageGraphWindow() {
  if (StageGraphShown) {
    SavedStageGraphShare = StageGraphShare;
    StageGraphShare = 0.0;
  } else {
    StageGraphShare = SavedStageGraphShare;
  }
  StageGraphShown = !StageGraphShown;
  ApplyColumnWidths();
}

// ---- What the panes ask ------------------------------------------------------------------------

UtilityTimeScale LyrUtilityHypnogramFrame::TimeScale() const {
  return {LyrTrendTool::GetTimeScaleStep(std::max(m_TimeScaleMinutes, 1)) * 60, ClockTimeDisplay != 0};
}

void LyrUtilityHypnogramFrame::GetStageTypeParam(int file, StageTypeParam& out) const {
  Files.GetStageTypeParam(file, out);
}

int LyrUtilityHypnogramFrame::GetStage(int file, int mode, std::int32_t epoch, int slot) const {
  return Files.GetStage(file, mode, epoch, slot);
}

int LyrUtilityHypnogramFrame::EpochCount(int file) const {
  const UtilityResultFileRec* f = Files.File(file);
  return f != nullptr ? f->epochCount : 0;
}

std::int32_t LyrUtilityHypnogramFrame::GetTimeScaleStart(int file, std::int32_t epoch, std::int32_t& start,
                                                         std::int32_t& end) const {
  return Files.GetTimeScaleStart(file, epoch, TimeScale(), start, end);
}

int LyrUtilityHypnogramFrame::IsTimeScaleEpoch(int file, std::int32_t epoch) const {
  return Files.IsTimeScaleEpoch(file, epoch, TimeScale());
}

int LyrUtilityHypnogramFrame::GetTimeScaleOffset(int file, int, std::int32_t epoch, int width) const {
  return Files.GetTimeScaleOffset(file, epoch, width, TimeScale());
}

std::int32_t LyrUtilityHypnogramFrame::GetEpochMarker(int file, int mode) const {
  return Files.GetEpochMarker(file, mode);
}

void LyrUtilityHypnogramFrame::SetCursorEpoch(int file, int line, std::int32_t epoch) {
  if (line == -1 && stageView_ != nullptr) {
    line = Files.FindCursorLine(epoch, [this](int slot, int l, std::int32_t& first, std::int32_t& last) {
      LyrUtilityStageAreaDummyView* band = stageView_->Band(slot);
      if (band == nullptr || l >= band->LineCount()) return false;
      const int perLine = band->EpochsPerLine();
      first = band->GetEpochAt(l * perLine);
      last = band->GetEpochAt((l + 1) * perLine - 1);
      return true;
    });
  }
  CurrentFile = file;
  CurrentLine = std::max(line, 0);
  Files.SetCursorEpoch(file, epoch);
}

void LyrUtilityHypnogramFrame::ClearEpochMarkers(int mode) { Files.ClearEpochMarkers(mode); }

void LyrUtilityHypnogramFrame::RedrawStageAreas() {
  ++StageAreaRedraws;
  for (ui::Window* w : StageAreas)
    if (w != nullptr && w->IsWindow()) w->Invalidate(false);
  if (stageView_ != nullptr) stageView_->RedrawLines();
}

LyrUtilityHypnogramFrame::TimeParts LyrUtilityHypnogramFrame::GetEpochTimeParts(int file, std::int32_t epoch) const {
  return Files.GetEpochTimeParts(file, epoch, TimeScale());
}

std::string LyrUtilityHypnogramFrame::GetEpochTimeString(int file, std::int32_t epoch) const {
  return Files.GetEpochTimeString(file, epoch, TimeScale(), ShortDate);
}

std::string LyrUtilityHypnogramFrame::FileNameOf(int file) const {
  const UtilityResultFileRec* f = Files.File(file);
  return f != nullptr ? sys::FileNameOf(f->path) : std::string();
}

// ---- Files -------------------------------------------------------------------------------------

bool LyrUtilityHypnogramFrame::OpenResultFile(const std::string& path) {
  if (Files.IsFull()) return false;
  ResultFileMessageBoxes boxes;
  if (Files.ReadResultFile(path, m_TimeScaleMinutes, boxes) != 1) return false;
  ShowLoadedFile(Files.Count() - 1);
  return true;
}

void LyrUtilityHypnogramFrame::ShowLoadedFile(int slot) {
  const UtilityResultFileRec* f = Files.File(slot);
  if (f == nullptr) return;
  if (stageView_ != nullptr) {
    stageView_->AddFileLines(slot + 1, m_TimeScaleMinutes, f->epochTime, f->epochCount);
    stageView_->ScrollTo(stageView_->ScrollPosition);
  }
  if (graphView_ != nullptr) {
    graphView_->AddStageGraph(slot);
    graphView_->LayoutStageGraphs();
  }
  SyncDisplayTimeBox();
  Invalidate(false);
}

void LyrUtilityHypnogramFrame::OnFileOpen() {
  ResultFileMessageBoxes boxes;
  const int slot = OpenUtilityResultFile(Files, m_TimeScaleMinutes, this, boxes);
  if (slot >= 0) ShowLoadedFile(slot);
}

void LyrUtilityHypnogramFrame::OnFileClose() {
  std::vector<std::string> paths;
  for (int slot = 0; slot < Files.Count(); ++slot) paths.push_back(Files.File(slot)->path);
  LyrDlgUtilityClose dlg(paths, this);
  if (dlg.DoModal() != ui::IDOK) return;
  std::array<bool, kUtilityFileSlots> close{};
  for (std::size_t i = 0; i < paths.size(); ++i) close[i] = dlg.m_CloseFlags[i] == 1;
  CloseFiles(close);
}

void LyrUtilityHypnogramFrame::CloseFiles(const std::array<bool, kUtilityFileSlots>& close) {
  const std::array<int, kUtilityFileSlots> moves = Files.CloseFiles(close);
  if (graphView_ != nullptr) graphView_->MoveStageGraphs(moves);
  if (stageView_ != nullptr) {
    const int position = stageView_->ScrollPosition;
    stageView_->RebuildFileLines(m_TimeScaleMinutes);
    stageView_->ScrollTo(Files.Count() > 0 ? position : 0);
    stageView_->Invalidate(false);
  }
  if (graphView_ != nullptr) graphView_->Invalidate(false);
}

bool LyrUtilityHypnogramFrame::CheckSaveFiles() {
  ResultFileMessageBoxes boxes;
  return ::CheckSaveFiles(Files, boxes, [this](int slot) { return SaveResultFile(slot); });
}

bool LyrUtilityHypnogramFrame::SaveResultFile(int slot) {
  ResultFileMessageBoxes boxes;
  return SaveUtilityResultFile(Files, slot, this, boxes);
}

// ---- Display time, lines and stages ------------------------------------------------------------

void LyrUtilityHypnogramFrame::SyncDisplayTimeBox() {
  if (bar_ == nullptr) return;
  bar_->Item(IDC_UTILITY_DISPLAY_TIME).SetCurSel(HypnogramSpanRowOf(m_TimeScaleMinutes));
}

void LyrUtilityHypnogramFrame::SetDisplayMinutes(int minutes) {
  m_TimeScaleMinutes = std::clamp(minutes, 1, kUtilityMaxDisplayMinutes);
  Files.SetDisplayMinutes(m_TimeScaleMinutes);
  if (stageView_ != nullptr) {
    stageView_->RebuildFileLines(m_TimeScaleMinutes);
    stageView_->Invalidate(false);
  }
}

void LyrUtilityHypnogramFrame::OnDisplayTimeChange() {
  if (bar_ == nullptr) return;
  const int row = bar_->Item(IDC_UTILITY_DISPLAY_TIME).GetCurSel();
  if (row < 0) return;
  int minutes = HypnogramSpanTable[static_cast<std::size_t>(row)].minutes;
  if (row == kHypnogramSpanFree) {
    LyrDlgUtilityDisplayTime dlg(m_TimeScaleMinutes, this);
    if (dlg.DoModal() != ui::IDOK) {
      SyncDisplayTimeBox();
      return;
    }
    minutes = dlg.m_Minutes;
  }
  SetDisplayMinutes(minutes);
  SyncDisplayTimeBox();
}

void LyrUtilityHypnogramFrame::OnWindowSetting() {
  LyrDlgUtilityWindowSetting dlg(HypnogramSettingWord, m_TimeScaleMinutes, this);
  if (dlg.DoModal() != ui::IDOK) return;
  SetHypnogramSettingWord(static_cast<std::int16_t>(dlg.m_Lines));
  SetDisplayMinutes(dlg.m_Minutes);
  SyncDisplayTimeBox();
}

void LyrUtilityHypnogramFrame::OnStage() {
  LyrDlgUtilitySetup dlg(SetupMode, SetupStageType, SetupFreeCount, this);
  if (dlg.DoModal() != ui::IDOK) return;
  SetupMode = dlg.m_Mode;
  SetupStageType = dlg.m_StageType;
  SetupFreeCount = dlg.m_FreeCount;
  ApplySetup();
}

void LyrUtilityHypnogramFrame::ApplySetup() {
  for (int slot = 0; slot < Files.Count(); ++slot) {
    UtilityResultFileRec* f = Files.File(slot);
    if (SetupMode == 0) {
      f->stageType = f->storedStageType;
    } else {
      f->stageType.stageType = static_cast<std::uint16_t>(std::min<int>(SetupStageType, 3));
      f->stageType.sharedInUse = static_cast<std::uint16_t>(std::min<int>(SetupFreeCount, 3));
    }
  }
  if (stageView_ != nullptr) {
    stageView_->LayoutFileLines();
    stageView_->RedrawLines();
  }
  if (graphView_ != nullptr) {
    graphView_->LayoutStageGraphs();
    for (int slot = 0; slot < Files.Count(); ++slot)
      if (LyrWorkspaceStageGraphView* g = graphView_->Graph(slot); g != nullptr && g->IsWindow()) g->Invalidate(false);
  }
}

// ---- Tools -------------------------------------------------------------------------------------

void LyrUtilityHypnogramFrame::OnStageCompare() {
  if (Files.Count() < 2) return;
  LyrDlgStageCompare dlg(&Files, this);
  dlg.DoModal();
}

void LyrUtilityHypnogramFrame::OnFileInformation() {
  std::vector<UtilityFileSummary> files;
  for (int slot = 0; slot < Files.Count(); ++slot) {
    const UtilityResultFileRec* f = Files.File(slot);
    UtilityFileSummary s;
    s.path = f->path;
    s.record.subjectName = f->recordInfo.subjectName;
    s.record.gender = f->recordInfo.gender;
    s.record.ageYears = f->recordInfo.ageYears;
    s.record.ageMonths = f->recordInfo.ageMonths;
    s.record.memo = f->recordInfo.memo;
    s.record.freeComments = f->recordInfo.freeComments;
    s.memos = f->memos;
    files.push_back(std::move(s));
  }
  LyrDlgUtilityFileInformation dlg(std::move(files), this);
  dlg.DoModal();
}

void LyrUtilityHypnogramFrame::OnStageGraphSetup() {
  if (graphView_ == nullptr || Files.Count() == 0) return;
  // The range is chosen on the shortest file, which every file then shows by time.
  const int shortest = std::max(Files.FindShortestFile(), 0);
  LyrWorkspaceStageGraphView* pane = graphView_->Graph(shortest);
  if (pane == nullptr) return;
  LyrWorkspaceDlgStageGraph dlg(nullptr, pane, this);
  if (dlg.DoModal() != ui::IDOK) return;
  const int seconds = Files.File(shortest)->epochTime;
  std::array<std::uint16_t, 20> items{};
  std::copy_n(pane->StageItemFlags.begin(), items.size(), items.begin());
  graphView_->SetEpochRange(pane->FirstEpoch * seconds, pane->LastEpoch * seconds, items);
  graphView_->Invalidate(false);
}

void LyrUtilityHypnogramFrame::OnStageGraphText() {
  if (graphView_ == nullptr || Files.Count() == 0) return;
  std::vector<std::string> paths;
  for (int slot = 0; slot < Files.Count(); ++slot) paths.push_back(Files.File(slot)->path);
  LyrDlgUtilitySelectFile select(paths, this);
  if (select.DoModal() != ui::IDOK) return;
  if (LyrWorkspaceStageGraphView* pane = graphView_->Graph(select.m_Index)) pane->RunTextDialog();
}

// ---- Bitmap and printing -----------------------------------------------------------------------

int LyrUtilityHypnogramFrame::SaveBitmap(const std::string& path) {
  Invalidate(true);
  UpdateWindow();
  const ui::Rect rect = GetClientRect();
  if (rect.IsEmpty()) return 0;
  draw::Image surface = ui::RenderWindowImage(*this);
  if (surface.IsNull()) return 0;
  draw::Dc dc(surface);
  FynSaveBitmapFile bitmap(&dc, rect, nullptr, path.c_str());
  if (bitmap.InitTransaction() != 1) return 0;
  return bitmap.WriteBitmap();
}

void LyrUtilityHypnogramFrame::OnBitmap() {
  ui::FileDialog save(false, "bmp", {}, ui::OFN_OVERWRITEPROMPT | ui::OFN_HIDEREADONLY, "Bitmap(*.bmp)|*.bmp||", this);
  save.SetInitialFolder(LastFolderPath);
  if (save.DoModal() == ui::IDOK) SaveBitmap(save.GetPathName());
}

void LyrUtilityHypnogramFrame::OnPrint() {
  if (Files.Count() == 0) return;
  ui::PrintDialog dlg(this);
  dlg.SetPageRange(1, (Files.Count() + 2) / 3);
  dlg.Settings().page.documentName = "Hypnogram Utility";
  if (dlg.DoModal() != ui::IDOK) return;
  draw::PrintStatus status = draw::PrintStatus::Ok;
  std::unique_ptr<draw::PrintJob> job = dlg.OpenJob(&status);
  if (!job || PrintHypnograms(*job) == 0) ui::MessageBoxId(kStrPrintFailed, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

int LyrUtilityHypnogramFrame::PrintHypnograms(draw::PrintJob& job) {
  if (stageView_ == nullptr || Files.Count() == 0) return 0;
  draw::Dc& dc = job.GetDc();
  ::OnBeginPrinting(dc);
  PrintTarget = 2;
  const draw::Font oldFont = dc.SelectFont(PrintFont());
  const ui::Rect r = job.PageRect();
  const int m = MulDiv(20, dc.GetDeviceCaps(draw::HORZRES), std::max(1, dc.GetDeviceCaps(draw::HORZSIZE)));
  const int h = dc.GetTextExtent("MM").cy;
  const int block = (r.bottom - r.top - 100) / 3;
  int pages = 0;
  bool ok = true;
  // The "Day" of the first shown epoch at the foot of each page.
  const auto footer = [&] {
    dc.SetBkMode(draw::TRANSPARENT);
    dc.SetTextColor(0);
    dc.TextOut(r.left + 5, r.bottom - 5 - h, stageView_->DayTitle());
  };
  for (int k = 0; k < Files.Count() && ok; ++k) {
    if (k % 3 == 0) {
      if (k > 0) {
        footer();
        ok = job.EndPage() == draw::PrintStatus::Ok;
      }
      ok = ok && job.StartPage() == draw::PrintStatus::Ok;
      if (!ok) break;
      ++pages;
    }
    LyrUtilityStageAreaDummyView* band = stageView_->Band(k);
    if (band == nullptr) continue;
    const int y = r.top + (k % 3) * block;
    const int lines = std::clamp(band->LineCount(), 1, LyrTrendStageAreaDummyView::kLineSlots);
    const int w = (r.right - m) / lines;
    for (int l = 0; l < lines; ++l) {
      if (LyrTrendStageAreaAxisView* axis = band->AxisView(l)) {
        axis->SetLabelRect(r.left, y + h + 100, r.left + m, y + block + 100);
        axis->Redraw(&dc);
      }
      if (LyrTrendStageAreaView* line = band->LineView(l)) {
        line->SetDrawRect(r.left + m + l * w, y + h + 100, r.left + m + (l + 1) * w, y + block + 100);
        line->DrawToDC(&dc);
      }
    }
  }
  if (ok) {
    footer();
    ok = job.EndPage() == draw::PrintStatus::Ok && job.EndDoc() == draw::PrintStatus::Ok;
  }
  if (!ok) job.Abort();
  dc.SelectFont(oldFont);
  ::OnEndPrinting();
  PrintTarget = 0;
  return ok ? pages : 0;
}
