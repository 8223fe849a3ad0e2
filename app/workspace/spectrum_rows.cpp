#include "app/workspace/spectrum_rows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/frame/display_fonts.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_page_geometry.h"

namespace spectrum {
namespace {

constexpr draw::ColorRef kBlack = draw::Rgb(0, 0, 0);
constexpr draw::ColorRef kGrey = draw::Rgb(128, 128, 128);

int Trunc(double v) {
  if (!(v == v)) return 0;
  return static_cast<int>(std::clamp(std::trunc(v), -1.0e6, 1.0e6));
}

double Df(double rateHz, int points) { return points > 0 ? rateHz / points : 0.0; }

bool InBand(const FrequencyBand& b, double hz) { return b.fromHz <= hz && hz < b.toHz; }

int BandCount(const FFTPageParam& fp) { return std::clamp<int>(fp.bandCount, 0, 6); }

std::string Format(const char* format, double v, const std::string& unit) {
  char text[96];
  std::snprintf(text, sizeof text, format, v, unit.c_str());
  return text;
}

void Line(draw::Dc& dc, int x0, int y0, int x1, int y1) {
  dc.MoveTo(x0, y0);
  dc.LineTo(x1, y1);
}

}  // namespace

int ShownBins(double rangeHz, double rateHz, int points) { return rawpage::ShownBins(rangeHz, rateHz, points); }

double BarWidth(int width, double rangeHz, double rateHz, int points) {
  const int half = points / 2 + 1;
  const double df = Df(rateHz, points);
  const int n = df > 0.0 ? Trunc(rangeHz / df) + 1 : 0;
  if (n >= half || n < 2) return static_cast<double>(width) / half;
  return static_cast<double>(width) / n;
}

std::uint32_t BinColour(const FFTPageParam& fp, double hz) {
  std::uint32_t colour = fp.outsideColour;
  bool found = false;
  for (int b = 0; b < BandCount(fp); ++b) {
    if (InBand(fp.bands[static_cast<std::size_t>(b)], hz)) {
      colour = fp.bandColours[static_cast<std::size_t>(b)];
      found = true;
    }
  }
  return found ? colour : fp.outsideColour;
}

std::array<double, 6> BandSums(const FFTPageParam& fp, std::span<const float> values, int points, double df, int limit,
                               bool percentage) {
  std::array<double, 6> sums{};
  const int end = std::min({points / 2 + 1, static_cast<int>(values.size()), limit});
  double total = 0.0;
  for (int i = 0; i < end; ++i) {
    const double hz = i * df;
    for (int b = 0; b < BandCount(fp); ++b)
      if (InBand(fp.bands[static_cast<std::size_t>(b)], hz)) sums[static_cast<std::size_t>(b)] += values[static_cast<std::size_t>(i)];
    if (fp.contentFromHz <= hz && hz < fp.contentToHz) total += values[static_cast<std::size_t>(i)];
  }
  if (percentage && total != 0.0)
    for (double& s : sums) s = s / total * 100.0;
  return sums;
}

Maxima RowMaxima(const FFTPageParam& fp, std::span<const float> values, int points, double df, int shown) {
  Maxima m{-3.4028235e38, -3.4028234663852886e38};
  const int end = std::min(shown, static_cast<int>(values.size()));
  for (int i = 0; i < end; ++i) m.spectrum = std::max<double>(m.spectrum, values[static_cast<std::size_t>(i)]);
  const std::array<double, 6> sums = BandSums(fp, values, points, df, shown, false);
  for (int b = 0; b < BandCount(fp); ++b) m.content = std::max(m.content, sums[static_cast<std::size_t>(b)]);
  return m;
}

double GainFor(double height, double maximum) { return maximum > 0.0 ? 0.9 * height / maximum : 0.0; }

int AxisStrip(draw::Dc& dc) {
  const draw::Font old = dc.SelectFont(draw::Font(LookFont(6)));
  const int h = dc.GetTextExtent("M").cy;
  dc.SelectFont(old);
  return Trunc(1.2 * h);
}

RowRects RowLayout(const draw::Rect& client, int axis, int rows, int r, bool bandBars) {
  RowRects out;
  if (rows <= 0) return out;
  const int usableBottom = client.bottom - axis;
  const int usableRight = client.right - 1;
  const int height = usableBottom - client.top;
  const int top = client.top + height * r / rows;
  const int bottom = client.top + height * (r + 1) / rows;
  const int left = client.left + kLabelWidth;
  const int w = usableRight - left;
  out.label = draw::Rect{client.left, top, left, bottom};
  out.spectrum = draw::Rect{left, top, left + w * (bandBars ? 70 : 100) / 100, bottom};
  if (bandBars) out.band = draw::Rect{usableRight - w * 30 / 100, top, usableRight, bottom};
  else out.band = draw::Rect{usableRight, top, usableRight, bottom};
  return out;
}

void DrawGrid(draw::Dc& dc, const draw::Rect& area, double rangeHz, double rateHz) {
  const double r = rateHz / 2.0 >= rangeHz ? rangeHz : rateHz / 2.0;
  if (!(r > 0.0)) return;
  const double step = (area.right - area.left) * 5.0 / r;
  if (!(step > 0.0)) return;
  const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_DOT, 1, LookColour(3)});
  for (int k = 1;; ++k) {
    const int x = area.left + Trunc(k * step);
    if (x >= area.right) break;
    Line(dc, x, area.top, x, area.bottom);
  }
  dc.SelectPen(old);
}

