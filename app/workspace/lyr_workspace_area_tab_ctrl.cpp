#include "app/workspace/lyr_workspace_area_tab_ctrl.h"

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/trend/lyr_trend_info_area_view.h"
#include "app/trend/trend_dummy_view.h"
#include "app/workspace/lyr_workspace_data_info_view.h"
#include "app/workspace/lyr_workspace_logic_view.h"
#include "app/workspace/lyr_workspace_search_views.h"
#include "app/workspace/lyr_workspace_mark_view.h"
#include "app/workspace/lyr_workspace_stage_graph_view.h"
#include "app/workspace/lyr_workspace_vsp_view.h"
#include "app/workspace/lyr_workspace_zoom_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "app/workspace/workspace_placeholder_panes.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"

namespace {
// Texts of the nine main tabs, in tab order.
constexpr std::uint32_t kStrFirstTab = 62307;
constexpr int kMainTabs = 9;
constexpr std::uint32_t kStrSimple = 65223;
constexpr std::uint32_t kStrEpoch = 65224;
constexpr std::uint32_t kStrFree = 65225;
constexpr std::uint32_t kStrStageTab = 65226;
constexpr std::uint32_t kStrEventTab = 65227;
constexpr std::uint32_t kStrArtifact = 65228;
// The panes of the Search buttons, in button order.
constexpr int kSearchPaneOfButton[4] = {7, 9, 10, 8};

ui::CreateContext ContextOf(const ui::Window* w) {
  ui::CreateContext context;
  for (; w != nullptr; w = w->GetParent())
    if (const auto* view = dynamic_cast<const ui::View*>(w)) {
      context.currentDocument = view->GetDocument();
      break;
    }
  return context;
}

// Makes a pane under a strip, reporting a failure with the strip's name.
template <class Pane>
bool MakePane(Pane& pane, ui::TabStrip& strip, const ui::CreateContext& context, const char* where) {
  if (pane.CreateView(&strip, 0, context, strip.GetDisplayRect())) return true;
  ui::MessageBox(where);
  return false;
}

void ShowIf(ui::Window* w, bool show) {
  if (w != nullptr && w->IsWindow()) w->ShowWindow(show ? ui::SW_SHOW : ui::SW_HIDE);
}
}  // namespace

// ---- FFT button strip ---------------------------------------------------------------------

LyrWorkspaceAreaFFTTabCtrl::LyrWorkspaceAreaFFTTabCtrl(LyrWorkspaceAreaTabCtrl& owner) : owner_(owner) {
  SetButtonStyle(true);
}

LyrWorkspaceAreaFFTTabCtrl::~LyrWorkspaceAreaFFTTabCtrl() = default;

int LyrWorkspaceAreaFFTTabCtrl::OnCreate() {
  if (ui::TabStrip::OnCreate() == -1) return -1;
  const ui::CreateContext context = ContextOf(this);
  EpochPane = std::make_unique<LyrWorkspaceFFTEpochView>();
  SimplePane = std::make_unique<LyrWorkspaceFFTSimpleView>();
  MakePane(*EpochPane, *this, context, "LyrWorkspaceAreaFFTTabCtrl::OnCreate");
  MakePane(*SimplePane, *this, context, "LyrWorkspaceAreaFFTTabCtrl::OnCreate");
  return 0;
}

void LyrWorkspaceAreaFFTTabCtrl::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::TabStrip::OnSize(sizeType, cx, cy);
  if (GetCurSel() < 0) return;
  const ui::Rect r = GetDisplayRect();
  for (ui::Window* pane : {static_cast<ui::Window*>(SimplePane.get()), static_cast<ui::Window*>(EpochPane.get())})
    if (pane != nullptr && pane->IsWindow()) pane->MoveWindow(r);
}

void LyrWorkspaceAreaFFTTabCtrl::OnSelChange() {
  owner_.CurrentPane = owner_.GetCurrentPane();
  owner_.ShowSelectedPane(owner_.CurrentPane);
}

// ---- Search button strip ------------------------------------------------------------------

LyrWorkspaceAreaSearchTabCtrl::LyrWorkspaceAreaSearchTabCtrl(LyrWorkspaceAreaTabCtrl& owner) : owner_(owner) {
  SetButtonStyle(true);
}

LyrWorkspaceAreaSearchTabCtrl::~LyrWorkspaceAreaSearchTabCtrl() = default;

int LyrWorkspaceAreaSearchTabCtrl::OnCreate() {
  if (ui::TabStrip::OnCreate() == -1) return -1;
  const ui::CreateContext context = ContextOf(this);
  FreePane = std::make_unique<LyrWorkspaceSearchFreeView>();
  StagePane = std::make_unique<LyrWorkspaceSearchStageView>();
  EventPane = std::make_unique<LyrWorkspaceSearchEventView>();
  ArtifactPane = std::make_unique<LyrWorkspaceSearchArtifactView>();
  constexpr const char* kWhere = "LyrWorkspaceAreaSearchTabCtrl::OnCreate";
  MakePane(*FreePane, *this, context, kWhere);
  MakePane(*StagePane, *this, context, kWhere);
  MakePane(*EventPane, *this, context, kWhere);
  MakePane(*ArtifactPane, *this, context, kWhere);
  return 0;
}

