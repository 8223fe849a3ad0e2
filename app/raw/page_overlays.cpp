// Overlays of the raw page drawn from the document's tables.
#include "app/raw/page_overlays.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/document/epoch_parameter.h"
#include "app/document/epoch_table_bindings.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/seizure_finding.h"
#include "app/frame/program_settings.h"
#include "common/draw/fyn_draw_wave.h"
#include "platform/draw/dc.h"

namespace {

// Colours of the sleep-disturbance block by role.
enum OverlayColour : std::size_t {
  kHypopneaColour = 1,
  kApneaColour = 2,
  kLimbMovementColour = 3,
  kSnoreColour = 4,
  kEcgColour = 5,
  kArousalColour = 6,
  kSpO2Colour = 7
};

draw::ColorRef BlockColour(const PageDrawContext& ctx, OverlayColour which) {
  return ctx.Ink(ctx.doc->Params.sleepDstrb.eventColours[which]);
}

// The sleep-disturbance role of a channel: 11 air flow, 12 chest, 13 abdomen, 14 and 15
// leg movements, 18 snore, 19 arousal, -1 none.
int GetSleepDstrbChKind(const CQLM2_AnalyzerDoc& doc, int channel) {
  if (channel < 0) return -1;
  const SleepDstrbParam& p = doc.Params.sleepDstrb;
  if (channel == p.airFlow.channel) return 11;
  if (channel == p.chest.channel) return 12;
  if (channel == p.abdomen.channel) return 13;
  if (channel == p.legLeft.channel) return 14;
  if (channel == p.legRight.channel) return 15;
  if (channel == p.snore.channel) return 18;
  if (channel == p.arousal.channel) return 19;
  return -1;
}

// The boxes of one table around the base line, each labelled by its code.
template <class LabelOf, class ColourOf>
void DrawBoxes(const PageDrawContext& ctx, std::span<const std::uint8_t> table, double interval, bool pageOnly, int base,
               LabelOf labelOf, ColourOf colourOf) {
  if (table.empty() || interval <= 0.0 || ctx.enabledChannels <= 0 || ctx.dc == nullptr) return;
  draw::Dc& dc = *ctx.dc;
  const std::int64_t perEpoch = static_cast<std::int64_t>(ctx.epochSeconds / interval);
  const std::int64_t first = pageOnly ? 0 : ctx.firstEpoch * perEpoch;
  const std::int64_t last = ctx.epochCount * perEpoch;
  const auto boxes = PageOverlayBoxes(table, first, last, interval, ctx.pageSeconds, ctx.PageWidth());
  if (boxes.empty()) return;
  const int h = static_cast<int>(static_cast<double>(ctx.PageHeight()) / ctx.enabledChannels * 0.4);
  const draw::Font oldFont = dc.SelectFont(ctx.labelFont);
  const int ty = dc.GetTextExtent("8888.88MM").cy;
  const int top = base - h + ty;
  const int bottom = base + h - ty;
  const draw::ColorRef oldText = dc.GetTextColor();
  const int oldRop = dc.SetROP2(draw::R2_COPYPEN);
  const draw::Pen oldPen = dc.SelectPen(draw::Pen{});
  for (const OverlayBox& box : boxes) {
    const draw::ColorRef colour = colourOf(box.code);
    const std::string label = labelOf(box.code);
    const int x1 = ctx.x0 + box.x1;
    const int x2 = ctx.x0 + box.x2;
    if (!label.empty()) {
      dc.SetTextColor(colour);
      dc.TextOut(x1, top - ty, label);
    }
    dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, colour});
    const draw::Point corners[5] = {{x1, top}, {x2, top}, {x2, bottom}, {x1, bottom}, {x1, top}};
    dc.Polyline(corners, 5);
  }
  dc.SelectPen(oldPen);
  dc.SetROP2(oldRop);
  dc.SetTextColor(oldText);
  dc.SelectFont(oldFont);
}

std::span<const std::uint8_t> Table(std::vector<std::uint8_t>& t) { return t; }

}  // namespace

