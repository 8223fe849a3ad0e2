// Drawing of one raw page (the upper pane of a raw row).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/stage_names.h"
#include "app/frame/main_frame.h"
#include "app/frame/display_fonts.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/frame/stage_history_field.h"
#include "app/raw/page_epoch_values.h"
#include "app/raw/page_overlays.h"
#include "app/raw/raw_dummy_view.h"
#include "app/raw/raw_page_geometry.h"
#include "app/raw/recognition_binding.h"
#include "app/raw/wave_recognition.h"
#include "app/trend/trend_dummy_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "common/draw/fyn_draw_wave.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"
#include "platform/ui/splitter.h"
#include "platform/ui/window.h"

namespace {

constexpr int kMiddleRow = 2;
constexpr std::uint32_t kStageHistoryText2nd = 9611;
constexpr std::uint32_t kStageHistoryText3rd = 9612;

const CQLM2_AnalyzerDoc* Doc(const ui::View& view) { return dynamic_cast<const CQLM2_AnalyzerDoc*>(view.GetDocument()); }

bool Printing() { return PrintTarget != 0; }
bool Monochrome() { return Printing() && PrintInColor == 0; }

// Colours named by their address slot, 1 stage in artifact, 2 stage, 3 event, 4 grid and
// epoch number, 5 current epoch, 6 background; DisplayColors holds them the other way
// round, background first (the Screen Item list's order).
draw::ColorRef DisplayColour(int slot) { return DisplayColors[static_cast<std::size_t>(6 - slot)]; }

// Colour of a drawing element: black on paper without colour.
draw::ColorRef InkOf(draw::ColorRef c) { return Monochrome() ? draw::Rgb(0, 0, 0) : c; }

// The ten screen-item fonts in their stored order, named by the Screen Item list's rows
// (their default heights in pixels).
enum ScreenFont : std::size_t {
  kScaleFont = 0,          // 12
  kChannelNumberFont = 1,  // 10
  kChannelCharFont = 2,    // 18
  kEventFont = 3,          // 12
  kStageFont = 4,          // 80
  kGridFont = 5,           // 36: grid and epoch numbers
  kArtifactStageFont = 6,  // 48, underlined
  kChannelNameFont = 7,    // 20, bold
  kValueFont = 8,          // 12
  kMarkNameFont = 9,       // 24
};

draw::Font DisplayFont(ScreenFont font) { return draw::Font(DisplayFonts[font]); }

// The font of every text on paper: about 9 points at the printer's resolution.
draw::Font PrintFont(const draw::Dc& dc) {
  draw::LogFont lf = DisplayFonts[2];
  lf.height = -std::max(8, dc.GetDeviceCaps(draw::LOGPIXELSY) / 8);
  return draw::Font(lf);
}

double ScreenHeightMmOrDefault() { return ScreenHeightMm > 0.0 ? ScreenHeightMm : 260.0; }
double ScreenWidthMmOrDefault() { return ScreenWidthMm > 0.0 ? ScreenWidthMm : 360.0; }

double VerticalPixelsPerCm(const draw::Dc* dc) {
  if (Printing() && dc != nullptr) return dc->GetDeviceCaps(draw::LOGPIXELSY) / 2.54;
  return draw::GetScreenMetrics().heightPx / (ScreenHeightMmOrDefault() / 10.0);
}

double HorizontalPixelsPerCm(const draw::Dc* dc) {
  if (Printing() && dc != nullptr) return dc->GetDeviceCaps(draw::LOGPIXELSX) / 2.54;
  return draw::GetScreenMetrics().widthPx / (ScreenWidthMmOrDefault() / 10.0);
}

struct PageNumbers {
  int epochsPerPage = 0;      // E
  std::int64_t firstEpoch = 0;  // F
  std::int64_t epochCount = 0;  // N
  std::int64_t rowPage = 0;
};

PageNumbers Numbers(const CQLM2_AnalyzerDoc* doc, int row) {
  PageNumbers n;
  n.epochsPerPage = rawpage::EpochsPerPage(PageSeconds, EpochSeconds);
  if (doc == nullptr) return n;
  n.rowPage = static_cast<std::int64_t>(doc->CurrentPage) + row - kMiddleRow;
  n.firstEpoch = n.rowPage * n.epochsPerPage;
  n.epochCount = EpochSeconds > 0 ? doc->RecordSeconds / EpochSeconds : 0;
  return n;
}

std::vector<std::uint16_t> EnabledFlags(const CQLM2_AnalyzerDoc& doc) {
  const int count = std::clamp(doc.RecordInfo.channelCount, 0, static_cast<int>(doc.ChInfo.size()));
  std::vector<std::uint16_t> flags(static_cast<std::size_t>(count));
  for (int c = 0; c < count; ++c) flags[c] = doc.ChInfo[c].show;
  return flags;
}

// Display-type words of a channel record.
bool WaveFlag(const LyrChInfo& ch) { return ch.displayTypeWords[0] != 0; }
int BaseLinePosition(const LyrChInfo& ch) { return ch.displayTypeWords[1]; }
bool ValueLabelFlag(const LyrChInfo& ch) { return ch.displayTypeWords[2] != 0; }
bool LevelLabelFlag(const LyrChInfo& ch) { return ch.displayTypeWords[3] != 0; }
bool BoldFlag(const LyrChInfo& ch) { return ch.displayTypeWords[4] != 0; }

std::string Format(const char* fmt, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, v);
  return buf;
}

}  // namespace