void LyrWorkspaceAreaSearchTabCtrl::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::TabStrip::OnSize(sizeType, cx, cy);
  if (GetCurSel() < 0) return;
  const ui::Rect r = GetDisplayRect();
  for (ui::Window* pane : {static_cast<ui::Window*>(FreePane.get()), static_cast<ui::Window*>(ArtifactPane.get()),
                           static_cast<ui::Window*>(StagePane.get()), static_cast<ui::Window*>(EventPane.get())})
    if (pane != nullptr && pane->IsWindow()) pane->MoveWindow(r);
}

void LyrWorkspaceAreaSearchTabCtrl::OnSelChange() {
  owner_.CurrentPane = owner_.GetCurrentPane();
  owner_.ShowSelectedPane(owner_.CurrentPane);
}

// ---- Main strip ---------------------------------------------------------------------------

LyrWorkspaceAreaTabCtrl::LyrWorkspaceAreaTabCtrl() = default;

LyrWorkspaceAreaTabCtrl::~LyrWorkspaceAreaTabCtrl() = default;

int LyrWorkspaceAreaTabCtrl::TabFontHeight() { return res::CurrentLanguage() == res::Language::Japanese ? 12 : 10; }

bool LyrWorkspaceAreaTabCtrl::CreateStrip(ui::Window* area) {
  if (area == nullptr) return false;
  SetMultiLine(draw::GetScreenMetrics().widthPx >= 1280);
  if (!Create(area, 0, area->GetClientRect(), true)) return false;
  for (int t = 0; t < kMainTabs; ++t) InsertItem(t, res::LoadString(kStrFirstTab + static_cast<std::uint32_t>(t)));
  SelectPane(0);
  const ui::Rect r = GetClientRect();
  OnSize(0, r.Width(), r.Height());
  return true;
}

int LyrWorkspaceAreaTabCtrl::OnCreate() {
  if (ui::TabStrip::OnCreate() == -1) return -1;
  const ui::CreateContext context = ContextOf(this);
  constexpr const char* kWhere = "LyrWorkspaceAreaTabCtrl::OnCreate";
  // The video pane is made first, so that it lies under every other pane.
  VideoPane = std::make_unique<LyrWorkspaceDummyVideoView>();
  if (!VideoPane->CreateView(this, 0, context, GetDisplayRect())) ui::MessageBox("LyrWorkspaceDummyVideoView::OnCreate");
  DataInfoPane = std::make_unique<LyrWorkspaceDataInfoView>();
  MakePane(*DataInfoPane, *this, context, kWhere);
  if (ZoomPane != nullptr && !ZoomPane->IsWindow()) MakePane(*ZoomPane, *this, context, kWhere);
  LogicPane = std::make_unique<LyrWorkspaceLogicView>();
  MakePane(*LogicPane, *this, context, kWhere);
  FFTStrip = std::make_unique<LyrWorkspaceAreaFFTTabCtrl>(*this);
  if (FFTStrip->Create(this, 0, GetDisplayRect(), true)) {
    FFTStrip->InsertItem(0, res::LoadString(kStrSimple));
    FFTStrip->InsertItem(1, res::LoadString(kStrEpoch));
    FFTStrip->SetCurSel(1);
  } else {
    ui::MessageBox(kWhere);
  }
  VSPPane = std::make_unique<LyrWorkspaceVSPView>();
  MakePane(*VSPPane, *this, context, kWhere);
  StageGraphPane = std::make_unique<LyrWorkspaceStageGraphView>();
  StageGraphPane->UtilityMode = 0;
  MakePane(*StageGraphPane, *this, context, kWhere);
  SearchStrip = std::make_unique<LyrWorkspaceAreaSearchTabCtrl>(*this);
  if (SearchStrip->Create(this, 0, GetDisplayRect(), true)) {
    for (std::uint32_t t : {kStrFree, kStrStageTab, kStrEventTab, kStrArtifact}) SearchStrip->InsertItem(-1, res::LoadString(t));
    SearchStrip->SetCurSel(0);
  } else {
    ui::MessageBox(kWhere);
  }
  MarkPane = std::make_unique<LyrWorkspaceDummyMarkView>();
  if (!MarkPane->CreateView(this, 0, context, GetDisplayRect())) ui::MessageBox("LyrWorkspaceDummyMarkView::OnCreate");
  // The tab font: the menu font at the language's height, for the strips (and the zoom pane).
  const int height = TabFontHeight();
  FFTStrip->SetFontHeight(height);
  SearchStrip->SetFontHeight(height);
  SetFontHeight(height);
  return 0;
}

