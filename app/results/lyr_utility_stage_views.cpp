#include "app/results/lyr_utility_stage_views.h"

#include <algorithm>
#include <cstdlib>

#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/results/hypnogram_printing.h"
#include "app/results/lyr_utility_hypnogram_frame.h"
#include "app/trend/lyr_trend_hypno_print.h"
#include "app/workspace/lyr_workspace_stage_graph_view.h"
#include "app/workspace/workspace_settings.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/message_box.h"

namespace {
constexpr draw::ColorRef kTextPen = 0x010000;  // red 0, green 0, blue 1

// Height and width of "MM" in a font.
draw::Size MmExtent(const draw::Font& font) {
  draw::Image probe(1, 1, 32);
  draw::Dc dc(probe);
  dc.SelectFont(font);
  return dc.GetTextExtent("MM");
}
}  // namespace

// ---- A file's band -----------------------------------------------------------------------------

int LyrUtilityStageAreaDummyView::OnCreate() {
  CreateAxisViews();
  for (int i = 0; i < kLineSlots; ++i) {
    if (LyrTrendStageAreaAxisView* axis = AxisView(i); axis != nullptr && axis->IsWindow())
      axis->SetWindowText("LyrUtilityStageAreaAxisView");
    if (LyrTrendStageAreaView* line = LineView(i); line != nullptr && line->IsWindow())
      line->SetWindowText("LyrUtilityStageAreaView");
  }
  return 0;
}

void LyrUtilityStageAreaDummyView::OnSize(std::uint32_t, int, int) { LayoutLines(); }

void LyrUtilityStageAreaDummyView::LayoutLines() {
  if (!IsWindow()) return;
  const ui::Rect r = GetClientRect();
  const int lines = std::clamp(LineCount(), 1, kLineSlots);
  const int h = r.Height() / lines;
  for (int i = 0; i < kLineSlots; ++i) {
    LyrTrendStageAreaAxisView* axis = AxisView(i);
    if (axis == nullptr || !axis->IsWindow()) continue;
    if (i < lines) axis->MoveWindow(draw::RectFromSize(0, i * h, r.Width(), h));
    else axis->MoveWindow(ui::Rect{-1, -1, -1, -1});
    axis->OnSize(0, i < lines ? r.Width() : 0, i < lines ? h : 0);
  }
}

// ---- Scroll bar --------------------------------------------------------------------------------

void LyrUtilityHypnogramScrollBar::OnReflectedScroll(unsigned code, int thumbPos) {
  // The arrows stay disabled: only page moves and the thumb scroll.
  if (code == ui::SB_LINELEFT || code == ui::SB_LINERIGHT) return;
  LyrUtilityScrollBar::OnReflectedScroll(code, thumbPos);
  EnableScrollBarArrows(ui::ESB_DISABLE_BOTH);
}

void LyrUtilityHypnogramScrollBar::OnScrollChanged(unsigned code, std::int32_t) {
  if (Host == nullptr) return;
  if (code != ui::SB_PAGELEFT && code != ui::SB_PAGERIGHT && code != ui::SB_THUMBPOSITION) return;
  Host->ScrollTo(Info().nPos);
}

// ---- Left column -------------------------------------------------------------------------------

LyrUtilityStageDummyView::~LyrUtilityStageDummyView() { RemoveAllFileLines(); }

int LyrUtilityStageDummyView::OnCreate() {
  MenuFont = draw::Font(draw::GetSystemLogFont(draw::SystemFont::Menu));
  ScrollBar.Host = this;
  if (ScrollBar.CreateBar(nullptr, ui::Rect{}, this) != 0) ScrollBar.EnableScrollBarArrows(ui::ESB_DISABLE_BOTH);
  return 0;
}

void LyrUtilityStageDummyView::OnSize(std::uint32_t, int, int) { LayoutFileLines(); }

int LyrUtilityStageDummyView::TitleHeight() const { return MmExtent(MenuFont).cy * 3 / 2; }

int LyrUtilityStageDummyView::BandHeight() const {
  const int count = Owner != nullptr ? Owner->Files.Count() : 0;
  // No file: no band, and nothing to divide by.
  if (count <= 0 || !IsWindow()) return 0;
  return (GetClientRect().Height() - kBottomStrip) / count;
}

LyrUtilityStageAreaDummyView* LyrUtilityStageDummyView::Band(int slot) const {
  return slot >= 0 && slot < kUtilityFileSlots ? bands_[static_cast<std::size_t>(slot)].get() : nullptr;
}

