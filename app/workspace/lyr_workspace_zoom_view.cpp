#include "app/workspace/lyr_workspace_zoom_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_peak_information.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_mouse.h"
#include "app/raw/raw_page_geometry.h"
#include "app/workspace/spectrum_rows.h"
#include "common/draw/fyn_draw_wave.h"
#include "platform/draw/dc.h"
#include "platform/ui/app.h"
#include "platform/ui/window.h"

namespace {
// The zoom pane whose window receives the spans picked on the wave page.
LyrWorkspaceZoomView* sZoomReceiver = nullptr;
}  // namespace

LyrWorkspaceZoomView::LyrWorkspaceZoomView() { ResetZoom(); }

int LyrWorkspaceZoomView::OnCreate() {
  sZoomReceiver = this;
  RawPreview.zoomRange = [](const RawPreviewPick& press, const RawPreviewPick& release) {
    if (sZoomReceiver != nullptr) sZoomReceiver->PickSpans(press, release);
  };
  return ui::View::OnCreate();
}

LyrWorkspaceZoomView::~LyrWorkspaceZoomView() {
  if (sZoomReceiver == this) {
    sZoomReceiver = nullptr;
    RawPreview.zoomRange = nullptr;
  }
  if (peakDlg_ == nullptr) return;
  if (peakDlg_->IsWindow()) peakDlg_->DestroyWindow();
  delete peakDlg_;
  peakDlg_ = nullptr;
}

void LyrWorkspaceZoomView::ResetZoom() {
  Spans.fill(ZoomSpan{});
  Peaks.fill(ZoomPeakRecord{});
  for (ZoomReadout& r : Readout) r = ZoomReadout{};
  Gain = 1.0;
  AreaMode = 0;
  Mode = 0;
  CursorX = -1;
  MarkX = -1;
  MarkTimeMs = -1;
  PageBufferKind = 2;
  ShowPeaks = 1;
  ClosePeakDlg();
}

int LyrWorkspaceZoomView::GetShownChannelCount() const {
  if (m_pDoc == nullptr) return 0;
  const int channels = std::clamp<int>(m_pDoc->RecordInfo.channelCount, 0, 32);
  int n = 0;
  for (int c = 0; c < channels; ++c) n += Spans[static_cast<std::size_t>(c)].shown != 0 ? 1 : 0;
  return n;
}

std::pair<double, double> LyrWorkspaceZoomView::GetShownTimeRange() const {
  double lo = std::numeric_limits<double>::max();
  double hi = -std::numeric_limits<double>::max();
  if (m_pDoc == nullptr) return {lo, hi};
  const int channels = std::clamp<int>(m_pDoc->RecordInfo.channelCount, 0, 32);
  for (int c = 0; c < channels; ++c) {
    const ZoomSpan& s = Spans[static_cast<std::size_t>(c)];
    const int rate = m_pDoc->ChInfo[static_cast<std::size_t>(c)].rate;
    if (s.shown == 0 || rate <= 0) continue;
    lo = std::min(lo, static_cast<double>(s.first) / rate);
    hi = std::max(hi, static_cast<double>(s.last) / rate);
  }
  return {lo, hi};
}

void LyrWorkspaceZoomView::SearchPeaks(std::int32_t from, std::int32_t to) {
  Peaks.fill(ZoomPeakRecord{});
  if (Doc() == nullptr) return;
  if (from > to) std::swap(from, to);
  const int channels = std::clamp<int>(Doc()->RecordInfo.channelCount, 0, 32);
  for (int c = 0; c < channels; ++c) SearchChannelPeaks(c, from, to);
}

