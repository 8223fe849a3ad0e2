#pragma once
// The scroll bar of the hypnogram windows (the utility hypnogram window and the trend
// window's hypnogram): range 0..maximum with a page of display slots.
#include <cstdint>

#include "app/frame/lyr_page_scroll_bar.h"

class CQLM2_AnalyzerDoc;

class LyrUtilityScrollBar : public LyrPageScrollBar {
 public:
  static constexpr int kControlId = 7777;
  // Creates the bar with range 0..0 and a page of 1 (nothing to scroll), arrows disabled.
  // Returns 1, or 0 when the window could not be made.
  int CreateBar(CQLM2_AnalyzerDoc* doc, const ui::Rect& rect, ui::Window* parent);
  // Range 0..maximum, the page and the position, written to the control.
  void SetBarRange(int maximum, int page, int position);
  int Maximum() const { return maximum_; }
  int Page() const { return page_; }
  int Position() const { return position_; }

 protected:
  CQLM2_AnalyzerDoc* doc_ = nullptr;

 private:
  int maximum_ = 0, page_ = 1, position_ = 0;
  bool shown_ = false;  // the values above were written to the control
  ui::ScrollInfo onControl_;  // what the control held after that
};
