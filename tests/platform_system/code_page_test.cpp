#include "platform/system/code_page.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace {

using sys::CodePage;
using sys::Terminator;

TEST(CodePage, ConvertsBothWaysInBothFileCodePages) {
  struct Case {
    CodePage cp;
    const char* utf8;
    const char* bytes;
  } cases[] = {
      {CodePage::Cp1252, "caf\u00e9 \u20ac5 \u2122", "caf\xE9 \x80" "5 \x99"},
      {CodePage::Cp1252, "\u0081\u008D", "\x81\x8D"},  // unused bytes survive a round trip
      {CodePage::Cp932, "睡眠段階", "\x90\x87\x96\xB0\x92\x69\x8A\x4B"},
      {CodePage::Cp932, "ｱ\\~", "\xB1\\~"},  // half-width kana, ASCII stays ASCII
      {CodePage::Cp932, "～", "\x81\x60"},    // full-width tilde as the Windows code page maps it
      {CodePage::Cp932, "ⅰ", "\xFA\x40"},    // duplicates are written in the IBM extension row
      {CodePage::Cp932, "\u0080\uF8F0\uF8F3", "\x80\xA0\xFF"},  // single bytes outside the table
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sys::FromUtf8(c.utf8, c.cp), c.bytes) << c.utf8;
    EXPECT_EQ(sys::ToUtf8(c.bytes, c.cp), c.utf8) << c.utf8;
  }
}

TEST(CodePage, MarksWhatCannotBeConverted) {
  EXPECT_EQ(sys::FromUtf8("a睡b", CodePage::Cp1252), "a?b");
  EXPECT_EQ(sys::FromUtf8("a\xFF" "b", CodePage::Cp1252), "a?b");  // invalid UTF-8
  EXPECT_EQ(sys::FromUtf8("a\U0001F600b", CodePage::Cp932), "a?b");
  EXPECT_EQ(sys::ToUtf8("a\x81", CodePage::Cp932), "a\uFFFD");       // lead byte at the end
  EXPECT_EQ(sys::ToUtf8("\xA0\xA0", CodePage::Cp1252), "\u00a0\u00a0");
  EXPECT_EQ(sys::ToUtf8("x\x85\x40y", CodePage::Cp932), "x\uFFFDy");  // unassigned row
}

TEST(CodePage, CutsAtCharacterBoundaries) {
  // "睡眠A" in CP932 is 4 + 1 bytes; a field of 4 keeping the terminator has room for 3.
  EXPECT_EQ(sys::CutToCapacity("睡眠A", 4, CodePage::Cp932), "睡");
  EXPECT_EQ(sys::CutToCapacity("睡眠A", 4, CodePage::Cp932, Terminator::None), "睡眠");
  EXPECT_EQ(sys::CutToCapacity("睡眠A", 6, CodePage::Cp932), "睡眠A");
  EXPECT_EQ(sys::CutToCapacity("ｱｲｳ", 3, CodePage::Cp932), "ｱｲ");  // half-width kana take one byte
  EXPECT_EQ(sys::CutToCapacity("café", 4, CodePage::Cp1252), "caf");
  EXPECT_EQ(sys::CutToCapacity("café", 5, CodePage::Cp1252), "café");
  EXPECT_EQ(sys::CutToCapacity("abc", 0, CodePage::Cp1252), "");

  // 0x83 0x5C: the trail byte is '\\'; the boundary is found from the start.
  EXPECT_EQ(sys::CharBoundaryAtOrBelow("\x83\x5C\x83\x5C", 3, CodePage::Cp932), 2u);
  EXPECT_EQ(sys::CharBoundaryAtOrBelow("a\x83\x5C", 2, CodePage::Cp932), 1u);
  EXPECT_EQ(sys::CharBoundaryAtOrBelow("a\xE7\x9D\xA1", 3, CodePage::Utf8), 1u);
}

TEST(CodePage, FixedFieldsHoldTheFileCodePage) {
  std::array<char, 6> field;
  field.fill('#');
  // "睡眠段" is 6 bytes; with the terminator kept only "睡眠" fits, the rest is zero.
  EXPECT_EQ(sys::WriteFixedField(field, "睡眠段", CodePage::Cp932), 4u);
  EXPECT_EQ(std::string(field.data(), 6), std::string("\x90\x87\x96\xB0\0\0", 6));
  EXPECT_EQ(sys::ReadFixedField(std::span<const char>(field), CodePage::Cp932), "睡眠");

  std::array<std::uint8_t, 3> full{};
  EXPECT_EQ(sys::WriteFixedField(full, "abcd", CodePage::Cp1252, Terminator::None), 3u);
  EXPECT_EQ(sys::ReadFixedField(std::span<const std::uint8_t>(full), CodePage::Cp1252), "abc");  // no zero in field
}

}  // namespace