void LyrWorkspaceZoomView::SearchChannelPeaks(int c, std::int32_t from, std::int32_t to) {
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr) return;
  const std::vector<float>& page = doc->RecordInfo.pageBuffers[2];
  if (page.empty()) return;
  const ZoomSpan& s = Spans[static_cast<std::size_t>(c)];
  const int rate = doc->ChInfo[static_cast<std::size_t>(c)].rate;
  if (s.shown == 0 || rate <= 0) return;
  const float* data = doc->GetChDataPtr(2, static_cast<unsigned>(c), const_cast<float*>(page.data()));
  const std::size_t channelStart = static_cast<std::size_t>(data - page.data());
  const std::size_t channelLength = static_cast<std::size_t>(rate) * static_cast<std::size_t>(PageSeconds) + 1;
  // Only samples of the span that the page holds are visited.
  const std::int32_t lastIndex = std::min<std::int32_t>(s.last - s.first, to);
  ZoomPeakRecord& p = Peaks[static_cast<std::size_t>(c)];
  p = ZoomPeakRecord{};
  for (std::int32_t i = std::max<std::int32_t>(from, 0); i <= lastIndex; ++i) {
    const std::int64_t sample = static_cast<std::int64_t>(s.first) + i;
    if (sample < 0 || static_cast<std::size_t>(sample) >= channelLength ||
        channelStart + static_cast<std::size_t>(sample) >= page.size())
      break;
    const float v = data[sample];
    const std::int64_t ms = sample * 1000 / rate;
    if (v > p.maxValue) {
      p.maxValue = v;
      p.maxIndex = i;
      p.maxTimeMs = ms;
    }
    if (v < p.minValue) {
      p.minValue = v;
      p.minIndex = i;
      p.minTimeMs = ms;
    }
  }
}

void LyrWorkspaceZoomView::ShowList(ui::Window* owner) {
  if (DocumentLoaded == 0 || GetShownChannelCount() == 0 || (Mode != 5 && Mode != 6) || peakDlg_ != nullptr) return;
  auto* dlg = new LyrDlgPeakInformation(this, owner);
  dlg->SetCloseCallback([this](int) { ClosePeakDlg(); });
  if (!dlg->CreateModeless(owner)) {
    delete dlg;
    return;
  }
  peakDlg_ = dlg;
  ShowPeaks = dlg->ShowPeakChecked() ? 1 : 0;
}

void LyrWorkspaceZoomView::ClosePeakDlg() {
  LyrDlgPeakInformation* dlg = peakDlg_;
  peakDlg_ = nullptr;
  Mode = 0;
  if (dlg == nullptr) return;
  // The dialog may be ending itself: it goes once its own message is handled.
  ui::PostTask([dlg] {
    if (dlg->IsWindow()) dlg->DestroyWindow();
    delete dlg;
  });
}

// ---- Drawing, read-out and measuring ------------------------------------------------------------

namespace {

constexpr draw::ColorRef kBlack = draw::Rgb(0, 0, 0);

int ChannelCount(const CQLM2_AnalyzerDoc& doc) { return std::clamp<int>(doc.RecordInfo.channelCount, 0, 32); }

std::int64_t PageStartMs(const CQLM2_AnalyzerDoc& doc) {
  return static_cast<std::int64_t>(doc.CurrentPage) * PageSeconds * 1000;
}

int MHeight(draw::Dc& dc) {
  const draw::Font old = dc.SelectFont(draw::Font(spectrum::LookFont(6)));
  const int h = dc.GetTextExtent("M").cy;
  dc.SelectFont(old);
  return h;
}

std::string Printf(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

}  // namespace

std::string ZoomLatencyText(std::int64_t ms) {
  const std::int64_t a = ms < 0 ? -ms : ms;
  char text[64];
  std::snprintf(text, sizeof text, "%02lld:%02lld.%03lld", static_cast<long long>(a / 60000 % 60),
                static_cast<long long>(a / 1000 % 60), static_cast<long long>(a % 1000));
  return text;
}

CQLM2_AnalyzerDoc* LyrWorkspaceZoomView::Doc() const {
  return m_pDoc != nullptr ? m_pDoc : dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument());
}

