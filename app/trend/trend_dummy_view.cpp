#include "app/trend/trend_dummy_view.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "app/document/epoch_table_bindings.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/results/hypnogram_printing.h"
#include "app/trend/lyr_trend_frame.h"
#include "app/trend/lyr_trend_graph_view.h"
#include "app/trend/lyr_trend_info_area_view.h"
#include "app/trend/lyr_trend_popup_menu.h"
#include "app/trend/lyr_trend_tool.h"
#include "app/trend/trend_settings.h"
#include "platform/draw/dc.h"
#include "platform/ui/message_box.h"
#include "platform/ui/print_dialog.h"

namespace {

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

std::string Dec(long long v) { return std::to_string(v); }

}  // namespace

// ---- Host view ---------------------------------------------------------------------------

LyrTrendDummyView::LyrTrendDummyView() {
  TrendArea.Host = this;
  StageArea.ScrollBar.Host = this;
  StageArea.Link.host = this;
}

LyrTrendDummyView::~LyrTrendDummyView() {
  // The frame and its splitters go before the panes they show.
  frame_.reset();
}

CQLM2_AnalyzerDoc* LyrTrendDummyView::Doc() const { return dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument()); }

LyrTrendInfoAreaView* LyrTrendDummyView::InfoArea() const { return frame_ ? frame_->InfoArea() : nullptr; }

int LyrTrendDummyView::OnCreate() {
  try {
    frame_ = std::make_unique<LyrTrendFrame>(this);
    ui::CreateContext context;
    context.currentDocument = GetDocument();
    if (!frame_->CreateDocked(this, kTrendMenuId, &context)) {
      ui::MessageBox("LyrTrendDummyView::OnCreate");
      return 0;
    }
    frame_->SetWindowText("TrendFrame");
  } catch (const std::exception&) {
    ui::MessageBox("LyrTrendDummyView::OnCreate");
  }
  return 0;
}

void LyrTrendDummyView::OnInitialUpdate() {
  ui::View::OnInitialUpdate();
  if (frame_) frame_->DockWindow(0);
}

void LyrTrendDummyView::OnDraw(draw::Dc&) {}

void LyrTrendDummyView::OnSize(std::uint32_t, int, int) {
  // The docked frame follows the view's size by itself (the platform's dock frame).
}

void LyrTrendDummyView::SetCursorEpoch(std::int32_t, std::int32_t epoch) {
  previousCursorEpoch_ = cursorEpoch_;
  cursorEpoch_ = epoch;
}

void LyrTrendDummyView::ResetCursorEpoch(int mode) {
  if (mode != 1) cursorEpoch_ = -1;
  if (mode != 0) previousCursorEpoch_ = -1;
}

void LyrTrendDummyView::DrawCursor() {
  ++CursorDraws;
  StageArea.RedrawCursor();
  // Each graph draws its cursor and marks its value there for the information column.
  for (int g = 0; g < TrendGraphCountHeld(); ++g) {
    if (LyrTrendTrendAreaView* graph = TrendArea.GraphView(g); graph != nullptr && graph->IsWindow()) {
      graph->DrawCursor(0);
    } else if (CQLM2_AnalyzerDoc* doc = Doc(); doc != nullptr && cursorEpoch_ >= 0) {
      LyrTrendGraphValues& values = TrendArea.Values[static_cast<std::size_t>(g)];
      values.SetDocument(doc);
      const TrendValue v = values.GetTrendValue(cursorEpoch_);
      SetGraphMark(g, v.isFloat, v.value, v.floatValue);
    }
  }
  if (LyrTrendInfoAreaView* info = InfoArea()) info->ShowCursorValues();
}

void LyrTrendDummyView::FollowRawCurrentEpoch(std::int32_t epoch) {
  SetCursorEpoch(-1, epoch);
  const int shown = ShownEpochs();
  if (epoch >= 0 && (epoch < StageArea.GetEpochAt(0) || epoch >= StageArea.GetEpochAt(0) + shown))
    StageArea.SetCenterEpoch(epoch);
  if (epoch >= 0 && (epoch < TrendArea.GetEpoch(0) || epoch >= TrendArea.GetEpoch(0) + shown)) {
    TrendArea.SetCenterEpoch(epoch);
    TrendArea.RedrawGraphs();
  }
  DrawCursor();
}

void LyrTrendDummyView::ZoomToEpoch(std::int32_t epoch) {
  const int minutes = ZoomSpanMinutes(TrendZoomState);
  if (minutes == 0) return;
  StageArea.ZoomAround(epoch);
  TrendArea.ZoomAround(epoch);
}

void LyrTrendDummyView::ClearGraphMarks() { graphMarks_.fill(TrendValue{}); }

void LyrTrendDummyView::SetGraphMark(int graph, std::uint16_t isFloat, std::int16_t value, float floatValue) {
  if (graph >= 0 && graph < 20) graphMarks_[static_cast<std::size_t>(graph)] = TrendValue{isFloat, value, floatValue};
}

