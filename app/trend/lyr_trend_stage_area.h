#pragma once
// The hypnogram strip of the trend window: the container (one axis pane per line slot, the
// scroll bar and the day strip at its bottom) with the one table of shown epochs, the axis
// panes with the stage labels, and the line views that draw the stages, the time scale and
// the cursor and turn clicks into a cursor, a page jump or a zoom. The same classes, switched
// to utility mode, show a result file in the utility hypnogram window.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/results/lyr_utility_scroll_bar.h"
#include "app/trend/hypnogram_span_table.h"
#include "platform/draw/geometry.h"
#include "platform/ui/document.h"

class CQLM2_AnalyzerDoc;
class LyrTrendDummyView;
class LyrTrendStageAreaAxisView;
class LyrTrendStageAreaDummyView;
class LyrUtilityHypnogramFrame;

// The row of a span command, -1 for any other command.
int HypnogramSpanRowOfCommand(std::uint32_t command);

// The hypnogram's scroll bar: a move shows the hypnogram and the graphs from the epoch of the
// new position (one epoch per unit while the page multiplier is 0).
class LyrTrendScrollBar : public LyrUtilityScrollBar {
 public:
  int PageMultiplier = 0;
  LyrTrendDummyView* Host = nullptr;

 protected:
  void OnScrollChanged(unsigned code, std::int32_t pos) override;
};

// Where a pane takes its recording from: the trend window (its host view and document) or
// one file of the utility hypnogram window.
struct HypnogramLink {
  LyrTrendDummyView* host = nullptr;
  LyrUtilityHypnogramFrame* utility = nullptr;
  CQLM2_AnalyzerDoc* doc = nullptr;
};

// One line of the hypnogram.
class LyrTrendStageAreaView : public ui::View {
 public:
  LyrTrendStageAreaView();
  ~LyrTrendStageAreaView() override;

  void SetStartEpoch(std::int32_t first) { firstEpoch_ = first; }
  void SetLineNo(std::int32_t line) { lineNo_ = line; }
  void SetFileNo(std::int32_t file) { fileNo_ = file; }
  void SetUtilityMode(std::uint16_t mode) { utilityMode_ = mode; }
  void SetLineTime(std::int32_t minutes) { lineMinutes_ = minutes; }
  void SetLineCount(int n) { lineCount_ = static_cast<std::uint16_t>(n); }
  void ResetEpochsPerLine();
  void SetEpochTime(std::int32_t seconds);
  // Printing: the rectangle to draw into, its bottom raised by the time-label strip.
  void SetDrawRect(int left, int top, int right, int bottom);
  void DrawToDC(draw::Dc* dc);
  // The cursor line (R2_NOT: drawn twice it disappears); unless currentOnly, the previous
  // cursor's line first.
  void DrawCursor(draw::Dc& dc, bool currentOnly);
  void DrawNow(std::int32_t epoch);
  // The x of an epoch's cursor line, -1 outside the line.
  int CursorX(std::int32_t epoch) const;
  // The epoch under a client x.
  std::int32_t EpochAtX(int x) const;

  std::int32_t StartEpoch() const { return firstEpoch_; }
  std::int32_t LineNo() const { return lineNo_; }
  std::int32_t EpochsPerLine() const { return epochsPerLine_; }
  int LineCount() const { return lineCount_; }
  const draw::Rect& DrawRect() const { return drawRect_; }
  const std::vector<std::int32_t>& PosTable() const { return posTbl_; }

  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnPaint(draw::Dc& dc) override;
  void OnDraw(draw::Dc& dc) override;
  void OnMouseMove(std::uint32_t flags, ui::Point client) override;
  void OnLButtonDown(std::uint32_t flags, ui::Point client) override;
  void OnRButtonUp(std::uint32_t flags, ui::Point client) override;
  bool OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override;

  LyrTrendStageAreaDummyView* Container = nullptr;