draw::Rect LyrWorkspaceZoomView::GetWaveRect(const draw::Rect& client) const {
  return draw::Rect{5, client.top + static_cast<int>(2.2 * labelHeight_), (client.right - 5) * 85 / 100 + 5,
                    client.bottom - 5};
}

int LyrWorkspaceZoomView::GetRowBaseline(int channel) const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  const int n = GetShownChannelCount();
  if (doc == nullptr || n == 0) return 0;
  const draw::Rect wave = GetWaveRect(client_);
  const double h = static_cast<double>(wave.bottom - wave.top) / n;
  int k = 0;
  for (int c = 0; c <= channel && c < ChannelCount(*doc); ++c) k += Spans[static_cast<std::size_t>(c)].shown != 0 ? 1 : 0;
  const int top = wave.top + static_cast<int>((k - 1) * h);
  const int bottom = wave.top + static_cast<int>(k * h);
  const std::uint16_t base = doc->ChInfo[static_cast<std::size_t>(channel)].baseLine;
  return base == 0 ? (top + bottom) / 2 : base == 1 ? bottom : top;
}

void LyrWorkspaceZoomView::InitReadXY(int width) {
  for (ZoomReadout& r : Readout) {
    r.sample.clear();
    r.value.clear();
    if (width > 1) {
      r.sample.assign(static_cast<std::size_t>(width), 0);
      r.value.assign(static_cast<std::size_t>(width), 0.0f);
    }
  }
}

void LyrWorkspaceZoomView::OnDraw(draw::Dc& dc) {
  const ui::Rect r = GetClientRect();
  dc.FillSolidRect(draw::RectFromSize(0, 0, r.Width(), r.Height()), draw::Rgb(255, 255, 255));
  Render(dc, draw::Rect{0, 0, r.Width(), r.Height()});
}