TrendValue LyrTrendDummyView::GetGraphMark(int graph) const {
  return graph >= 0 && graph < 20 ? graphMarks_[static_cast<std::size_t>(graph)] : TrendValue{};
}

long long LyrTrendDummyView::EpochClockSeconds(std::int32_t epoch) const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  long long seconds = static_cast<long long>(epoch) * EpochSeconds;
  if (ClockTimeDisplay != 0 && doc != nullptr && doc->RecordInfo.startTimeValid != 0) {
    const auto& t = doc->RecordInfo.startDateTime;
    const LyrChInfo& ch0 = doc->ChInfo[0];
    seconds += static_cast<long long>(t[3]) * 3600 + t[4] * 60 + t[5];
    if (ch0.rate > 0) seconds += ch0.startOffset / ch0.rate;
  }
  return seconds;
}

LyrTrendDummyView::DateParts LyrTrendDummyView::GetEpochDateParts(std::int32_t epoch) const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  long long y = 2000;
  unsigned mo = 11, d = 1;
  if (ClockTimeDisplay != 0 && doc != nullptr && doc->RecordInfo.startTimeValid != 0) {
    const auto& t = doc->RecordInfo.startDateTime;
    y = t[0];
    mo = std::clamp<unsigned>(t[1], 1, 12);
    d = std::clamp<unsigned>(t[2], 1, 31);
  }
  const long long seconds = EpochClockSeconds(epoch);
  const long long days = DaysFromCivil(y, mo, d) + (seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400);
  const long long sod = ((seconds % 86400) + 86400) % 86400;
  CivilFromDays(days, y, mo, d);
  return {Dec(y), Dec(mo), Dec(d), Dec(sod / 3600), Dec(sod / 60 % 60), Dec(sod % 60)};
}

std::int32_t LyrTrendDummyView::GetTimeScaleStart(std::int32_t epoch, std::int32_t& startSecond,
                                                  std::int32_t& endSecond) const {
  const int step = LyrTrendTool::GetTimeScaleStep(MinutesPerLineHeld()) * 60;
  // The clock of the epoch's start as seconds of its day.
  const long long seconds = EpochClockSeconds(epoch);
  startSecond = static_cast<std::int32_t>(((seconds % 86400) + 86400) % 86400);
  endSecond = startSecond + EpochSeconds;
  return endSecond / step * step;
}

std::int32_t LyrTrendDummyView::GetTimeScaleOffset(int, std::int32_t epoch, int width) const {
  if (ClockTimeDisplay == 0) return 0;
  std::int32_t start = 0, end = 0;
  const std::int32_t tick = GetTimeScaleStart(epoch, start, end);
  if (end == start) return 0;
  const std::int32_t offset = (tick - start) * width / (end - start);
  return offset == 1 ? 0 : offset;
}

int LyrTrendDummyView::IsTimeScaleEpoch(std::int32_t epoch) const {
  const int step = LyrTrendTool::GetTimeScaleStep(MinutesPerLineHeld()) * 60;
  std::int32_t start = 0, end = 0;
  GetTimeScaleStart(epoch, start, end);
  if (ClockTimeDisplay != 0) return (start + EpochSeconds) / step != start / step ? 1 : 0;
  return start % step == 0 ? 1 : 0;
}

void LyrTrendDummyView::ResetInfoArea() {
  ++InfoAreaResets;
  if (LyrTrendInfoAreaView* info = InfoArea()) {
    info->ClearUndo();
    info->SetThresholdText();
    info->EnableThresholdEdit();
  }
}

void LyrTrendDummyView::AfterResultFileOpened() {
  if (frame_) frame_->ApplyDisplaySetting(HypnogramLinesHeld(), MinutesPerLineHeld(), TrendGraphCountHeld());
  if (LyrTrendInfoAreaView* info = InfoArea()) {
    info->ClearUndo();
    info->EnableThresholdEdit();
  }
}

void LyrTrendDummyView::AfterResultsCleared() {
  if (frame_) frame_->ApplyDisplaySetting(HypnogramLinesHeld(), MinutesPerLineHeld(), TrendGraphCountHeld());
  if (LyrTrendInfoAreaView* info = InfoArea()) {
    info->SetThresholdText();
    info->ClearUndo();
    info->EnableThresholdEdit();
  }
}

void LyrTrendDummyView::ScreeningStarted() {
  if (LyrTrendInfoAreaView* info = InfoArea()) info->ClearUndo();
}

void LyrTrendDummyView::ScreeningFinished() {
  if (LyrTrendInfoAreaView* info = InfoArea()) {
    info->SetThresholdText();
    info->PushUndo(-1);
    info->EnableThresholdEdit();
  }
}

