#pragma once
// Drawing of spectrum rows shared by the simple and the epoch spectrum panes: the layout of a
// row (label column, bar area, band area), the scales, the coloured bars with their read-out
// columns, the band bars, the 5 Hz grid, frames and labels. Plain functions over the values
// and the spectrum settings; the panes bind them to the document.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "platform/draw/dc.h"

namespace spectrum {

// Width of the label column left of every spectrum.
constexpr int kLabelWidth = 130;

// Bins shown for a display range: trunc(range / df) + 1 with df = rate / N, at most N/2 + 1.
int ShownBins(double rangeHz, double rateHz, int points);
// Bar width for a spectrum area of `width` pixels (right - left + 1).
double BarWidth(int width, double rangeHz, double rateHz, int points);
// Colour of a bin at hz: the last band holding it, else the colour outside every band.
std::uint32_t BinColour(const FFTPageParam& fp, double hz);
// Band sums of bins k < min(N/2 + 1, values, limit). With percentage on and a non-zero total
// over the percentage range, each sum becomes sum / total x 100.
std::array<double, 6> BandSums(const FFTPageParam& fp, std::span<const float> values, int points, double df,
                               int limit, bool percentage);
// Largest value of bins 0 .. shown - 1 and largest band sum over the same bins.
struct Maxima {
  double spectrum = 0.0;
  double content = 0.0;
};
Maxima RowMaxima(const FFTPageParam& fp, std::span<const float> values, int points, double df, int shown);
// 0.9 x height / maximum; 0 for a maximum that is not above 0 (the bars stay flat).
double GainFor(double height, double maximum);

struct RowRects {
  draw::Rect label;
  draw::Rect spectrum;
  draw::Rect band;  // empty with band bars off
};
// Height of the frequency strip below the rows: trunc(1.2 x height of "M" in font 6).
int AxisStrip(draw::Dc& dc);
// Row r of n in the client rectangle with `axis` pixels kept below.
RowRects RowLayout(const draw::Rect& client, int axis, int rows, int r, bool bandBars);

// The dotted 5 Hz grid of one spectrum area; none for a range that is not above 0.
void DrawGrid(draw::Dc& dc, const draw::Rect& area, double rangeHz, double rateHz);

// Bars of one spectrum. Read-out: columns of the area map to the bin drawn there; binPerColumn
// (may be empty) and valuePerColumn (row's slice) receive them.
struct BarInput {
  std::span<const float> values;
  int points = 0;        // FFT points N
  double rateHz = 0.0;   // sampling rate of the channel
  double rangeHz = 0.0;  // display range
  double gain = 0.0;     // pixels per unit
};
void DrawBars(draw::Dc& dc, const draw::Rect& area, const FFTPageParam& fp, const BarInput& in,
              std::span<int> binPerColumn, std::span<float> valuePerColumn);
// Band area: the band sums as bars with their values written downwards.
void DrawBandBars(draw::Dc& dc, const draw::Rect& area, const FFTPageParam& fp, const std::array<double, 6>& sums,
                  double gain, const std::string& unit);
void DrawFrame(draw::Dc& dc, const RowRects& row, bool bandBars);
void DrawChannelName(draw::Dc& dc, const RowRects& row, const std::string& name, std::uint32_t colour);
void DrawScaleLabel(draw::Dc& dc, const RowRects& row, double maximum, const std::string& unit, bool power,
                    std::uint32_t colour);
// " 0.0Hz" and the end frequency under the last spectrum area.
void DrawFrequencyAxis(draw::Dc& dc, const draw::Rect& area, double endHz);
// Frequency at the end of the axis: m x df with m = trunc(range / df), at most N/2.
double AxisEndHz(double rangeHz, double df, int points);

// Texts of the read-out.
std::string FrequencyText(double hz);
std::string ValueText(double value, const std::string& unit, bool power);

// The program's look: DisplayColors and DisplayFonts counted from the other end.
std::uint32_t LookColour(int index);
draw::LogFont LookFont(int index);

}  // namespace spectrum