void DrawBars(draw::Dc& dc, const draw::Rect& area, const FFTPageParam& fp, const BarInput& in,
              std::span<int> binPerColumn, std::span<float> valuePerColumn) {
  const int half = in.points / 2 + 1;
  const double df = Df(in.rateHz, in.points);
  const int shown = ShownBins(in.rangeHz, in.rateHz, in.points);
  const double w = BarWidth(area.right - area.left + 1, in.rangeHz, in.rateHz, in.points);
  const int end = std::min({half, static_cast<int>(in.values.size()), shown});
  const int saved = dc.SaveDC();
  dc.IntersectClipRect(area);
  for (int i = 0; i < end; ++i) {
    const float v = in.values[static_cast<std::size_t>(i)];
    const int x0 = area.left + Trunc(w * i);
    const int x1 = area.left + Trunc(w * (i + 1));
    const int y0 = area.bottom - Trunc(v * in.gain);
    const draw::Rect bar = rawpage::ClampRectToShort(draw::Rect{x0, y0, x1, area.bottom});
    const draw::ColorRef colour = BinColour(fp, i * df);
    if (w < 3.0) {
      const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, colour});
      for (int x = bar.left; x <= bar.right; ++x) Line(dc, x, bar.top, x, bar.bottom);
      dc.SelectPen(old);
    } else if (w < 5.0) {
      dc.FillSolidRect(bar, colour);
    } else {
      const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
      const draw::Brush oldBrush = dc.SelectBrush(draw::Brush::Solid(colour));
      dc.Rectangle(bar);
      dc.SelectBrush(oldBrush);
      dc.SelectPen(oldPen);
    }
    for (int x = x0; x <= x1; ++x) {
      const std::size_t off = static_cast<std::size_t>(std::max(x - area.left, 0));
      if (off < binPerColumn.size()) binPerColumn[off] = i;
      if (off < valuePerColumn.size()) valuePerColumn[off] = v;
    }
  }
  dc.RestoreDC(saved);
}

void DrawBandBars(draw::Dc& dc, const draw::Rect& band, const FFTPageParam& fp, const std::array<double, 6>& sums,
                  double gain, const std::string& unit) {
  const int count = BandCount(fp);
  if (count == 0) return;
  const int saved = dc.SaveDC();
  dc.IntersectClipRect(band);
  draw::Rect area = band;
  area.left += 1;
  area.right -= 1;
  const double v = static_cast<double>(area.right - area.left + 1) / count;
  draw::LogFont lf = LookFont(1);
  lf.escapement = 2700;
  lf.orientation = 2700;
  const draw::Font oldFont = dc.SelectFont(draw::Font(lf));
  const int oldMode = dc.SetBkMode(draw::OPAQUE);
  const draw::ColorRef oldBk = dc.SetBkColor(LookColour(5));
  const draw::ColorRef oldText = dc.SetTextColor(kBlack);
  for (int b = 0; b < count; ++b) {
    const double sum = sums[static_cast<std::size_t>(b)];
    const int right = area.left + Trunc(v * (b + 1));
    const draw::Rect bar = rawpage::ClampRectToShort(
        draw::Rect{area.left + Trunc(v * b), area.bottom - Trunc(sum * gain), right, area.bottom});
    dc.FillSolidRect(bar, fp.bandColours[static_cast<std::size_t>(b)]);
    std::string text;
    if (fp.contentMode != 0) text = Format(" %.1f%%", sum, "");
    else text = Format(fp.unit != 0 ? " %.1f%s" : " %.1f%s^2", sum, unit);
    dc.TextOut(right, area.top + 2, text);
  }
  dc.SetTextColor(oldText);
  dc.SetBkColor(oldBk);
  dc.SetBkMode(oldMode);
  dc.SelectFont(oldFont);
  const draw::Pen oldPen = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
  Line(dc, area.left, area.bottom - 1, area.right, area.bottom - 1);
  dc.SelectPen(oldPen);
  dc.RestoreDC(saved);
}

