#pragma once
// The program's flat tool bar: small (16 x 16) or large (32 x 32) images with
// separate normal, hot and disabled looks, optional text labels.
#include <cstdint>

#include "platform/draw/image.h"
#include "platform/ui/control_bar.h"

class COOExToolBar : public ui::ToolBar {
 public:
  // 0 small images, 1 large images.
  void SetDisplayMode(std::uint32_t mode) { displayMode_ = mode; }
  std::uint32_t DisplayMode() const { return displayMode_; }
  void SetTextLabels(bool on) { textLabels_ = on; }
  // Size of one button: the image plus 8 x 7, widened and heightened by the text
  // when labels are shown.
  ui::Size GetButtonExtent(int textWidth = 0, int textHeight = 0) const;

 private:
  std::uint32_t displayMode_ = 1;
  bool textLabels_ = false;
};

// Fills the image lists from icons; a missing disabled icon becomes a grey copy.
class COOIconToolBar : public COOExToolBar {
 public:
  // Grey copy of an icon: every pixel becomes g = trunc(sqrt((R*R + G*G + B*B) / 3)).
  static draw::Image MakeGreyIcon(const draw::Image& icon);
};