LyrRawAreaView::LyrRawAreaView() { MapRangeCommands(); }
LyrRawAreaView::~LyrRawAreaView() = default;

void LyrRawAreaView::OnDraw(draw::Dc& dc) {
  if (ScreeningRunning == 1 || PrintTarget != 0) return;
  // The page is drawn off screen, so that its image can be kept, then shown in one copy.
  const ui::Rect c = GetClientRect();
  if (c.Width() <= 0 || c.Height() <= 0) return;
  // The off-screen image is kept from paint to paint while the size stays.
  if (frame_.Width() != c.Width() || frame_.Height() != c.Height()) {
    frame_ = draw::Image::CreateCompatible(dc, c.Width(), c.Height());
  } else {
    frame_.Fill(draw::Rgb(0, 0, 0));
  }
  {
    draw::Dc memory(frame_);
    DrawPage(memory);
  }
  const draw::Rect r{0, 0, c.Width(), c.Height()};
  dc.DrawImage(r, frame_, r);
}

draw::Rect LyrRawAreaView::GetPageRect(const draw::Dc* dc) const {
  draw::Rect r;
  const bool printing = Printing();
  if (printing) {
    r = printRect_;
  } else {
    const ui::Rect c = GetClientRect();
    r = draw::Rect{0, 0, c.Width(), c.Height()};
    // The stage-history strip sits above the page.
    StageHistoryField field;
    if (ShowStageHistory != 0 && GetStageHistoryField(CQLM2_AnalyzerDoc::MainFrame(), &field)) {
      r.top = std::clamp(field.height, 0, std::max(r.bottom, 0));
    }
  }
  if (DrawActualSize != 0) {
    if (printing && dc != nullptr) {
      r.right = rawpage::ActualSizeRight(true, r.left, dc->GetDeviceCaps(draw::LOGPIXELSX), 0, 0.0);
    } else if (!printing) {
      r.right = rawpage::ActualSizeRight(false, r.left, 0, draw::GetScreenMetrics().widthPx, ScreenWidthMm);
    }
  }
  return r;
}

bool LyrRawAreaView::GetChannelBand(int channel, int* top, int* bottom) const {
  const CQLM2_AnalyzerDoc* doc = Doc(*this);
  if (doc == nullptr) return false;
  const auto flags = EnabledFlags(*doc);
  const auto bands = rawpage::ChannelBands(GetPageRect(nullptr), flags, doc->Params.markType.triggerCount > 0);
  if (channel < 0 || channel >= static_cast<int>(bands.size()) || !bands[channel]) return false;
  if (top != nullptr) *top = bands[channel]->top;
  if (bottom != nullptr) *bottom = bands[channel]->bottom;
  return true;
}

int LyrRawAreaView::GetChannelBaseline(int channel) const {
  int top = 0;
  int bottom = 0;
  if (!GetChannelBand(channel, &top, &bottom)) return -1;
  return rawpage::BaselineInBand({top, bottom}, BaseLinePosition(Doc(*this)->ChInfo[channel]));
}

std::int64_t LyrRawAreaView::GetPageStartSec() const {
  return Numbers(Doc(*this), rowIndex_).rowPage * PageSeconds;
}

