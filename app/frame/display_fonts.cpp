#include "app/frame/display_fonts.h"

#include "app/document/byte_image.h"
#include "app/frame/program_settings.h"

std::array<draw::LogFont, kDisplayFontCount> DisplayFonts{};

void StoreFontRecord(std::span<std::uint8_t, kStoredFontSize> b, const draw::LogFont& f) {
  bytes::Put<std::int32_t>(b, 0, f.height);
  bytes::Put<std::int32_t>(b, 4, f.width);
  bytes::Put<std::int32_t>(b, 8, f.escapement);
  bytes::Put<std::int32_t>(b, 12, f.orientation);
  bytes::Put<std::int32_t>(b, 16, f.weight);
  bytes::Put<std::uint8_t>(b, 20, f.italic);
  bytes::Put<std::uint8_t>(b, 21, f.underline);
  bytes::Put<std::uint8_t>(b, 22, f.strikeOut);
  bytes::Put<std::uint8_t>(b, 23, f.charSet);
  bytes::Put<std::uint8_t>(b, 24, f.outPrecision);
  bytes::Put<std::uint8_t>(b, 25, f.clipPrecision);
  bytes::Put<std::uint8_t>(b, 26, f.quality);
  bytes::Put<std::uint8_t>(b, 27, f.pitchAndFamily);
  bytes::PutText(b, 28, draw::kLogFontFaceSize, f.FaceName());
}

draw::LogFont LoadFontRecord(std::span<const std::uint8_t, kStoredFontSize> b) {
  draw::LogFont f;
  f.height = bytes::Get<std::int32_t>(b, 0);
  f.width = bytes::Get<std::int32_t>(b, 4);
  f.escapement = bytes::Get<std::int32_t>(b, 8);
  f.orientation = bytes::Get<std::int32_t>(b, 12);
  f.weight = bytes::Get<std::int32_t>(b, 16);
  f.italic = bytes::Get<std::uint8_t>(b, 20);
  f.underline = bytes::Get<std::uint8_t>(b, 21);
  f.strikeOut = bytes::Get<std::uint8_t>(b, 22);
  f.charSet = bytes::Get<std::uint8_t>(b, 23);
  f.outPrecision = bytes::Get<std::uint8_t>(b, 24);
  f.clipPrecision = bytes::Get<std::uint8_t>(b, 25);
  f.quality = bytes::Get<std::uint8_t>(b, 26);
  f.pitchAndFamily = bytes::Get<std::uint8_t>(b, 27);
  f.SetFaceName(bytes::GetText(b, 28, draw::kLogFontFaceSize));
  return f;
}

void StoreDisplayFontRecord(std::span<std::uint8_t, kStoredFontSize> b, int slot) {
  StoreFontRecord(b, DisplayFonts[slot]);
}

void LoadDisplayFontRecord(std::span<const std::uint8_t, kStoredFontSize> b, int slot) {
  DisplayFonts[slot] = LoadFontRecord(b);
}

void InitScreenItemFonts() {
  static constexpr std::int32_t kHeights[kDisplayFontCount] = {12, 10, 18, 12, 80, 36, 48, 20, 12, 24};
  const draw::LogFont menu = draw::GetSystemLogFont(draw::SystemFont::Menu);
  for (int slot = 0; slot < kDisplayFontCount; ++slot) {
    draw::LogFont f = menu;
    f.height = kHeights[slot];
    if (slot == 6) f.underline = 1;
    if (slot == 7) f.weight = draw::FW_BOLD;
    DisplayFonts[slot] = f;
  }
  const std::uint32_t kColours[6] = {0x00FAFAFF, 0x000025F9, 0x0000FFFF, 0x00B200FF, 0x004C4C4C, 0x004913E9};
  for (int i = 0; i < 6; ++i) DisplayColors[i] = kColours[i];
  StagePositionOffset = 0;
}
