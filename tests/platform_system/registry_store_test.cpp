#include "platform/system/registry_store.h"

#include <sys/stat.h>

#include "scratch_folder.h"

namespace {

using sys::RegRoot;
using sys::RegType;

class Registry : public ScratchFolder {
 protected:
  void SetUp() override {
    ScratchFolder::SetUp();
    sys::SetRegistryFileForTesting(Path("cfg/QLM2_Analyzer/registry.txt"));
  }
  void TearDown() override {
    sys::SetRegistryFileForTesting("");
    ScratchFolder::TearDown();
  }
};

constexpr const char* kMru = "Software\\Morvane\\QLM2_Analyzer\\Recent File List";

TEST_F(Registry, ValuesSurviveInTheStoreFile) {
  ASSERT_TRUE(sys::RegSetString(RegRoot::CurrentUser, kMru, "File1", "/data/night 1.fyd"));
  ASSERT_TRUE(sys::RegSetString(RegRoot::CurrentUser, kMru, "File2", "/データ/夜.fyd"));
  ASSERT_TRUE(sys::RegSetDword(RegRoot::CurrentUser, "Software\\Morvane\\QLM2_Analyzer\\Settings", "Count", 0xDEADBEEF));
  const std::string blob("\0\t\n\\\xFF", 5);
  ASSERT_TRUE(sys::RegSetValue(RegRoot::LocalMachine, "SOFTWARE\\Morvane", "Blob", RegType::Binary, blob));
  ASSERT_TRUE(sys::RegCreateKey(RegRoot::CurrentUser, "Software\\Empty\\Key"));

  // Everything is read back from the file, with names in any case.
  EXPECT_EQ(sys::RegGetString(RegRoot::CurrentUser, "software\\MORVANE\\qlm2_analyzer\\recent file list", "file2"),
            "/データ/夜.fyd");
  EXPECT_EQ(sys::RegGetDword(RegRoot::CurrentUser, "Software\\Morvane\\QLM2_Analyzer\\Settings", "count"), 0xDEADBEEFu);
  const auto b = sys::RegGetValue(RegRoot::LocalMachine, "Software\\Morvane", "BLOB");
  ASSERT_TRUE(b.has_value());
  EXPECT_EQ(b->type, RegType::Binary);
  EXPECT_EQ(b->data, blob);
  EXPECT_TRUE(sys::RegKeyExists(RegRoot::CurrentUser, "Software\\Empty\\Key"));
  EXPECT_FALSE(sys::RegKeyExists(RegRoot::LocalMachine, "Software\\Empty"));  // roots are apart
  EXPECT_EQ(sys::RegEnumValues(RegRoot::CurrentUser, kMru), (std::vector<std::string>{"File1", "File2"}));
  EXPECT_EQ(sys::RegEnumKeys(RegRoot::CurrentUser, "Software\\Morvane\\QLM2_Analyzer"),
            (std::vector<std::string>{"Recent File List", "Settings"}));

  // Overwriting keeps one value; deleting removes it.
  ASSERT_TRUE(sys::RegSetString(RegRoot::CurrentUser, kMru, "FILE1", "/other.fyd"));
  EXPECT_EQ(sys::RegEnumValues(RegRoot::CurrentUser, kMru)->size(), 2u);
  ASSERT_TRUE(sys::RegDeleteValue(RegRoot::CurrentUser, kMru, "File1"));
  EXPECT_FALSE(sys::RegGetString(RegRoot::CurrentUser, kMru, "File1").has_value());
  EXPECT_FALSE(sys::RegDeleteValue(RegRoot::CurrentUser, kMru, "File1"));

  EXPECT_FALSE(sys::RegDeleteKey(RegRoot::CurrentUser, "Software\\Empty"));  // has a sub-key
  EXPECT_TRUE(sys::RegDeleteTree(RegRoot::CurrentUser, "Software\\Empty"));
  EXPECT_FALSE(sys::RegKeyExists(RegRoot::CurrentUser, "Software\\Empty\\Key"));
}

TEST_F(Registry, MissingThingsAndBrokenStoresAreFailures) {
  EXPECT_FALSE(sys::RegGetValue(RegRoot::CurrentUser, "Software\\None", "x").has_value());
  EXPECT_FALSE(sys::RegEnumKeys(RegRoot::CurrentUser, "Software\\None").has_value());
  EXPECT_FALSE(sys::RegDeleteKey(RegRoot::CurrentUser, "Software\\None"));
  EXPECT_FALSE(sys::RegGetDword(RegRoot::CurrentUser, kMru, "File1").has_value());

  // A store that cannot be understood is neither used nor overwritten.
  Put("cfg/QLM2_Analyzer/registry.txt", "garbage\n");
  EXPECT_FALSE(sys::RegSetString(RegRoot::CurrentUser, kMru, "File1", "x"));
  EXPECT_EQ(Get("cfg/QLM2_Analyzer/registry.txt"), "garbage\n");

  // A folder that cannot be made is a failure.
  Put("blocker", "");
  sys::SetRegistryFileForTesting(Path("blocker/QLM2_Analyzer/registry.txt"));
  EXPECT_FALSE(sys::RegSetString(RegRoot::CurrentUser, kMru, "File1", "x"));
}

TEST(RegistryLocation, FollowsTheConfigurationFolder) {
  ::setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
  EXPECT_EQ(sys::RegistryFilePath(), "/tmp/xdg-test/QLM2_Analyzer/registry.txt");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(sys::RegistryFilePath(), std::string(std::getenv("HOME")) + "/.config/QLM2_Analyzer/registry.txt");
}

}  // namespace
