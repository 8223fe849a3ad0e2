#include "app/trend/lyr_trend_stage_area.h"

#include <algorithm>
#include <limits>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <exception>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/display_fonts.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/results/hypnogram_printing.h"
#include "app/results/lyr_utility_hypnogram_frame.h"
#include "app/trend/lyr_trend_frame.h"
#include "app/trend/lyr_trend_tool.h"
#include "app/trend/trend_dummy_view.h"
#include "app/trend/trend_settings.h"
#include "app/trend/lyr_trend_hypno_print.h"
#include "platform/draw/dc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/menu.h"
#include "platform/ui/messages.h"
#include "platform/ui/message_box.h"

namespace {

constexpr draw::ColorRef kAxisPen = draw::Rgb(0, 0, 1);
constexpr int kLabelStrip = 40;

draw::ColorRef TrendStageLineColor() { return TrendColors[0]; }
draw::ColorRef TrendTimeScaleColor() { return TrendColors[2]; }
bool PrintingTrend() { return PrintTarget == 2; }
// Every colour is black when a hypnogram window is printed without colour.
draw::ColorRef Ink(draw::ColorRef c) { return PrintingTrend() && PrintInColor == 0 ? 0 : c; }

// The screen colours and fonts as this window numbers them: colour entry i is DisplayColors
// slot 5 - i, font entry i is DisplayFonts slot 9 - i.
draw::ColorRef ScreenColour(int entry) { return DisplayColors[static_cast<std::size_t>(5 - entry)]; }
draw::Font ScreenFont(int entry) { return draw::Font(DisplayFonts[static_cast<std::size_t>(9 - entry)]); }

draw::Font PaneFont() { return PrintingTrend() ? PrintFont() : ScreenFont(6); }

LyrTrendDummyView* TrendHost(const HypnogramLink& link) {
  if (link.host != nullptr) return link.host;
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  return frame != nullptr ? frame->TrendView() : nullptr;
}

}  // namespace

int HypnogramSpanRowOfCommand(std::uint32_t command) {
  for (std::size_t i = 0; i < HypnogramSpanTable.size() && HypnogramSpanTable[i].minutes != -1; ++i)
    if (HypnogramSpanTable[i].command == command) return static_cast<int>(i);
  return -1;
}

// ---- Scroll bar -------------------------------------------------------------------------

void LyrTrendScrollBar::OnScrollChanged(unsigned, std::int32_t pos) {
  if (Host == nullptr) return;
  const int first = PageMultiplier > 0 ? pos * PageMultiplier : pos;
  Host->StageArea.FillFrom(first);
  Host->TrendArea.FillFrom(first);
  Host->StageArea.RedrawLines(first);
  Host->TrendArea.RedrawGraphs();
}

// ---- Container ---------------------------------------------------------------------------

LyrTrendStageAreaDummyView::LyrTrendStageAreaDummyView()
    : epochsPerLine_(EpochsPerLineHeld()), lineCount_(static_cast<std::int16_t>(HypnogramLinesHeld())) {
  AllocScrollFlags();
}

LyrTrendStageAreaDummyView::~LyrTrendStageAreaDummyView() {
  for (auto& axis : axisViews_)
    if (axis && axis->IsWindow()) axis->DestroyWindow();
}

CQLM2_AnalyzerDoc* LyrTrendStageAreaDummyView::Doc() const {
  if (Link.doc != nullptr) return Link.doc;
  return dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument());
}

int LyrTrendStageAreaDummyView::DocEpochCount() const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (utilityMode_ != 0) {
    return Link.utility != nullptr ? Link.utility->EpochCount(fileNo_) : 0;
  }
  return doc != nullptr && EpochSeconds > 0 ? doc->GetDivNum(EpochSeconds) : 0;
}

LyrTrendStageAreaView* LyrTrendStageAreaDummyView::LineView(int i) const {
  const auto* axis = AxisView(i);
  return axis != nullptr ? axis->LineView() : nullptr;
}

int LyrTrendStageAreaDummyView::OnCreate() {
  AllocScrollFlags();
  CreateAxisViews();
  try {
    ScrollBar.CreateBar(Doc(), ui::Rect{}, this);
  } catch (const std::exception&) {
    ui::MessageBox("LyrTrendStageAreaDummyView::OnCreate");
  }
  return 0;
}

void LyrTrendStageAreaDummyView::CreateAxisViews() {
  AllocEpochTable();
  ui::CreateContext ctx;
  ctx.currentDocument = GetDocument();
  for (int i = 0; i < kLineSlots; ++i) {
    auto& axis = axisViews_[static_cast<std::size_t>(i)];
    if (axis) continue;
    try {
      axis = std::make_unique<LyrTrendStageAreaAxisView>();
      axis->Container = this;
      axis->SetLineNo(i);
      axis->SetFileNo(fileNo_);
      axis->SetUtilityMode(utilityMode_);
      axis->SetLineTime(utilityMode_ != 0 ? lineMinutes_ : MinutesPerLineHeld());
      axis->SetEpochTime(epochTime_);
      axis->SetLineCount(lineCount_);
      if (!axis->CreateView(this, 0, ctx)) ui::MessageBox("LyrTrendStageAreaDummyView::OnCreate");
      axis->SetWindowText("LyrTrendStageAreaAxisView");
    } catch (const std::exception&) {
      ui::MessageBox("LyrTrendStageAreaDummyView::OnCreate");
    }
  }
}

void LyrTrendStageAreaDummyView::OnSize(std::uint32_t, int cx, int cy) {
  LayoutAxisViews();
  if (utilityMode_ == 0) ResetTrendCursor(1);
  const int labelWidth = [&] {
    draw::Image probe(1, 1, 32);
    draw::Dc dc(probe);
    dc.SelectFont(ScreenFont(2));
    return dc.GetTextExtent("MM").cx;
  }();
  const int x = 2 * labelWidth + 1;
  if (ScrollBar.IsWindow()) ScrollBar.MoveWindow(ui::Rect{x, cy - kBottomStrip, std::max(x, cx), cy - 1});
}