std::vector<OverlayBox> PageOverlayBoxes(std::span<const std::uint8_t> table, std::int64_t firstInterval,
                                         std::int64_t lastInterval, double intervalSeconds, int pageSeconds,
                                         int pageWidth) {
  std::vector<OverlayBox> boxes;
  if (intervalSeconds <= 0.0 || pageWidth <= 0 || firstInterval < 0) return boxes;
  const std::int64_t perPage = static_cast<std::int64_t>(pageSeconds / intervalSeconds);
  if (perPage <= 0) return boxes;
  const double q = static_cast<double>(pageWidth) / static_cast<double>(perPage);
  // The walk stops at the page end, the recording's end and the table's end.
  const std::int64_t end =
      std::min({perPage, lastInterval - firstInterval, static_cast<std::int64_t>(table.size()) - firstInterval});
  for (std::int64_t i = 0; i < end;) {
    const std::uint8_t code = table[static_cast<std::size_t>(firstInterval + i)];
    if (code == 0) {
      ++i;
      continue;
    }
    std::int64_t run = 1;
    while (i + run < end && table[static_cast<std::size_t>(firstInterval + i + run)] == code) ++run;
    const int x1 = std::min(static_cast<int>(static_cast<double>(i) * q), pageWidth);
    const int x2 = std::min(static_cast<int>(static_cast<double>(i + run) * q), pageWidth);
    if (x1 != x2) boxes.push_back({x1, x2, code});
    i += run;
  }
  return boxes;
}

void DrawRespirationEvents(const PageDrawContext& ctx, int channel, int base) {
  if (ctx.doc == nullptr || ctx.screening) return;
  const int kind = GetSleepDstrbChKind(*ctx.doc, channel);
  if (kind < 11 || kind > 13) return;
  DrawBoxes(
      ctx, Table(ctx.doc->RecognitionTables.RespRcgnz()), 0.25, false, base,
      [](int code) -> std::string {
        switch (code) {
          case kRespObstructive: return "OSAS";
          case kRespMixed: return "MSAS";
          case kRespCentral: return "CSAS";
          case kRespHypopnea: return "Hypopnea";
          default: return {};
        }
      },
      [&ctx](int code) { return BlockColour(ctx, code == kRespHypopnea ? kHypopneaColour : kApneaColour); });
}

void DrawLimbMovements(const PageDrawContext& ctx, int channel, int base) {
  if (ctx.doc == nullptr || ctx.screening) return;
  const int kind = GetSleepDstrbChKind(*ctx.doc, channel);
  if (kind != 14 && kind != 15) return;
  SleepDstrbTables& tables = ctx.doc->RecognitionTables;
  // Leg movements are kept every 0.1 s (their representative interval, role 20).
  double interval = SleepDstrbTables::GetRprsntInterval(SleepDstrbChannelsOf(ctx.doc->Params.sleepDstrb), 20, channel);
  if (interval <= 0.0) interval = 0.1;
  DrawBoxes(
      ctx, Table(kind == 14 ? tables.LMLeft() : tables.LMRight()), interval, false, base,
      [](int) { return std::string("LM"); }, [&ctx](int) { return BlockColour(ctx, kLimbMovementColour); });
}

void DrawSnore(const PageDrawContext& ctx, int channel, int base) {
  if (ctx.doc == nullptr || ctx.screening) return;
  if (GetSleepDstrbChKind(*ctx.doc, channel) != 18 || channel != ctx.doc->Params.sleepDstrb.snore.channel) return;
  DrawBoxes(
      ctx, Table(ctx.doc->RecognitionTables.Snore()), 0.1, false, base, [](int) { return std::string("Snore"); },
      [&ctx](int) { return BlockColour(ctx, kSnoreColour); });
}

void DrawArousal(const PageDrawContext& ctx, int channel, int base) {
  if (ctx.doc == nullptr || ctx.screening) return;
  if (GetSleepDstrbChKind(*ctx.doc, channel) != 19 || channel != ctx.doc->Params.sleepDstrb.arousal.channel) return;
  DrawBoxes(
      ctx, Table(ctx.doc->RecognitionTables.ArousalRecognize()), 0.1, ctx.arousalPageOnly, base,
      [](int) { return std::string("Arousal"); }, [&ctx](int) { return BlockColour(ctx, kArousalColour); });
}

