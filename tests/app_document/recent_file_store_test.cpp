#include <gtest/gtest.h>

#include "app/document/recent_file_store.h"
#include "app/scoring/dsi_silent_open.h"
#include "platform/system/profile.h"
#include "platform/system/registry_store.h"
#include "program_folder_fixture.h"

class RecentFileStore : public ProgramFolderTest {
 protected:
  void SetUp() override {
    ProgramFolderTest::SetUp();
    sys::SetRegistryFileForTesting(Beside("registry.txt"));
  }
  void TearDown() override {
    sys::SetRegistryFileForTesting("");
    ProgramFolderTest::TearDown();
  }
};

TEST_F(RecentFileStore, KeepsTenEntriesNewestFirstAndDropsOldOnes) {
  EXPECT_TRUE(LoadRecentFileList().empty());
  std::vector<std::string> files;
  for (int i = 12; i >= 1; --i) files.push_back("/data/n" + std::to_string(i) + ".fyd");
  ASSERT_TRUE(SaveRecentFileList(files));
  std::vector<std::string> back = LoadRecentFileList();
  ASSERT_EQ(back.size(), 10u);
  EXPECT_EQ(back.front(), "/data/n12.fyd");
  EXPECT_EQ(back.back(), "/data/n3.fyd");
  EXPECT_EQ(sys::RegGetString(sys::RegRoot::CurrentUser, "Software\\Morvane\\QLM2_Analyzer\\Recent File List", "File1")
                .value_or(""),
            "/data/n12.fyd");

  ASSERT_TRUE(SaveRecentFileList({"/data/only.fyd"}));
  back = LoadRecentFileList();
  EXPECT_EQ(back, (std::vector<std::string>{"/data/only.fyd"})) << "a shorter list leaves no stale entries";
}

TEST_F(RecentFileStore, DsiSilentOpenWritesOneOrZero) {
  ASSERT_TRUE(SetDsiSilentOpen(5));
  EXPECT_EQ(sys::GetPrivateProfileString("SilentOpen", "UseAuto", "", Beside("RXQD_IMP_DSI.ini")), "1");
  ASSERT_TRUE(SetDsiSilentOpen(0));
  EXPECT_EQ(sys::GetPrivateProfileString("SilentOpen", "UseAuto", "", Beside("RXQD_IMP_DSI.ini")), "0");
}
