#pragma once
// The ten screen-item fonts (slot 1 first) and their stored form in the settings file:
// the 60-byte font record (five 32-bit values, eight bytes, a 32-byte face name).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/draw/gdi.h"

constexpr int kDisplayFontCount = 10;
constexpr std::size_t kStoredFontSize = 60;

extern std::array<draw::LogFont, kDisplayFontCount> DisplayFonts;

void StoreFontRecord(std::span<std::uint8_t, kStoredFontSize> b, const draw::LogFont& font);
draw::LogFont LoadFontRecord(std::span<const std::uint8_t, kStoredFontSize> b);
// The settings file's font slot to and from DisplayFonts.
void StoreDisplayFontRecord(std::span<std::uint8_t, kStoredFontSize> b, int slot);
void LoadDisplayFontRecord(std::span<const std::uint8_t, kStoredFontSize> b, int slot);

// Default screen look: the ten fonts made from the system's menu font with their own heights
// (slot 7 underlined, slot 8 bold), colour slots 1-6 and the stage position offset 0.
void InitScreenItemFonts();