void LyrTrendDummyView::RedrawPanes(int all) {
  if (all != 0) StageArea.RedrawWindow();
  TrendArea.RedrawGraphs();
}

bool LyrTrendDummyView::RegisterThresholdEdit(ui::Window* host, int controlId) {
  if (host == nullptr || IsThresholdEdit(host, controlId)) return host != nullptr;
  if (static_cast<int>(thresholdEdits_.size()) >= kThresholdEditCount) return false;
  thresholdEdits_.emplace_back(host, controlId);
  return true;
}

void LyrTrendDummyView::UnregisterThresholdEdits(ui::Window* host) {
  std::erase_if(thresholdEdits_, [host](const auto& e) { return e.first == host; });
}

bool LyrTrendDummyView::IsThresholdEdit(const ui::Window* host, int controlId) const {
  for (const auto& [window, id] : thresholdEdits_)
    if (window == host && id == controlId) return true;
  return false;
}

// ---- Printing ----------------------------------------------------------------------------

bool LyrTrendDummyView::OnPreparePrinting(PrintInfo& info) {
  info.minPage = info.maxPage = 1;
  info.direct = false;
  info.settings->page.landscape = true;
  info.settings->page.documentName = "Trend";
  return true;
}

void LyrTrendDummyView::OnBeginPrinting(draw::Dc& dc, PrintInfo&) { ::OnBeginPrinting(dc); }

void LyrTrendDummyView::LayoutPrint(draw::Dc& dc, const ui::Rect& r) {
  const int horzSize = std::max(1, dc.GetDeviceCaps(draw::HORZSIZE));
  printLabelWidth_ = 70 * dc.GetDeviceCaps(draw::HORZRES) / horzSize;
  const int unit = std::max(r.Width(), r.Height()) / 40;
  int normal = 0, extra = 0;
  const CQLM2_AnalyzerDoc* doc = Doc();
  const int stages = doc != nullptr ? LyrTrendTool::GetStageRowCount(normal, extra, doc->Params.stageType) : 0;
  const int lineHeight = (stages + 1) * unit;
  const int lines = HypnogramLinesHeld();
  const int lineWidth = (r.right - printLabelWidth_) / lines;
  StageArea.PrintRects.clear();
  for (int i = 0; i < lines; ++i) {
    const int top = r.top + 100;
    StageArea.PrintRects.emplace_back(ui::Rect{r.left, top, r.left + printLabelWidth_, top + lineHeight},
                                      ui::Rect{r.left + printLabelWidth_ + i * lineWidth, top,
                                               r.left + printLabelWidth_ + (i + 1) * lineWidth, top + lineHeight});
  }
  const int textHeight = dc.GetTextExtent("MM").cy;
  const int g0 = r.top + lineHeight + 110;
  const int count = TrendGraphCountHeld();
  const int graphHeight = (r.bottom - (textHeight + 18) - g0) / count;
  TrendArea.PrintRects.clear();
  for (int i = 0; i < count; ++i) {
    const int y = g0 + i * graphHeight;
    TrendArea.PrintRects.emplace_back(ui::Rect{r.left, y, r.left + printLabelWidth_, y + graphHeight},
                                      ui::Rect{r.left + printLabelWidth_, y, r.right, y + graphHeight});
  }
}

void LyrTrendDummyView::OnPrint(draw::Dc& dc, PrintInfo& info) {
  PrintTarget = 2;
  const draw::Font old = dc.SelectFont(PrintFont());
  LayoutPrint(dc, info.drawRect);
  // Each pane draws into its print rectangle: axis pane first, then the line or graph.
  for (std::size_t i = 0; i < StageArea.PrintRects.size(); ++i) {
    const auto& [axis, view] = StageArea.PrintRects[i];
    if (LyrTrendStageAreaAxisView* pane = StageArea.AxisView(static_cast<int>(i))) {
      pane->SetLabelRect(axis.left, axis.top, axis.right, axis.bottom);
      pane->Redraw(&dc);
    }
    if (LyrTrendStageAreaView* line = StageArea.LineView(static_cast<int>(i))) {
      line->SetDrawRect(view.left, view.top, view.right, view.bottom);
      line->DrawToDC(&dc);
    }
  }
  for (std::size_t g = 0; g < TrendArea.PrintRects.size(); ++g) {
    const auto& [axis, view] = TrendArea.PrintRects[g];
    LyrTrendTrendAreaAxisView* pane = TrendArea.AxisView(static_cast<int>(g));
    if (pane == nullptr || pane->Graph() == nullptr) continue;
    pane->SetPrintRect(axis);
    pane->DrawAxis(dc);
    pane->Graph()->SetPrintRect(view);
    pane->Graph()->PrintGraph(&dc);
  }
  dc.SelectFont(old);
}

void LyrTrendDummyView::OnEndPrinting(draw::Dc&, PrintInfo&) {
  ::OnEndPrinting();
  PrintTarget = 0;
}
