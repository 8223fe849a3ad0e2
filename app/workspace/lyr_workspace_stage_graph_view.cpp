#include "app/workspace/lyr_workspace_stage_graph_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "app/document/analysis_param_blocks.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/results/hypnogram_printing.h"
#include "app/workspace/workspace_settings.h"
#include "app/workspace/workspace_stage_strings.h"
#include "app/workspace/workspace_text_out.h"
#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"
#include "platform/draw/image.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_system.h"
#include "platform/ui/messages.h"

namespace {
constexpr std::uint16_t kPrintWorkspace = 3;
constexpr draw::ColorRef kBlack = 0x000000;
constexpr draw::ColorRef kGrey = 0x808080;

std::string Printf(const char* format, long long v) {
  char text[32];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

// The brush of an item's bar or band (and its legend swatch).
draw::Brush ItemBrush(int item, draw::ColorRef colour, bool monochrome) {
  if (!monochrome) return draw::Brush::Solid(colour);
  static constexpr int kHatch[6] = {draw::HS_BDIAGONAL, draw::HS_CROSS,      draw::HS_DIAGCROSS,
                                    draw::HS_FDIAGONAL, draw::HS_HORIZONTAL, draw::HS_VERTICAL};
  static constexpr draw::ColorRef kGreys[4] = {0xFFFFFF, 0x555555, 0x000000, 0xAAAAAA};
  if (item >= 0 && item < 6) return draw::Brush::Hatched(kHatch[item], colour);
  if (item >= 6 && item < 10) return draw::Brush::Solid(kGreys[item - 6]);
  return draw::Brush::Solid(colour);
}
}  // namespace

int LyrWorkspaceStageGraphView::OnCreate() {
  AddControl(ui::ControlKind::ReportList, kListId, {}, GetClientRect());
  List().Show(false);
  if (UtilityMode == 0) OutputText(2);
  return 0;
}

void LyrWorkspaceStageGraphView::OnSize(std::uint32_t, int cx, int cy) {
  if (UtilityMode == 0) {
    const int left = cx * 6 / 10;
    List().Move(draw::RectFromSize(left, 0, cx - left, cy));
    List().Show(true);
  } else {
    List().Move(draw::RectFromSize(0, 0, cx, cy));
    List().Show(false);
  }
}

const StageTypeParam* LyrWorkspaceStageGraphView::StageType() const {
  if (UtilityMode != 0) return Utility.stageType;
  const CQLM2_AnalyzerDoc* doc = Doc();
  return doc != nullptr ? &doc->Params.stageType : nullptr;
}

int LyrWorkspaceStageGraphView::EpochSecondsOf() const { return UtilityMode != 0 ? Utility.epochSeconds : EpochSeconds; }

std::string LyrWorkspaceStageGraphView::LabelOf(int epoch) const {
  if (UtilityMode != 0) return Utility.epochLabel ? Utility.epochLabel(epoch) : std::string();
  std::string label;
  if (CQLM2_AnalyzerDoc* doc = Doc()) doc->GetEpochTimeString(static_cast<unsigned>(std::max(epoch, 0)), label);
  return label;
}

StageGraphTable LyrWorkspaceStageGraphView::Count() const {
  const StageTypeParam* block = StageType();
  const int type = block != nullptr ? block->stageType : 0;
  if (UtilityMode != 0) {
    if (!Utility.stageOf) return {};
    return CountStageGraph(Utility.stageOf, type, FirstEpoch, LastEpoch, Utility.lastEpoch, Utility.epochSeconds,
                           StageGraphTimeDivision, StageItemFlags);
  }
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || DocumentLoaded == 0) return {};
  const int seconds = EpochSeconds;
  const int last = seconds > 0 ? doc->GetDivNum(seconds) - 1 : -1;
  auto stageOf = [doc, type](int e) { return static_cast<int>(doc->EpochTables.GetStage(type, e, 0)); };
  return CountStageGraph(stageOf, type, FirstEpoch, LastEpoch, last, seconds, StageGraphTimeDivision, StageItemFlags);
}

int LyrWorkspaceStageGraphView::TableRows() const { return IsWindow() ? List().GetCount() : 0; }