void LyrWorkspaceZoomView::Render(draw::Dc& dc, const draw::Rect& client) {
  client_ = client;
  labelHeight_ = MHeight(dc);
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || DocumentLoaded == 0) return;
  const draw::Rect wave = GetWaveRect(client);
  const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
  const draw::Point outline[] = {{wave.left, wave.top}, {wave.right, wave.top}, {wave.right, wave.bottom},
                                 {wave.left, wave.bottom}, {wave.left, wave.top}};
  dc.Polyline(outline, 5);
  dc.SelectPen(oldPen);
  if (GetShownChannelCount() == 0) return;
  const std::size_t width = static_cast<std::size_t>(wave.right + 1);
  if (std::any_of(Readout.begin(), Readout.end(), [&](const ZoomReadout& r) { return r.sample.size() != width; }))
    InitReadXY(wave.right + 1);
  const auto [tMin, tMax] = GetShownTimeRange();
  // One instant picked: the outline alone (no time axis to spread).
  if (!(tMax > tMin)) return;
  const double s = (wave.right - wave.left + 1) / (tMax - tMin);
  const std::vector<float>& page = doc->RecordInfo.pageBuffers[PageBufferKind < 5 ? PageBufferKind : 2];
  double perCm = 0.0;
  CMainFrame::CalcActualSizeScale(&dc, &perCm, nullptr, 1.0);
  bool first = true;
  for (int c = 0; c < ChannelCount(*doc); ++c) {
    const ZoomSpan& span = Spans[static_cast<std::size_t>(c)];
    const LyrChInfo& ch = doc->ChInfo[static_cast<std::size_t>(c)];
    if (span.shown == 0 || span.last == span.first || ch.rate <= 0 || page.empty()) continue;
    const float* data = doc->GetChDataPtr(static_cast<short>(PageBufferKind), static_cast<unsigned>(c),
                                          const_cast<float*>(page.data()));
    const std::size_t channelStart = static_cast<std::size_t>(data - page.data());
    const std::size_t channelLength = static_cast<std::size_t>(ch.rate) * static_cast<std::size_t>(PageSeconds) + 1;
    if (span.first < 0 || static_cast<std::size_t>(span.last) >= channelLength ||
        channelStart + static_cast<std::size_t>(span.last) >= page.size())
      continue;
    const double r = ch.rate;
    draw::Rect rect{wave.left + static_cast<int>((span.first / r - tMin) * s), wave.top,
                    wave.right - static_cast<int>((tMax - span.last / r) * s), wave.bottom};
    rect.right = std::clamp(rect.right, rect.left, wave.right);
    std::int16_t show = 1;
    std::int32_t base = GetRowBaseline(c);
    const double yScale = rawpage::VerticalScale(perCm, ch.unitsPerCm, ch.gain * Gain, ch.displayInvert != 0).value_or(0.0);
    std::uint32_t colour = ch.colour;
    ZoomReadout& read = Readout[static_cast<std::size_t>(c)];
    _FynDrawWaveParam p;
    p.dc = &dc;
    p.chNum = 1;
    p.showFlags = &show;
    p.data = data + span.first;
    p.firstIndex = static_cast<std::uint32_t>(span.first);
    p.lastIndex = static_cast<std::uint32_t>(span.last);
    p.sampFreq = r;
    p.baseLines = &base;
    p.xScale = (rect.right - rect.left + 1) / ((span.last - span.first) / r);
    p.yScales = &yScale;
    p.drawMode = 1;
    p.colors = &colour;
    p.columnIndex = read.sample.data() + rect.left;
    p.columnValue = read.value.data() + rect.left;
    p.rect = rect;
    FynDrawWave painter(&p);
    painter.SetLineWidth(ch.displayTypeWords[4] != 0 ? 2 : 1);
    if (ch.displayTypeWords[0] != 0) painter.DrawWave();
    const int saved = dc.SaveDC();
    dc.SetBkMode(draw::TRANSPARENT);
    dc.SetTextColor(colour);
    // One label a second where the painter places the sample.
    const bool values = ch.displayTypeWords[2] != 0;
    const bool ranges = ch.displayTypeWords[3] != 0;
    const int decimals = std::clamp<int>(ch.displayTypeWords[5], 0, 7);
    for (std::int64_t i = 0; values || ranges; i += ch.rate) {
      draw::Point pt;
      if (span.first + i > span.last || painter.GetDrawPt(0, static_cast<unsigned long>(span.first + i), &pt) != 0 || pt.x < 0) break;
      const float v = data[span.first + i];
      int x = rect.left + pt.x;
      if (values) {
        dc.SelectFont(draw::Font(spectrum::LookFont(8)));
        char format[8];
        std::snprintf(format, sizeof format, "%%.%df ", decimals);
        const std::string text = Printf(format, v);
        dc.TextOut(x, pt.y, text);
        x += dc.GetTextExtent(text).cx;
      }
      if (ranges) {
        dc.SelectFont(draw::Font(spectrum::LookFont(7)));
        dc.TextOut(x, pt.y, ch.LevelLabelOf(v));
      }
    }
    dc.SelectFont(draw::Font(spectrum::LookFont(2)));
    dc.TextOut(10, base, ch.name);
    const ZoomPeakRecord& peak = Peaks[static_cast<std::size_t>(c)];
    dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, colour});
    draw::Point pt;
    if (ShowPeaks != 0 && peak.maxIndex >= 0 &&
        painter.GetDrawPt(0, static_cast<unsigned long>(span.first + peak.maxIndex), &pt) == 0 && pt.x >= 0) {
      dc.MoveTo(rect.left + pt.x, pt.y - 10);
      dc.LineTo(rect.left + pt.x, pt.y);
    }
    if (ShowPeaks != 0 && peak.minIndex >= 0 &&
        painter.GetDrawPt(0, static_cast<unsigned long>(span.first + peak.minIndex), &pt) == 0 && pt.x >= 0) {
      dc.MoveTo(rect.left + pt.x, pt.y);
      dc.LineTo(rect.left + pt.x, pt.y + 10);
    }
    if (first) {
      dc.SelectPen(draw::Pen{draw::PS_DOT, 1, spectrum::LookColour(3)});
      for (std::int64_t i = (span.first + ch.rate - 1) / ch.rate * ch.rate; i <= span.last; i += ch.rate) {
        if (painter.GetDrawPt(-1, static_cast<unsigned long>(i), &pt) != 0) continue;
        dc.MoveTo(rect.left + pt.x, wave.top);
        dc.LineTo(rect.left + pt.x, wave.bottom);
      }
      first = false;
    }
    dc.RestoreDC(saved);
  }
  const int saved = dc.SaveDC();
  dc.SelectFont(draw::Font(spectrum::LookFont(6)));
  dc.SetBkMode(draw::OPAQUE);
  dc.SetBkColor(spectrum::LookColour(5));
  dc.SetTextColor(kBlack);
  std::string from, to;
  doc->GetMSecTimeString(ClockTimeDisplay, PageStartMs(*doc) + static_cast<std::int64_t>(1000 * tMin), &from);
  doc->GetMSecTimeString(ClockTimeDisplay, PageStartMs(*doc) + static_cast<std::int64_t>(1000 * tMax), &to);
  const int h = dc.GetTextExtent(from).cy;
  dc.TextOut(wave.left, wave.top - h, from);
  dc.TextOut(wave.right - dc.GetTextExtent(to).cx, wave.top - h, to);
  dc.RestoreDC(saved);
  if (MarkX != -1) {
    const int rop = dc.SetROP2(draw::R2_XORPEN);
    const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, spectrum::LookColour(5)});
    dc.MoveTo(MarkX, wave.top);
    dc.LineTo(MarkX, wave.bottom);
    dc.SelectPen(old);
    dc.SetROP2(rop);
  }
  CursorX = -1;
}

