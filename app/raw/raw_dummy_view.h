#pragma once
// The raw wave window's container in the main frame's top pane: five rows of
// raw frames, each a page view over its divided-page FFT pane.
#include <array>
#include <memory>
#include <vector>

#include "platform/draw/geometry.h"
#include "platform/draw/image.h"
#include "platform/ui/document.h"
#include "app/frame/lyr_splitter_wnd.h"
#include "platform/ui/splitter.h"

namespace ui {
class Splitter;
}
struct PageDrawContext;
class LyrVideoDialogs;

// Page view of one row of raw waves: the time grid, epoch labels, every enabled channel's
// wave in its band with its name and scale bar, the stage names and, in the middle row, the
// current-epoch frame. The same drawing serves the screen (PrintTarget 0) and printing or
// bitmap output (the print rectangle and label margin set by the caller first).
class LyrRawAreaView : public ui::View {
 public:
  LyrRawAreaView();
  ~LyrRawAreaView() override;
  // Draws the row's whole page.
  void DrawPage(draw::Dc& dc);
  void OnDraw(draw::Dc& dc) override;

  void SetRowIndex(std::int16_t row) { rowIndex_ = row; }
  std::int16_t RowIndex() const { return rowIndex_; }
  // Where printing draws the page, and the x of the channel names on paper.
  void SetPrintRect(const draw::Rect& rect, int labelMargin) {
    printRect_ = rect;
    labelMargin_ = labelMargin;
  }
  // The page rectangle on this dc (null: the screen's, for geometry alone).
  draw::Rect GetPageRect(const draw::Dc* dc) const;
  // Base line y and band of a channel on the page; -1 and false for a channel not enabled.
  int GetChannelBaseline(int channel) const;
  bool GetChannelBand(int channel, int* top, int* bottom) const;
  // Start of the row's page in seconds from the recording start.
  std::int64_t GetPageStartSec() const;
  // Times GetReadX failures were reported (once per drawn page at most).
  int ReadXFailureReports() const { return readXReports_; }

  // ---- Mouse on the page (raw_mouse.cpp) ----
  void OnLButtonDown(std::uint32_t flags, ui::Point client) override;
  void OnMouseMove(std::uint32_t flags, ui::Point client) override;
  void OnLButtonUp(std::uint32_t flags, ui::Point client) override;
  void OnRButtonUp(std::uint32_t flags, ui::Point client) override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  // Epoch position in the row's page under a client x.
  int GetEpochAtX(int x) const;
  // Page shown in this row: the current page + row index - 2.
  std::int64_t GetRowPageNo() const;
  // Captures the mouse; 1 while the point lies inside the view, else releases it and 0.
  int TrackCapture(int x, int y);
  // The enabled channel whose band holds y; -1 when none.
  int ChannelAtY(int x, int y) const;
  // Sample (from the recording start) of a channel under a client x.
  std::int64_t SampleAtX(int channel, int x) const;
  // Erases the vertical cursor at the previous x (not -1) and draws one at x.
  void DrawTimeCursor(int x, int previousX);
  // Span box of the simple spectrum following the pointer (the channel under y; the first
  // above the page, the last below it).
  void DrawSpectrumSpanBox(int x, int y);
  const draw::Rect& SpectrumSpanBox() const { return spanBox_; }
  // Offset of a channel's band among the enabled channels.
  int GetChannelBandOffset(int channel, int top, int bottom) const;
  // Stages the epochs of the current-page row's page while a run is active (the values of
  // its epochs, then their stages); nothing for another row or outside a run.
  void AutoStagingTransaction();
  // The frame tells the view that the current epoch changed; nothing to do here.
  void OnEpochNotify(int, int) {}
  // Inverts back the bands of the drag that every row holds.
  static void InvertRangeBands();
  // Preview pick state (modes 1 to 4), for the windows that asked for the pick.
  int PreviewChannel() const { return previewChannel_; }
  // The recognised waves of the last drawing (null before the first).
  const class RecognizedWaveTable* RecognizedWaves() const;
  std::int64_t PreviewStartSample() const { return previewStartSample_; }
  std::int64_t PreviewEndSample() const { return previewEndSample_; }

