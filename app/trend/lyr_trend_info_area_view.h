#pragma once
// The information column of the trend window (right pane of its outer splitter): beside
// the hypnogram a ten-key pad that scores the current epoch; beside each graph its value at
// the cursor epoch and the upper and lower logic threshold of its item, each with a set
// button; at the bottom "Undo", which takes back threshold changes from a five-deep history
// of the document's logic condition sets.
#include <array>
#include <cstdint>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "platform/ui/document.h"

class CQLM2_AnalyzerDoc;
class LyrTrendDummyView;

// Control ids of the column.
inline constexpr int kKeypadFirstId = 2000;      // "0".."9": 2000..2009
inline constexpr int kLowerSetFirstId = 8213;    // + graph
inline constexpr int kUpperSetFirstId = 8233;    // + graph
inline constexpr int kUndoButtonId = 8253;
inline constexpr int kLowerEditFirstId = 8300;   // + graph
inline constexpr int kUpperEditFirstId = 8320;   // + graph
inline constexpr int kValueLabelFirstId = 8340;  // + graph
// Modes of ReadThresholdEdits and ApplyThreshold.
inline constexpr int kThresholdLower = 8213;
inline constexpr int kThresholdUpper = 8233;
inline constexpr int kThresholdBoth = 16446;
inline constexpr int kUndoDepth = 5;

class LyrTrendInfoAreaView : public ui::View {
 public:
  explicit LyrTrendInfoAreaView(LyrTrendDummyView* host = nullptr);
  int OnCreate() override;
  void OnDestroy() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override;
  bool OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override;

  void LayoutControls();
  void ShowCursorValues();
  void ClearRowTexts(int rows);
  void SetThresholdText();
  void PushUndo(int tag);
  void PopUndo();
  void ClearUndo();
  int EnableUndoButton();
  void EnableThresholdEdit();
  // Shows the thresholds that changed elsewhere (the Logic pane); changed receives the graphs
  // whose pair changed. 1 when any did.
  int CheckThresholdEdit(std::vector<std::uint8_t>& changed);
  // Reads the edits of a graph by mode; 0 after "Input number." on a text that is no number.
  int ReadThresholdEdits(int mode, int graph, float& lower, float& upper);
  void ApplyThreshold(int mode, int graph, float lower, float upper);

  int UndoCount() const { return undoCount_; }
  int UndoTag(int slot) const { return undoTags_[static_cast<std::size_t>(slot)]; }
  const LogicParam& UndoCopy(int slot) const { return undoCopies_[static_cast<std::size_t>(slot)]; }
  // Key geometry of the last layout (tests): width, height.
  int KeyWidth = 0, KeyHeight = 0;

  // A text is a number: non-empty, only digits, points and minus signs, and one decimal
  // number as a whole ("-1.5", "2." yes; "-", "1.2.3", " 2", "1e3" no).
  static bool IsThresholdNumber(const std::string& text);

 private:
  CQLM2_AnalyzerDoc* Doc() const;
  LyrTrendDummyView* host_;
  std::array<LogicParam, kUndoDepth> undoCopies_{};
  std::array<int, kUndoDepth> undoTags_{};
  int undoCount_ = 0;
  int charWidth_ = 8, charHeight_ = 16, editWidth_ = 80;
};
