#include "app/frame/oo_toolbar.h"

#include <cmath>

#include "platform/draw/gdi.h"

ui::Size COOExToolBar::GetButtonExtent(int textWidth, int textHeight) const {
  const int image = displayMode_ == 0 ? 16 : 32;
  ui::Size size{image + 8, image + 7};
  if (textLabels_) {
    if (size.cx < textWidth) size.cx = textWidth;
    size.cy += textHeight;
  }
  return size;
}

draw::Image COOIconToolBar::MakeGreyIcon(const draw::Image& icon) {
  draw::Image grey(icon.Width(), icon.Height(), 24);
  for (int y = 0; y < icon.Height(); ++y) {
    for (int x = 0; x < icon.Width(); ++x) {
      const draw::ColorRef c = icon.GetPixel(x, y);
      const int r = draw::GetRValue(c);
      const int g = draw::GetGValue(c);
      const int b = draw::GetBValue(c);
      const int v = static_cast<int>(std::sqrt((r * r + g * g + b * b) / 3.0));
      grey.SetPixel(x, y, draw::Rgb(v, v, v));
    }
  }
  return grey;
}
