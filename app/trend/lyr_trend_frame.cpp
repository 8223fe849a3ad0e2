#include "app/trend/lyr_trend_frame.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>

#include "app/document/epoch_table_bindings.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/pane_layout.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/trend/lyr_dlg_trend_graph_setting.h"
#include "app/trend/lyr_trend_info_area_view.h"
#include "app/trend/trend_dummy_view.h"
#include "app/trend/trend_settings.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kPrintFailed = 9703;
constexpr std::uint32_t kPrintNoPrinter = 9704;
constexpr std::uint32_t kPrintCannotOpen = 9705;
constexpr std::uint32_t kPrintBrokeOff = 9706;

bool Loaded() { return DocumentLoaded != 0; }
bool Screening() { return ScreeningRunning != 0; }

}  // namespace

LyrTrendFrame::LyrTrendFrame(LyrTrendDummyView* host) : host_(host) { MapTrendCommands(); }

LyrTrendFrame::~LyrTrendFrame() {
  if (nested_) {
    nested_->DestroyWindow();
    nested_.reset();
  }
  if (outer_) {
    outer_->DestroyWindow();
    outer_.reset();
  }
}

CQLM2_AnalyzerDoc* LyrTrendFrame::Document() const { return host_ != nullptr ? host_->Doc() : nullptr; }

LyrTrendInfoAreaView* LyrTrendFrame::InfoArea() const {
  return outer_ ? dynamic_cast<LyrTrendInfoAreaView*>(outer_->GetPane(0, 1)) : nullptr;
}

bool LyrTrendFrame::OnCreateClient(ui::CreateContext* context) {
  try {
    if (!outer_) outer_ = std::make_unique<LyrSplitterWnd>();
    if (!nested_) nested_ = std::make_unique<LyrSplitterWnd>();
  } catch (const std::exception&) {
    ui::MessageBox("LyrTrendFrame::OnCreateClient1");
    return false;
  }
  outer_->SplitterKind = 1;
  nested_->SplitterKind = 1;
  outer_->ApplySplitterStyle();
  nested_->ApplySplitterStyle();
  if (!outer_->CreateStatic(this, 1, 2)) {
    ui::MessageBox("LyrTrendFrame::OnCreateClient2");
    return false;
  }
  if (!nested_->CreateStatic(outer_.get(), 2, 1, outer_->IdFromRowCol(0, 0))) {
    ui::MessageBox("LyrTrendFrame::OnCreateClient3");
    return false;
  }
  const ui::Rect r = outer_->GetClientRect();
  const ui::Size half{r.Width() / 2, r.Height() * 3 / 4};
  ui::CreateContext none;
  const ui::CreateContext& ctx = context != nullptr ? *context : none;
  if (!outer_->CreateView(0, 1, std::make_unique<LyrTrendInfoAreaView>(host_), half, &ctx)) {
    ui::MessageBox("LyrTrendFrame::OnCreateClient4");
    return false;
  }
  // The two containers belong to the host view; the nested splitter shows them.
  if (host_ == nullptr || !host_->StageArea.CreateView(nested_.get(), nested_->IdFromRowCol(0, 0), ctx)) {
    ui::MessageBox("LyrTrendFrame::OnCreateClient5");
    return false;
  }
  nested_->SetRowInfo(0, half.cy, 0);
  if (!host_->TrendArea.CreateView(nested_.get(), nested_->IdFromRowCol(1, 0), ctx)) {
    ui::MessageBox("LyrTrendFrame::OnCreateClient6");
    return false;
  }
  if (auto* doc = dynamic_cast<CQLM2_AnalyzerDoc*>(ctx.currentDocument))
    for (auto& values : host_->TrendArea.Values) values.SetDocument(doc);
  SetActiveView(&host_->TrendArea);
  return true;
}

void LyrTrendFrame::OnPaint(draw::Dc&) {
  if (CurrentLayoutKey() != laidOut_) LayoutPanes();
}

LyrTrendFrame::LayoutKey LyrTrendFrame::CurrentLayoutKey() const {
  if (!outer_ || !outer_->IsWindow()) return {};
  const ui::Rect client = outer_->GetClientRect();
  return {client.Width(), client.Height(), TrendGraphCountHeld(), TrendHypnogramRowRatio(), TrendColumnWidthRatio()};
}