void LyrUtilityStageDummyView::AddFileLines(int fileNo, int minutes, int epochTime, int epochCount) {
  const int slot = fileNo - 1;
  if (slot < 0 || slot >= kUtilityFileSlots || Owner == nullptr) return;
  (void)epochCount;
  RemoveFileLines(slot);
  auto band = std::make_unique<LyrUtilityStageAreaDummyView>();
  band->Link.utility = Owner;
  band->SetUtilityMode(1);
  band->SetFileNo(slot);
  band->SetLineTime(minutes);
  band->SetEpochTime(epochTime);
  if (!band->CreateView(this, 100 + slot, ui::CreateContext{})) {
    ui::MessageBox("LyrUtilityStageDummyView::AddFileLines");
    return;
  }
  band->SetWindowText("LyrUtilityStageAreaDummyView");
  Owner->StageAreas.push_back(band.get());
  bands_[static_cast<std::size_t>(slot)] = std::move(band);
  LayoutFileLines();
}

void LyrUtilityStageDummyView::RemoveFileLines(int slot) {
  auto* band = Band(slot);
  if (band == nullptr) return;
  if (Owner != nullptr) std::erase(Owner->StageAreas, static_cast<ui::Window*>(band));
  if (band->IsWindow()) band->DestroyWindow();
  bands_[static_cast<std::size_t>(slot)].reset();
}

void LyrUtilityStageDummyView::RemoveAllFileLines() {
  for (int slot = 0; slot < kUtilityFileSlots; ++slot) RemoveFileLines(slot);
}

void LyrUtilityStageDummyView::RebuildFileLines(int minutes) {
  RemoveAllFileLines();
  if (Owner == nullptr) return;
  for (int slot = 0; slot < Owner->Files.Count(); ++slot) {
    const UtilityResultFileRec* f = Owner->Files.File(slot);
    AddFileLines(slot + 1, minutes, f->epochTime, f->epochCount);
  }
  ScrollPosition = 0;
  ScrollTo(0);
}

void LyrUtilityStageDummyView::LayoutFileLines() {
  if (!IsWindow()) return;
  const ui::Rect r = GetClientRect();
  const draw::Size mm = MmExtent(MenuFont);
  if (ScrollBar.IsWindow()) {
    // The day under the bands stays readable left of the bar.
    const int x = std::max(2 * mm.cx + 1, DayTitleWidth() + 10);
    ScrollBar.MoveWindow(ui::Rect{x, r.bottom - kBottomStrip, std::max(x, r.right), r.bottom - kBottomStrip + 17});
  }
  const int band = BandHeight();
  const int t = TitleHeight();
  for (int slot = 0; slot < kUtilityFileSlots; ++slot) {
    LyrUtilityStageAreaDummyView* b = Band(slot);
    if (b == nullptr || !b->IsWindow()) continue;
    if (band > 0) b->MoveWindow(draw::RectFromSize(0, slot * band + t, r.Width(), std::max(0, band - t)));
    b->LayoutLines();
  }
  Invalidate(false);
}

std::string LyrUtilityStageDummyView::DayTitle() const {
  LyrUtilityStageAreaDummyView* first = Band(0);
  if (first == nullptr) return {};
  return res::LoadString(kStrDay) + " " + first->GetEpochTimeText(first->GetEpochAt(0));
}

int LyrUtilityStageDummyView::DayTitleWidth() const {
  const std::string title = DayTitle();
  if (title.empty()) return 0;
  draw::Image probe(1, 1, 32);
  draw::Dc dc(probe);
  dc.SelectFont(MenuFont);
  return dc.GetTextExtent(title).cx;
}

void LyrUtilityStageDummyView::UpdateScrollRange() {
  if (Owner == nullptr) return;
  const UtilityResultFiles& files = Owner->Files;
  int e = 0;
  long long d = 0;
  ScrollFile = 0;
  for (int slot = 0; slot < files.Count(); ++slot) {
    const UtilityResultFileRec* f = files.File(slot);
    if (f->epochTime > e) {
      e = f->epochTime;
      ScrollFile = slot;
    }
    d = std::max<long long>(d, static_cast<long long>(f->epochTime) * f->epochCount);
  }
  if (e <= 0) {
    ScrollLength = 0;
    ScrollBar.SetBarRange(0, 1, 0);
    ScrollBar.EnableScrollBarArrows(ui::ESB_DISABLE_BOTH);
    return;
  }
  ScrollLength = static_cast<int>(d / e);
  const int lines = std::clamp<int>(HypnogramSettingWord, 1, LyrTrendStageAreaDummyView::kLineSlots);
  const int page = Owner->m_TimeScaleMinutes * 60 / e * lines;
  ScrollBar.SetBarRange(ScrollLength - 1, page, ScrollPosition);
  ScrollBar.EnableScrollBarArrows(ui::ESB_DISABLE_BOTH);
}