void LyrRawAreaView::DrawTimeGrid(draw::Dc& dc, const draw::Rect& page) const {
  const int x0 = Printing() ? printRect_.left : 0;
  const int width = page.right - page.left;
  const draw::ColorRef ink = InkOf(DisplayColour(4));
  const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_DOT, 1, ink});
  for (int x : rawpage::GridLinesX(x0, width, PageSeconds)) {
    dc.MoveTo(x, page.top);
    dc.LineTo(x, page.bottom);
  }
  dc.SelectPen(draw::Pen{Monochrome() ? draw::PS_DOT : draw::PS_SOLID, 2, ink});
  for (int x : rawpage::EpochLinesX(x0, width, PageSeconds, EpochSeconds)) {
    dc.MoveTo(x, page.top);
    dc.LineTo(x, page.bottom);
  }
  dc.SelectPen(old);
}

void LyrRawAreaView::DrawEpochLabels(draw::Dc& dc, const draw::Rect& page) const {
  const PageNumbers n = Numbers(Doc(*this), rowIndex_);
  if (ShowEpochMode == 0 || n.epochsPerPage <= 0 || n.epochsPerPage >= 31) return;
  const int width = page.right - page.left;
  const int cell = rawpage::CellWidth(width, n.epochsPerPage);
  const draw::Font oldFont = dc.SelectFont(DisplayFont(kGridFont));
  const draw::ColorRef oldColour = dc.SetTextColor(DisplayColour(4));
  const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
  const int textHeight = dc.GetTextExtent("0").cy;
  for (int k = 0; k < n.epochsPerPage; ++k) {
    const std::int64_t e = n.firstEpoch + k;
    if (e < 0) continue;
    if (e >= n.epochCount) break;
    std::string line;
    std::string date;
    if (ShowEpochMode == 1) {
      line = std::to_string(e);
    } else {
      // The epoch's time text; a clock time "date time" shows its date one line higher.
      const_cast<CQLM2_AnalyzerDoc*>(Doc(*this))->GetEpochTimeString(static_cast<unsigned>(e), line);
      const std::size_t blank = line.rfind(' ');
      if (blank != std::string::npos) {
        date = line.substr(0, blank);
        line = line.substr(blank + 1);
      }
    }
    const int left = page.left + k * cell;
    draw::Rect r{left, page.bottom - textHeight, left + cell, page.bottom};
    dc.DrawText(line, &r, draw::DT_CENTER | draw::DT_BOTTOM | draw::DT_SINGLELINE);
    if (!date.empty()) {
      draw::Rect d{left, page.bottom - 2 * textHeight, left + cell, page.bottom - textHeight};
      dc.DrawText(date, &d, draw::DT_CENTER | draw::DT_BOTTOM | draw::DT_SINGLELINE);
    }
  }
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
}

void LyrRawAreaView::DrawScaleBar(draw::Dc& dc, int channel, int base, double pixelsPerUnit,
                                  const draw::Rect& page) const {
  const LyrChInfo& ch = Doc(*this)->ChInfo[channel];
  const int half = rawpage::ScaleBarHalf(pixelsPerUnit, ch.gain, ch.scaleValue);
  const int y1 = base - half;
  const int y2 = base + half;
  const draw::ColorRef c = ch.colour;
  const draw::ColorRef ink = InkOf(draw::Rgb(std::min(255, draw::GetRValue(c) + 40),
                                             std::min(255, draw::GetGValue(c) + 40),
                                             std::min(255, draw::GetBValue(c) + 40)));
  const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 3, ink});
  const draw::Font oldFont = dc.SelectFont(Printing() ? PrintFont(dc) : DisplayFont(kScaleFont));
  const draw::ColorRef oldColour = dc.SetTextColor(ink);
  const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
  const std::string text = Format("%04.2f", ch.scaleValue) + ch.unit;
  const draw::Size size = dc.GetTextExtent(text);
  if (!Printing()) {
    const int x = page.right - dc.GetTextExtent("8888.88MM").cx;
    dc.MoveTo(x, y1);
    dc.LineTo(x, y2);
    for (int y : {y1, y2}) {
      dc.MoveTo(x + 10, y);
      dc.LineTo(x, y);
    }
    dc.TextOut(page.right - size.cx - 10, y2 + size.cy / 2, text);
  } else {
    const int m = dc.GetTextExtent("M").cx / 2;
    const int x = page.left - m;
    dc.MoveTo(x, y1);
    dc.LineTo(x, y2);
    for (int y : {y1, y2}) {
      dc.MoveTo(x, y);
      dc.LineTo(page.left - 2 * m, y);
    }
    dc.TextOut(page.left - size.cx - m, y2, text);
  }
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
  dc.SelectPen(oldPen);
}

