#pragma once
// Mouse on the raw page: the drag selection that the five rows share (a stretch may run
// from one row into the next), and the plain rules that turn a pointer position into an
// epoch of the page, a sample of a channel or the bands a drag inverts.
#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "platform/draw/geometry.h"

class CQLM2_AnalyzerDoc;
class LyrRawAreaView;
struct RecognizedWaveRecord;

inline constexpr int kRawSelectionRows = 5;

struct RawSelectionState {
  std::int16_t pressState = 0;  // 0 idle, 1 button pressed, 2 dragging
  std::int16_t rangeRow = -1;   // row where the drag started, -1 none
  draw::Point anchor{};         // press point in the view's client coordinates
  // Per row: the drag's end point in that row (x -1 none) and its inverted band (empty none).
  std::array<draw::Point, kRawSelectionRows> rowEnd{};
  std::array<draw::Rect, kRawSelectionRows> band{};
  std::int64_t startSample = -1;
  std::int32_t startChannel = -1;
  std::int64_t endSample = -1;
  std::int32_t endChannel = -1;

  void ClearRowEnds() {
    for (auto& p : rowEnd) p = draw::Point{-1, -1};
  }
};
// Program-wide: one selection whatever row holds the pointer.
extern RawSelectionState RawSelection;

// Picks the preview modes hand to the windows that asked for them. The owners of those windows
// set these; an empty hook answers Cancel (2) or does nothing.
struct RawPreviewPick {
  int row = -1;
  int channel = -1;
  std::int64_t first = -1;  // ordered sample range of the pick
  std::int64_t last = -1;
  int x = -1;  // client column of the pick on the page
};
struct RawPreviewHooks {
  // Mode 1: the sleep-disturbance confirmation (kinds 11-15, 17-19) and the wave-form
  // recognition confirmation; 1 OK, 2 Cancel.
  std::function<int(const RawPreviewPick&)> sleepDisturbanceConfirmation;
  std::function<int(const RawPreviewPick&)> waveFormConfirmation;
  // Mode 2: the document computed the simple spectrum of a channel from a sample of the
  // row's page; the workspace's simple-spectrum pane shows it.
  std::function<void(int row, int channel, std::int64_t sample)> simpleSpectrum;
  // Mode 4: the zoom range (channels and samples from the press to the release).
  std::function<void(const RawPreviewPick& press, const RawPreviewPick& release)> zoomRange;
  // Shows again the settings window that asked for the pick, when a pick ends.
  std::function<void()> showRequester;
  // Right button on the page of a row: the recognised-wave list. `wave` is the first
  // recognised wave whose frame holds the point (null when none) and `frameOnScreen` its frame
  // in screen coordinates. True when a list was opened or closed (no context menu then).
  std::function<bool(int row, const RecognizedWaveRecord* wave, int waveIndex, const draw::Rect& frameOnScreen)>
      openWaveList;
  // The confirmation dialog of the threshold kind (19) is running.
  bool thresholdConfirmationRunning = false;
};
extern RawPreviewHooks RawPreview;

namespace rawmouse {

// A pick's samples (counted from the recording start) as indexes into the page buffer of the
// pick's row and channel: the row's page start and the channel's start offset taken off.
// Samples before the page give -1.
RawPreviewPick PickInRowPage(const CQLM2_AnalyzerDoc& doc, const RawPreviewPick& pick);

// Epoch position of the page under x: trunc(x / ((page width + 1) / E)), E - 1 right of the
// page; lowered while the page's first epoch + position lies at or beyond the epoch count.
int EpochAtX(int x, int pageWidth, int pageRight, int epochsPerPage, std::int64_t firstEpoch,
             std::int64_t epochCount);

// Sample from the recording start under column x: page start sample + offset + the column's
// entry, or the page's last sample when x lies beyond the columns.
std::int64_t SampleAtX(int x, std::span<const std::int32_t> columns, std::int64_t pageStartSeconds, int rate,
                       std::int64_t startOffset, int pageSeconds);

// The inverse of SampleAtX: a sample counted from the recording start as an index into the
// channel's data of the row's page buffer (negative or past the page when outside it).
std::int64_t PageBufferSample(std::int64_t sample, std::int64_t pageStartSeconds, int rate, std::int64_t startOffset);

// A move counts as a drag once it is more than 5 pixels from the anchor in both x and y.
bool IsDrag(draw::Point anchor, draw::Point p);

// Bands of a drag from the anchor row to the pointer row: the anchor row from the anchor's
// x to its page edge in the drag's direction, the rows between over the whole page, the
// pointer row from the page edge to the pointer's x. Rows outside the span get none (left
// == right). Each band's x range is [left, right); its height is the caller's.
struct BandSpan {
  int left = 0;
  int right = 0;
  bool Empty() const { return right <= left; }
};
std::array<BandSpan, kRawSelectionRows> DragBands(int anchorRow, int anchorX, int row, int x, int pageLeft,
                                                  int pageRight);

// Span box of the simple spectrum at x: the spectrum's samples (points x count) at the
// channel's rate, scaled onto the client width at rate x page seconds samples per width,
// moved left to end inside the client; top and bottom are the channel's band.
draw::Rect SpectrumSpanBox(int x, int top, int bottom, int clientWidth, std::uint32_t points, int count, int rate,
                           int pageSeconds);

// Where the recognised-wave list window goes beside a wave's frame (screen coordinates):
// right of the frame + 5, or left of it - width - 5 when it would pass the screen's right
// edge, never below 0; its top at the frame's top.
draw::Point WaveListWindowPos(const draw::Rect& frameOnScreen, int windowWidth, int screenWidth);

}  // namespace rawmouse