void DrawHeartBeatPeaks(const PageDrawContext& ctx, int channel, const FynDrawWave& painter) {
  if (ctx.doc == nullptr || ctx.dc == nullptr || ctx.printing || ctx.screening) return;
  const SleepDstrbParam& p = ctx.doc->Params.sleepDstrb;
  if (channel < 0 || channel != p.ecgChannel || p.ecgShowPeak == 0) return;
  const EcgRcgnzTable& peaks = ctx.doc->RecognitionTables.ECGRcgnz();
  if (!peaks.Exists()) return;
  // Positions count the ECG channel's own samples: the page spans its epochs at its rate.
  const std::int64_t m = static_cast<std::int64_t>(ctx.doc->ChInfo[static_cast<std::size_t>(channel)].rate) *
                         ctx.epochSeconds;
  if (m <= 0) return;
  const std::int64_t from = ctx.firstEpoch * m;
  const std::int64_t to = (ctx.firstEpoch + ctx.epochsPerPage) * m;
  draw::Dc& dc = *ctx.dc;
  const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, BlockColour(ctx, kEcgColour)});
  const int count = std::clamp<int>(peaks.count, 0, static_cast<int>(peaks.positions.size()));
  for (int i = 0; i < count; ++i) {
    const std::int64_t pos = peaks.positions[static_cast<std::size_t>(i)];
    if (pos < from || pos >= to) continue;
    draw::Point pt;
    if (painter.GetDrawPt(0, static_cast<unsigned long>(pos - from), &pt) != 0) continue;
    dc.MoveTo(pt.x, pt.y - 5);
    dc.LineTo(pt.x, pt.y + 5);
  }
  dc.SelectPen(oldPen);
}

void DrawSleepDstrbOverlays(const PageDrawContext& ctx, int channel, int base, const FynDrawWave& painter) {
  if (ctx.screening) return;
  DrawRespirationEvents(ctx, channel, base);
  DrawLimbMovements(ctx, channel, base);
  DrawHeartBeatPeaks(ctx, channel, painter);
  DrawSnore(ctx, channel, base);
  DrawArousal(ctx, channel, base);
}

void DrawEvents(const PageDrawContext& ctx, const FynDrawWave& painter, int channelRate, std::int64_t samples) {
  if (ctx.doc == nullptr || ctx.dc == nullptr) return;
  const CQLM2_AnalyzerDoc& doc = *ctx.doc;
  const std::int64_t eventRate = doc.EventRate;
  if (doc.Events.empty() || eventRate <= 0 || channelRate <= 0) return;
  const std::int64_t start = ctx.pageStartSeconds * eventRate + doc.ChInfo[0].startOffset;
  // Event positions count the events' own rate; the painter counts the channel's samples.
  const std::int64_t span = samples * eventRate / channelRate;
  draw::Dc& dc = *ctx.dc;
  const draw::ColorRef ink = ctx.Ink(ctx.eventColour);
  const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, ink});
  const draw::Font oldFont = dc.SelectFont(ctx.eventFont);
  const draw::ColorRef oldText = dc.SetTextColor(ink);
  const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
  const int y0 = ctx.printing ? ctx.page.top : 0;
  for (const CQLM2_AnalyzerDoc::EventEntry& event : doc.Events) {
    const std::int64_t p = event.position;
    if (p < start || p > start + span) continue;
    draw::Point pt;
    const std::int64_t index = (p - start) * channelRate / eventRate;
    if (painter.GetDrawPt(-1, static_cast<unsigned long>(index), &pt) != 0) continue;
    const int x = pt.x + ctx.x0;
    dc.MoveTo(x, ctx.page.top);
    dc.LineTo(x, ctx.page.bottom);
    if (event.type >= 0 && event.type < static_cast<int>(doc.EventNames.size())) {
      dc.TextOut(x + 1, y0, doc.EventNames[static_cast<std::size_t>(event.type)]);
    }
  }
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldText);
  dc.SelectFont(oldFont);
  dc.SelectPen(oldPen);
}

bool MarkTypeOffered(const CQLM2_AnalyzerDoc& doc, int type) {
  if (type < 0 || type >= kMarkTypeCount) return false;
  const auto& item = doc.Params.markType.items[static_cast<std::size_t>(type)];
  return doc.Marks.FlagLength() > 0 && doc.Marks.Flags(type) != nullptr && item.triggerDetect == 1 &&
         item.show == 1;
}

