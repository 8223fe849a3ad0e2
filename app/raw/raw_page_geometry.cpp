#include "app/raw/raw_page_geometry.h"

#include <algorithm>
#include <cmath>

namespace rawpage {

namespace {
int Trunc(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -1.0e9, 1.0e9));
}
}  // namespace

int EpochsPerPage(int pageSeconds, int epochSeconds) {
  if (epochSeconds <= 0 || pageSeconds <= 0) return 0;
  return pageSeconds / epochSeconds;
}

int CellWidth(int pageWidth, int epochsPerPage) {
  return epochsPerPage > 0 ? (pageWidth + 1) / epochsPerPage : 0;
}

int CellLeft(int k, int pageWidth, int epochsPerPage) { return k * CellWidth(pageWidth, epochsPerPage); }

int GridStepSeconds(int pageSeconds) {
  if (pageSeconds <= 30) return 1;
  if (pageSeconds <= 60) return 10;
  if (pageSeconds <= 300) return 30;
  if (pageSeconds <= 3600) return 600;
  if (pageSeconds <= 43200) return 3600;
  return 21600;
}

std::vector<int> GridLinesX(int x0, int pageWidth, int pageSeconds) {
  std::vector<int> xs;
  if (pageSeconds <= 0) return xs;
  const double s = static_cast<double>(pageWidth + 1) / pageSeconds;
  const int step = GridStepSeconds(pageSeconds);
  for (int t = 0; t <= pageSeconds; t += step) xs.push_back(x0 + Trunc(t * s));
  return xs;
}

std::vector<int> EpochLinesX(int x0, int pageWidth, int pageSeconds, int epochSeconds) {
  std::vector<int> xs;
  if (pageSeconds <= 0 || epochSeconds <= 0 || pageSeconds >= 3600) return xs;
  const double s = static_cast<double>(pageWidth + 1) / pageSeconds;
  for (int t = 0; t <= pageSeconds; t += epochSeconds) xs.push_back(x0 + Trunc(t * s));
  return xs;
}

std::vector<std::optional<Band>> ChannelBands(const draw::Rect& page, std::span<const std::uint16_t> enabled,
                                              bool markStrip) {
  std::vector<std::optional<Band>> bands(enabled.size());
  const auto count = std::count_if(enabled.begin(), enabled.end(), [](std::uint16_t e) { return e != 0; });
  if (count == 0) return bands;
  const int height = page.bottom - page.top;
  int bottom = page.bottom;
  if (markStrip) bottom -= height / 10;  // the strip takes the lowest tenth
  const double h = static_cast<double>(bottom - page.top + 1) / static_cast<double>(count);
  int p = 0;
  for (std::size_t c = 0; c < enabled.size(); ++c) {
    if (enabled[c] == 0) continue;
    ++p;
    bands[c] = Band{page.top + Trunc((p - 1) * h), page.top + Trunc(p * h)};
  }
  return bands;
}

int BaselineInBand(const Band& band, int position) {
  if (position == 0) return band.top + (band.bottom - band.top) / 2;
  if (position == 1) return band.bottom;
  return band.top;
}

std::int64_t PageSampleCount(int rate, int pageSeconds, int epochSeconds, std::int64_t firstEpoch,
                             int epochsPerPage, std::int64_t epochCount) {
  if (rate <= 0 || pageSeconds <= 0) return 0;
  const std::int64_t span = static_cast<std::int64_t>(rate) * pageSeconds + 1;
  std::int64_t n = span;
  if (firstEpoch + epochsPerPage - 1 >= epochCount) {
    n = std::max<std::int64_t>(0, epochCount - firstEpoch) * rate * epochSeconds;
  }
  return std::clamp<std::int64_t>(n, 0, span);
}

std::optional<double> VerticalScale(double pixelsPerCm, double unitsPerCm, double gain, bool invert) {
  if (unitsPerCm == 0.0 || std::isnan(unitsPerCm)) return std::nullopt;
  const double scale = pixelsPerCm / unitsPerCm * gain;
  return invert ? -scale : scale;
}

double HorizontalScale(bool actualSize, double horizontalPixelsPerCm, int pageWidth, int pageSeconds) {
  if (pageSeconds <= 0) return 0.0;
  if (actualSize) return 300.0 * 0.1 * horizontalPixelsPerCm / pageSeconds;
  return static_cast<double>(pageWidth + 1) / pageSeconds;
}

DrawModeChoice ChooseDrawMode(int rate, int pageSeconds) {
  const std::int64_t samples = static_cast<std::int64_t>(rate) * pageSeconds;
  if (samples >= 800000 && pageSeconds >= 7200) {
    return {3, static_cast<std::int16_t>(std::min<std::int64_t>(samples / 800000, 32767))};
  }
  return {0, 0};
}

int ActualSizeRight(bool printing, int left, int logPixelsX, int screenPixelsAcross, double screenWidthMm) {
  if (printing) return left + Trunc(300.0 * logPixelsX / 25.4);
  const double mm = screenWidthMm > 0.0 ? screenWidthMm : 360.0;
  return Trunc(300.0 * 0.1 * screenPixelsAcross / (mm * 0.1));
}

std::optional<Span> CurrentEpochColumns(int k, int pageWidth, int epochsPerPage) {
  if (epochsPerPage <= 0) return std::nullopt;
  const double w = pageWidth + 1;
  return Span{Trunc(k * w / epochsPerPage), Trunc((k + 1) * w / epochsPerPage)};
}

int ScaleBarHalf(double pixelsPerUnit, double gain, double barValue) { return Trunc(pixelsPerUnit * gain * barValue / 2); }

int StageNameOffset(int pageHeight, int position) { return ((pageHeight / 2) / 50) * position; }

int PageViewHeight(int frameHeight, double share) {
  if (!(share > 0.0)) share = 0.0;
  if (share > 1.0) share = 1.0;
  return Trunc((1.0 - share) * std::max(frameHeight, 0));
}

double SpectrumShareOf(int paneHeight, int frameHeight) {
  return (std::max(paneHeight, 0) + 1.0) / (std::max(frameHeight, 0) + 1.0);
}

draw::Rect ClampRectToShort(draw::Rect r) {
  auto c = [](int v) { return std::clamp(v, -32768, 32767); };
  return {c(r.left), c(r.top), c(r.right), c(r.bottom)};
}

std::optional<draw::Rect> SpectrumCell(int w, int h, int j, int k, int i, int d) {
  if (k <= 0 || d <= 0) return std::nullopt;
  return draw::Rect{w * i / d, h * j / k, w * (i + 1) / d, h * (j + 1) / k};
}

int ShownBins(double maxHz, double rate, int points) {
  if (rate <= 0.0 || points <= 0) return 0;
  const double df = rate / points;
  const int nb = Trunc(maxHz / df) + 1;
  return std::clamp(nb, 0, points / 2 + 1);
}

std::optional<double> BarScale(int cellHeight, double maximum) {
  if (!(maximum > 0.0)) return std::nullopt;
  return 0.9 * cellHeight / maximum;
}

}  // namespace rawpage
