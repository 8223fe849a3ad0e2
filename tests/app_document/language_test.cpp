#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

#include "app/document/language_choice.h"
#include "platform/res/resource_store.h"
#include "program_folder_fixture.h"

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


class LanguageChoice : public ProgramFolderTest {
 protected:
  void TearDown() override {
    unsetenv("LC_ALL");
    if (savedLang_) setenv("LANG", savedLang_->c_str(), 1); else unsetenv("LANG");
    res::SetLanguage(res::Language::English);
    ProgramFolderTest::TearDown();
  }
  void SetUp() override {
    if (const char* lang = std::getenv("LANG")) savedLang_ = lang;
    unsetenv("LC_ALL");
    ProgramFolderTest::SetUp();
  }
  std::optional<std::string> savedLang_;
};

TEST_F(LanguageChoice, FileAsksForEnglishOtherwiseTheLocaleDecides) {
  struct Case {
    const char* fileText;  // nullptr: no language file
    const char* lang;
    int englishMode;
  };
  const Case cases[] = {
      {"ENGLISH\n", "ja_JP.UTF-8", 1},  {"english", "ja_JP.UTF-8", 1},
      {"english \n", "ja_JP.UTF-8", 0}, {nullptr, "ja_JP.UTF-8", 0},
      {"japanese\n", "ja_JP.UTF-8", 0}, {nullptr, "en_US.UTF-8", 1},
      {"english \n", "C", 1},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(Beside("Language.md"));
    if (c.fileText) WriteBeside("Language.md", c.fileText);
    setenv("LANG", c.lang, 1);
    sys::ResetThreadLocaleForTesting();
    const int english = ChooseUserInterfaceLanguage();
    const std::string what = std::string(c.fileText ? c.fileText : "<no file>") + " LANG=" + c.lang;
    EXPECT_EQ(english, c.englishMode) << what;
    EXPECT_EQ(res::CurrentLanguage(), english ? res::Language::English : res::Language::Japanese) << what;
    EXPECT_EQ(sys::GetThreadLocale(), english ? 1033u : 1041u) << what;
  }
}
