#pragma once
// What the raw page draws over its waves from the document's tables: the recording's
// events, the sleep-disturbance overlays of a channel (respiratory events, limb movements,
// snore and arousal as labelled boxes, heart-beat ticks on the ECG), the mark strips and
// their legend, the wave-detect ranges, the SpO2 level boxes and the page time labels of a
// print. Each routine reads the tables and draws; none changes the document.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/draw/geometry.h"
#include "platform/draw/gdi.h"

class CQLM2_AnalyzerDoc;
class FynDrawWave;
namespace draw {
class Dc;
}

// One page of one raw row as its overlays see it.
struct PageDrawContext {
  CQLM2_AnalyzerDoc* doc = nullptr;
  draw::Dc* dc = nullptr;
  draw::Rect page{};     // the page rectangle
  int x0 = 0;            // 0 on screen, the print rectangle's left on paper
  bool printing = false;
  bool monochrome = false;  // printing without colour: every overlay in black
  bool screening = false;   // a screening batch runs
  int epochSeconds = 0;
  int pageSeconds = 0;
  int epochsPerPage = 0;          // E
  std::int64_t firstEpoch = 0;    // F
  std::int64_t epochCount = 0;    // N
  std::int64_t pageStartSeconds = 0;
  int enabledChannels = 0;
  draw::Font labelFont;     // display font 3 on screen, the print font on paper
  draw::Font eventFont;     // display font 10 on screen, the print font on paper
  draw::Font markNameFont;  // the mark-name font
  draw::ColorRef eventColour = 0;
  draw::ColorRef markNameColour = 0;
  std::uint32_t markLineWidth = 12;
  bool showMarkName = false;
  // The arousal threshold confirmation runs: its arousal table holds the current page only.
  bool arousalPageOnly = false;

  int PageWidth() const { return page.right - page.left; }
  int PageHeight() const { return page.bottom - page.top; }
  draw::ColorRef Ink(draw::ColorRef c) const { return monochrome ? draw::Rgb(0, 0, 0) : c; }
};

// A box over a run of equal non-zero codes: pixel columns from the page's left edge.
struct OverlayBox {
  int x1 = 0;
  int x2 = 0;
  int code = 0;
};

// The runs of one recognition table on a page: intervals of `intervalSeconds` from
// `firstInterval` (the page's first), at most one page of them and never at or beyond
// `lastInterval` (the recording's end) or the table's end; runs shorter than a pixel are left out.
std::vector<OverlayBox> PageOverlayBoxes(std::span<const std::uint8_t> table, std::int64_t firstInterval,
                                         std::int64_t lastInterval, double intervalSeconds, int pageSeconds,
                                         int pageWidth);

// The sleep-disturbance overlays of a channel, each drawing only on the channel of its role;
// base is the channel's base line.
void DrawRespirationEvents(const PageDrawContext& ctx, int channel, int base);
void DrawLimbMovements(const PageDrawContext& ctx, int channel, int base);
void DrawSnore(const PageDrawContext& ctx, int channel, int base);
void DrawArousal(const PageDrawContext& ctx, int channel, int base);
// Ticks at the R peaks of the page on the ECG channel, mapped by that channel's painter.
void DrawHeartBeatPeaks(const PageDrawContext& ctx, int channel, const FynDrawWave& painter);
// All of them in their order (nothing while a screening batch runs).
void DrawSleepDstrbOverlays(const PageDrawContext& ctx, int channel, int base, const FynDrawWave& painter);

// The recording's events inside the page, as lines over the page with their names; painter
// is the first enabled channel's, samples its sample count on the page.
void DrawEvents(const PageDrawContext& ctx, const FynDrawWave& painter, int channelRate, std::int64_t samples);
// The mark strips of the mark types shown, stacked above the page bottom.
void DrawMarkStrips(const PageDrawContext& ctx);
// The legend of the offered mark types (with "show mark name" only).
void DrawMarkNames(const PageDrawContext& ctx);
// Bands over the page where the wave detection marked the recording (screen only).
void DrawWaveDetectRanges(const PageDrawContext& ctx);
// Boxes where the SpO2 channel's 0.5-s values are at or below the settings' level.
void DrawSpO2LevelBoxes(const PageDrawContext& ctx, int channel, int centre, const FynDrawWave& painter);
// The page's start and end time at its bottom corners (printing only).
void DrawPrintTimeLabels(const PageDrawContext& ctx, const draw::Font& printFont);

// A mark type that the page offers: its table exists and its on and display flags are 1.
bool MarkTypeOffered(const CQLM2_AnalyzerDoc& doc, int type);
