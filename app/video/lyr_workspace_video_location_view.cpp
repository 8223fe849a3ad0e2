#include "app/video/lyr_workspace_video_location_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/frame/time_point_scale.h"
#include "app/video/cvp_info_exchange.h"
#include "platform/draw/dc.h"

namespace {

constexpr draw::ColorRef kBandGrey = draw::Rgb(250, 250, 250);
constexpr draw::ColorRef kKeptRange = draw::Rgb(100, 100, 250);
constexpr draw::ColorRef kSegmentGreen = draw::Rgb(100, 250, 100);
constexpr draw::ColorRef kSegmentRed = draw::Rgb(250, 100, 100);
constexpr draw::ColorRef kPosition = draw::Rgb(250, 0, 0);

std::array<std::uint16_t, 7> RecordingStart() {
  CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
  const CQLM2_AnalyzerDoc* doc = frame != nullptr ? frame->GetDocument() : nullptr;
  return doc != nullptr ? doc->RecordInfo.startDateTime : std::array<std::uint16_t, 7>{2002, 9, 1, 0, 0, 0, 0};
}

std::string DayHourMinute(const CalendarTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d.%02d:%02d", t.day, t.hour, t.minute);
  return text;
}

}  // namespace

std::int32_t LyrWorkspaceVideoLocationView::LabelInterval(double d) {
  if (d > 259200) return 86400;
  if (d > 86400) return 43200;
  if (d > 43200) return 10800;
  if (d > 21600) return 7200;
  if (d > 10800) return 3600;
  if (d > 3600) return 900;
  if (d > 1800) return 600;
  if (d > 600) return 300;
  return 60;
}

double LyrWorkspaceVideoLocationView::FirstTickOffset(std::int64_t base, std::int32_t interval, bool clockDisplay) {
  if (!clockDisplay) base = 0;
  const std::int64_t first = interval > 0 && base % interval > 0 ? base - base % 3600 + 3600 : base;
  return clockDisplay ? static_cast<double>(first - base) : static_cast<double>(first);
}

bool LyrWorkspaceVideoLocationView::XOf(double t, double start, double end, int width, int& x) {
  const double length = end - start;
  if (width <= 0 || !(length > 0.0)) return false;
  x = static_cast<int>(std::floor((t - start) / (length / width)));
  return true;
}

std::string LyrWorkspaceVideoLocationView::FormatTime(double offset, double windowStart, bool clockDisplay,
                                                      const std::array<std::uint16_t, 7>& start) {
  if (!clockDisplay) return DayHourMinute(AddSeconds({2002, 9, 1, 0, 0, 0}, static_cast<std::int64_t>(offset)));
  CalendarTime base{start[0], start[1], start[2], start[3], start[4], start[5]};
  if (base.year < 1970 || base.year > 2037) base.year = 2002;
  if (base.month < 1 || base.month > 12) base.month = 9;
  if (base.day < 1 || base.day > 31) base.day = 1;
  return DayHourMinute(AddSeconds(base, static_cast<std::int64_t>(windowStart + offset)));
}

int LyrWorkspaceVideoLocationView::OnCreate() {
  draw::LogFont lf = draw::GetSystemLogFont(draw::SystemFont::Menu);
  lf.height = kFontHeight;
  font_ = draw::Font(lf);
  return 0;
}

bool LyrWorkspaceVideoLocationView::TakeWindow() {
  CVPInfoExchange* video = video_;
  if (video == nullptr || !video->IsBound() || DocumentLoaded == 0) return false;
  WindowStart = video->AnalysisStartSeconds;
  WindowEnd = video->AnalysisEndSeconds;
  return true;
}

void LyrWorkspaceVideoLocationView::OnPaint(draw::Dc& dc) { DrawBar(dc); }

