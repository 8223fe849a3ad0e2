#include "app/results/hypnogram_printing.h"

#include <algorithm>

#include "app/frame/display_fonts.h"
#include "app/frame/frame_globals.h"

namespace {
draw::Font& Font() {
  static draw::Font font;
  return font;
}
}  // namespace

void OnBeginPrinting(draw::Dc& printerDc) {
  // The labels' display font at about a ninth of an inch on the printer.
  draw::LogFont lf = DisplayFonts[2];
  lf.height = -std::max(8, printerDc.GetDeviceCaps(draw::LOGPIXELSY) / 9);
  Font() = draw::Font(lf);
  PrintInColor = printerDc.GetDeviceCaps(draw::BITSPIXEL) > 1 ? 1 : 0;
}

void OnEndPrinting() { Font() = draw::Font(); }

const draw::Font& PrintFont() { return Font(); }