std::int64_t LyrWorkspaceZoomView::ColumnTimeMs(int x) const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || x < 0) return -1;
  for (int c = 0; c < ChannelCount(*doc); ++c) {
    if (Spans[static_cast<std::size_t>(c)].shown == 0) continue;
    const ZoomReadout& r = Readout[static_cast<std::size_t>(c)];
    const int rate = doc->ChInfo[static_cast<std::size_t>(c)].rate;
    if (static_cast<std::size_t>(x) >= r.sample.size() || rate <= 0) return -1;
    return PageStartMs(*doc) + static_cast<std::int64_t>(r.sample[static_cast<std::size_t>(x)]) * 1000 / rate;
  }
  return -1;
}

void LyrWorkspaceZoomView::ShowReadout(int x) {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || x < 0 || static_cast<std::size_t>(x) >= Readout[0].sample.size()) return;
  const bool latency = Mode == 4 && MarkTimeMs != -1;
  ReadoutTexts.clear();
  const std::int64_t t = ColumnTimeMs(x);
  std::string time;
  if (latency) {
    const std::int64_t d = t - MarkTimeMs;
    ReadoutTexts.push_back(ZoomLatencyText(d));
    if (d != 0) ReadoutTexts.push_back(Printf("%.3fHz", 1000.0 / static_cast<double>(d < 0 ? -d : d)));
  } else {
    doc->GetMSecTimeString(ClockTimeDisplay, t, &time);
    ReadoutTexts.push_back(time);
  }
  const std::size_t timeLines = ReadoutTexts.size();
  std::vector<int> channels;
  for (int c = 0; c < ChannelCount(*doc); ++c) {
    if (Spans[static_cast<std::size_t>(c)].shown == 0) continue;
    float v = Readout[static_cast<std::size_t>(c)].value[static_cast<std::size_t>(x)];
    if (latency) v = std::fabs(MarkedValue[static_cast<std::size_t>(c)] - v);
    char text[96];
    std::snprintf(text, sizeof text, "%9.3f%s", static_cast<double>(v), doc->ChInfo[static_cast<std::size_t>(c)].unit.c_str());
    ReadoutTexts.push_back(text);
    channels.push_back(c);
  }
  if (!IsWindow()) return;
  ui::ClientDc client(*this);
  if (!client.IsValid()) return;
  draw::Dc& dc = client.dc();
  const draw::Rect wave = GetWaveRect(client_);
  const int saved = dc.SaveDC();
  dc.SelectFont(draw::Font(spectrum::LookFont(1)));
  dc.SetBkMode(draw::OPAQUE);
  dc.SetBkColor(spectrum::LookColour(5));
  dc.FillSolidRect(draw::Rect{wave.right + 2, client_.top, client_.right, client_.bottom}, spectrum::LookColour(5));
  for (std::size_t k = 0; k < channels.size(); ++k) {
    const std::string& text = ReadoutTexts[timeLines + k];
    dc.SetTextColor(doc->ChInfo[static_cast<std::size_t>(channels[k])].colour);
    dc.TextOut(wave.right + 5, GetRowBaseline(channels[k]) - dc.GetTextExtent(text).cy / 2, text);
  }
  dc.SetTextColor(kBlack);
  const int first = client_.right - dc.GetTextExtent(ReadoutTexts[0]).cx;
  dc.TextOut(first, 0, ReadoutTexts[0]);
  if (timeLines > 1) dc.TextOut(first, dc.GetTextExtent(ReadoutTexts[0]).cy, ReadoutTexts[1]);
  dc.SetROP2(draw::R2_NOT);
  if (CursorX != -1) {
    dc.MoveTo(CursorX, wave.top + 1);
    dc.LineTo(CursorX, wave.bottom - 1);
  }
  dc.MoveTo(x, wave.top + 1);
  dc.LineTo(x, wave.bottom - 1);
  dc.RestoreDC(saved);
}