void LyrTrendStageAreaDummyView::LayoutAxisViews() {
  if (!IsWindow()) return;
  const ui::Rect r = GetClientRect();
  const int lines = std::clamp<int>(lineCount_, 1, kLineSlots);
  const int h = std::max(0, (r.Height() - kBottomStrip) / lines);
  for (int i = 0; i < kLineSlots; ++i) {
    LyrTrendStageAreaAxisView* axis = AxisView(i);
    if (axis == nullptr || !axis->IsWindow()) continue;
    if (i < lines) axis->MoveWindow(draw::RectFromSize(0, i * h, r.Width(), h));
    else axis->MoveWindow(ui::Rect{-1, -1, -1, -1});
    // The line follows at once, also while the window is not shown yet.
    axis->OnSize(0, i < lines ? r.Width() : 0, i < lines ? h : 0);
  }
}

void LyrTrendStageAreaDummyView::AllocEpochTable() {
  tableFill_ = 0;
  epochTable_.assign(static_cast<std::size_t>(std::max(ShownSlots(), 1)), 0);
  for (std::size_t k = 0; k < epochTable_.size(); ++k) epochTable_[k] = static_cast<std::int32_t>(k);
}

std::int32_t LyrTrendStageAreaDummyView::GetEpochAt(int k) const {
  return k >= 0 && k < TableSize() ? epochTable_[static_cast<std::size_t>(k)] : 0;
}

void LyrTrendStageAreaDummyView::FillFrom(std::int32_t first) {
  if (epochTable_.empty()) AllocEpochTable();
  for (std::size_t k = 0; k < epochTable_.size(); ++k) epochTable_[k] = static_cast<std::int32_t>(k);
  first = std::max(first, 0);
  // A loaded file past its end shows nothing: its slots hold epochs it does not have.
  const int count = utilityMode_ != 0 ? std::numeric_limits<int>::max() : DocEpochCount();
  for (std::size_t k = 0; k < epochTable_.size() && first + static_cast<std::int32_t>(k) < count; ++k)
    epochTable_[k] = first + static_cast<std::int32_t>(k);
  for (int i = 0; i < kLineSlots; ++i)
    if (LyrTrendStageAreaView* line = LineView(i)) line->SetStartEpoch(epochsPerLine_ * i);
}

void LyrTrendStageAreaDummyView::SetCenterEpoch(std::int32_t epoch) {
  if (epochTable_.empty()) AllocEpochTable();
  const int shown = TableSize();
  const int count = DocEpochCount();
  std::int32_t first = epoch - shown / 2;
  if (first >= count) first = count - shown;
  first = std::max(first, 0);
  std::fill(epochTable_.begin(), epochTable_.end(), 0);
  for (std::size_t k = 0; k < epochTable_.size() && first + static_cast<std::int32_t>(k) < count; ++k)
    epochTable_[k] = first + static_cast<std::int32_t>(k);
  for (int i = 0; i < kLineSlots; ++i)
    if (LyrTrendStageAreaView* line = LineView(i)) line->SetStartEpoch(epochsPerLine_ * i);
}

void LyrTrendStageAreaDummyView::PageTo(std::int32_t epoch) {
  if (epochTable_.empty()) AllocEpochTable();
  const int perLine = std::max(epochsPerLine_, 1);
  const std::int32_t first = std::max(0, (epoch / perLine + 1) * perLine - TableSize());
  for (std::size_t k = 0; k < epochTable_.size(); ++k) epochTable_[k] = first + static_cast<std::int32_t>(k);
}

void LyrTrendStageAreaDummyView::RefreshAll(std::int32_t epoch) {
  if (tableFill_ < 0) return;
  PageTo(epoch);
  for (int i = 0; i < std::min<int>(lineCount_, kLineSlots); ++i) {
    if (LyrTrendStageAreaView* line = LineView(i)) {
      line->SetStartEpoch(GetEpochAt(i * epochsPerLine_));
      if (line->IsWindow()) line->RedrawWindow();
    }
  }
  UpdateScrollBar();
}

void LyrTrendStageAreaDummyView::AdvanceEpoch(std::int32_t epoch) {
  if (epochTable_.empty()) AllocEpochTable();
  ++tableFill_;
  const int shown = TableSize();
  if (ScreeningRunning == 1) {
    if (tableFill_ > shown) {
      std::rotate(epochTable_.begin(), epochTable_.begin() + 1, epochTable_.end());
      epochTable_.back() = epochTable_.size() > 1 ? epochTable_[epochTable_.size() - 2] + 1 : epochTable_.back() + 1;
      tableFill_ = shown;
      std::fill(scrollFlags_.begin(), scrollFlags_.end(), 1);
    }
    return;
  }
  if (epoch < GetEpochAt(0) || epoch >= GetEpochAt(0) + shown) RefreshAll(epoch);
}

void LyrTrendStageAreaDummyView::ScrollToEpoch(int absolute, std::int32_t epoch, int flag) {
  ScrollMode = absolute;
  ScrollEpoch = epoch;
  ScrollFlag = flag;
  const CQLM2_AnalyzerDoc* doc = Doc();
  const int pageStart = doc != nullptr && EpochSeconds > 0 ? doc->CurrentPage * PageSeconds / EpochSeconds : 0;
  if (pageStart == 0) AllocEpochTable();
  if (absolute != 0) {
    AdvanceEpoch(epoch);
    RedrawLines(epoch);
  } else {
    const std::int32_t target = pageStart + epoch;
    AdvanceEpoch(target);
    RedrawLines(target);
    if (target < DocEpochCount() - 1) RedrawLines(target + 1);
  }
  UpdateScrollBar();
}

void LyrTrendStageAreaDummyView::RedrawLines(std::int32_t epoch) {
  for (int i = 0; i < std::min<int>(lineCount_, kLineSlots); ++i)
    if (LyrTrendStageAreaView* line = LineView(i)) line->DrawNow(epoch);
}

void LyrTrendStageAreaDummyView::UpdateScrollBar() {
  if (utilityMode_ != 0) return;
  ScrollBar.PageMultiplier = 0;
  ScrollBar.SetBarRange(std::max(DocEpochCount() - 1, 0), TableSize(), GetEpochAt(0));
}