void LyrWorkspaceVideoLocationView::DrawBar(draw::Dc& dc) {
  if (!TakeWindow()) return;
  const ui::Rect client = GetClientRect();
  const int w = client.Width();
  const int h = client.Height();
  const double d = WindowEnd - WindowStart;
  // An empty bar or window has no scale: nothing is drawn.
  int probe = 0;
  if (!XOf(WindowStart, WindowStart, WindowEnd, w, probe)) return;
  const double perPixel = d / w;
  dc.FillSolidRect(client, draw::Rgb(255, 255, 255));
  dc.FillSolidRect(draw::Rect{0, h / 2, w, h}, kBandGrey);

  const std::int32_t interval = LabelInterval(d);
  const bool clock = ClockTimeDisplay == 1;
  const std::array<std::uint16_t, 7> start = RecordingStart();
  const std::int64_t base = clock ? start[3] * 3600 + start[4] * 60 + start[5] : 0;
  const double first = FirstTickOffset(base, interval, clock);
  const int ticks = static_cast<int>(d / interval) + 1;
  const int tickTop = h / 3;
  const draw::Font oldFont = dc.SelectFont(font_);
  const int oldMode = dc.SetBkMode(draw::TRANSPARENT);
  const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 2, draw::Rgb(0, 0, 0)});
  for (int k = 0; k < ticks; ++k) {
    const double offset = first + static_cast<double>(k) * interval;
    const int x = static_cast<int>(offset / perPixel);
    dc.MoveTo(x, tickTop);
    dc.LineTo(x, h / 2);
    const std::string label = FormatTime(offset, WindowStart, clock, start);
    const draw::Size extent = dc.GetTextExtent(label);
    if (extent.cy > tickTop) continue;
    int left = x - extent.cx / 4;
    if (k == 0 && left < 0) left = 0;
    if (k > 0 && left + extent.cx > w && x < w) left = w - extent.cx;
    dc.TextOut(left, tickTop - extent.cy, label);
  }
  dc.SelectPen(oldPen);
  dc.SetBkMode(oldMode);
  dc.SelectFont(oldFont);
  DrawBand(dc);
}

void LyrWorkspaceVideoLocationView::UpdateBar() {
  if (!IsWindow()) return;
  ui::ClientDc client(*this);
  if (client.IsValid()) DrawBand(client.dc());
}

void LyrWorkspaceVideoLocationView::DrawBand(draw::Dc& dc) {
  if (!TakeWindow()) return;
  const ui::Rect client = GetClientRect();
  const int w = client.Width();
  const int h = client.Height();
  int x0 = 0;
  if (!XOf(WindowStart, WindowStart, WindowEnd, w, x0)) return;
  ++BandUpdates;
  const int top = h / 2;
  dc.FillSolidRect(draw::Rect{0, top, w, h}, kBandGrey);
  auto xOf = [&](double t) {
    int x = 0;
    XOf(t, WindowStart, WindowEnd, w, x);
    return x;
  };
  for (const VideoFileRecord& r : video_->Records()) {
    for (const auto& range : r.ranges) {
      const double s = r.startTime + range.first;
      const double e = r.startTime + range.second;
      const bool touches = (s >= WindowStart || e >= WindowStart) && (s <= WindowEnd || e <= WindowEnd);
      if (touches) dc.FillSolidRect(draw::Rect{xOf(s), top, xOf(e), h}, kKeptRange);
    }
  }
  for (const auto& [s, e] : segments_) {
    const int left = xOf(s);
    const int right = std::max(xOf(e), left + 1);
    dc.FillSolidRect(draw::Rect{left, top, right, h}, colourChoice_ != 0 ? kSegmentRed : kSegmentGreen);
  }
  const double now = video_->CurrentTime;
  if (now >= WindowStart && now <= WindowEnd) {
    const int x = xOf(now);
    dc.FillSolidRect(draw::Rect{x - 1, top, x + 2, h}, kPosition);
  }
}

void LyrWorkspaceVideoLocationView::SetSegments(std::vector<std::pair<double, double>> segments, int colourChoice) {
  segments_ = std::move(segments);
  colourChoice_ = colourChoice;
  if (IsWindow()) Invalidate(false);
}

void LyrWorkspaceVideoLocationView::OnLButtonUp(std::uint32_t, ui::Point client) {
  if (!CanSeek || !CanSeek() || !TakeWindow()) return;
  const ui::Rect r = GetClientRect();
  if (r.Width() <= 0 || client.x < 0 || client.x >= r.Width() || client.y < 0 || client.y >= r.Height()) return;
  if (!(WindowEnd > WindowStart)) return;
  const double t = WindowStart + (WindowEnd - WindowStart) / r.Width() * client.x;
  if (Seek) Seek(t);
}