ui::Rect LyrWorkspaceStageGraphView::GetGraphRect(const ui::Rect& area, ui::Size text, long long spanSeconds) const {
  const int rows = spanSeconds < 3600 ? 3 : 2;
  ui::Rect r;
  r.left = area.left + text.cx + 10;
  r.top = area.top + rows * text.cy;
  r.bottom = area.bottom - 10 - rows * text.cy;
  if (UtilityMode != 0)
    r.right = area.right - 20;
  else if (PrintTarget == kPrintWorkspace && printing_)
    r.right = area.right;
  else
    r.right = area.right - 20 - area.right * 4 / 10;
  return r;
}

void LyrWorkspaceStageGraphView::OnDraw(draw::Dc& dc) {
  const ui::Rect r = GetClientRect();
  dc.FillSolidRect(draw::RectFromSize(0, 0, r.Width(), r.Height()), 0xFFFFFF);
  DrawGraph(dc, draw::RectFromSize(0, 0, r.Width(), r.Height()));
}

void LyrWorkspaceStageGraphView::DrawGraph(draw::Dc& dc, const ui::Rect& area) {
  const StageGraphTable t = Count();
  const StageTypeParam* block = StageType();
  if (block == nullptr || t.epochsPerDivision <= 0 || t.shownItems.empty()) return;
  const bool print = printing_ && PrintTarget == kPrintWorkspace;
  const bool monochrome = print && monochrome_;
  if (print) dc.SelectFont(PrintFont());
  const ui::Size text = dc.GetTextExtent("8888");
  const long long span = t.SpanSeconds();
  const ui::Rect g = GetGraphRect(area, text, span);
  const int width = g.right - g.left + 1;
  const int height = g.bottom - g.top + 1;
  if (width <= 2 || height <= 2) return;

  // Frame: black outside, grey inside.
  dc.SelectBrush(draw::Brush::Null());
  dc.SelectPen(draw::Pen{draw::PS_SOLID, 2, kBlack});
  dc.Rectangle(g.left - 1, g.top - 1, g.right + 2, g.bottom + 2);
  dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kGrey});
  dc.Rectangle(g.left + 1, g.top + 1, g.right, g.bottom);

  const int divisions = t.Divisions();
  const int shown = static_cast<int>(t.shownItems.size());
  const double xdiv = divisions > 0 ? static_cast<double>(width) / divisions : 0.0;
  const double yep = static_cast<double>(height) / t.epochsPerDivision;
  const double xbar = divisions > 0 ? static_cast<double>(width) / (divisions * shown) : 0.0;
  auto fill = [&](int item, draw::ColorRef colour, int l, int top, int rgt, int bottom) {
    if (top >= bottom) return;
    if (xdiv < 3.0) {
      dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, colour});
      for (int x = l; x <= rgt; ++x) {
        dc.MoveTo(x, top);
        dc.LineTo(x, bottom);
      }
    } else if (xdiv < 5.0) {
      dc.FillSolidRect(ui::Rect{l, top, rgt, bottom}, colour);
    } else {
      dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
      dc.SelectBrush(ItemBrush(item, colour, monochrome));
      dc.Rectangle(l, top, rgt, bottom);
    }
  };
  std::array<draw::Point, kStageGraphItems> previous{};
  for (int d = 0; d < divisions; ++d) {
    int base = g.bottom;
    for (int k = 0; k < shown; ++k) {
      const int item = t.shownItems[static_cast<std::size_t>(k)];
      const StageRecord* rec = StageGraphItemRecord(*block, item);
      const draw::ColorRef colour = rec != nullptr ? rec->colour : kBlack;
      const int count = t.counts[static_cast<std::size_t>(d)][static_cast<std::size_t>(item)];
      const int h = static_cast<int>(count * yep);
      if (StageGraphType == 0) {
        const draw::Point p{g.left + static_cast<int>(d * xdiv + xdiv / 2), g.bottom - h};
        if (d > 0) {
          dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, colour});
          dc.MoveTo(previous[static_cast<std::size_t>(item)]);
          dc.LineTo(p);
        }
        previous[static_cast<std::size_t>(item)] = p;
      } else if (StageGraphType == 1) {
        fill(item, colour, g.left + static_cast<int>(d * xdiv + k * xbar), g.bottom - h,
             g.left + static_cast<int>(d * xdiv + (k + 1) * xbar), g.bottom);
      } else {
        fill(item, colour, g.left + static_cast<int>(d * xdiv), base - h, g.left + static_cast<int>((d + 1) * xdiv),
             base);
        base -= h;
      }
    }
  }

  // Axes and labels.
  dc.SetBkMode(draw::TRANSPARENT);
  dc.SetTextColor(kBlack);
  dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
  const std::string unit = res::LoadString(StageGraphYUnit == 0 ? IDS_SG_PERCENT : IDS_SG_MINUTES);
  dc.TextOut(g.left - dc.GetTextExtent(unit).cx - 10, g.top - 2 * text.cy, unit);
  auto yTick = [&](int y, const std::string& label) {
    dc.MoveTo(g.left - 10, y);
    dc.LineTo(g.left, y);
    dc.TextOut(g.left - 10 - dc.GetTextExtent(label).cx, y - text.cy / 2, label);
  };
  if (StageGraphYUnit == 0) {
    for (int k = 0; k <= 5; ++k) yTick(g.bottom - static_cast<int>(k * 0.2 * height), Printf("%d", 20LL * k));
  } else {
    const int division = StageGraphTimeDivision;
    const int step = division <= 5 ? 1 : division <= 10 ? 5 : 10;
    const double steps = static_cast<double>(division) / step;
    for (int k = 0; k <= static_cast<int>(steps) && steps > 0; ++k)
      yTick(g.bottom - static_cast<int>(k * height / steps), Printf("%d", static_cast<long long>(k) * step));
  }
  const bool minutes = span < 3600;
  const int row0 = g.bottom + 10;
  dc.TextOut(area.left, row0, res::LoadString(IDS_SG_DAY));
  dc.TextOut(area.left, row0 + text.cy, res::LoadString(IDS_SG_HOUR));
  if (minutes) dc.TextOut(area.left, row0 + 2 * text.cy, res::LoadString(IDS_SG_MIN));
  const long long interval = span < 3600 ? 600 : span < 43200 ? 3600 : 21600;
  auto xTick = [&](int x, long long day, long long hour, long long minute, bool dayWide) {
    dc.MoveTo(x, g.bottom);
    dc.LineTo(x, g.bottom + 10);
    dc.TextOut(x, row0, Printf(dayWide ? "%2d" : "%d", day));
    dc.TextOut(x, row0 + text.cy, Printf("%02d", hour));
    if (minutes) dc.TextOut(x, row0 + 2 * text.cy, Printf("%02d", minute));
  };
  if (span <= 0) return;
  if (StageGraphXAxisMode == 0) {
    // Ticks are labelled by their own time from the graph's first epoch.
    const double n = static_cast<double>(span) / interval;
    for (int k = 0; k <= static_cast<int>(n); ++k) {
      const long long s = k * interval;
      xTick(g.left + static_cast<int>(k * width / n), s / 86400 + 1, (s / 3600) % 24, (s % 3600) / 60, true);
    }
  } else {
    const CQLM2_AnalyzerDoc* doc = UtilityMode == 0 ? Doc() : nullptr;
    const bool clock = ClockTimeDisplay != 0 && doc != nullptr && doc->RecordInfo.startTimeValid != 0;
    long long a0 = static_cast<long long>(t.epochSeconds) * FirstEpoch;
    if (clock) a0 += doc->RecordInfo.startTimeOfDayMs / 1000;
    const long long startDay = clock ? doc->RecordInfo.startDateTime[2] : 1;
    for (long long a = (a0 + interval - 1) / interval * interval; a < a0 + span; a += interval) {
      const int x = g.left + static_cast<int>((a - a0) * width / span);
      if (clock)
        xTick(x, a / 86400 + startDay, (a / 3600) % 24, (a % 3600) / 60, false);
      else
        xTick(x, a / 86400 + 1, a / 3600, (a % 3600) / 60, false);
    }
  }

  if (!print) return;
  // Legend above the plot: five entries a row.
  const std::vector<std::string> names = StageGraphItemNames(*block);
  const int column = width / 5;
  for (int k = 0; k < shown; ++k) {
    const int item = t.shownItems[static_cast<std::size_t>(k)];
    const StageRecord* rec = StageGraphItemRecord(*block, item);
    const int x = g.left + (k % 5) * column;
    const int y = g.top - 2 * text.cy - 10 + (k / 5) * text.cy;
    dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
    dc.SelectBrush(ItemBrush(item, rec != nullptr ? rec->colour : kBlack, monochrome));
    dc.Rectangle(x, y, x + text.cx, y + text.cy);
    if (item < static_cast<int>(names.size())) dc.TextOut(x + text.cx + 10, y, names[static_cast<std::size_t>(item)]);
  }
}

