#pragma once
// Geometry of one raw page: epochs per page, cells, channel bands and base lines, the time
// grid, sample counts and scales handed to the wave painter, the current-epoch frame and the
// divided-page spectrum cells. Plain arithmetic over numbers the page drawing gathers, so
// the screen, printing and tests share it. Every division by a count or a length is guarded:
// a zero count or length gives an empty result, never a fault.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/draw/geometry.h"

namespace rawpage {

// Epochs per page E = page seconds / epoch seconds; 0 for a non-positive epoch.
int EpochsPerPage(int pageSeconds, int epochSeconds);
// Left edge of cell k: k x ((page width + 1) / E); 0 when E is 0.
int CellLeft(int k, int pageWidth, int epochsPerPage);
int CellWidth(int pageWidth, int epochsPerPage);

// Seconds between two dotted grid lines for a page length.
int GridStepSeconds(int pageSeconds);
// x of the grid lines (dotted, every step) and of the epoch lines (solid, only for pages
// under an hour), from x0; both empty for a page of 0 s.
std::vector<int> GridLinesX(int x0, int pageWidth, int pageSeconds);
std::vector<int> EpochLinesX(int x0, int pageWidth, int pageSeconds, int epochSeconds);

// Top and bottom y of each channel's band; nullopt for a channel not enabled. The enabled
// channels share the height equally; the mark strip raises the bottom by 10 %.
struct Band {
  int top = 0;
  int bottom = 0;
};
std::vector<std::optional<Band>> ChannelBands(const draw::Rect& page, std::span<const std::uint16_t> enabled,
                                              bool markStrip);
// Base line in a band: position 0 the middle, 1 the bottom, other values the top.
int BaselineInBand(const Band& band, int position);

// Samples the painter gets for a channel of the row's page: rate x page seconds + 1, or the
// whole epochs left when the page holds the recording's last epoch; never beyond what the
// channel's span in the page buffer holds (rate x page seconds + 1). 0 when nothing is left.
std::int64_t PageSampleCount(int rate, int pageSeconds, int epochSeconds, std::int64_t firstEpoch,
                             int epochsPerPage, std::int64_t epochCount);

// Vertical painter scale: pixels per cm / units per cm x gain, negated by invert; nullopt for
// a sensitivity of 0 units per cm (the channel is then not drawn).
std::optional<double> VerticalScale(double pixelsPerCm, double unitsPerCm, double gain, bool invert);
// Horizontal painter scale (pixels per second): 0 for a page of 0 s.
double HorizontalScale(bool actualSize, double horizontalPixelsPerCm, int pageWidth, int pageSeconds);

// Draw mode and reduction factor: long pages (rate x page seconds >= 800,000 and at least
// two hours) use manual reduction by peak.
struct DrawModeChoice {
  std::int16_t mode = 0;
  std::int16_t factor = 0;
};
DrawModeChoice ChooseDrawMode(int rate, int pageSeconds);

// Page width in pixels when the page is drawn at its actual 300 mm.
int ActualSizeRight(bool printing, int left, int logPixelsX, int screenPixelsAcross, double screenWidthMm);

// Current-epoch frame columns: x1 = k x (w + 1) / E, x2 = (k + 1) x (w + 1) / E.
struct Span {
  int x1 = 0;
  int x2 = 0;
};
std::optional<Span> CurrentEpochColumns(int k, int pageWidth, int epochsPerPage);

// Scale bar half length: vertical pixels per unit x gain x bar value, halved.
int ScaleBarHalf(double pixelsPerUnit, double gain, double barValue);

// Stage-name offset: ((page height / 2) / 50) x position.
int StageNameOffset(int pageHeight, int position);

// ---- Row frame split ----
// Height of a row's page view for the spectrum pane's share r: trunc((1 - r) x height). A
// share outside 0..1 (or not a number) is taken as its nearest bound (NaN as 0).
int PageViewHeight(int frameHeight, double share);
// Share of the spectrum pane after a drag: (pane height + 1) / (frame height + 1).
double SpectrumShareOf(int paneHeight, int frameHeight);

// ---- Divided-page spectrum cells ----
// Clamps every coordinate into the 16-bit range.
draw::Rect ClampRectToShort(draw::Rect r);
// Cell of slot j (of k used) and division i (of d) in a client of w x h; nullopt when k or d is 0.
std::optional<draw::Rect> SpectrumCell(int w, int h, int j, int k, int i, int d);
// Bins shown: trunc(F / df) + 1 with df = rate / points, at most points / 2 + 1; 0 for a
// zero rate or point count.
int ShownBins(double maxHz, double rate, int points);
// Bar scale 0.9 x height / maximum; nullopt for a maximum not above 0.
std::optional<double> BarScale(int cellHeight, double maximum);

}  // namespace rawpage