void LyrUtilityStageDummyView::ScrollTo(int position) {
  if (Owner == nullptr) return;
  ScrollPosition = std::max(position, 0);
  const UtilityResultFiles& files = Owner->Files;
  int e = 0;
  for (int slot = 0; slot < files.Count(); ++slot) e = std::max(e, files.File(slot)->epochTime);
  for (int slot = 0; slot < files.Count(); ++slot) {
    LyrUtilityStageAreaDummyView* b = Band(slot);
    const int own = files.File(slot)->epochTime;
    if (b == nullptr || own <= 0) continue;
    b->FillFrom(static_cast<std::int32_t>(static_cast<long long>(ScrollPosition) * e / own));
  }
  RedrawLines();
  LayoutFileLines();
}

void LyrUtilityStageDummyView::RedrawLines() {
  for (int slot = 0; slot < kUtilityFileSlots; ++slot) {
    LyrUtilityStageAreaDummyView* b = Band(slot);
    if (b == nullptr) continue;
    for (int i = 0; i < LyrTrendStageAreaDummyView::kLineSlots; ++i) {
      if (LyrTrendStageAreaAxisView* axis = b->AxisView(i); axis != nullptr && axis->IsWindow()) axis->Invalidate(false);
      if (LyrTrendStageAreaView* line = b->LineView(i); line != nullptr && line->IsWindow()) line->Invalidate(false);
    }
  }
}

void LyrUtilityStageDummyView::OnDraw(draw::Dc& dc) {
  const bool printing = PrintTarget == 2;
  const ui::Rect r = GetClientRect();
  const int count = Owner != nullptr ? Owner->Files.Count() : 0;
  if (count == 0) {
    if (!printing) dc.FillSolidRect(r, draw::GetSysColor(draw::COLOR_WINDOW));
    UpdateScrollRange();
    return;
  }
  if (!printing) dc.FillSolidRect(r, draw::GetSysColor(draw::COLOR_BTNFACE));
  const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, printing && PrintInColor == 0 ? 0 : kTextPen});
  const draw::Font oldFont = dc.SelectFont(printing ? PrintFont() : MenuFont);
  const int oldBk = dc.SetBkMode(draw::TRANSPARENT);
  const int th = dc.GetTextExtent("MM").cy;
  dc.TextOut(r.left + 5, r.bottom - 5 - th, DayTitle());
  if (!printing) {
    const int band = BandHeight();
    const int t = TitleHeight();
    for (int slot = 0; slot < count; ++slot)
      dc.TextOut(r.left + 5, slot * band + t - th * 5 / 4, Owner->FileNameOf(slot));
  }
  dc.SetBkMode(oldBk);
  dc.SelectFont(oldFont);
  dc.SelectPen(oldPen);
  if (!printing) UpdateScrollRange();
}

// ---- Right column ------------------------------------------------------------------------------

LyrUtilityStageGraphDummyView::~LyrUtilityStageGraphDummyView() {
  for (int slot = 0; slot < kUtilityFileSlots; ++slot) RemoveStageGraph(slot);
}

LyrWorkspaceStageGraphView* LyrUtilityStageGraphDummyView::Graph(int slot) const {
  return slot >= 0 && slot < kUtilityFileSlots ? graphs_[static_cast<std::size_t>(slot)].get() : nullptr;
}

int LyrUtilityStageGraphDummyView::TitleHeight() const {
  const draw::LogFont lf = draw::GetSystemLogFont(draw::SystemFont::Menu);
  return std::abs(lf.height) * 3 / 2;
}

void LyrUtilityStageGraphDummyView::BindViews() {
  if (Owner == nullptr) return;
  for (int slot = 0; slot < kUtilityFileSlots; ++slot) {
    LyrWorkspaceStageGraphView* g = Graph(slot);
    UtilityResultFileRec* f = Owner->Files.File(slot);
    if (g == nullptr || f == nullptr) continue;
    g->UtilitySlot = slot;
    g->Utility.stageType = &f->stageType;
    g->Utility.epochSeconds = f->epochTime;
    g->Utility.lastEpoch = f->epochCount - 1;
    LyrUtilityHypnogramFrame* owner = Owner;
    g->Utility.stageOf = [owner, slot](int e) {
      StageTypeParam st;
      owner->GetStageTypeParam(slot, st);
      return owner->GetStage(slot, st.stageType, e, 0);
    };
    g->Utility.epochLabel = [owner, slot](int e) { return owner->GetEpochTimeString(slot, e); };
  }
}