void LyrRawAreaView::DrawChannelName(draw::Dc& dc, int channel, const draw::Rect& page) const {
  if (ShowChannelName == 0) return;
  int top = 0;
  if (!GetChannelBand(channel, &top, nullptr)) return;
  const LyrChInfo& ch = Doc(*this)->ChInfo[channel];
  const draw::Font oldFont = dc.SelectFont(Printing() ? PrintFont(dc) : DisplayFont(kChannelNameFont));
  const draw::ColorRef oldColour = dc.SetTextColor(InkOf(ch.colour));
  const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
  if (Printing()) {
    dc.TextOut(labelMargin_, top + page.top - printRect_.top - dc.GetTextMetrics().height, ch.name);
  } else {
    dc.TextOut(page.left + 5, top, ch.name);
  }
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
}

void LyrRawAreaView::DrawChannelValueLabels(draw::Dc& dc, const FynDrawWave& wave, int channel,
                                            const float* samples, std::uint32_t count) const {
  const CQLM2_AnalyzerDoc* doc = Doc(*this);
  const LyrChInfo& ch = doc->ChInfo[channel];
  if (ch.rate <= 0) return;
  const auto& sd = doc->Params.sleepDstrb;
  const bool bodyPosition = sd.positionChannel == channel;
  const bool values = ValueLabelFlag(ch);
  const bool levels = LevelLabelFlag(ch) || bodyPosition;
  static constexpr const char* kFormats[8] = {"%.0f ", "%.1f ", "%.2f ", "%.3f ", "%.4f ", "%.5f ", "%.6f ", "%.7f "};
  const int decimals = ch.displayTypeWords[5];
  const int shift = Printing() ? printRect_.left : 0;
  const draw::Font oldFont = dc.SelectFont(Printing() ? PrintFont(dc) : DisplayFont(kValueFont));
  const draw::ColorRef oldColour = dc.SetTextColor(InkOf(ch.colour));
  const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
  int valueEnd = 0;
  int levelEnd = 0;
  bool firstValue = true;
  bool firstLevel = true;
  for (std::uint32_t i = 0; i < count; i += static_cast<std::uint32_t>(ch.rate)) {
    draw::Point pt;
    if (wave.GetDrawPt(0, i, &pt) != 0) break;
    const float v = samples[i];
    const int x = pt.x + shift;
    if (values) {
      const std::string text = (decimals >= 0 && decimals <= 7) ? Format(kFormats[decimals], v) : std::string();
      if (firstValue || x > valueEnd + 10) {
        dc.TextOut(x, pt.y, text);
        valueEnd = x + dc.GetTextExtent(text).cx;
        firstValue = false;
      }
    }
    if (levels) {
      std::string text;
      if (bodyPosition) {
        const int used = std::clamp(sd.positionsInUse, 0, static_cast<int>(sd.positions.size()));
        for (int k = 0; k < used; ++k) {
          const auto& p = sd.positions[static_cast<std::size_t>(k)];
          if (p.from <= v && v < p.to) {
            text = p.name;
            break;
          }
        }
      } else {
        text = ch.LevelLabelOf(v);
      }
      if (!text.empty() && (firstLevel || x > levelEnd + 10)) {
        dc.TextOut(x, pt.y, text);
        levelEnd = x + dc.GetTextExtent(text).cx;
        firstLevel = false;
      }
    }
  }
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
}

