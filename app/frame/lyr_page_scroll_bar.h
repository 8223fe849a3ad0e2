#pragma once
// Horizontal scroll bar of the trend and hypnogram windows: scrolls by half pages
// (arrows) and pages (trough), keeps its arrows enabled only where it can still
// move, and tells the derived window the new position.
#include <cstdint>

#include "platform/ui/scroll_bar.h"

class LyrPageScrollBar : public ui::ScrollBar {
 public:
  // Creates the visible control with minimum 0, position 0 and a page that covers
  // the whole range (nothing can scroll yet), both arrows disabled. Returns 1.
  int Create(const ui::Rect& rect, ui::Window* parent, int id);
  // Reads the record back from the control and enables the arrows by position.
  void UpdateArrowState();
  // The record as last read back from the control.
  const ui::ScrollInfo& Info() const { return info_; }

 protected:
  // Told after every handled scroll; code is the SB_* code, pos the message's thumb position.
  virtual void OnScrollChanged(unsigned code, std::int32_t pos) { (void)code; (void)pos; }
  void OnReflectedScroll(unsigned code, int thumbPos) override;

 private:
  void ReadBack();
  ui::ScrollInfo info_;
};