void LyrTrendStageAreaDummyView::ZoomAround(std::int32_t epoch) {
  const int minutes = ZoomSpanMinutes(TrendZoomState);
  if (minutes == 0 || EpochSeconds <= 0) return;
  const int span = minutes * 60 / EpochSeconds;
  const std::int32_t first = std::max(0, epoch - (2 * zoomSteps_ + 1) * (span / 2));
  epochsPerLine_ = EpochsPerLineHeld();
  const std::int32_t fill = tableFill_;
  AllocEpochTable();
  tableFill_ = fill;
  for (std::size_t k = 0; k < epochTable_.size(); ++k) epochTable_[k] = first + static_cast<std::int32_t>(k);
  for (int i = 0; i < std::min<int>(lineCount_, kLineSlots); ++i) {
    if (LyrTrendStageAreaAxisView* axis = AxisView(i)) axis->ResetEpochsPerLine();
    if (LyrTrendStageAreaView* line = LineView(i)) {
      line->SetStartEpoch(GetEpochAt(i * epochsPerLine_));
      if (line->IsWindow()) line->RedrawWindow();
    }
  }
  UpdateScrollBar();
}

void LyrTrendStageAreaDummyView::AllocScrollFlags() {
  scrollFlags_.assign(static_cast<std::size_t>(std::clamp<int>(lineCount_, 1, kLineSlots)), 0);
}

int LyrTrendStageAreaDummyView::GetScrollFlag(int line) const {
  return line >= 0 && line < static_cast<int>(scrollFlags_.size()) ? scrollFlags_[static_cast<std::size_t>(line)] : 0;
}

void LyrTrendStageAreaDummyView::ClearScrollFlag(int line) {
  if (line >= 0 && line < static_cast<int>(scrollFlags_.size())) scrollFlags_[static_cast<std::size_t>(line)] = 0;
}

void LyrTrendStageAreaDummyView::SetEpochTime(std::int32_t seconds) {
  epochTime_ = seconds;
  if (seconds != 0) {
    epochsPerLine_ = std::max(1, lineMinutes_ * 60 / seconds);
    lineCount_ = static_cast<std::int16_t>(std::clamp<int>(HypnogramSettingWord, 1, kLineSlots));
  } else {
    epochsPerLine_ = EpochsPerLineHeld();
    lineCount_ = static_cast<std::int16_t>(HypnogramLinesHeld());
  }
  AllocScrollFlags();
}

void LyrTrendStageAreaDummyView::SetLineCount(int n) {
  lineCount_ = static_cast<std::int16_t>(std::clamp(n, 1, kLineSlots));
  AllocScrollFlags();
  for (auto& axis : axisViews_)
    if (axis) axis->SetLineCount(lineCount_);
}

void LyrTrendStageAreaDummyView::ResetEpochsPerLine() {
  epochsPerLine_ = EpochsPerLineHeld();
  for (auto& axis : axisViews_)
    if (axis) axis->ResetEpochsPerLine();
}

bool LyrTrendStageAreaDummyView::IsLoaded() const {
  return utilityMode_ != 0 ? UtilityHypnogramLoaded != 0 : DocumentLoaded != 0;
}

void LyrTrendStageAreaDummyView::ApplyDisplaySetting() {
  for (auto& axis : axisViews_)
    if (axis) {
      axis->SetLineTime(MinutesPerLineHeld());
      if (axis->LineView() != nullptr) axis->LineView()->SetLineTime(MinutesPerLineHeld());
    }
  SetLineCount(HypnogramLinesHeld());
  ResetEpochsPerLine();
  FreeEpochTable();
  AllocEpochTable();
  FillFrom(0);
  LayoutAxisViews();
  ResetTrendCursor(1);
  if (IsWindow()) RedrawWindow();
  for (int i = 0; i < kLineSlots; ++i)
    if (LyrTrendStageAreaAxisView* axis = AxisView(i); axis != nullptr && axis->IsWindow()) axis->RedrawWindow();
}

void LyrTrendStageAreaDummyView::RedrawCursor() {
  // The day under the lines follows the first shown epoch.
  if (IsWindow()) {
    const ui::Rect r = GetClientRect();
    InvalidateRect(ui::Rect{r.left, r.bottom - kBottomStrip, r.right, r.bottom}, false);
  }
  for (int i = 0; i < std::min<int>(lineCount_, kLineSlots); ++i)
    if (LyrTrendStageAreaView* line = LineView(i); line != nullptr && line->IsWindow()) line->Invalidate(false);
}

void LyrTrendStageAreaDummyView::ResetTrendCursor(int mode) {
  if (utilityMode_ != 0) return;
  if (LyrTrendDummyView* host = TrendHost(Link)) host->ResetCursorEpoch(mode);
}

std::string LyrTrendStageAreaDummyView::GetEpochTimeText(std::int32_t epoch) const {
  if (utilityMode_ != 0) {
    return Link.utility != nullptr ? Link.utility->GetEpochTimeParts(fileNo_, epoch).day : std::string();
  }
  const LyrTrendDummyView* host = TrendHost(Link);
  return host != nullptr ? host->GetEpochDateParts(epoch).day : std::string();
}

void LyrTrendStageAreaDummyView::OnDraw(draw::Dc& dc) {
  const bool printing = PrintingTrend();
  const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, printing && PrintInColor == 0 ? 0 : kAxisPen});
  const ui::Rect r = printing ? printRect_ : GetClientRect();
  const draw::Font oldFont = dc.SelectFont(printing ? PrintFont() : ScreenFont(6));
  const int oldBk = dc.SetBkMode(draw::TRANSPARENT);
  const int oldRop = dc.SetROP2(draw::R2_COPYPEN);
  if (IsLoaded()) {
    const std::string text = res::LoadString(kStrDay) + " " + GetEpochTimeText(GetEpochAt(0));
    const int th = dc.GetTextExtent("MM").cy;
    dc.FillSolidRect(ui::Rect{r.left, r.bottom - kBottomStrip, r.right, r.bottom}, draw::GetSysColor(draw::COLOR_BTNFACE));
    dc.TextOut(r.left + 5, r.bottom - th - 3, text);
  }
  if (DocumentLoaded != 0 && utilityMode_ == 0 && !printing) UpdateScrollBar();
  dc.SetROP2(oldRop);
  dc.SetBkMode(oldBk);
  dc.SelectFont(oldFont);
  dc.SelectPen(oldPen);
}