  // ---- Stage, event and mark commands over the frame's EditRange ----
  // raw_manual_scoring.cpp: scores every epoch the range touches (index 1..10, +20 with Ctrl).
  void SetStageByKey(std::int32_t startRow, std::int32_t startPos, std::int32_t endRow, std::int32_t endPos,
                     int index);
  // raw_events_marks.cpp
  void ShowEventPopup();
  void SetRespiratoryEvent(std::int32_t start, std::int32_t end, int kind);
  void SetLimbMovementEvent(std::int32_t start, std::int32_t end, int kind);
  void SetSnoreArousalEvent(std::int32_t start, std::int32_t end, int kind);
  void SetMark(int n);
  void SetSeizure(std::int32_t start, std::int32_t end, int value);

  // The finished screen page (without stage names and current-epoch frame), kept so that
  // rubber bands, cursors and readouts are erased by copying it back instead of redrawing.
  void SavePageImage(draw::Dc& dc);
  // Copies the kept page back onto dc (the view's own window when none is given); 1 when an
  // image was kept, else 0 and nothing is drawn.
  int RestorePageImage(draw::Dc& dc);
  int RestorePageImage();
  bool HasPageImage() const { return !pageImage_.IsNull(); }
  // Stage names of the page and, in the middle row, the current-epoch frame, drawn into the
  // view's own window after stage changes and cursor moves.
  void RedrawStageLabels();
  void DrawCurrentEpochFrame();

 private:
  void MapRangeCommands();
  void DrawXorRect(const draw::Rect& r, std::uint32_t colour);
  void TrackPreviewRect(ui::Point p);
  void ShowDisplayPopup(ui::Point client);
  void DragTo(ui::Point client);
  // The row view that holds a point given in this view's client coordinates (this one when
  // none does), and the point in its coordinates.
  LyrRawAreaView* RowUnder(ui::Point client, ui::Point* local);
  void PreviewButtonDown(ui::Point client);
  void PreviewMouseMove(std::uint32_t flags, ui::Point client);
  void PreviewButtonUp(ui::Point client);
  void EndPreview();
  // A click on the waves while a video dialog waits for a time: the time goes to it (null:
  // to the synchronisation dialog's pick).
  void PickVideoTime(LyrVideoDialogs* video, ui::Point client);
  void ClickEpoch(ui::Point client);

  int previewChannel_ = -1;
  ui::Point previewAnchor_{};
  draw::Rect previewRect_{};
  bool previewRectShown_ = false;
  std::int64_t previewStartSample_ = -1;
  std::int64_t previewEndSample_ = -1;
  int previewStartX_ = -1;
  int timeCursorX_ = -1;
  draw::Rect spanBox_{};
  bool spanBoxShown_ = false;
  int spanChannel_ = -1;

  void DrawTimeGrid(draw::Dc& dc, const draw::Rect& page) const;
  void DrawEpochLabels(draw::Dc& dc, const draw::Rect& page) const;
  void DrawScaleBar(draw::Dc& dc, int channel, int base, double pixelsPerUnit, const draw::Rect& page) const;
  void DrawChannelName(draw::Dc& dc, int channel, const draw::Rect& page) const;
  void DrawChannelValueLabels(draw::Dc& dc, const class FynDrawWave& wave, int channel, const float* samples,
                              std::uint32_t count) const;
  void DrawStageNames(draw::Dc& dc, const draw::Rect& page) const;
  // The stage one and two changes back of each epoch, in the strip above the page.
  void DrawStageHistory(draw::Dc& dc, const draw::Rect& page) const;
  void DrawCurrentEpochFrame(draw::Dc& dc, const draw::Rect& page) const;
  PageDrawContext OverlayContext(draw::Dc& dc, const draw::Rect& page) const;