bool LyrWorkspaceStageGraphView::FindStageGraph(int mode, WorkspaceTextOut* out) {
  const StageGraphTable t = Count();
  const char d = WorkspaceDelimiter();
  ui::Control list = List();
  if (mode == 2) {
    DivisionStarts.assign(static_cast<std::size_t>(t.Divisions()), 0);
    list.SetFullRowSelect(true);
    list.SetGridLines(true);
    list.SetRedraw(false);
    list.DeleteAllItems();
    std::vector<std::string> cells;
    const int columns = 1 + static_cast<int>(t.shownItems.size());
    for (int div = 0; div < t.Divisions(); ++div) {
      DivisionStarts[static_cast<std::size_t>(div)] = t.DivisionFirstEpoch(div);
      cells.push_back(LabelOf(t.DivisionFirstEpoch(div)));
      for (int item : t.shownItems) cells.push_back(t.Value(div, item, StageGraphYUnit));
    }
    list.AppendRows(cells, columns);
    // Titles and cells shown whole.
    list.AutoSizeColumns();
    list.SetRedraw(true);
    return true;
  }
  for (int div = 0; div < t.Divisions(); ++div) {
    std::string line = LabelOf(t.DivisionFirstEpoch(div));
    line += d;
    for (int item : t.shownItems) (line += t.Value(div, item, StageGraphYUnit)) += d;
    out->Put(line + "\n");
    ++out->Lines;
    if (out->CheckMaxLine(TextOutputMaxLine, UtilityMode == 0 ? Doc() : nullptr, this, &OutputPath) == 0) return false;
  }
  return !out->Failed();
}