// ---- Axis pane ---------------------------------------------------------------------------

LyrTrendStageAreaAxisView::LyrTrendStageAreaAxisView() = default;

LyrTrendStageAreaAxisView::~LyrTrendStageAreaAxisView() {
  if (lineView_ && lineView_->IsWindow()) lineView_->DestroyWindow();
}

void LyrTrendStageAreaAxisView::SetEpochTime(std::int32_t seconds) {
  epochTime_ = seconds;
  epochsPerLine_ = seconds != 0 ? std::max(1, lineMinutes_ * 60 / seconds) : EpochsPerLineHeld();
}

void LyrTrendStageAreaAxisView::SetLineCount(int n) {
  lineCount_ = static_cast<std::uint16_t>(n);
  if (lineView_) lineView_->SetLineCount(n);
}

void LyrTrendStageAreaAxisView::ResetEpochsPerLine() {
  epochsPerLine_ = EpochsPerLineHeld();
  if (lineView_) lineView_->ResetEpochsPerLine();
}

int LyrTrendStageAreaAxisView::OnCreate() {
  try {
    lineView_ = std::make_unique<LyrTrendStageAreaView>();
    lineView_->Container = Container;
    lineView_->SetStartEpoch(lineNo_ * epochsPerLine_);
    lineView_->SetLineNo(lineNo_);
    lineView_->SetFileNo(fileNo_);
    lineView_->SetUtilityMode(utilityMode_);
    lineView_->SetLineTime(lineMinutes_);
    lineView_->SetEpochTime(epochTime_);
    lineView_->SetLineCount(lineCount_);
    ui::CreateContext ctx;
    ctx.currentDocument = GetDocument();
    if (!lineView_->CreateView(this, 0, ctx)) ui::MessageBox("LyrTrendStageAreaDummyView::OnCreate");
    lineView_->SetWindowText("LyrTrendStageAreaView");
  } catch (const std::exception&) {
    ui::MessageBox("LyrTrendStageAreaDummyView::OnCreate");
  }
  return 0;
}

void LyrTrendStageAreaAxisView::OnSize(std::uint32_t, int cx, int cy) {
  if (!lineView_ || !lineView_->IsWindow()) return;
  lineView_->MoveWindow(draw::RectFromSize(kLabelStrip, 0, std::max(0, cx - kLabelStrip), cy));
  lineView_->OnSize(0, std::max(0, cx - kLabelStrip), cy);
}

void LyrTrendStageAreaAxisView::Redraw(draw::Dc* dc) {
  if (dc != nullptr) {
    OnDraw(*dc);
  } else if (IsWindow()) {
    RedrawWindow();
  }
}

void LyrTrendStageAreaAxisView::OnDraw(draw::Dc& dc) {
  if (Container == nullptr) return;
  if (GetDocument() == nullptr && Container->Doc() == nullptr && utilityMode_ == 0) return;
  try {
    const bool printing = PrintingTrend();
    const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, printing && PrintInColor == 0 ? 0 : kAxisPen});
    const ui::Rect r = printing ? labelRect_ : GetClientRect();
    const draw::Font oldFont = dc.SelectFont(PaneFont());
    dc.FillSolidRect(r, draw::GetSysColor(draw::COLOR_WINDOW));
    const int oldBk = dc.SetBkMode(draw::OPAQUE);
    const int oldRop = dc.SetROP2(draw::R2_COPYPEN);
    const draw::Size mm = dc.GetTextExtent("MM");
    const int th = mm.cy, labelWidth = mm.cx;
    const int h = r.bottom - 2 * th - r.top;
    if (utilityMode_ != 0) {
      if (Container->Link.utility != nullptr) Container->Link.utility->GetStageTypeParam(fileNo_, stageType_);
    } else if (const CQLM2_AnalyzerDoc* doc = Container->Doc()) {
      stageType_ = doc->Params.stageType;
    }
    if (Container->IsLoaded()) {
      int normal = 0, extra = 0;
      const int n = LyrTrendTool::GetStageRowCount(normal, extra, stageType_);
      std::vector<std::string> labels;
      if (n > 0 && LyrTrendTool::GetStageLabels(n, extra, stageType_, labels) != 0) {
        for (int i = 1; i <= n && i <= static_cast<int>(labels.size()); ++i) {
          const int y = h / (n + 1) * i + (printing ? r.top : 0);
          const std::string& label = labels[static_cast<std::size_t>(i - 1)];
          const int w = dc.GetTextExtent(label).cx;
          if (printing) {
            dc.MoveTo(r.right - 1, y);
            dc.LineTo(r.right - labelWidth / 2, y);
            dc.TextOut(r.right - w / 2 - labelWidth, y - th / 2, label);
          } else {
            dc.MoveTo(kLabelStrip, y);
            dc.LineTo(kLabelStrip - labelWidth / 2, y);
            dc.TextOut(labelWidth - w / 2, y - th / 2, label);
          }
        }
      }
    }
    if (printing) {
      dc.MoveTo(r.right - 1, r.top);
      dc.LineTo(r.right - 1, r.bottom - 2 * th);
    } else {
      dc.MoveTo(kLabelStrip, r.top);
      dc.LineTo(kLabelStrip, h + 1);
    }
    dc.SetROP2(oldRop);
    dc.SetBkMode(oldBk);
    dc.SelectFont(oldFont);
    dc.SelectPen(oldPen);
  } catch (const std::exception&) {
    ui::MessageBox("LyrTrendStageAreaView::OnDraw");
  }
}

// ---- Line view ---------------------------------------------------------------------------

LyrTrendStageAreaView::LyrTrendStageAreaView() = default;
LyrTrendStageAreaView::~LyrTrendStageAreaView() = default;

void LyrTrendStageAreaView::ResetEpochsPerLine() { epochsPerLine_ = EpochsPerLineHeld(); }

void LyrTrendStageAreaView::SetEpochTime(std::int32_t seconds) {
  epochTime_ = seconds;
  if (seconds == 0) {
    epochsPerLine_ = EpochsPerLineHeld();
    lineCount_ = static_cast<std::uint16_t>(HypnogramLinesHeld());
  } else {
    epochsPerLine_ = std::max(1, lineMinutes_ * 60 / seconds);
    lineCount_ = static_cast<std::uint16_t>(std::clamp<int>(HypnogramSettingWord, 1, 12));
  }
}