void LyrRawAreaView::DrawStageNames(draw::Dc& dc, const draw::Rect& page) const {
  const CQLM2_AnalyzerDoc* doc = Doc(*this);
  const PageNumbers n = Numbers(doc, rowIndex_);
  if (ShowStageName == 0 || n.epochsPerPage <= 0 || n.epochsPerPage >= 31) return;
  const int width = page.right - page.left;
  const int cell = rawpage::CellWidth(width, n.epochsPerPage);
  const int height = page.bottom - page.top;
  const int middle = page.bottom / 2 + rawpage::StageNameOffset(height, StagePosition);
  const int mode = doc->Params.stageType.stageType;
  const draw::Font oldFont = dc.SelectFont(DisplayFont(kStageFont));
  const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
  const draw::ColorRef oldColour = dc.GetTextColor();
  for (int k = 0; k < n.epochsPerPage; ++k) {
    const std::int64_t e = n.firstEpoch + k;
    if (e < 0) continue;
    if (e >= n.epochCount) break;
    const int code = doc->EpochTables.GetStage(mode, static_cast<int>(e), 0);
    if (code == 0) continue;
    const std::string name = GetStageName(doc->Params.stageType, code);
    const bool marked = code >= 20;
    dc.SelectFont(DisplayFont(marked ? kArtifactStageFont : kStageFont));
    dc.SetTextColor(DisplayColour(marked ? 1 : 2));
    const int left = page.left + k * cell;
    const int h = dc.GetTextExtent("M").cy;
    if (marked) {
      draw::Rect mr{left, middle - h, left + cell, middle};
      dc.DrawText(code >= 100 ? "-" : "*", &mr, draw::DT_CENTER | draw::DT_BOTTOM | draw::DT_SINGLELINE);
      draw::Rect nr{left, middle, left + cell, middle + h};
      dc.DrawText(name, &nr, draw::DT_CENTER | draw::DT_SINGLELINE);
    } else {
      draw::Rect nr{left, middle - h / 2, left + cell, middle - h / 2 + h};
      dc.DrawText(name, &nr, draw::DT_CENTER | draw::DT_SINGLELINE);
    }
  }
  dc.SetTextColor(oldColour);
  dc.SetBkMode(oldMode);
  dc.SelectFont(oldFont);
}

void LyrRawAreaView::DrawStageHistory(draw::Dc& dc, const draw::Rect& page) const {
  const CQLM2_AnalyzerDoc* doc = Doc(*this);
  const PageNumbers n = Numbers(doc, rowIndex_);
  if (doc == nullptr || ShowStageHistory == 0 || ScreeningRunning == 1) return;
  if (n.epochsPerPage <= 0 || n.epochsPerPage >= 31) return;
  StageHistoryField field;
  if (!GetStageHistoryField(CQLM2_AnalyzerDoc::MainFrame(), &field)) return;
  const int cell = rawpage::CellWidth(page.right - page.left, n.epochsPerPage);
  const int mode = doc->Params.stageType.stageType;
  const std::string labels[2] = {res::LoadString(kStageHistoryText2nd), res::LoadString(kStageHistoryText3rd)};
  const draw::Font oldFont = dc.SelectFont(draw::Font(field.font));
  const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
  const draw::ColorRef oldColour = dc.GetTextColor();
  for (int k = 0; k < n.epochsPerPage; ++k) {
    const std::int64_t e = n.firstEpoch + k;
    if (e < 0) continue;
    if (e >= n.epochCount) break;
    for (int j = 1; j <= 2; ++j) {
      const int code = doc->EpochTables.GetStage(mode, static_cast<int>(e), j);
      if (code == 0 || code == 20) continue;
      std::string text = labels[j - 1] + ":" + GetStageName(doc->Params.stageType, code);
      if (code >= 20) text += "*";
      dc.SetTextColor(DisplayColour(code >= 20 ? 1 : 2));
      dc.TextOut(page.left + k * cell + 5 + (cell / 2) * (j - 1), 0, text);
    }
  }
  dc.SetTextColor(oldColour);
  dc.SetBkMode(oldMode);
  dc.SelectFont(oldFont);
}

