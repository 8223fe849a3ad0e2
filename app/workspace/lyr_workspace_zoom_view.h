#pragma once
// The workspace's zoom pane: the spans of the current page that the user picked on the raw
// waves, one per channel, and the peaks (highest and lowest sample) found in them. It owns the
// modeless "Peak Information" dialog that lists those peaks.
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "platform/draw/geometry.h"
#include "platform/ui/document.h"

class CQLM2_AnalyzerDoc;
class LyrDlgPeakInformation;
struct RawPreviewPick;

// Highest and lowest sample of a channel's span: index from the span's first sample, time in
// milliseconds from the page start, value. Index -1 means none.
struct ZoomPeakRecord {
  std::int32_t maxIndex = -1;
  std::int64_t maxTimeMs = -1;
  float maxValue = -std::numeric_limits<float>::max();
  std::int32_t minIndex = -1;
  std::int64_t minTimeMs = -1;
  float minValue = std::numeric_limits<float>::max();
};

struct ZoomSpan {
  std::uint16_t shown = 0;
  std::int32_t first = 0;  // sample indices within the current page's samples of the channel
  std::int32_t last = 0;
};

// Per client column of the pane: the page sample drawn there and its value.
struct ZoomReadout {
  std::vector<std::uint32_t> sample;
  std::vector<float> value;
};

// A latency of ms milliseconds (its magnitude) as minutes, seconds and milliseconds: "%M:%S.mmm".
std::string ZoomLatencyText(std::int64_t ms);

class LyrWorkspaceZoomView : public ui::View {
 public:
  LyrWorkspaceZoomView();
  ~LyrWorkspaceZoomView() override;
  void OnDraw(draw::Dc& dc) override;
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnMouseMove(std::uint32_t flags, ui::Point point) override;
  void OnLButtonUp(std::uint32_t flags, ui::Point point) override;
  void OnRButtonUp(std::uint32_t flags, ui::Point point) override;
  // Draws the pane into a client rectangle (the window's own in OnDraw).
  void Render(draw::Dc& dc, const draw::Rect& client);

  // The spans picked on the wave page (mode 4 of the raw page): the channels from the press
  // channel to the release channel, from the press column to the release column, or, with an
  // area of 1 to 3 seconds, that long from the press column and kept within the page.
  void PickSpans(const RawPreviewPick& press, const RawPreviewPick& release);
  // Read-out arrays of every slot for `width` client columns (none below 2).
  void InitReadXY(int width);
  // The wave area within a client rectangle.
  draw::Rect GetWaveRect(const draw::Rect& client) const;
  // Base line of a shown channel within its row.
  int GetRowBaseline(int channel) const;
  // The values and time (or latency) at client column x; the texts are kept in ReadoutTexts.
  void ShowReadout(int x);
  // Peaks between two client columns, each channel's through its own column samples.
  void SearchPeaksBetween(int columnA, int columnB);
  // Drawn twice, the mark line goes again.
  void DrawMarkLine(int x);

  // Clears every span and peak, mode 0, peak marking on, and closes the peak dialog.
  void ResetZoom();
  int GetShownChannelCount() const;
  // Earliest start and latest end (seconds) over the shown channels.
  std::pair<double, double> GetShownTimeRange() const;
  // Finds each shown channel's peaks between two samples of its span (offsets from the span's
  // first sample, either order, both included) in the current page's samples.
  void SearchPeaks(std::int32_t from, std::int32_t to);
  // Opens the peak dialog (modes 5 and 6, a recording loaded, at least one channel shown).
  void ShowList(ui::Window* owner);
  // Destroys the peak dialog, forgets it and returns to mode 0.
  void ClosePeakDlg();

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  std::array<ZoomSpan, 32> Spans{};
  std::array<ZoomPeakRecord, 32> Peaks{};
  // 0 read-out, 3 latency armed, 4 latency marked, 5 peak search armed, 6 peak search marked.
  std::uint16_t Mode = 0;
  // Draws the peak marks; taken from the dialog's "Show peak" box.
  std::uint16_t ShowPeaks = 1;
  // 0 free, 1 to 3 seconds.
  std::uint16_t AreaMode = 0;
  double Gain = 1.0;
  std::uint16_t PageBufferKind = 2;
  int CursorX = -1;
  int CursorY = 0;
  int MarkX = -1;
  std::int64_t MarkTimeMs = -1;
  std::array<float, 32> MarkedValue{};
  std::array<ZoomReadout, 32> Readout;
  // The latest read-out: the time (or latency, then its frequency when there is one), then a
  // value per shown channel.
  std::vector<std::string> ReadoutTexts;
  LyrDlgPeakInformation* PeakDlg() const { return peakDlg_; }

 private:
  CQLM2_AnalyzerDoc* Doc() const;
  void SearchChannelPeaks(int channel, std::int32_t from, std::int32_t to);
  // Time in milliseconds from the recording start of a column (first shown channel); -1 none.
  std::int64_t ColumnTimeMs(int x) const;
  LyrDlgPeakInformation* peakDlg_ = nullptr;
  draw::Rect client_{};
  int labelHeight_ = 0;
};