void LyrTrendFrame::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::DockFrame::OnSize(sizeType, cx, cy);
  LayoutPanes();
}

void LyrTrendFrame::OnSplitterDragged(LyrSplitterWnd&) { StoreSplitRatio(); }

void LyrTrendFrame::LayoutPanes() {
  if (!outer_ || !nested_ || !outer_->IsWindow() || !nested_->IsWindow()) return;
  laidOut_ = CurrentLayoutKey();
  const ui::Rect client = outer_->GetClientRect();
  nested_->SetRowInfo(0, std::max(0, static_cast<int>(client.Height() * TrendHypnogramRowRatio())), 0);
  nested_->RecalcLayout();
  if (LyrTrendInfoAreaView* info = InfoArea()) {
    info->LayoutControls();
    info->Invalidate();
  }
  outer_->SetColumnInfo(0, std::max(0, static_cast<int>(client.Width() * TrendColumnWidthRatio())), 0);
  outer_->RecalcLayout();
}

void LyrTrendFrame::StoreSplitRatio() {
  if (!outer_ || !nested_) return;
  const ui::Rect f = outer_->GetClientRect();
  const ui::Rect p = host_ != nullptr ? host_->StageArea.GetClientRect() : ui::Rect{};
  TrendHypnogramRowRatio() = static_cast<double>(p.bottom + 1) / (f.bottom + 1);
  // With the information column hidden its width stays as it was.
  if (TrendColumnWidthRatio() <= 0.99) TrendColumnWidthRatio() = static_cast<double>(p.right + 1) / (f.right + 1);
  LayoutPanes();
  RelayoutMainFrame(true);
}

void LyrTrendFrame::RelayoutMainFrame(bool rawFrames) {
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  if (frame == nullptr) return;
  if (!rawFrames) {
    frame->LayoutPanes();
    return;
  }
  if (LyrRawDummyView* raw = frame->RawView()) raw->LayoutRawFrames();
}

void LyrTrendFrame::DockWindow(int notify) {
  if (notify != 0) {
    TrendWindowDockState = kDockShown;
    RelayoutMainFrame(false);
  }
  Dock();
}

void LyrTrendFrame::FloatWindow(int notify) {
  Float();
  Invalidate();
  UpdateWindow();
  if (notify != 0) {
    TrendWindowDockState = kDockFloating;
    RelayoutMainFrame(false);
  }
}

void LyrTrendFrame::OnDocking() {
  if (WorkspaceWindowDockState == kDockShown) {
    PaneColumnRatio = SavedPaneColumnRatio;
  } else {
    PaneColumnRatio = 1.0;
    if (WorkspaceWindowDockState == kDockFloating) PaneRowRatio = SavedPaneRowRatio;
  }
  DockWindow(1);
}

void LyrTrendFrame::OnFloat() {
  if (WorkspaceWindowDockState == kDockShown) {
    SavedPaneColumnRatio = PaneColumnRatio;
    PaneColumnRatio = 0.0;
  } else if (WorkspaceWindowDockState == kDockFloating) {
    SavedPaneRowRatio = PaneRowRatio;
    PaneRowRatio = 1.0;
    PaneColumnRatio = 0.0;
  }
  FloatWindow(1);
}

void LyrTrendFrame::OnTenKeyTable() {
  TrendColumnWidthRatio() = TrendColumnWidthRatio() > 0.99 ? 0.7 : 1.0;
  LayoutPanes();
  RelayoutMainFrame(true);
}

void LyrTrendFrame::GetStageTypeParam(StageTypeParam& out) const {
  if (const CQLM2_AnalyzerDoc* doc = Document()) out = doc->Params.stageType;
}