void LyrRawAreaView::DrawCurrentEpochFrame(draw::Dc& dc, const draw::Rect& page) const {
  const CQLM2_AnalyzerDoc* doc = Doc(*this);
  if (rowIndex_ != kMiddleRow || doc == nullptr) return;
  const PageNumbers n = Numbers(doc, rowIndex_);
  if (n.epochsPerPage <= 0) return;
  const int k = static_cast<int>(doc->CurrentEpoch - static_cast<std::int64_t>(doc->CurrentPage) * n.epochsPerPage);
  const auto span = rawpage::CurrentEpochColumns(k, page.right - page.left, n.epochsPerPage);
  if (!span) return;
  const int x1 = span->x1;
  const int x2 = span->x2;
  const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_SOLID, 2, DisplayColour(5)});
  const int oldRop = dc.SetROP2(draw::R2_COPYPEN);
  dc.MoveTo(x1, page.top + 1);
  dc.LineTo(x1, page.bottom - 1);
  dc.MoveTo(x1, page.bottom - 1);
  dc.LineTo(x2, page.bottom - 1);
  dc.MoveTo(x2, page.top + 1);
  dc.LineTo(x2, page.bottom - 1);
  dc.MoveTo(x1, page.top + 1);
  dc.LineTo(x2, page.top + 1);
  dc.SetROP2(oldRop);
  dc.SelectPen(old);
  // The parameter bar is refreshed by the frame's navigation, not from inside a paint.
  if (ScreeningRunning != 1) {
    if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) {
      if (LyrTrendDummyView* trend = frame->TrendView()) trend->FollowRawCurrentEpoch(doc->CurrentEpoch);
    }
  }
}

PageDrawContext LyrRawAreaView::OverlayContext(draw::Dc& dc, const draw::Rect& page) const {
  CQLM2_AnalyzerDoc* doc = const_cast<CQLM2_AnalyzerDoc*>(Doc(*this));
  const PageNumbers n = Numbers(doc, rowIndex_);
  PageDrawContext ctx;
  ctx.doc = doc;
  ctx.dc = &dc;
  ctx.page = page;
  ctx.printing = Printing();
  ctx.monochrome = Monochrome();
  ctx.x0 = ctx.printing ? printRect_.left : 0;
  ctx.screening = ScreeningRunning == 1;
  ctx.epochSeconds = EpochSeconds;
  ctx.pageSeconds = PageSeconds;
  ctx.epochsPerPage = n.epochsPerPage;
  ctx.firstEpoch = n.firstEpoch;
  ctx.epochCount = n.epochCount;
  ctx.pageStartSeconds = n.rowPage * PageSeconds;
  if (doc != nullptr) {
    for (std::uint16_t flag : EnabledFlags(*doc)) ctx.enabledChannels += flag != 0 ? 1 : 0;
  }
  ctx.labelFont = ctx.printing ? PrintFont(dc) : DisplayFont(kValueFont);
  ctx.eventFont = ctx.printing ? PrintFont(dc) : DisplayFont(kEventFont);
  ctx.markNameFont = ctx.printing ? PrintFont(dc) : DisplayFont(kMarkNameFont);
  ctx.eventColour = DisplayColour(3);
  ctx.markNameColour = DisplayColors[6];
  ctx.markLineWidth = MarkLineWidth;
  ctx.showMarkName = ShowMarkName != 0;
  return ctx;
}

