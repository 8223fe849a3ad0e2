#pragma once
// The workspace's zoom pane: the spans of the current page that the user picked on the raw
// waves, one per channel, and the peaks (highest and lowest sample) found in them. It owns the
// modeless "Peak Information" dialog that lists those peaks.
#include <array>
#include <cstdint>
#include <limits>
#include <utility>

#include "platform/ui/document.h"

class CQLM2_AnalyzerDoc;
class LyrDlgPeakInformation;

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

class LyrWorkspaceZoomView : public ui::View {
 public:
  LyrWorkspaceZoomView();
  ~LyrWorkspaceZoomView() override;
  void OnDraw(draw::Dc& dc) override;

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
  LyrDlgPeakInformation* PeakDlg() const { return peakDlg_; }

 private:
  LyrDlgPeakInformation* peakDlg_ = nullptr;
};