void LyrTrendFrame::ApplyDisplaySetting(int lines, int minutes, int count) {
  TrendSettingWord1 = static_cast<std::uint16_t>(std::clamp(lines, 1, 12));
  SetTrendTimeScale(std::max(minutes, 1));
  if (host_ == nullptr) return;
  host_->ResetCursorEpoch(1);
  // Hypnogram container: lines, span and table anew, its slots from epoch 0.
  LyrTrendStageAreaDummyView& stage = host_->StageArea;
  stage.ApplyDisplaySetting();
  const CQLM2_AnalyzerDoc* doc = Document();
  const int scored = doc != nullptr ? GetScoredEpochNum(doc->EpochTables, doc->Params.stageType) : 0;
  stage.ScrollBar.PageMultiplier = 0;
  if (scored < ShownEpochs()) stage.ScrollBar.SetBarRange(0, 1, 0);
  else stage.ScrollBar.SetBarRange(scored, ShownEpochs(), 0);
  // Graph container.
  host_->TrendArea.ApplyGraphCount(count);
  // Information column.
  if (outer_ && outer_->IsWindow()) outer_->RedrawWindow();
  if (LyrTrendInfoAreaView* info = InfoArea()) {
    info->ClearRowTexts(20);
    info->SetThresholdText();
    info->PushUndo(-1);
    info->EnableThresholdEdit();
    info->LayoutControls();
  }
}

void LyrTrendFrame::MapTrendCommands() {
  const auto loadedIdle = [](ui::CmdUI& ui) { ui.Enable(Loaded() && !Screening()); };
  MapHypnogramCommands();
  MapCommand(kCmdTrendGraphSetting, [this] { OnTrendGraphSetting(); });
  MapUpdate(kCmdTrendGraphSetting, loadedIdle);
  MapUpdate(kCmdEcgRrOutput, [this](ui::CmdUI& ui) {
    const CQLM2_AnalyzerDoc* doc = Document();
    ui.Enable(Loaded() && !Screening() && doc != nullptr &&
              const_cast<CQLM2_AnalyzerDoc*>(doc)->RecognitionTables.ECGRcgnz().count >= 2);
  });
  MapCommand(kCmdTrendPrint, [this] {
    if (host_ == nullptr) return;
    const draw::PrintStatus status = host_->OnFilePrint();
    if (status == draw::PrintStatus::Ok || status == draw::PrintStatus::NotStarted) return;
    const std::uint32_t reason = status == draw::PrintStatus::NoPrinter    ? kPrintNoPrinter
                                 : status == draw::PrintStatus::CannotOpen ? kPrintCannotOpen
                                                                           : kPrintBrokeOff;
    char text[512];
    std::snprintf(text, sizeof text, res::LoadString(kPrintFailed).c_str(), res::LoadString(reason).c_str());
    ui::MessageBox(text, ui::MB_ICONEXCLAMATION);
  });
  MapUpdate(kCmdTrendPrint, loadedIdle);
  for (std::uint32_t id = kCmdZoom20; id <= kCmdZoom120; ++id) {
    MapCommand(id, [id] { TrendZoomState = static_cast<std::uint16_t>(id - kCmdZoom20 + 1); });
    MapUpdate(id, loadedIdle);
  }
  MapCommand(kCmdTenKeyTable, [this] { OnTenKeyTable(); });
  MapUpdate(kCmdTenKeyTable, [](ui::CmdUI& ui) {
    ui.Enable(true);
    ui.SetCheck(TrendColumnWidthRatio() <= 0.99 ? 1 : 0);
  });
  MapCommand(kCmdTrendFloat, [this] { OnFloat(); });
  MapUpdate(kCmdTrendFloat, [](ui::CmdUI& ui) {
    ui.SetCheck(TrendWindowDockState == kDockFloating ? 1 : 0);
    ui.Enable(TrendWindowDockState != kDockFloating);
  });
  MapCommand(kCmdTrendDocking, [this] { OnDocking(); });
  MapUpdate(kCmdTrendDocking, [](ui::CmdUI& ui) {
    ui.SetCheck(TrendWindowDockState == kDockShown ? 1 : 0);
    ui.Enable(TrendWindowDockState != kDockShown);
  });
}

void LyrTrendFrame::OnTrendGraphSetting() {
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  if (frame != nullptr) frame->WriteResumeFile();
  std::array<float, 20> maxima{}, minima{};
  CollectGraphRanges(maxima, minima);
  LyrDlgTrendGraphSetting dialog(this);
  dialog.Document = Document();
  dialog.SetGraphRanges(maxima.data(), minima.data());
  if (dialog.DoModal() != ui::IDOK) return;
  ApplyDisplaySetting(HypnogramLinesHeld(), dialog.MinutesPerLine, dialog.GraphCount);
  if (frame != nullptr) frame->WriteResumeFile();
}