void LyrUtilityStageGraphDummyView::AddStageGraph(int slot) {
  if (slot < 0 || slot >= kUtilityFileSlots || Owner == nullptr) return;
  const UtilityResultFileRec* f = Owner->Files.File(slot);
  if (f == nullptr) return;
  RemoveStageGraph(slot);
  auto g = std::make_unique<LyrWorkspaceStageGraphView>();
  g->UtilityMode = 1;
  g->FirstEpoch = 0;
  g->LastEpoch = f->epochCount;
  bool any = false;
  for (int i = 0; i < kStageGraphItems; ++i) {
    g->StageItemFlags[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(StageGraphStageFlag(i));
    any = any || g->StageItemFlags[static_cast<std::size_t>(i)] != 0;
  }
  // Nothing chosen yet: every stage of the file's type, so that the graph shows something.
  if (!any)
    for (int i = 0; i < StageGraphItemCount(f->stageType.stageType); ++i) g->StageItemFlags[static_cast<std::size_t>(i)] = 1;
  if (!g->CreateView(this, 100 + slot, ui::CreateContext{})) {
    ui::MessageBox("LyrUtilityStageGraphDummyView::AddStageGraph");
    return;
  }
  g->SetWindowText("LyrWorkspaceStageGraphView");
  graphs_[static_cast<std::size_t>(slot)] = std::move(g);
  BindViews();
  LayoutStageGraphs();
}

void LyrUtilityStageGraphDummyView::RemoveStageGraph(int slot) {
  LyrWorkspaceStageGraphView* g = Graph(slot);
  if (g == nullptr) return;
  if (g->IsWindow()) g->DestroyWindow();
  graphs_[static_cast<std::size_t>(slot)].reset();
}

void LyrUtilityStageGraphDummyView::MoveStageGraphs(const std::array<int, kUtilityFileSlots>& moves) {
  std::array<std::unique_ptr<LyrWorkspaceStageGraphView>, kUtilityFileSlots> moved;
  for (int slot = 0; slot < kUtilityFileSlots; ++slot) {
    const int to = moves[static_cast<std::size_t>(slot)];
    auto& g = graphs_[static_cast<std::size_t>(slot)];
    if (to >= 0 && to < kUtilityFileSlots) {
      moved[static_cast<std::size_t>(to)] = std::move(g);
    } else if (g) {
      if (g->IsWindow()) g->DestroyWindow();
      g.reset();
    }
  }
  graphs_ = std::move(moved);
  BindViews();
  LayoutStageGraphs();
}

void LyrUtilityStageGraphDummyView::SetEpochRange(std::int32_t startSecond, std::int32_t endSecond,
                                                  const std::array<std::uint16_t, 20>& stageItems) {
  if (Owner == nullptr) return;
  for (int slot = 0; slot < Owner->Files.Count(); ++slot) {
    LyrWorkspaceStageGraphView* g = Graph(slot);
    const UtilityResultFileRec* f = Owner->Files.File(slot);
    if (g == nullptr || f->epochTime <= 0) continue;
    g->FirstEpoch = std::min(startSecond / f->epochTime, f->epochCount);
    g->LastEpoch = std::min(endSecond / f->epochTime, f->epochCount);
    g->StageItemFlags = stageItems;
    if (g->IsWindow()) g->Invalidate(false);
  }
}

void LyrUtilityStageGraphDummyView::LayoutStageGraphs() {
  if (!IsWindow() || Owner == nullptr) return;
  const ui::Rect r = GetClientRect();
  const int count = Owner->Files.Count();
  const int band = count > 0 ? (r.Height() - LyrUtilityStageDummyView::kBottomStrip) / count : 0;
  const int t = TitleHeight();
  for (int slot = 0; slot < kUtilityFileSlots; ++slot) {
    LyrWorkspaceStageGraphView* g = Graph(slot);
    if (g == nullptr || !g->IsWindow() || band <= 0) continue;
    g->MoveWindow(draw::RectFromSize(0, slot * band + t, r.Width(), std::max(0, band - t)));
    g->OnSize(0, r.Width(), std::max(0, band - t));
  }
  Invalidate(false);
}

void LyrUtilityStageGraphDummyView::OnSize(std::uint32_t, int, int) { LayoutStageGraphs(); }

void LyrUtilityStageGraphDummyView::OnDraw(draw::Dc& dc) {
  const ui::Rect r = GetClientRect();
  dc.FillSolidRect(r, draw::GetSysColor(draw::COLOR_WINDOW));
  const int count = Owner != nullptr ? Owner->Files.Count() : 0;
  if (count <= 0) return;
  const int band = (r.Height() - LyrUtilityStageDummyView::kBottomStrip) / count;
  const int t = TitleHeight();
  for (int slot = 0; slot < count; ++slot)
    dc.FillSolidRect(draw::RectFromSize(0, slot * band, r.Width(), t), draw::GetSysColor(draw::COLOR_BTNFACE));
}