void DrawMarkStrips(const PageDrawContext& ctx) {
  if (ctx.doc == nullptr || ctx.dc == nullptr || ctx.pageSeconds <= 0) return;
  const CQLM2_AnalyzerDoc& doc = *ctx.doc;
  const std::int64_t s0 = ctx.pageStartSeconds * 10;
  std::int64_t s1 = (ctx.pageStartSeconds + ctx.pageSeconds) * 10;
  if (ctx.firstEpoch + ctx.epochsPerPage - 1 >= ctx.epochCount) {
    s1 = (ctx.pageStartSeconds + (ctx.epochCount - ctx.firstEpoch) * ctx.epochSeconds) * 10 - 1;
  }
  s1 = std::min<std::int64_t>(s1, doc.Marks.FlagLength());
  const double w = ctx.PageWidth() + 1;
  const double pagePoints = ctx.pageSeconds * 10.0;
  const int height = static_cast<int>(ctx.markLineWidth);
  int bottom = ctx.page.bottom - 5;
  draw::Dc& dc = *ctx.dc;
  for (int type = kMarkTypeCount - 1; type >= 0; --type) {
    const auto& item = doc.Params.markType.items[static_cast<std::size_t>(type)];
    if (item.triggerDetect != 1 || item.show != 1) continue;
    const int top = bottom - height;
    if (const std::uint8_t* flags = doc.Marks.Flags(type)) {
      const draw::Brush brush = draw::Brush::Solid(ctx.Ink(item.colour));
      for (std::int64_t p = std::max<std::int64_t>(s0, 0); p < s1;) {
        if (flags[p] != 1) {
          ++p;
          continue;
        }
        std::int64_t last = p;
        while (last + 1 < s1 && flags[last + 1] == 1) ++last;
        const int x1 = static_cast<int>(static_cast<double>(p - s0) / pagePoints * w);
        const int x2 = static_cast<int>(static_cast<double>(last - s0 + 1) / pagePoints * w);
        dc.FillRect(draw::Rect{ctx.x0 + x1, top, ctx.x0 + x2, bottom}, brush);
        p = last + 1;
      }
    }
    bottom = top - 2;
  }
}

void DrawMarkNames(const PageDrawContext& ctx) {
  if (ctx.doc == nullptr || ctx.dc == nullptr || !ctx.showMarkName) return;
  draw::Dc& dc = *ctx.dc;
  const draw::Font oldFont = dc.SelectFont(ctx.markNameFont);
  const draw::ColorRef oldText = dc.SetTextColor(ctx.Ink(ctx.markNameColour));
  const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
  const draw::Pen oldPen = dc.SelectPen(draw::Pen{});
  int y = ctx.page.bottom - 5;
  for (int type = kMarkTypeCount - 1; type >= 0; --type) {
    if (!MarkTypeOffered(*ctx.doc, type)) continue;
    const auto& item = ctx.doc->Params.markType.items[static_cast<std::size_t>(type)];
    const draw::Size text = dc.GetTextExtent(item.name);
    const int left = ctx.page.left + 2;
    const int oldRop = dc.SetROP2(draw::R2_NOTXORPEN);
    dc.SelectPen(draw::Pen{draw::PS_SOLID, 4, ctx.Ink(item.colour)});
    dc.MoveTo(left, y);
    dc.LineTo(left + text.cx, y);
    dc.SetROP2(oldRop);
    dc.TextOut(left, y - text.cy, item.name);
    y -= text.cy + 1;
  }
  dc.SelectPen(oldPen);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldText);
  dc.SelectFont(oldFont);
}