 private:
  bool IsLoaded() const;
  bool Printing() const;
  void StageSettings(StageTypeParam& out) const;
  int StageOf(std::int32_t epoch) const;
  int EpochCount() const;
  std::int32_t GetCursorEpoch(int mode) const;
  void SetCursorEpoch(std::int32_t epoch);
  void ResetCursorEpoch(int mode);
  void DrawCursorAll();
  int IsTimeScaleEpoch(std::int32_t epoch) const;
  int GetTimeScaleOffset(int step, std::int32_t epoch, int width) const;
  std::int32_t GetTimeScaleStart(std::int32_t epoch) const;
  int SpanMinutes() const;
  int SpanEpochSeconds() const;
  int TextHeight(draw::Dc* dc) const;
  const draw::Rect& Area() const { return Printing() ? printRect_ : drawRect_; }
  double X(std::int32_t epoch) const;
  int StageY(int code) const;
  void CreatePosTable();
  void CreateStageTable();
  void DrawEpoch(draw::Dc& dc, std::int32_t epoch, bool withLabels);
  void DrawTimeTick(draw::Dc& dc, std::int32_t epoch, int textHeight);
  void PrintFileName(draw::Dc& dc);
  void PrintDateTime(draw::Dc& dc);
  void PrintHeader(draw::Dc& dc);
  void ApplySpan(int row);
  void LookUpCodes();
  void FlushBar(draw::Dc& dc);

  std::uint16_t utilityMode_ = 0;
  std::int32_t fileNo_ = 0;
  std::int32_t lineNo_ = 0;
  std::int32_t firstEpoch_ = -1;
  std::uint16_t prevLineFlag_ = 0;
  std::uint16_t lineCount_ = 1;
  std::int32_t epochsPerLine_ = 1;
  std::int32_t lineMinutes_ = 0;
  std::int16_t rowCount_ = 0;
  std::int32_t epochTime_ = 0;
  draw::Rect drawRect_{};
  draw::Rect printRect_{};
  StageTypeParam stages_{};
  std::int32_t stageTblWidth_ = 0;
  std::vector<std::vector<std::uint8_t>> stageTbl_;
  std::vector<std::int32_t> posTbl_;
  // What a drawing needs of each stage code, looked up once per drawing.
  struct CodeLook {
    bool hasRecord = false;
    int row = 0, y = -1, half = 1;
    std::uint32_t colour = 0;
    std::uint32_t show = 0;
    std::uint16_t lineBetween = 0;
  };
  std::array<CodeLook, 256> codes_{};
  bool pendingBar_ = false;
  draw::Rect pendingRect_{};
  std::uint32_t pendingColour_ = 0;
};

// One line slot: the stage labels left of its line view.
class LyrTrendStageAreaAxisView : public ui::View {
 public:
  LyrTrendStageAreaAxisView();
  ~LyrTrendStageAreaAxisView() override;
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override;
  // Draws at once into dc, or into the pane's own window when dc is null.
  void Redraw(draw::Dc* dc);

  void SetLineNo(std::int32_t line) { lineNo_ = line; }
  void SetFileNo(std::int32_t file) { fileNo_ = file; }
  void SetLabelRect(int left, int top, int right, int bottom) { labelRect_ = draw::Rect{left, top, right, bottom}; }
  void SetUtilityMode(std::uint16_t mode) { utilityMode_ = mode; }
  void SetLineTime(std::int32_t minutes) { lineMinutes_ = minutes; }
  void SetEpochTime(std::int32_t seconds);
  void SetLineCount(int n);
  void ResetEpochsPerLine();
  LyrTrendStageAreaView* LineView() const { return lineView_.get(); }

  LyrTrendStageAreaDummyView* Container = nullptr;

 private:
  std::unique_ptr<LyrTrendStageAreaView> lineView_;
  std::int32_t lineNo_ = 0;
  std::int32_t fileNo_ = 0;
  std::uint16_t utilityMode_ = 0;
  std::int32_t epochTime_ = 0;
  std::int32_t epochsPerLine_ = 0;
  std::uint16_t lineCount_ = 1;
  std::int32_t lineMinutes_ = 0;
  StageTypeParam stageType_{};
  draw::Rect labelRect_{};
};

