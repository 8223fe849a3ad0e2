// The dialogs of the stage graph, the vigilance state and the marks have the same controls in
// both languages (their texts' fit is checked with every template in tests/screen_fit).
#include <gtest/gtest.h>

#include <vector>

#include "platform/res/ui_resource.h"

namespace {

std::vector<int> Ids(const std::vector<res::DialogNode>& nodes) {
  std::vector<int> ids;
  for (const res::DialogNode& n : nodes) {
    if (n.id > 0) ids.push_back(n.id);
    const std::vector<int> inner = Ids(n.children);
    ids.insert(ids.end(), inner.begin(), inner.end());
  }
  return ids;
}

TEST(StageDialogTemplates, SameControlsInBothLanguages) {
  for (int id : {185, 186, 187, 190, 295, 296, 300}) {
    std::string error;
    const auto en = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1033, &error);
    ASSERT_TRUE(en.has_value()) << id << ": " << error;
    const auto ja = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1041, &error);
    ASSERT_TRUE(ja.has_value()) << id << ": " << error;
    EXPECT_EQ(Ids(en->nodes), Ids(ja->nodes)) << id;
  }
}

}  // namespace