void LyrWorkspaceZoomView::DrawMarkLine(int x) {
  if (x < 0 || !IsWindow()) return;
  ui::ClientDc client(*this);
  if (!client.IsValid()) return;
  draw::Dc& dc = client.dc();
  const draw::Rect wave = GetWaveRect(client_);
  const int saved = dc.SaveDC();
  dc.SetROP2(draw::R2_XORPEN);
  dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, spectrum::LookColour(5)});
  dc.MoveTo(x, wave.top);
  dc.LineTo(x, wave.bottom);
  dc.RestoreDC(saved);
}

void LyrWorkspaceZoomView::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::View::OnSize(sizeType, cx, cy);
  if (DocumentLoaded == 0 || Doc() == nullptr) return;
  client_ = draw::Rect{0, 0, cx, cy};
  ShowList(GetTopLevel());
  InitReadXY(GetWaveRect(client_).right + 1);
}

void LyrWorkspaceZoomView::OnMouseMove(std::uint32_t flags, ui::Point point) {
  ui::View::OnMouseMove(flags, point);
  if (GetShownChannelCount() == 0) return;
  const draw::Rect wave = GetWaveRect(client_);
  if (point.x < wave.left || point.x > wave.right || point.y < wave.top || point.y > wave.bottom) return;
  if (Mode >= 3) SetCursorShape(Mode <= 4 ? ui::Window::Cursor::Cross : ui::Window::Cursor::SizeWE);
  ShowReadout(point.x);
  CursorX = point.x;
  CursorY = point.y;
}

