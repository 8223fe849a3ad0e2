#pragma once
// Splitter window of every frame. SplitterKind is both its style (bar and gap
// widths) and the kind of owner told after the user has dragged a split bar:
// 0 the main frame (both its splitters), 1 the trend frame, 2 a raw wave frame,
// 3 the utility hypnogram frame.
#include <cstdint>

#include "platform/ui/splitter.h"

class CMainFrame;
class LyrSplitterWnd;

// Implemented by the trend, raw and utility frames: called after a split-bar drag
// in a splitter of theirs (kinds 1 to 3).
class LyrSplitterOwner {
 public:
  virtual ~LyrSplitterOwner() = default;
  virtual void OnSplitterDragged(LyrSplitterWnd& splitter) = 0;
};

class LyrSplitterWnd : public ui::Splitter {
 public:
  explicit LyrSplitterWnd(CMainFrame* owner = nullptr) : owner_(owner) {}
  // Set right after construction, before ApplySplitterStyle.
  std::uint16_t SplitterKind = 0;

  // Bar and gap sizes of the kind; kinds above 3 keep the defaults.
  void ApplySplitterStyle();
  // The bar width between columns.
  int GetSplitterWidth() const;
  // Bar height between rows and the two gap sizes of the kind (0 for other kinds).
  int BarHeight() const { return barHeight_; }
  int GapWidth() const { return gapWidth_; }
  int GapHeight() const { return gapHeight_; }
  void OnBarMoved(bool rowBar, int index) override;

 private:
  CMainFrame* owner_;
  int barHeight_ = 0;
  int gapWidth_ = 0;
  int gapHeight_ = 0;
};
