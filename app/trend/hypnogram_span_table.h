#pragma once
// The display spans of one hypnogram line (and of the graphs under it), shared by the
// hypnogram's span menu and the setting dialogs: text, minutes and the span menu's command.
// The last row, "Free", has no minutes (-1): the user types the hours.
#include <array>
#include <cstdint>
#include <string>

struct HypnogramSpan {
  std::uint32_t textId;
  int minutes;
  std::uint32_t command;
};

inline constexpr std::array<HypnogramSpan, 11> HypnogramSpanTable{{
    {9781, 10, 33067},
    {9782, 20, 33068},
    {9783, 30, 33069},
    {9784, 60, 33070},
    {9785, 120, 33071},
    {9786, 180, 33072},
    {9787, 360, 33073},
    {9788, 480, 33074},
    {9789, 720, 33075},
    {9790, 1440, 33076},
    {9791, -1, 33070},
}};
inline constexpr int kHypnogramSpanFree = 10;

// The row's text in the current language.
std::string HypnogramSpanText(int row);
// The first row whose minutes equal these; "Free" when none does.
int HypnogramSpanRowOf(int minutes);
