// The video player's messages exist in both languages.
#include <gtest/gtest.h>

#include "platform/res/resource_store.h"

namespace {

TEST(VideoStrings, EveryMessageInBothLanguages) {
  const struct {
    std::uint32_t id;
    const char* english;
  } kTexts[] = {{2470, "Failure in initialization processing.\nPlease install DirectxX."},
                {2426, "Now loading movie files..."},
                {2434, "Not enough disk space(%s). Video files can not be saved."},
                {2371, "There was an error saving this file."},
                {2393, "The play range of movie files has been edited.\nWill you save the new play range?"}};
  for (const auto& t : kTexts) {
    EXPECT_EQ(res::LoadString(t.id, res::Language::English), t.english) << t.id;
    const std::string ja = res::LoadString(t.id, res::Language::Japanese);
    EXPECT_FALSE(ja.empty()) << t.id;
    EXPECT_NE(ja, t.english) << t.id;
  }
  EXPECT_NE(res::LoadString(2434, res::Language::Japanese).find("%s"), std::string::npos);
}

}  // namespace