bool LyrTrendStageAreaView::Printing() const { return PrintingTrend(); }

int LyrTrendStageAreaView::TextHeight(draw::Dc* dc) const {
  if (dc != nullptr) return dc->GetTextExtent("MM").cy;
  draw::Image probe(1, 1, 32);
  draw::Dc measure(probe);
  measure.SelectFont(PaneFont());
  return measure.GetTextExtent("MM").cy;
}

void LyrTrendStageAreaView::SetDrawRect(int left, int top, int right, int bottom) {
  printRect_ = draw::Rect{left, top, right, bottom - 2 * TextHeight(nullptr)};
}

void LyrTrendStageAreaView::DrawToDC(draw::Dc* dc) {
  if (dc == nullptr) {
    if (IsWindow()) RedrawWindow();
    return;
  }
  const draw::Font old = dc->SelectFont(PaneFont());
  const int th = TextHeight(dc);
  if (!Printing()) {
    const ui::Rect c = GetClientRect();
    printRect_ = draw::Rect{c.left, c.top, c.right, c.bottom - 2 * th};
  }
  OnDraw(*dc);
  dc->SelectFont(old);
}

bool LyrTrendStageAreaView::IsLoaded() const {
  return utilityMode_ != 0 ? UtilityHypnogramLoaded != 0 : DocumentLoaded != 0;
}

void LyrTrendStageAreaView::StageSettings(StageTypeParam& out) const {
  if (Container == nullptr) return;
  if (utilityMode_ != 0) {
    if (Container->Link.utility != nullptr) Container->Link.utility->GetStageTypeParam(fileNo_, out);
    return;
  }
  if (const CQLM2_AnalyzerDoc* doc = Container->Doc()) out = doc->Params.stageType;
}

int LyrTrendStageAreaView::StageOf(std::int32_t epoch) const {
  if (Container == nullptr || epoch < 0) return 0;
  const int mode = stages_.stageType;
  if (utilityMode_ != 0)
    return Container->Link.utility != nullptr ? Container->Link.utility->GetStage(fileNo_, mode, epoch, 0) : 0;
  const CQLM2_AnalyzerDoc* doc = Container->Doc();
  if (doc == nullptr || epoch >= Container->DocEpochCount()) return 0;
  return doc->EpochTables.GetStage(mode, epoch, 0);
}

int LyrTrendStageAreaView::EpochCount() const { return Container != nullptr ? Container->DocEpochCount() : 0; }

std::int32_t LyrTrendStageAreaView::GetCursorEpoch(int mode) const {
  if (Container == nullptr) return -1;
  if (utilityMode_ != 0)
    return Container->Link.utility != nullptr ? Container->Link.utility->GetEpochMarker(fileNo_, mode) : -1;
  const LyrTrendDummyView* host = TrendHost(Container->Link);
  return host != nullptr ? host->GetCursorEpoch(mode) : -1;
}

void LyrTrendStageAreaView::SetCursorEpoch(std::int32_t epoch) {
  if (Container == nullptr) return;
  if (utilityMode_ != 0) {
    if (Container->Link.utility != nullptr) Container->Link.utility->SetCursorEpoch(fileNo_, lineNo_, epoch);
  } else if (LyrTrendDummyView* host = TrendHost(Container->Link)) {
    host->SetCursorEpoch(lineNo_, epoch);
  }
}

void LyrTrendStageAreaView::ResetCursorEpoch(int mode) {
  if (Container == nullptr) return;
  if (utilityMode_ != 0) {
    if (Container->Link.utility != nullptr) Container->Link.utility->ClearEpochMarkers(mode);
  } else if (LyrTrendDummyView* host = TrendHost(Container->Link)) {
    host->ResetCursorEpoch(mode);
  }
}

void LyrTrendStageAreaView::DrawCursorAll() {
  if (Container == nullptr) return;
  if (utilityMode_ != 0) {
    if (Container->Link.utility != nullptr) Container->Link.utility->RedrawStageAreas();
  } else if (LyrTrendDummyView* host = TrendHost(Container->Link)) {
    host->DrawCursor();
  }
}

int LyrTrendStageAreaView::IsTimeScaleEpoch(std::int32_t epoch) const {
  if (Container == nullptr) return 0;
  if (utilityMode_ != 0)
    return Container->Link.utility != nullptr ? Container->Link.utility->IsTimeScaleEpoch(fileNo_, epoch) : 0;
  const LyrTrendDummyView* host = TrendHost(Container->Link);
  return host != nullptr ? host->IsTimeScaleEpoch(epoch) : 0;
}

int LyrTrendStageAreaView::GetTimeScaleOffset(int step, std::int32_t epoch, int width) const {
  if (Container == nullptr) return 0;
  if (utilityMode_ != 0)
    return Container->Link.utility != nullptr ? Container->Link.utility->GetTimeScaleOffset(fileNo_, step, epoch, width)
                                              : 0;
  const LyrTrendDummyView* host = TrendHost(Container->Link);
  return host != nullptr ? host->GetTimeScaleOffset(step, epoch, width) : 0;
}

std::int32_t LyrTrendStageAreaView::GetTimeScaleStart(std::int32_t epoch) const {
  std::int32_t s = 0, e = 0;
  if (Container == nullptr) return 0;
  if (utilityMode_ != 0)
    return Container->Link.utility != nullptr ? Container->Link.utility->GetTimeScaleStart(fileNo_, epoch, s, e) : 0;
  const LyrTrendDummyView* host = TrendHost(Container->Link);
  return host != nullptr ? host->GetTimeScaleStart(epoch, s, e) : 0;
}

int LyrTrendStageAreaView::SpanMinutes() const { return utilityMode_ != 0 ? lineMinutes_ : MinutesPerLineHeld(); }
int LyrTrendStageAreaView::SpanEpochSeconds() const {
  return std::max(1, utilityMode_ != 0 ? epochTime_ : EpochSeconds);
}

