#pragma once
// The About window: a small borderless pop-up titled "ABOUT" whose only pane, the title view,
// paints the title picture with the versions of the program and of the video player library,
// and "Evaluation" once the learning-sample mode has been used. While it is kept open a click
// or a key in it closes it. One exists at a time.
#include <cstdint>
#include <memory>

#include "platform/ui/document.h"
#include "platform/ui/window.h"

class LyrTitleView : public ui::View {
 public:
  void OnDraw(draw::Dc& dc) override;
  void OnLButtonUp(std::uint32_t flags, ui::Point point) override;
  void OnRButtonUp(std::uint32_t flags, ui::Point point) override;
  void OnKeyUp(std::uint32_t vk, std::uint32_t repeat, std::uint32_t flags) override;

 private:
  void CloseAbout();
};

class LyrAbout : public ui::Window {
 public:
  LyrAbout();
  ~LyrAbout() override;

  void SetKeptOpen(std::uint32_t keptOpen) { keptOpen_ = keptOpen; }
  std::uint32_t IsKeptOpen() const { return keptOpen_; }
  int KeepOpen() const { return static_cast<int>(keptOpen_); }
  std::uint32_t CloseDelayMs() const { return closeDelayMs_; }
  LyrTitleView* TitleView() const { return view_.get(); }

  int OnCreate() override;
  void OnSize(std::uint32_t type, int cx, int cy) override;
  // The same keys and clicks close the window when they reach it rather than its pane.
  void OnLButtonUp(std::uint32_t flags, ui::Point point) override;
  void OnLButtonDown(std::uint32_t flags, ui::Point point) override;
  void OnRButtonUp(std::uint32_t flags, ui::Point point) override;
  void OnKeyUp(std::uint32_t vk, std::uint32_t repeat, std::uint32_t flags) override;
  void OnKeyDown(std::uint32_t vk, std::uint32_t repeat, std::uint32_t flags) override;

 private:
  // The title view as the first pane of the window.
  bool OnCreateClient();
  void CloseIfKeptOpen();
  std::uint32_t closeDelayMs_ = 2500;
  std::uint32_t keptOpen_ = 0;
  std::unique_ptr<LyrTitleView> view_;
};

inline constexpr int kAboutWidth = 320;
inline constexpr int kAboutHeight = 170;

// Shows the About window centred on the screen; false, showing nothing, while one is open.
bool ShowAboutWindow();
// The About window while it is open, else null.
LyrAbout* OpenAboutWindow();
// The title picture (320 x 170): the program's name on a gradient.
void PaintTitlePicture(draw::Dc& dc, const ui::Rect& area);
