#pragma once
// The About window: a small pop-up titled "ABOUT" that shows the program's version. A click
// or a key in it closes it. One exists at a time.
#include <cstdint>

#include "platform/ui/window.h"

class LyrAbout : public ui::Window {
 public:
  // keepOpen 1: opened by the About command (stays until clicked).
  explicit LyrAbout(int keepOpen);
  void OnPaint(draw::Dc& dc) override;
  void OnLButtonDown(std::uint32_t flags, ui::Point point) override;
  void OnKeyDown(std::uint32_t vk, std::uint32_t repeat, std::uint32_t flags) override;

  int KeepOpen() const { return keepOpen_; }

 private:
  int keepOpen_;
};

inline constexpr int kAboutWidth = 320;
inline constexpr int kAboutHeight = 170;

// Shows the About window centred on the screen; false, showing nothing, while one is open.
bool ShowAboutWindow();
// The About window while it is open, else null.
LyrAbout* OpenAboutWindow();
