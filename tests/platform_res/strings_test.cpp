#include <gtest/gtest.h>

#include "platform/res/resource_store.h"

TEST(StringTable, LooksUpByIdInEachLanguage) {
  EXPECT_EQ(res::LoadString(2272, res::Language::English), "Data less than %dsec is invalid.");
  EXPECT_FALSE(res::LoadString(2272, res::Language::Japanese).empty());
  EXPECT_TRUE(res::LoadString(999999, res::Language::English).empty());
}