void DrawWaveDetectRanges(const PageDrawContext& ctx) {
  if (ctx.doc == nullptr || ctx.dc == nullptr || ctx.printing || ctx.pageSeconds <= 0) return;
  if (SeizureMarks.empty() || WaveDetectParam.channel < 0) return;
  const std::int64_t r0 = ctx.doc->ChInfo[0].rate;
  if (r0 <= 0 || ctx.epochSeconds <= 0) return;
  const std::int64_t firstSample = r0 * ctx.epochSeconds * (ctx.pageStartSeconds / ctx.epochSeconds);
  const std::int64_t from = firstSample * 10 / r0;
  const std::int64_t to = (firstSample + r0 * ctx.pageSeconds) * 10 / r0;
  const std::int64_t end = std::min<std::int64_t>(to, static_cast<std::int64_t>(SeizureMarks.size()));
  if (to <= from) return;
  const double w = ctx.PageWidth() + 1;
  const double span = static_cast<double>(to - from);
  const draw::Brush brush = draw::Brush::Solid(WaveDetectParam.colour);
  for (std::int64_t p = std::max<std::int64_t>(from, 0); p < end;) {
    const std::uint8_t v = SeizureMarks[static_cast<std::size_t>(p)];
    if (v == 0) {
      ++p;
      continue;
    }
    std::int64_t q = p + 1;
    while (q < end && SeizureMarks[static_cast<std::size_t>(q)] == v) ++q;
    const int x1 = static_cast<int>(static_cast<double>(p - from) / span * w);
    const int x2 = static_cast<int>(static_cast<double>(q - from) / span * w);
    ctx.dc->FillRect(draw::Rect{x1, 20, x2, 35}, brush);
    p = q;
  }
}

void DrawSpO2LevelBoxes(const PageDrawContext& ctx, int channel, int centre, const FynDrawWave& painter) {
  if (ctx.doc == nullptr || ctx.dc == nullptr || ctx.screening || ctx.enabledChannels <= 0) return;
  const SleepDstrbParam& p = ctx.doc->Params.sleepDstrb;
  if (channel < 0 || channel != p.spo2Channel || p.spo2Show == 0) return;
  const LyrEpochParameter& tables = ctx.doc->EpochTables;
  if (!tables.HasRprsntTable()) return;
  const int rate = ctx.doc->ChInfo[static_cast<std::size_t>(channel)].rate;
  const int perEpoch = LyrEpochParameter::GetRprsntNumSpO2(ctx.epochSeconds);
  if (rate <= 0 || perEpoch <= 0) return;
  const double step = rate * 0.5;  // samples per 0.5-s value
  const int h = static_cast<int>(static_cast<double>(ctx.PageHeight()) / ctx.enabledChannels * 0.4);
  const int width = std::max(1, static_cast<int>(0.5 * (ctx.PageWidth() + 1) / std::max(ctx.pageSeconds, 1)));
  draw::Dc& dc = *ctx.dc;
  const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, BlockColour(ctx, kSpO2Colour)});
  const draw::Brush oldBrush = dc.SelectBrush(draw::Brush::Null());
  for (int k = 0; k < ctx.epochsPerPage; ++k) {
    const std::int64_t e = ctx.firstEpoch + k;
    if (e < 0) continue;
    if (e >= ctx.epochCount) break;
    const float* values = tables.Rprsnt(kRprsntSpO2, static_cast<int>(e));
    if (values == nullptr) continue;
    const int count = std::min(perEpoch, tables.RprsntCount(kRprsntSpO2));
    for (int j = 0; j < count; ++j) {
      if (!(values[j] <= p.spo2ShowLevel)) continue;
      const auto index = static_cast<unsigned long>(static_cast<std::int64_t>(k) * rate * ctx.epochSeconds +
                                                    static_cast<std::int64_t>(j * step));
      draw::Point pt;
      if (painter.GetDrawPt(0, index, &pt) != 0) continue;
      const int x = pt.x + ctx.x0;
      dc.Rectangle(x, centre - h, x + width, centre + h);
    }
  }
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
}

void DrawPrintTimeLabels(const PageDrawContext& ctx, const draw::Font& printFont) {
  if (ctx.doc == nullptr || ctx.dc == nullptr || !ctx.printing) return;
  draw::Dc& dc = *ctx.dc;
  const std::int64_t startMs = ctx.pageStartSeconds * 1000;
  std::string start;
  std::string end;
  ctx.doc->GetMSecTimeString(ClockTimeDisplay, startMs, &start);
  ctx.doc->GetMSecTimeString(ClockTimeDisplay, startMs + static_cast<std::int64_t>(ctx.pageSeconds) * 1000, &end);
  const draw::Font oldFont = dc.SelectFont(printFont);
  const draw::ColorRef oldText = dc.SetTextColor(draw::Rgb(0, 0, 0));
  const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
  dc.TextOut(ctx.page.left, ctx.page.bottom, start);
  dc.TextOut(ctx.page.right - dc.GetTextExtent(end).cx, ctx.page.bottom, end);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldText);
  dc.SelectFont(oldFont);
}