  std::unique_ptr<class RawPageRecognition> recognition_;
  draw::Image pageImage_;
  draw::Image frame_;  // the off-screen page of the last paint
  std::int16_t rowIndex_ = -1;
  draw::Rect printRect_{};
  int labelMargin_ = 0;
  int readXReports_ = 0;
};

// Divided-page spectrum pane under a row's page view: for each used channel slot, one bar
// spectrum per division of the row's page, side by side in time order, with the band side
// graph, and a frequency and value readout at the mouse position shared by all rows.
class LyrFFTDiviedPageView : public ui::View {
 public:
  void OnDraw(draw::Dc& dc) override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnMouseMove(std::uint32_t flags, ui::Point client) override;
  void OnRButtonUp(std::uint32_t flags, ui::Point client) override;
  // The pane's popup menu (page-FFT channels, FFT scale) at a screen position; the choice is
  // sent to the main frame, which routes it to the workspace window. Returns the command
  // chosen, 0 for none.
  std::uint32_t TrackSpectrumMenu(ui::Point screen);

  void SetRowIndex(std::int16_t row) { rowIndex_ = row; }
  std::int16_t RowIndex() const { return rowIndex_; }
  // Draws the pane into a client of w x h pixels.
  void DrawSpectra(draw::Dc& dc, int w, int h);
  // Offset of x within its division, -1 without a page, without slots or beyond the readout
  // width; becomes the readout position of every row.
  int SetCursorReadout(int x);
  // Readout arrays sized for a client width (all zero).
  void InitReadXY(int width);
  int ReadBin(int x) const;
  float ReadValue(int slot, int x) const;
  // The readout position shared by the rows (-1 none).
  static int CursorOffset();

 private:
  const class CQLM2_AnalyzerDoc* Doc() const;
  bool HasPage() const;
  std::int16_t rowIndex_ = -1;
  int readWidth_ = 0;
  std::vector<std::int32_t> readBins_;
  std::array<std::vector<float>, 3> readValues_;
};

// One row: the page view over its FFT pane in a 2 x 1 splitter.
class LyrRawFrame : public ui::Window, public LyrSplitterOwner {
 public:
  LyrRawFrame(ui::Document* doc, int row) : doc_(doc), row_(row) {}
  ~LyrRawFrame() override;
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnPaint(draw::Dc& dc) override;
  LyrRawAreaView* AreaView() const { return area_; }
  LyrFFTDiviedPageView* FftView() const { return fft_; }
  LyrSplitterWnd* Splitter() const { return splitter_.get(); }
  // Gives the page view (1 - r) of the row's height and the FFT pane the rest, r being the
  // stored spectrum share while the divided-page mode is on and 0 otherwise; returns 1 once
  // laid out, 0 before the splitter exists.
  int SetRowHeights();
  // After the user dragged the split bar: with a page-spectrum channel chosen, the FFT pane's
  // new share becomes the stored one; then the rows are laid out from the stored share (so
  // without a channel the bar snaps back).
  void SaveSplitRatio();
  void OnSplitterDragged(LyrSplitterWnd& splitter) override;
  // Same as SetRowHeights (kept for the frame's callers).
  void LayoutPanes() { SetRowHeights(); }

 private:
  // The FFT pane's share of the row: the stored one in the divided-page mode, else 0.
  double PageSpectrumShare() const;

  ui::Document* doc_;
  int row_;
  std::unique_ptr<LyrSplitterWnd> splitter_;
  LyrRawAreaView* area_ = nullptr;
  LyrFFTDiviedPageView* fft_ = nullptr;
};

class LyrRawDummyView : public ui::View {
 public:
  static constexpr int kRows = 5;
  ~LyrRawDummyView() override;
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override;
  // Prints the subject header and the shown rows' pages into the printable rectangle.
  void PrintRawWindow(draw::Dc& dc, const draw::Rect& rect);
  // Places the wave rows for the document's row count.
  void LayoutRawFrames();
  LyrRawFrame* Row(int row) const;

 private:
  std::array<std::unique_ptr<LyrRawFrame>, kRows> rows_;
};