double LyrTrendStageAreaView::X(std::int32_t epoch) const {
  const draw::Rect& r = Area();
  if (epoch < 0) return Printing() ? printRect_.left : 0.0;
  const double x = static_cast<double>(r.right - r.left) / std::max(epochsPerLine_, 1) * (epoch - firstEpoch_);
  return Printing() ? x + printRect_.left : x;
}

int LyrTrendStageAreaView::StageY(int code) const {
  const int row = LyrTrendTool::GetStageRowNumber(code, stages_);
  if (row == 0) return -1;
  const draw::Rect& r = Area();
  const int y = (r.bottom - r.top) / (rowCount_ + 1) * row;
  return Printing() ? y + printRect_.top : y;
}

void LyrTrendStageAreaView::CreatePosTable() {
  posTbl_.assign(static_cast<std::size_t>(std::max(epochsPerLine_, 1)), 0);
  const std::int32_t first = Container != nullptr ? Container->GetEpochAt(0) : firstEpoch_;
  // X() of each epoch of the line, with its terms taken out of the loop (the table is rebuilt
  // on every size change, and a line can hold a day of epochs).
  const draw::Rect& r = Area();
  const bool printing = Printing();
  const double left = printing ? printRect_.left : 0.0;
  const double step = static_cast<double>(r.right - r.left) / std::max(epochsPerLine_, 1);
  for (std::size_t i = 0; i < posTbl_.size(); ++i) {
    const std::int32_t epoch = first + static_cast<std::int32_t>(i);
    const double x = step * static_cast<std::int32_t>(i);
    posTbl_[i] = static_cast<std::int32_t>(epoch < 0 ? left : (printing ? x + left : x));
  }
}

void LyrTrendStageAreaView::CreateStageTable() {
  const draw::Rect r = Printing() ? printRect_ : GetClientRect();
  stageTblWidth_ = std::max(0, r.right - r.left + 1);
  int normal = 0, extra = 0;
  rowCount_ = static_cast<std::int16_t>(LyrTrendTool::GetStageRowCount(normal, extra, stages_));
  stageTbl_.assign(static_cast<std::size_t>(stageTblWidth_), std::vector<std::uint8_t>(static_cast<std::size_t>(rowCount_), 0));
}

int LyrTrendStageAreaView::OnCreate() { return 0; }

void LyrTrendStageAreaView::OnSize(std::uint32_t, int, int) {
  const int th = TextHeight(nullptr);
  const ui::Rect c = Printing() ? printRect_ : GetClientRect();
  drawRect_ = draw::Rect{1, 0, c.Width(), c.Height() - 2 * th};
  if (Container != nullptr) Container->ResetZoomSteps(1);
  CreatePosTable();
}

void LyrTrendStageAreaView::OnPaint(draw::Dc& dc) {
  OnDraw(dc);
  if (Container == nullptr) return;
  const std::int32_t cursor = GetCursorEpoch(0);
  const std::int32_t first = Container->GetEpochAt(0) + lineNo_ * epochsPerLine_;
  if (cursor >= first && cursor < first + epochsPerLine_) DrawCursor(dc, true);
}

void LyrTrendStageAreaView::DrawNow(std::int32_t) {
  if (IsWindow()) RedrawWindow();
}

int LyrTrendStageAreaView::CursorX(std::int32_t epoch) const {
  if (Container == nullptr || epoch < 0) return -1;
  const std::int32_t first = Container->GetEpochAt(lineNo_ * epochsPerLine_);
  const std::int32_t last = Container->GetEpochAt((lineNo_ + 1) * epochsPerLine_ - 1);
  if (epoch < first || epoch > last) return -1;
  const std::size_t slot = static_cast<std::size_t>(epoch - first);
  return slot < posTbl_.size() ? posTbl_[slot] : -1;
}

void LyrTrendStageAreaView::DrawCursor(draw::Dc& dc, bool currentOnly) {
  const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, ScreenColour(1) ^ ScreenColour(5)});
  const int oldRop = dc.SetROP2(draw::R2_NOT);
  auto line = [&](std::int32_t epoch) {
    const int x = CursorX(epoch);
    dc.MoveTo(x, drawRect_.top);
    dc.LineTo(x, drawRect_.bottom - 1);
  };
  if (!currentOnly) line(GetCursorEpoch(1));
  line(GetCursorEpoch(0));
  dc.SetROP2(oldRop);
  dc.SelectPen(old);
}

void LyrTrendStageAreaView::OnDraw(draw::Dc& dc) {
  const bool printing = Printing();
  if (!printing) {
    const ui::Rect c = GetClientRect();
    const int th = TextHeight(nullptr);
    drawRect_ = draw::Rect{1, 0, c.Width(), c.Height() - 2 * th};
    dc.FillSolidRect(c, TrendWindowColor());
    dc.FillSolidRect(drawRect_, ScreenColour(5));
    dc.FillSolidRect(draw::Rect{0, drawRect_.bottom, drawRect_.right, drawRect_.bottom + 1}, 0);
  } else {
    // Without colour the backgrounds print white (only the drawing turns black).
    dc.FillSolidRect(printRect_, PrintInColor == 0 ? 0xFFFFFF : TrendWindowColor());
    dc.FillSolidRect(printRect_, PrintInColor == 0 ? 0xFFFFFF : ScreenColour(5));
    dc.FillSolidRect(draw::Rect{printRect_.left, printRect_.bottom, printRect_.right, printRect_.bottom + 1}, 0);
  }
  if (!IsLoaded() || Container == nullptr) return;
  StageSettings(stages_);
  CreatePosTable();
  CreateStageTable();
  const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, 0});
  const draw::Font oldFont = dc.SelectFont(PaneFont());
  const int oldRop = dc.SetROP2(draw::R2_COPYPEN);
  const int th = dc.GetTextExtent("MM").cy;

  // The first time-scale epoch of the line and the tick step in epochs.
  std::int32_t firstTick = 0;
  for (std::int32_t e = firstEpoch_; e >= 0 && e < firstEpoch_ + epochsPerLine_; ++e)
    if (IsTimeScaleEpoch(e) != 0) {
      firstTick = e;
      break;
    }
  const int step = std::max(1, LyrTrendTool::GetTimeScaleStep(SpanMinutes()) * 60 / SpanEpochSeconds());
  firstEpoch_ = Container->GetEpochAt(0) + lineNo_ * epochsPerLine_;
  prevLineFlag_ = 0;
  const int count = EpochCount();
  LookUpCodes();
  pendingBar_ = false;
  for (std::int32_t e = firstEpoch_; e < firstEpoch_ + epochsPerLine_; ++e) {
    if (e >= firstTick && (e - firstTick) % step == 0) {
      FlushBar(dc);
      DrawTimeTick(dc, e, th);
    }
    if (utilityMode_ != 0 || e < count) DrawEpoch(dc, e, true);
  }
  FlushBar(dc);
  PrintFileName(dc);
  PrintDateTime(dc);
  PrintHeader(dc);
  dc.SetROP2(oldRop);
  dc.SelectFont(oldFont);
  dc.SelectPen(oldPen);
}

