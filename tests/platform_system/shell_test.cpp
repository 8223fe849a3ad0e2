#include "platform/system/shell.h"

#include <sys/stat.h>

#include "scratch_folder.h"

namespace {

TEST(Shell, SplitsArgumentsLikeACommandLine) {
  EXPECT_EQ(sys::SplitArguments("/AutoPlay /3"), (std::vector<std::string>{"/AutoPlay", "/3"}));
  EXPECT_EQ(sys::SplitArguments("  \"a b\"  c\\\"d \"\""), (std::vector<std::string>{"a b", "c\"d", ""}));
  EXPECT_TRUE(sys::SplitArguments("   ").empty());
}

TEST_F(ScratchFolder, ShortcutsBecomeDesktopEntries) {
  const std::string written = sys::CreateShellLink(Path("Vellisom for AnimalAutoPlay No.1.lnk"),
                                                   "/opt/q l m/QLM2_Analyzer", "/AutoPlay /1", "50%");
  ASSERT_EQ(written, Path("Vellisom for AnimalAutoPlay No.1.desktop"));
  EXPECT_EQ(Get("Vellisom for AnimalAutoPlay No.1.desktop"),
            "[Desktop Entry]\nType=Application\nVersion=1.0\n"
            "Name=Vellisom for AnimalAutoPlay No.1\nComment=50%\n"
            "Exec=\"/opt/q l m/QLM2_Analyzer\" /AutoPlay /1\nPath=/opt/q l m\nTerminal=false\n");
  struct stat st {};
  ASSERT_EQ(::stat(written.c_str(), &st), 0);
  EXPECT_TRUE(st.st_mode & S_IXUSR);

  // Characters the launcher would interpret are quoted and escaped.
  ASSERT_FALSE(sys::CreateShellLink(Path("x.lnk"), "/bin/echo", "\"$HOME\\x\" 100%").empty());
  EXPECT_NE(Get("x.desktop").find("Exec=/bin/echo \"\\\\$HOME\\\\\\\\x\" 100%%\n"), std::string::npos) << Get("x.desktop");
  EXPECT_TRUE(sys::CreateShellLink(Path("no/such/folder/x.lnk"), "/bin/true", "").empty());
}

TEST_F(ScratchFolder, DesktopFolderFollowsTheUserDirs) {
  const char* oldHome = std::getenv("HOME");
  const std::string home = oldHome != nullptr ? oldHome : "";
  ::setenv("HOME", Folder().c_str(), 1);
  ::unsetenv("XDG_DESKTOP_DIR");
  ::setenv("XDG_CONFIG_HOME", Path("cfg").c_str(), 1);
  EXPECT_EQ(sys::DesktopFolder(), Folder());  // no desktop folder at all: home
  std::filesystem::create_directories(Path("Desktop"));
  EXPECT_EQ(sys::DesktopFolder(), Path("Desktop"));
  std::filesystem::create_directories(Path("Schreibtisch"));
  Put("cfg/user-dirs.dirs", "# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
  EXPECT_EQ(sys::DesktopFolder(), Path("Schreibtisch"));
  ::setenv("HOME", home.c_str(), 1);
  ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