// The hypnogram container (nested pane (0,0) of the trend frame).
class LyrTrendStageAreaDummyView : public ui::View {
 public:
  static constexpr int kLineSlots = 12;
  static constexpr int kBottomStrip = 18;

  LyrTrendStageAreaDummyView();
  ~LyrTrendStageAreaDummyView() override;
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override;

  LyrTrendScrollBar ScrollBar;
  HypnogramLink Link;

  void CreateAxisViews();
  void LayoutAxisViews();
  void AllocEpochTable();
  void FreeEpochTable() { epochTable_.clear(); }
  // Entry k of the table (callers pass slots inside it; 0 past its end).
  std::int32_t GetEpochAt(int k) const;
  int TableSize() const { return static_cast<int>(epochTable_.size()); }
  int ShownSlots() const { return lineCount_ * epochsPerLine_; }
  void FillFrom(std::int32_t first);
  void SetCenterEpoch(std::int32_t epoch);
  void PageTo(std::int32_t epoch);
  void RefreshAll(std::int32_t epoch);
  void AdvanceEpoch(std::int32_t epoch);
  // absolute 0: the epoch counts from the current raw page's first epoch.
  void ScrollToEpoch(int absolute, std::int32_t epoch, int flag = 0);
  // The last request of ScrollToEpoch (-1 before any).
  int ScrollMode = -1;
  int ScrollEpoch = -1;
  int ScrollFlag = 0;
  void RedrawLines(std::int32_t epoch);
  void UpdateScrollBar();
  void ZoomAround(std::int32_t epoch);
  void AllocScrollFlags();
  void FreeScrollFlags() { scrollFlags_.clear(); }
  int GetScrollFlag(int line) const;
  void ClearScrollFlag(int line);
  void ResetZoomSteps(int /*mode*/) { zoomSteps_ = 0; }
  void SetUtilityMode(std::uint16_t v) { utilityMode_ = v; }
  void SetFileNo(std::int32_t n) { fileNo_ = n; }
  void SetLineTime(std::int32_t minutes) { lineMinutes_ = minutes; }
  void SetEpochTime(std::int32_t seconds);
  void SetLineCount(int n);
  void ResetEpochsPerLine();
  bool IsLoaded() const;
  // Lines, span and table anew from the trend window's display settings.
  void ApplyDisplaySetting();
  // The cursor of every line (the host's DrawCursor calls it).
  void RedrawCursor();
  void ResetTrendCursor(int mode);
  std::string GetEpochTimeText(std::int32_t epoch) const;
  // Every line into a print context (lines one after the other as one strip).
  void SetPrintRect(const draw::Rect& r) { printRect_ = r; }

  LyrTrendStageAreaAxisView* AxisView(int i) const { return axisViews_[static_cast<std::size_t>(i)].get(); }
  LyrTrendStageAreaView* LineView(int i) const;
  int LineCount() const { return lineCount_; }
  std::int32_t EpochsPerLine() const { return epochsPerLine_; }
  std::int32_t TableFill() const { return tableFill_; }
  std::int32_t FileNo() const { return fileNo_; }
  std::uint16_t UtilityMode() const { return utilityMode_; }
  std::int32_t LineMinutes() const { return lineMinutes_; }
  std::int32_t EpochTime() const { return epochTime_; }
  CQLM2_AnalyzerDoc* Doc() const;
  int DocEpochCount() const;

  // Print rectangles of line i's axis pane and line view (the trend print layout).
  std::vector<std::pair<ui::Rect, ui::Rect>> PrintRects;

 private:
  std::array<std::unique_ptr<LyrTrendStageAreaAxisView>, kLineSlots> axisViews_;
  std::vector<std::int32_t> epochTable_;
  std::int32_t tableFill_ = 0;
  std::int32_t fileNo_ = 0;
  std::int32_t epochTime_ = 0;
  std::int32_t epochsPerLine_ = 1;
  std::int16_t lineCount_ = 1;
  std::int32_t lineMinutes_ = 0;
  std::vector<std::int32_t> scrollFlags_;
  std::int32_t zoomSteps_ = 0;
  std::uint16_t utilityMode_ = 0;
  draw::Rect printRect_{};
};