void LyrTrendStageAreaView::DrawTimeTick(draw::Dc& dc, std::int32_t epoch, int th) {
  const draw::Rect& r = Area();
  const int x1 = static_cast<int>(X(epoch));
  const int x2 = static_cast<int>(X(epoch + 1));
  const int step = LyrTrendTool::GetTimeScaleStep(SpanMinutes());
  const int xt = x1 + GetTimeScaleOffset(step, epoch, x2 - x1);
  if (!Printing()) {
    const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_DOT, 1, ScreenColour(3)});
    dc.MoveTo(xt, r.top);
    dc.LineTo(xt, r.bottom - 1);
    dc.SelectPen(old);
  }
  const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, Ink(TrendTimeScaleColor())});
  dc.MoveTo(xt, r.bottom);
  dc.LineTo(xt, r.bottom + th / 2);
  dc.SelectPen(old);
  const std::int32_t s = GetTimeScaleStart(epoch);
  const int hours = s / 3600;
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d", hours, (s - 3600 * hours) / 60);
  const int oldBk = dc.SetBkMode(draw::TRANSPARENT);
  const draw::ColorRef oldText = dc.SetTextColor(0);
  dc.TextOut(xt, r.bottom + th / 2, text);
  dc.SetTextColor(oldText);
  dc.SetBkMode(oldBk);
}

void LyrTrendStageAreaView::DrawEpoch(draw::Dc& dc, std::int32_t epoch, bool) {
  if (Container == nullptr || !IsLoaded() || lineNo_ >= lineCount_) return;
  firstEpoch_ = Container->GetEpochAt(lineNo_ * epochsPerLine_);
  if (firstEpoch_ == -1) return;
  // A shift during a screening run draws the whole line anew: with whole-pixel epochs the
  // picture is the shifted one, and the newest epoch stands at the right end.
  if (Container->GetScrollFlag(lineNo_) != 0) Container->ClearScrollFlag(lineNo_);
  if (epoch < firstEpoch_ || epoch >= firstEpoch_ + epochsPerLine_) return;
  const int code = StageOf(epoch);
  const CodeLook& look = codes_[static_cast<std::size_t>(code & 0xFF)];
  const int y = look.y;
  const CodeLook* prev = epoch != 0 ? &codes_[static_cast<std::size_t>(StageOf(epoch - 1) & 0xFF)] : nullptr;
  const int prevCode = epoch != 0 ? StageOf(epoch - 1) : 0;
  const std::size_t slot = static_cast<std::size_t>(epoch - firstEpoch_);
  const double x1 = X(epoch);
  posTbl_[slot] = static_cast<std::int32_t>(x1);
  if (!look.hasRecord) return;
  const double x2 = X(epoch + 1);
  const int half = look.half;
  const int r = look.row - 1;
  const int ix1 = static_cast<int>(x1);
  const int xe = std::max(static_cast<int>(x2), ix1 + 1);
  if (slot > 0 && r >= 0) {
    const int column = ix1 - (Printing() ? printRect_.left : 0);
    if (column >= 0 && column < stageTblWidth_) {
      auto& marks = stageTbl_[static_cast<std::size_t>(column)];
      if (ix1 <= posTbl_[slot - 1] && marks[static_cast<std::size_t>(r)] != 0) return;
      marks[static_cast<std::size_t>(r)] = 1;
    }
  }
  if (look.show == 0 || y < 0) return;
  if (prevCode != 0 && look.lineBetween != 0 && prevLineFlag_ != 0 && prev->hasRecord && prev->show != 0 &&
      prev->y >= 0) {
    const int top = std::min(y - half, prev->y + prev->half), bottom = std::max(y - half, prev->y + prev->half);
    FlushBar(dc);
    dc.FillSolidRect(draw::Rect{ix1, top, ix1 + 1, bottom}, Ink(TrendStageLineColor()));
  }
  prevLineFlag_ = look.lineBetween;
  // Bars of one stage that touch are filled as one (the same pixels, far fewer fills).
  const draw::Rect bar{ix1, y - half, xe, y + half};
  const draw::ColorRef colour = Ink(look.colour);
  if (pendingBar_ && pendingColour_ == colour && bar.top == pendingRect_.top && bar.bottom == pendingRect_.bottom &&
      bar.left <= pendingRect_.right) {
    pendingRect_.right = std::max(pendingRect_.right, bar.right);
  } else {
    FlushBar(dc);
    pendingBar_ = true;
    pendingRect_ = bar;
    pendingColour_ = colour;
  }
  if (code >= 20) {
    FlushBar(dc);
    const draw::Rect& a = Area();
    dc.FillSolidRect(draw::Rect{ix1, a.top, xe, a.top + 2 * half + 5}, Ink(ScreenColour(0)));
  }
}

void LyrTrendStageAreaView::FlushBar(draw::Dc& dc) {
  if (!pendingBar_) return;
  dc.FillSolidRect(pendingRect_, pendingColour_);
  pendingBar_ = false;
}

void LyrTrendStageAreaView::LookUpCodes() {
  for (int code = 0; code < 256; ++code) {
    CodeLook& look = codes_[static_cast<std::size_t>(code)];
    StageRecord record{};
    look.hasRecord = LyrTrendTool::GetStageRow(code, stages_, &record) != 0;
    look.row = LyrTrendTool::GetStageRowNumber(code, stages_);
    look.y = StageY(code);
    look.half = look.hasRecord ? std::max(1, static_cast<int>(record.lineWeight) / 2) : 1;
    look.colour = record.colour;
    look.show = look.hasRecord ? record.showInHypnogram : 0;
    look.lineBetween = look.hasRecord ? record.lineBetweenStages : 0;
  }
}