void LyrRawAreaView::DrawPage(draw::Dc& dc) {
  CQLM2_AnalyzerDoc* doc = const_cast<CQLM2_AnalyzerDoc*>(Doc(*this));
  const bool printing = Printing();
  const draw::Rect page = GetPageRect(&dc);
  if (!printing) {
    const ui::Rect c = GetClientRect();
    dc.FillSolidRect(draw::Rect{0, 0, c.Width(), c.Height()}, DisplayColour(6));
  }
  DrawTimeGrid(dc, page);
  DrawEpochLabels(dc, page);
  if (doc == nullptr || rowIndex_ < 0 || rowIndex_ >= LyrRecordInfo::kPageBufferCount) return;
  const std::vector<float>& buffer = doc->RecordInfo.pageBuffers[static_cast<std::size_t>(rowIndex_)];
  const PageNumbers n = Numbers(doc, rowIndex_);
  const bool screening = ScreeningRunning == 1;
  const bool drawWaves = !(screening && ShowScreeningRaw == 0);
  const PageDrawContext overlays = OverlayContext(dc, page);
  if (!buffer.empty() && n.epochsPerPage > 0) {
    if (drawWaves) {
      DrawMarkStrips(overlays);
      DrawMarkNames(overlays);
    }
    const auto flags = EnabledFlags(*doc);
    const auto bands = rawpage::ChannelBands(page, flags, doc->Params.markType.triggerCount > 0);
    const double yPixelsPerCm = VerticalPixelsPerCm(&dc);
    const double xScale = rawpage::HorizontalScale(DrawActualSize != 0, HorizontalPixelsPerCm(&dc),
                                                   page.right - page.left, PageSeconds);
    const int pageWidth = page.right - page.left;
    bool readXReported = false;
    bool eventsDrawn = false;
    std::size_t offset = 0;  // channel spans follow each other in the page buffer
    // Recognition of the page's wave forms runs for every channel, drawn or not.
    WaveRecognitionContext recognitionCtx =
        WaveRecognitionContextForRow(*doc, CQLM2_AnalyzerDoc::MainFrame(), rowIndex_);
    recognitionCtx.dc = &dc;
    recognitionCtx.printOffsetX = printing ? printRect_.left : 0;
    if (!recognition_) recognition_ = std::make_unique<RawPageRecognition>();
    recognition_->GetWFRAnaAlloc(recognitionCtx);
    SleepDstrbPageContext respiration = SleepDstrbContextForRow(*doc, rowIndex_);
    respiration.dc = &dc;
    respiration.ecgTickColour = doc->Params.sleepDstrb.eventColours[5];
    respiration.arousalTickColour = doc->Params.sleepDstrb.eventColours[6];
    PageEpochValues epochValues = PageEpochValuesForRow(*doc, CQLM2_AnalyzerDoc::MainFrame(), rowIndex_);
    for (std::size_t c = 0; c < flags.size(); ++c) {
      LyrChInfo& ch = doc->ChInfo[c];
      // Every channel holds rate x page seconds + 1 samples of the buffer (one for a rate of 0).
      const std::size_t span = static_cast<std::size_t>(std::max(ch.rate, 0)) * PageSeconds + 1;
      const std::size_t start = offset;
      offset += span;
      if (ch.rate <= 0 || start >= buffer.size()) continue;
      // The painter reads no sample beyond the channel's span, nor beyond the buffer.
      const std::int64_t wanted = rawpage::PageSampleCount(ch.rate, PageSeconds, EpochSeconds, n.firstEpoch,
                                                           n.epochsPerPage, n.epochCount);
      const std::size_t count = std::min<std::size_t>({static_cast<std::size_t>(wanted), span, buffer.size() - start});
      if (count < 1) continue;
      const auto yScale = rawpage::VerticalScale(yPixelsPerCm, ch.unitsPerCm, ch.gain, ch.displayInvert != 0);
      const int base = bands[c] ? rawpage::BaselineInBand(*bands[c], BaseLinePosition(ch)) : 0;
      std::int32_t baseLine = base;
      // A channel with a sensitivity of 0 units per cm is not drawn (its scale is unknown).
      const std::int16_t show = static_cast<std::int16_t>(yScale ? ch.show : 0);
      const std::uint32_t colour = InkOf(ch.colour);
      const double yScaleValue = yScale.value_or(0.0);
      const rawpage::DrawModeChoice mode = rawpage::ChooseDrawMode(ch.rate, PageSeconds);
      _FynDrawWaveParam p;
      p.dc = &dc;
      p.chNum = 1;
      p.showFlags = &show;
      p.data = buffer.data() + start;
      p.firstIndex = 0;
      p.lastIndex = static_cast<std::uint32_t>(count - 1);
      p.sampFreq = ch.rate;
      p.baseLines = &baseLine;
      p.xScale = xScale;
      p.yScales = &yScaleValue;
      p.drawMode = mode.mode;
      p.reduceStep = mode.factor;
      p.colors = &colour;
      p.rect = page;
      const bool drawn = bands[c] && drawWaves && yScale;
      if (drawn && rowIndex_ == kMiddleRow && !printing && WaveFlag(ch)) {
        const int columns = pageWidth + 1;
        if (ch.readX.size() != static_cast<std::size_t>(columns) && !ch.GetReadX(columns)) {
          // One report per page, not one per channel.
          if (!readXReported) {
            ++readXReports_;
            ui::MessageBox("LyrChInfo::GetReadX");
            readXReported = true;
          }
        } else {
          std::fill(ch.readX.begin(), ch.readX.end(), 0);
          p.columnIndex = reinterpret_cast<std::uint32_t*>(ch.readX.data());
        }
      }
      FynDrawWave wave(&p);
      WaveChannelPage channelPage;
      channelPage.samples = std::span<const float>(p.data, count);
      channelPage.rate = ch.rate;
      channelPage.enabled = ch.show != 0;
      channelPage.map = [&wave](int index, draw::Point* point) {
        return static_cast<int>(wave.GetDrawPt(0, static_cast<unsigned long>(std::max(index, 0)), point));
      };
      if (!printing) WaveFormRespirationTransaction(respiration, static_cast<int>(c), channelPage);
      if (drawn) {
        if (WaveFlag(ch)) {
          FynDrawWave copy(wave);
          copy.SetLineWidth(BoldFlag(ch) ? 2 : 1);
          copy.DrawWave();
        }
        if (ValueLabelFlag(ch) || LevelLabelFlag(ch) ||
            doc->Params.sleepDstrb.positionChannel == static_cast<int>(c)) {
          DrawChannelValueLabels(dc, wave, static_cast<int>(c), p.data, static_cast<std::uint32_t>(count));
        }
        if (ch.scaleMode != 0) DrawScaleBar(dc, static_cast<int>(c), base, yPixelsPerCm / ch.unitsPerCm, page);
        if (!eventsDrawn && ShowEvent != 0) DrawEvents(overlays, wave, ch.rate, static_cast<std::int64_t>(count));
        eventsDrawn = true;
        DrawChannelName(dc, static_cast<int>(c), page);
        if (!screening) {
          DrawSleepDstrbOverlays(overlays, static_cast<int>(c), base, wave);
          DrawSpO2LevelBoxes(overlays, static_cast<int>(c), base, wave);
        }
      }
      recognition_->WaveFormRecognitionTransaction(recognitionCtx, static_cast<int>(c), channelPage);
      CalcChannelEpochValues(epochValues, static_cast<int>(c));
    }
    recognition_->CountEyeMovements(recognitionCtx);
    // The current page's values are in the frame's arrays: the parameter bar shows them.
    if (rowIndex_ == kMiddleRow && !printing)
      if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) frame->PageValuesComputed();
    if (!printing) DrawWaveDetectRanges(overlays);
    if (screening && rowIndex_ == kMiddleRow) {
      doc->StagingEndEpoch = static_cast<std::int32_t>(
          std::min<std::int64_t>(doc->CurrentEpoch + n.epochsPerPage - 1, n.epochCount - 1));
      if (PageAutoStagingTransaction) PageAutoStagingTransaction(*doc, epochValues);
    }
  }
  // A page outside the recording shows only its background, grid and epoch labels.
  if (buffer.empty()) return;
  if (!printing) {
    if (!screening) SavePageImage(dc);
    DrawStageNames(dc, page);
    DrawStageHistory(dc, page);
    DrawCurrentEpochFrame(dc, page);
    // The new page covers any rubber band drawn over the old one.
    previewRectShown_ = false;
    // The video position mark, when a video is bound.
    if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) {
      if (LyrWorkspaceDummyView* ws = frame->WorkspaceView()) ws->DrawVideoCursor(13, &dc);
    }
  } else {
    DrawPrintTimeLabels(overlays, PrintFont(dc));
  }
}

