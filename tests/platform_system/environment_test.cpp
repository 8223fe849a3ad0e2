#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/system/key_state.h"
#include "platform/system/locale.h"
#include "platform/system/program_folder.h"

namespace {

TEST(ProgramFolder, IsTheExecutablesFolderUnlessOverridden) {
  const std::string exe = sys::ProgramFilePath();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(sys::ProgramFolder() + "/" + sys::ProgramBaseName(), exe);
  EXPECT_EQ(sys::ProgramBaseName(), "test_platform_system");

  sys::SetProgramFolderForTesting("/tmp/fake/");
  EXPECT_EQ(sys::ProgramFolder(), "/tmp/fake");
  EXPECT_EQ(sys::PathBesideProgram("Language.md"), "/tmp/fake/Language.md");
  sys::SetProgramFolderForTesting("");
  EXPECT_EQ(sys::PathBesideProgram("x"), sys::ProgramFolder() + "/x");
}

TEST(Locale, EnvironmentDecidesUntilSet) {
  struct {
    const char* lcAll;
    const char* lang;
    sys::Lcid expected;
  } cases[] = {{"", "ja_JP.UTF-8", 1041}, {"", "en_US.UTF-8", 1033}, {"ja_JP", "en_US", 1041},
               {"C", "ja_JP", 1033},      {"", "", 1033}};
  sys::ResetThreadLocaleForTesting();
  for (const auto& c : cases) {
    ::setenv("LC_ALL", c.lcAll, 1);
    ::setenv("LANG", c.lang, 1);
    EXPECT_EQ(sys::GetThreadLocale(), c.expected) << c.lcAll << "/" << c.lang;
  }
  EXPECT_EQ(sys::AnsiCodePage(), sys::CodePage::Cp1252);
  ASSERT_TRUE(sys::SetThreadLocale(sys::kLcidJapanese));
  EXPECT_EQ(sys::GetThreadLocale(), 1041u);
  EXPECT_EQ(sys::AnsiCodePage(), sys::CodePage::Cp932);
  EXPECT_FALSE(sys::SetThreadLocale(0));
  sys::ResetThreadLocaleForTesting();
  ::unsetenv("LC_ALL");
  ::unsetenv("LANG");
}

TEST(KeyState, NotHeldWithoutAnApplicationAndOverridable) {
  sys::ClearKeyStateForTesting();
  EXPECT_FALSE(sys::IsKeyDown(sys::VirtualKey::Control));
  sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
  EXPECT_TRUE(sys::IsKeyDown(sys::VirtualKey::Control));
  EXPECT_FALSE(sys::IsKeyDown(sys::VirtualKey::Shift));
  sys::ClearKeyStateForTesting();
  EXPECT_FALSE(sys::IsKeyDown(sys::VirtualKey::Control));
}

}  // namespace