void LyrWorkspaceAreaTabCtrl::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::TabStrip::OnSize(sizeType, cx, cy);
  if (GetCurSel() < 0) return;
  const ui::Rect r = GetDisplayRect();
  for (int id : {0, 1, 4, 5, 6, 11, 12})
    if (ui::Window* pane = PaneWindow(id); pane != nullptr && pane->IsWindow()) pane->MoveWindow(r);
  for (ui::Window* strip : {static_cast<ui::Window*>(FFTStrip.get()), static_cast<ui::Window*>(SearchStrip.get())})
    if (strip != nullptr && strip->IsWindow()) strip->MoveWindow(r);
}

ui::Window* LyrWorkspaceAreaTabCtrl::PaneWindow(int id) const {
  switch (id) {
    case 0: return DataInfoPane.get();
    case 1: return ZoomPane;
    case 2: return FFTStrip ? FFTStrip->SimplePane.get() : nullptr;
    case 3: return FFTStrip ? FFTStrip->EpochPane.get() : nullptr;
    case 4: return LogicPane.get();
    case 5: return VSPPane.get();
    case 6: return StageGraphPane.get();
    case 7: return SearchStrip ? SearchStrip->FreePane.get() : nullptr;
    case 8: return SearchStrip ? SearchStrip->ArtifactPane.get() : nullptr;
    case 9: return SearchStrip ? SearchStrip->StagePane.get() : nullptr;
    case 10: return SearchStrip ? SearchStrip->EventPane.get() : nullptr;
    case 11: return MarkPane.get();
    case 12: return VideoPane.get();
    default: return nullptr;
  }
}

int LyrWorkspaceAreaTabCtrl::GetCurrentPane() const {
  switch (GetCurSel()) {
    case 0: return 0;
    case 1: return 1;
    case 2: return 4;
    case 3: {
      const int sub = FFTStrip ? FFTStrip->GetCurSel() : -1;
      return sub == 0 ? 2 : sub == 1 ? 3 : 0;
    }
    case 4: return 5;
    case 5: return 6;
    case 6: {
      const int sub = SearchStrip ? SearchStrip->GetCurSel() : -1;
      return sub >= 0 && sub < 4 ? kSearchPaneOfButton[sub] : 0;
    }
    case 7: return 11;
    case 8: return 12;
    default: return 0;
  }
}

void LyrWorkspaceAreaTabCtrl::OnSelChange() {
  CurrentPane = GetCurrentPane();
  SelectedTab = TabOfPane(CurrentPane);
  ShowSelectedPane(CurrentPane);
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  if (frame != nullptr)
    if (LyrTrendDummyView* trend = frame->TrendView())
      if (LyrTrendInfoAreaView* info = trend->InfoArea()) info->EnableThresholdEdit();
  if (CurrentPane == LyrWorkspaceDummyView::kMarkListPane && MarkWindowDocked != 0 && frame != nullptr) {
    if (LyrWorkspaceDummyView* ws = frame->WorkspaceView()) {
      if (LyrWorkspaceMarkView* marks = ws->MarkView()) {
        marks->MarkForRefill();
        marks->UpdateMarkList();
      }
    }
  }
}

int LyrWorkspaceAreaTabCtrl::TabOfPane(int id) {
  // Tabs: DataInfo, Zoom, Logic, FFT (panes 2, 3), VigilanceState, StageGraph, Search (7-10),
  // Mark, Video.
  switch (id) {
    case 0: return 0;
    case 1: return 1;
    case 4: return 2;
    case 2:
    case 3: return 3;
    case 5: return 4;
    case 6: return 5;
    case 7:
    case 8:
    case 9:
    case 10: return 6;
    case 11: return 7;
    case 12: return 8;
    default: return 0;
  }
}

void LyrWorkspaceAreaTabCtrl::SelectPane(int id) {
  SelectedTab = TabOfPane(id);
  CurrentPane = id;
  SetCurSel(SelectedTab);
  if ((id == 2 || id == 3) && FFTStrip) FFTStrip->SetCurSel(id - 2);
  if (id >= 7 && id <= 10 && SearchStrip) {
    for (int b = 0; b < 4; ++b)
      if (kSearchPaneOfButton[b] == id) SearchStrip->SetCurSel(b);
  }
}

void LyrWorkspaceAreaTabCtrl::ShowSelectedPane(int id) {
  for (int p = 0; p < 12; ++p) ShowIf(PaneWindow(p), false);
  ShowIf(FFTStrip.get(), false);
  ShowIf(SearchStrip.get(), false);
  if (id != 12) ShowIf(PaneWindow(id), true);
  if (id == 2 || id == 3) ShowIf(FFTStrip.get(), true);
  if (id >= 7 && id <= 10) ShowIf(SearchStrip.get(), true);
  if (id < 13) RawPreviewMode = id == 1 ? 4 : id == 2 ? 2 : 0;
  VideoWindowShown = (id == 12 || VideoWindowFloating != 0) ? 1 : 0;
}

bool LyrWorkspaceAreaTabCtrl::IsLogicPaneActive() const {
  return DocumentLoaded != 0 && ResultModifiedState != 0 && ScreeningRunning != 1 && CurrentPane == 4;
}