void DrawFrame(draw::Dc& dc, const RowRects& row, bool bandBars) {
  const draw::Rect& s = row.spectrum;
  draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_SOLID, 2, kBlack});
  dc.MoveTo(s.left, s.top);
  dc.LineTo(s.right, s.top);
  dc.LineTo(s.right, s.bottom);
  dc.LineTo(s.left, s.bottom);
  dc.LineTo(s.left, s.top);
  dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kGrey});
  Line(dc, s.left + 1, s.top + 1, s.left + 1, s.bottom);
  Line(dc, s.left + 1, s.bottom, s.right, s.bottom);
  Line(dc, s.right, s.top + 1, s.right, s.bottom);
  Line(dc, s.left + 1, s.top + 1, s.right, s.top + 1);
  if (bandBars) Line(dc, row.band.left + 1, row.band.top, row.band.left + 1, row.band.bottom);
  dc.SelectPen(old);
}

void DrawChannelName(draw::Dc& dc, const RowRects& row, const std::string& name, std::uint32_t colour) {
  const int saved = dc.SaveDC();
  dc.IntersectClipRect(row.label);
  dc.SelectFont(draw::Font(LookFont(2)));
  dc.SetBkMode(draw::TRANSPARENT);
  dc.SetTextColor(colour);
  dc.TextOut(5, row.label.top, name);
  dc.RestoreDC(saved);
}

void DrawScaleLabel(draw::Dc& dc, const RowRects& row, double maximum, const std::string& unit, bool power,
                    std::uint32_t colour) {
  const draw::Rect& l = row.label;
  const int height = l.bottom - l.top;
  const int t = height * 10 / 100;
  const int saved = dc.SaveDC();
  dc.SelectFont(draw::Font(LookFont(6)));
  dc.SetBkMode(draw::TRANSPARENT);
  dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
  dc.MoveTo(115, l.top + t);
  dc.LineTo(125, l.top + t);
  dc.LineTo(125, l.bottom - 1);
  dc.LineTo(115, l.bottom - 1);
  const int middle = l.top + (height * 90 / 100) / 2 + t;
  Line(dc, 120, middle, 125, middle);
  dc.IntersectClipRect(l);
  dc.SetTextColor(colour);
  const std::string text = Format(power ? "%.2f%s^2" : "%.2f%s", maximum, unit);
  dc.TextOut(kLabelWidth - dc.GetTextExtent(text).cx - 5, l.top + t, text);
  dc.RestoreDC(saved);
}

double AxisEndHz(double rangeHz, double df, int points) {
  if (!(df > 0.0)) return 0.0;
  return std::min(Trunc(rangeHz / df), points / 2) * df;
}

void DrawFrequencyAxis(draw::Dc& dc, const draw::Rect& s, double endHz) {
  const int saved = dc.SaveDC();
  dc.SelectFont(draw::Font(LookFont(6)));
  dc.SetBkMode(draw::TRANSPARENT);
  dc.SetTextColor(kBlack);
  dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
  dc.MoveTo(s.left, s.bottom + 13);
  dc.LineTo(s.left, s.bottom + 3);
  dc.LineTo(s.right, s.bottom + 3);
  dc.LineTo(s.right, s.bottom + 13);
  const int middle = s.left + (s.right - s.left) / 2;
  Line(dc, middle, s.bottom + 3, middle, s.bottom + 8);
  dc.TextOut(s.left + 1, s.bottom + 4, " 0.0Hz");
  const std::string end = Format("%.2fHz", endHz, "");
  dc.TextOut(s.right - dc.GetTextExtent(end).cx - 1, s.bottom + 4, end);
  dc.RestoreDC(saved);
}

std::string FrequencyText(double hz) { return Format("%7.3fHz", hz, ""); }

std::string ValueText(double value, const std::string& unit, bool power) {
  return Format(power ? "%9.3f%s^2" : "%9.3f%s", value, unit);
}

std::uint32_t LookColour(int index) { return DisplayColors[static_cast<std::size_t>(std::clamp(5 - index, 0, 5))]; }

draw::LogFont LookFont(int index) {
  return DisplayFonts[static_cast<std::size_t>(std::clamp(9 - index, 0, kDisplayFontCount - 1))];
}

}  // namespace spectrum
