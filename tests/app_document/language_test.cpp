#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "app/document/language_choice.h"

TEST(LanguageLine, OnlyTheWordEnglishInAnyCaseAsksForEnglish) {
  EXPECT_TRUE(IsEnglishLanguageLine("english"));
  EXPECT_TRUE(IsEnglishLanguageLine("ENGLISH"));
  EXPECT_TRUE(IsEnglishLanguageLine("EnGlIsH"));
  EXPECT_FALSE(IsEnglishLanguageLine("english "));
  EXPECT_FALSE(IsEnglishLanguageLine(" english"));
  EXPECT_FALSE(IsEnglishLanguageLine("japanese"));
  EXPECT_FALSE(IsEnglishLanguageLine(""));
}

TEST(LanguageLine, FirstLineIsReadWithoutItsLineEnd) {
  const std::string path = testing::TempDir() + "language_first_line.md";
  {
    std::ofstream out(path, std::ios::binary);
    out << "ENGLISH\r\nsecond line\n";
  }
  EXPECT_EQ(ReadFirstTextLine(path).value_or("<none>"), "ENGLISH");
  std::remove(path.c_str());
  EXPECT_FALSE(ReadFirstTextLine(path).has_value());
}
