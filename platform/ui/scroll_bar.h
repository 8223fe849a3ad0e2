#pragma once
// A horizontal scroll-bar control as a child window. Its state is the scroll-info record
// (range, page, position, track position); the user's arrow, trough and thumb actions reach
// the control itself (the reflected WM_HSCROLL) through OnReflectedScroll with the SB_* code.
#include <cstdint>
#include <memory>

#include "platform/ui/window.h"

namespace ui {

inline constexpr std::uint32_t SIF_RANGE = 0x0001;
inline constexpr std::uint32_t SIF_PAGE = 0x0002;
inline constexpr std::uint32_t SIF_POS = 0x0004;
inline constexpr std::uint32_t SIF_TRACKPOS = 0x0010;
inline constexpr std::uint32_t SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// Scroll codes of WM_HSCROLL.
inline constexpr unsigned SB_LINELEFT = 0;
inline constexpr unsigned SB_LINERIGHT = 1;
inline constexpr unsigned SB_PAGELEFT = 2;
inline constexpr unsigned SB_PAGERIGHT = 3;
inline constexpr unsigned SB_THUMBPOSITION = 4;
inline constexpr unsigned SB_THUMBTRACK = 5;
inline constexpr unsigned SB_LEFT = 6;
inline constexpr unsigned SB_RIGHT = 7;
inline constexpr unsigned SB_ENDSCROLL = 8;

// Arrow states.
inline constexpr unsigned ESB_ENABLE_BOTH = 0;
inline constexpr unsigned ESB_DISABLE_LEFT = 1;
inline constexpr unsigned ESB_DISABLE_RIGHT = 2;
inline constexpr unsigned ESB_DISABLE_BOTH = 3;

struct ScrollInfo {
  std::uint32_t cbSize = sizeof(ScrollInfo);
  std::uint32_t fMask = SIF_ALL;
  std::int32_t nMin = 0;
  std::int32_t nMax = 0;
  std::uint32_t nPage = 0;
  std::int32_t nPos = 0;
  std::int32_t nTrackPos = 0;
};

class ScrollBar : public Window {
 public:
  ScrollBar();
  ~ScrollBar() override;
  // Creates the horizontal control as a visible child.
  bool CreateScrollBar(Window* parent, int id, const Rect& rect);
  // Writes the fields named by info.fMask. The position is kept inside the range.
  void SetScrollInfo(const ScrollInfo& info, bool redraw = true);
  // Reads the fields named by info.fMask.
  void GetScrollInfo(ScrollInfo& info) const;
  void EnableScrollBarArrows(unsigned arrows);
  unsigned ArrowState() const;
  // A user's action on the control, as the system reports it (also used by tests).
  void Scroll(unsigned code, int thumbPos = 0);

 protected:
  // The control's own handling of its scroll notification; default nothing.
  virtual void OnReflectedScroll(unsigned code, int thumbPos) { (void)code; (void)thumbPos; }
  int OnCreate() override;

 private:
  struct Impl;
  std::unique_ptr<Impl> sb_;
};

}  // namespace ui
