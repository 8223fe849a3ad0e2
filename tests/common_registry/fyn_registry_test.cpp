#include "common/registry/fyn_registry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "platform/system/registry_store.h"

namespace {

class RegistryWrapper : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("qlm_fynreg_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    store_ = (dir_ / "registry.txt").string();
    sys::SetRegistryFileForTesting(store_);
  }
  void TearDown() override {
    sys::SetRegistryFileForTesting("");
    std::filesystem::remove_all(dir_);
  }
  std::filesystem::path dir_;
  std::string store_;
};

TEST_F(RegistryWrapper, ValuesWrittenReadBackUnderTheBaseKey) {
  FynRegistry reg("Software\\Morvane", "FynTools");
  EXPECT_STREQ(reg.BaseKey(), "Software\\Morvane\\FynTools");

  const char text[] = "C:\\data";
  ASSERT_EQ(reg.SetRegistry("Paths", "Last", text, sizeof text, 1), 1);
  std::uint32_t number = 0x12345678;
  ASSERT_EQ(reg.SetRegistry("Paths", "Count", &number, sizeof number, 4), 1);

  char back[32] = {};
  EXPECT_EQ(reg.GetRegistry("Paths", "Last", back, sizeof back, 1), 1);
  EXPECT_STREQ(back, text);
  std::uint32_t numberBack = 0;
  EXPECT_EQ(reg.GetRegistry("Paths", "Count", &numberBack, sizeof numberBack, 4), 1);
  EXPECT_EQ(numberBack, number);
  // The value sits under the local-machine root, below the base key and the sub-key.
  EXPECT_TRUE(sys::RegGetValue(sys::RegRoot::LocalMachine, "Software\\Morvane\\FynTools\\Paths", "Count"));
}

TEST_F(RegistryWrapper, MissingKeysAndShortBuffersReadNothing) {
  FynRegistry reg("Software", "Nothing");
  char buf[8] = "keep";
  EXPECT_EQ(reg.GetRegistry("Missing", "Value", buf, sizeof buf, 1), 0);
  EXPECT_STREQ(buf, "keep");

  const char longText[] = "a text longer than the room";
  ASSERT_EQ(reg.SetRegistry("Sub", "Long", longText, sizeof longText, 1), 1);
  EXPECT_EQ(reg.GetRegistry("Sub", "Long", buf, sizeof buf, 1), 0);
  EXPECT_STREQ(buf, "keep");
}

TEST_F(RegistryWrapper, BaseKeyIsCutTo127Characters) {
  std::string first(100, 'a'), second(100, 'b');
  FynRegistry reg(first.c_str(), second.c_str());
  EXPECT_EQ(std::strlen(reg.BaseKey()), 127u);
  FynRegistry copy = reg;
  EXPECT_STREQ(copy.BaseKey(), reg.BaseKey());
}

TEST_F(RegistryWrapper, AWriteThatFailsIsReportedAsAFailure) {
  // A store file that cannot be understood is never overwritten, so nothing can be written.
  std::ofstream(store_) << "not a registry\n";
  FynRegistry reg("Software", "Broken");
  int value = 1;
  EXPECT_EQ(reg.SetRegistry("Sub", "Value", &value, sizeof value, 4), 0);
}

}  // namespace
