#pragma once
// Splitter window of the frames: its bar and gap widths follow a style number
// (style 0: 8 pixels), and a drag by the user makes the main frame keep the new
// pane ratios.
#include "platform/ui/splitter.h"

class CMainFrame;

class LyrSplitterWnd : public ui::Splitter {
 public:
  explicit LyrSplitterWnd(CMainFrame* owner = nullptr) : owner_(owner) {}
  void SetStyleNumber(int style) { style_ = style; }
  int StyleNumber() const { return style_; }
  // Applies the style's bar width.
  void ApplyStyle();
  void OnBarMoved(bool rowBar, int index) override;

 private:
  CMainFrame* owner_;
  int style_ = 0;
};