void LyrRawAreaView::SavePageImage(draw::Dc& dc) {
  // Only an off-screen surface is read back; a window's would have to be painted again.
  if (dc.Kind() != draw::DcKind::Memory) return;
  const ui::Rect c = GetClientRect();
  dc.CaptureImageInto(draw::Rect{0, 0, c.Width(), c.Height()}, pageImage_);
}

int LyrRawAreaView::RestorePageImage(draw::Dc& dc) {
  if (pageImage_.IsNull()) return 0;
  const draw::Rect r{0, 0, pageImage_.Width(), pageImage_.Height()};
  dc.DrawImage(r, pageImage_, r);
  return 1;
}

int LyrRawAreaView::RestorePageImage() {
  ui::ClientDc client(*this);
  return client.IsValid() ? RestorePageImage(client.dc()) : 0;
}

void LyrRawAreaView::RedrawStageLabels() {
  ui::ClientDc client(*this);
  if (!client.IsValid()) return;
  const draw::Rect page = GetPageRect(nullptr);
  DrawStageNames(client.dc(), page);
  DrawStageHistory(client.dc(), page);
}

void LyrRawAreaView::DrawCurrentEpochFrame() {
  ui::ClientDc client(*this);
  if (!client.IsValid()) return;
  DrawCurrentEpochFrame(client.dc(), GetPageRect(nullptr));
}