void LyrWorkspaceZoomView::OnLButtonUp(std::uint32_t flags, ui::Point point) {
  ui::View::OnLButtonUp(flags, point);
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || GetShownChannelCount() == 0) return;
  if (Mode == 3 || Mode == 5) {
    MarkTimeMs = ColumnTimeMs(point.x);
    MarkX = point.x;
    for (int c = 0; c < ChannelCount(*doc); ++c) {
      const ZoomReadout& r = Readout[static_cast<std::size_t>(c)];
      if (Spans[static_cast<std::size_t>(c)].shown != 0 && point.x >= 0 && static_cast<std::size_t>(point.x) < r.value.size())
        MarkedValue[static_cast<std::size_t>(c)] = r.value[static_cast<std::size_t>(point.x)];
    }
    DrawMarkLine(MarkX);
    Mode = Mode == 3 ? 4 : 6;
  } else if (Mode == 6) {
    Mode = 5;
    SearchPeaksBetween(MarkX, point.x);
    if (peakDlg_ != nullptr) LyrDlgPeakInformation::FillPeakList(*peakDlg_, *this);
    MarkX = -1;
    MarkTimeMs = -1;
    if (IsWindow()) {
      Invalidate();
      UpdateWindow();
    }
  }
}

void LyrWorkspaceZoomView::OnRButtonUp(std::uint32_t flags, ui::Point point) {
  ui::View::OnRButtonUp(flags, point);
  if (GetShownChannelCount() == 0) return;
  switch (Mode) {
    case 4: Mode = 3; break;
    case 6: Mode = 5; break;
    case 5: ClosePeakDlg(); break;
    default: Mode = 0; break;
  }
  if (MarkX != -1) DrawMarkLine(MarkX);
  MarkX = -1;
  MarkTimeMs = -1;
}

void LyrWorkspaceZoomView::SearchPeaksBetween(int columnA, int columnB) {
  Peaks.fill(ZoomPeakRecord{});
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr) return;
  for (int c = 0; c < ChannelCount(*doc); ++c) {
    const ZoomSpan& s = Spans[static_cast<std::size_t>(c)];
    const ZoomReadout& r = Readout[static_cast<std::size_t>(c)];
    if (s.shown == 0 || columnA < 0 || columnB < 0 || static_cast<std::size_t>(std::max(columnA, columnB)) >= r.sample.size())
      continue;
    const std::int32_t a = static_cast<std::int32_t>(r.sample[static_cast<std::size_t>(columnA)]) - s.first;
    const std::int32_t b = static_cast<std::int32_t>(r.sample[static_cast<std::size_t>(columnB)]) - s.first;
    SearchChannelPeaks(c, std::min(a, b), std::max(a, b));
  }
}

void LyrWorkspaceZoomView::PickSpans(const RawPreviewPick& press, const RawPreviewPick& release) {
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || press.channel < 0) return;
  int x1 = press.x;
  int x2 = release.x;
  if (AreaMode == 0 && x1 > x2) std::swap(x1, x2);
  int c1 = press.channel;
  int c2 = release.channel >= 0 ? release.channel : press.channel;
  if (c1 > c2) std::swap(c1, c2);
  Spans.fill(ZoomSpan{});
  for (int c = c1; c <= c2 && c < ChannelCount(*doc); ++c) {
    const LyrChInfo& ch = doc->ChInfo[static_cast<std::size_t>(c)];
    if (ch.show == 0 || ch.readX.empty() || ch.rate <= 0) continue;
    const int last = static_cast<int>(ch.readX.size()) - 1;
    std::int32_t first = ch.readX[static_cast<std::size_t>(std::clamp(x1, 0, last))];
    std::int32_t end = 0;
    if (AreaMode == 0) {
      end = ch.readX[static_cast<std::size_t>(std::clamp(x2, 0, last))];
    } else {
      // A fixed length from the press, moved back to end on the page's last sample.
      const std::int32_t pageLast = ch.rate * PageSeconds - 1;
      end = first + ch.rate * AreaMode;
      if (end > pageLast) {
        first = std::max(first - (end - pageLast), 0);
        end = pageLast;
      }
    }
    Spans[static_cast<std::size_t>(c)] = ZoomSpan{1, first, end};
  }
  if (IsWindow()) {
    Invalidate();
    UpdateWindow();
  }
}