std::int32_t LyrTrendStageAreaView::EpochAtX(int x) const {
  const draw::Rect& r = drawRect_;
  const double width = static_cast<double>(r.right - r.left) / std::max(epochsPerLine_, 1);
  std::int32_t e = 0;
  if (firstEpoch_ == -1 && Container != nullptr)
    e = Container->GetEpochAt(0) + static_cast<std::int32_t>(x / width) + lineNo_ * epochsPerLine_;
  else
    e = static_cast<std::int32_t>(x / width + firstEpoch_);
  // A click past the last epoch stands on the last epoch.
  const int count = EpochCount();
  if (count > 0) e = std::clamp<std::int32_t>(e, 0, count - 1);
  return std::max(e, 0);
}

void LyrTrendStageAreaView::OnMouseMove(std::uint32_t, ui::Point) {
  if (ScreeningRunning == 0 && TrendZoomState != 0 && utilityMode_ == 0) SetCursorShape(ui::Window::Cursor::Cross);
  else SetCursorShape(ui::Window::Cursor::Arrow);
}

void LyrTrendStageAreaView::OnLButtonDown(std::uint32_t, ui::Point client) {
  if (!IsLoaded() || ScreeningRunning == 1 || Container == nullptr) return;
  const std::int32_t e = EpochAtX(client.x);
  if (utilityMode_ != 0) {
    SetCursorEpoch(e);
    DrawCursorAll();
    return;
  }
  LyrTrendDummyView* host = TrendHost(Container->Link);
  if (TrendZoomState >= 1 && TrendZoomState <= 4) {
    SetTrendTimeScale(ZoomSpanMinutes(TrendZoomState));
    SetCursorEpoch(e);
    ResetCursorEpoch(1);
    if (host != nullptr) host->ZoomToEpoch(e);
    TrendZoomState = 0;
    return;
  }
  SetCursorEpoch(e);
  DrawCursorAll();
  if (ScrollDirection == 0) {
    if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) {
      frame->JumpToEpoch(e, 1);
      if (LyrRawDummyView* raw = frame->RawView())
        if (LyrRawFrame* middle = raw->Row(2); middle != nullptr && middle->AreaView() != nullptr)
          middle->AreaView()->RedrawStageLabels();
      frame->UpdateFrameBarTime();
    }
  }
}

void LyrTrendStageAreaView::OnRButtonUp(std::uint32_t, ui::Point client) {
  if (ScreeningRunning == 1 || utilityMode_ != 0) return;
  if (TrendZoomState != 0) {
    TrendZoomState = 0;
    return;
  }
  ui::Menu popup;
  for (int row = 0; row < kHypnogramSpanFree; ++row)
    popup.AppendItem(HypnogramSpanTable[static_cast<std::size_t>(row)].command, HypnogramSpanText(row));
  const ui::Point screen = ClientToScreen(client);
  ui::TrackPopupMenu(popup, ui::PopupPosition{screen.x, screen.y}, this);
}

bool LyrTrendStageAreaView::OnCommand(std::uintptr_t wParam, std::intptr_t lParam) {
  const int row = HypnogramSpanRowOfCommand(ui::LowWord(wParam));
  if (row < 0) return ui::View::OnCommand(wParam, lParam);
  ApplySpan(row);
  return true;
}

void LyrTrendStageAreaView::ApplySpan(int row) {
  SetTrendTimeScale(HypnogramSpanTable[static_cast<std::size_t>(row)].minutes);
  LyrTrendDummyView* host = Container != nullptr ? TrendHost(Container->Link) : nullptr;
  if (host != nullptr && host->Frame() != nullptr)
    host->Frame()->ApplyDisplaySetting(HypnogramLinesHeld(), MinutesPerLineHeld(), TrendGraphCountHeld());
}

// ---- Printing extras ---------------------------------------------------------------------

void LyrTrendStageAreaView::PrintFileName(draw::Dc& dc) {
  if (!Printing() || utilityMode_ == 0 || Container == nullptr || Container->Link.utility == nullptr) return;
  const std::string name = Container->Link.utility->FileNameOf(fileNo_);
  const draw::Size size = dc.GetTextExtent(name);
  if (size.cx > 0) dc.TextOut(printRect_.left, printRect_.top - size.cy, name);
}

void LyrTrendStageAreaView::PrintDateTime(draw::Dc& dc) {
  if (!Printing() || lineNo_ != 0) return;
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  char text[64];
  std::strftime(text, sizeof text, "%x  %H:%M:%S", &tm);
  const int oldBk = dc.SetBkMode(draw::TRANSPARENT);
  dc.TextOut(printRect_.right - dc.GetTextExtent(text).cx, 0, text);
  dc.SetBkMode(oldBk);
}

void LyrTrendStageAreaView::PrintHeader(draw::Dc& dc) {
  if (!Printing() || utilityMode_ != 0 || lineNo_ != 0 || Container == nullptr) return;
  const CQLM2_AnalyzerDoc* doc = Container->Doc();
  if (doc == nullptr) return;
  const int width = printRect_.right - dc.GetTextExtent("MMMMM").cx;
  const std::vector<std::string> lines = TrendPrintHeaderLines(
      doc->RecordInfo, [&dc](const std::string& s) { return dc.GetTextExtent(s).cx; }, width);
  int y = 0;
  const int oldBk = dc.SetBkMode(draw::TRANSPARENT);
  for (const std::string& line : lines) {
    const std::size_t tab = line.find('\t');
    if (tab != std::string::npos) {
      const std::string sex = line.substr(0, tab);
      dc.TextOut(0, y, sex);
      dc.TextOut(sex.empty() ? 0 : dc.GetTextExtent(sex).cx + 20, y, line.substr(tab + 1));
    } else {
      dc.TextOut(0, y, line);
    }
    y += dc.GetTextExtent("MM").cy + 2;
  }
  dc.SetBkMode(oldBk);
}