int LyrWorkspaceStageGraphView::OutputText(int mode) {
  const StageTypeParam* block = StageType();
  const std::vector<std::string> names = block != nullptr ? StageGraphItemNames(*block) : std::vector<std::string>{};
  auto nameOf = [&](int item) {
    return item < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(item)] : std::string();
  };
  if (mode == 2) {
    TimeHeader = 0;
    if (!IsWindow()) return 0;
    ui::Control list = List();
    list.DeleteAllItems();
    while (list.GetColumnCount() > 0 && list.DeleteColumn(0)) {
    }
    list.SetFullRowSelect(true);
    list.InsertColumn(0, res::LoadString(IDS_SG_TIME), 100);
    int col = 1;
    for (int i = 0; i < kStageGraphItems; ++i)
      if (StageItemFlags[static_cast<std::size_t>(i)] != 0) list.InsertColumn(col++, nameOf(i), 30);
    FindStageGraph(2, nullptr);
    return 1;
  }
  const char d = WorkspaceDelimiter();
  WorkspaceTextOut out;
  const int header = TimeHeader;
  TimeHeader = 0;
  if (!out.Open(mode, OutputPath)) return 0;
  out.Lines = 1;
  CQLM2_AnalyzerDoc* doc = UtilityMode == 0 ? Doc() : nullptr;
  if (doc != nullptr) {
    out.Header(*doc);
    out.Put("\n");
    ++out.Lines;
  }
  if (header == 1) {
    out.Put(std::string("Start time") + d + LabelOf(FirstEpoch) + "\n");
    out.Put(std::string("End time") + d + LabelOf(LastEpoch) + d + "Time Division(min)" + d +
            std::to_string(StageGraphTimeDivision) + "\n");
    out.Put("\n");
    out.Lines += 3;
  }
  std::string heading = "Time";
  heading += d;
  for (int i = 0; i < kStageGraphItems; ++i)
    if (StageItemFlags[static_cast<std::size_t>(i)] != 0) (heading += nameOf(i)) += d;
  out.Put(heading + "\n");
  ++out.Lines;
  bool ok = !out.Failed();
  if (ok && out.CheckMaxLine(TextOutputMaxLine, doc, this, &OutputPath) != 0) ok = FindStageGraph(mode, &out);
  if (!out.Finish()) ok = false;
  return ok ? 1 : out.Stopped() ? 2 : 0;
}

void LyrWorkspaceStageGraphView::OnControlNotify(int controlId, int code) {
  if (controlId != kListId || code != ui::NM_CLICK || ScreeningRunning != 0) return;
  CMainFrame* frame = MainFrame();
  if (frame == nullptr) return;
  for (int row : List().GetSelectedIndexes()) {
    if (row < 0 || row >= static_cast<int>(DivisionStarts.size())) continue;
    frame->VideoFollowsWave = 1;
    frame->JumpToEpoch(DivisionStarts[static_cast<std::size_t>(row)], 1);
    if (LyrRawDummyView* raw = frame->RawView())
      if (LyrRawFrame* middle = raw->Row(2); middle != nullptr && middle->AreaView() != nullptr)
        middle->AreaView()->RedrawStageLabels();
  }
}

