#pragma once
// The font families of the screen, as a font list offers them.
#include <string>
#include <vector>

namespace draw {

struct FontFamily {
  std::string name;
  bool japanese = false;  // carries the Japanese (Shift-JIS) character set
};

// Every family installed for the screen, in the system's order.
std::vector<FontFamily> ScreenFontFamilies();

}  // namespace draw