bool LyrWorkspaceStageGraphView::OnPreparePrinting(PrintInfo& info) {
  info.minPage = 1;
  info.maxPage = 1;
  PrintTarget = kPrintWorkspace;
  return true;
}

void LyrWorkspaceStageGraphView::OnBeginPrinting(draw::Dc& dc, PrintInfo&) {
  ::OnBeginPrinting(dc);
  printing_ = true;
}

void LyrWorkspaceStageGraphView::PrintHeader(draw::Dc& dc, const ui::Rect& page) {
  const CQLM2_AnalyzerDoc* doc = Doc();
  dc.SelectFont(PrintFont());
  dc.SetBkMode(draw::TRANSPARENT);
  dc.SetTextColor(kBlack);
  const int h = dc.GetTextExtent("8888").cy;
  const int margin = 2 * h;
  int y = page.top + margin;
  const int x = page.left + margin;
  auto line = [&](std::uint32_t caption, const std::string& value) {
    dc.TextOut(x, y, res::LoadString(caption) + ":" + value);
    y += h;
  };
  const LyrRecordInfo* r = doc != nullptr ? &doc->RecordInfo : nullptr;
  line(IDS_SG_FILE_NAME, r != nullptr ? sys::FileNameOf(r->path) : std::string());
  // The print date, right-aligned on the first line.
  char when[64] = "";
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (localtime_r(&now, &tm) != nullptr) std::strftime(when, sizeof when, "%x  %H:%M:%S", &tm);
  dc.TextOut(page.right - margin - dc.GetTextExtent(when).cx, page.top + margin, when);
  if (r != nullptr) {
    line(IDS_SG_SUBJECT, HideSubjectName != 0 ? std::string(r->subjectName.size(), '*') : r->subjectName);
    line(IDS_SG_GENDER, r->gender == 0 ? res::LoadString(IDS_SG_MALE)
                        : r->gender == 1 ? res::LoadString(IDS_SG_FEMALE) : std::string());
    char age[96];
    std::snprintf(age, sizeof age, ":%ld%s %ld%s", static_cast<long>(r->ageYears), res::LoadString(IDS_SG_YEAR).c_str(),
                  static_cast<long>(r->ageMonths), res::LoadString(IDS_SG_MONTH).c_str());
    dc.TextOut(x, y, res::LoadString(IDS_SG_AGE) + age);
    y += h;
    line(IDS_SG_MEMO, r->memo);
    // Free comments, as many a row as fit.
    const bool landscape = page.Width() > page.Height();
    const int perRow = landscape ? 3 : 2;
    const int cell = (page.Width() - 2 * margin) / perRow;
    int k = 0;
    for (const auto& item : r->freeComments) {
      if (item.label.empty() && item.text.empty()) continue;
      dc.TextOut(x + (k % perRow) * cell, y, item.label + ":" + item.text);
      if (++k % perRow == 0) y += h;
    }
    if (k % perRow != 0) y += h;
  }
  // The graph: below the header, a twentieth of the page's width in from each side (room for
  // the scale's labels), down to three quarters of the page.
  const int side = page.Width() / 20;
  PrintRect = ui::Rect{page.left + side, y + 2 * h, page.right - side,
                       std::max(y + 8 * h, page.top + page.Height() * 3 / 4)};
}

void LyrWorkspaceStageGraphView::OnPrint(draw::Dc& dc, PrintInfo& info) {
  DrawPage(dc, info.drawRect, PrintInColor != 0);
}

void LyrWorkspaceStageGraphView::DrawPage(draw::Dc& dc, const ui::Rect& page, bool colour) {
  const bool wasPrinting = printing_;
  const std::uint16_t target = PrintTarget;
  printing_ = true;
  monochrome_ = !colour;
  PrintTarget = kPrintWorkspace;
  PrintHeader(dc, page);
  DrawGraph(dc, PrintRect);
  printing_ = wasPrinting;
  PrintTarget = target;
}

void LyrWorkspaceStageGraphView::OnEndPrinting(draw::Dc&, PrintInfo&) {
  ::OnEndPrinting();
  printing_ = false;
  PrintTarget = 0;
  Invalidate();
}

void LyrWorkspaceStageGraphView::Print() { OnFilePrint(); }
