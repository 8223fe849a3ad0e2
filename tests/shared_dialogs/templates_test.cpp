// Every template of the shared dialogs exists in both languages with the same controls, and
// every text id they use is in both string tables.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "app/frame/shared_dialog_strings.h"
#include "platform/res/resource_store.h"
#include "platform/res/ui_resource.h"
#include "shared_dialogs/dialog_fixture.h"

namespace {

TEST(SharedDialogTemplates, BothLanguagesCarryTheSameControls) {
  for (int id : {102, 141, 163, 176, 177, 182, 183, 199, 219, 220, 259, 263, 291, 298, 313, 317, 327, 476, 478, 494}) {
    SCOPED_TRACE(id);
    std::string error;
    const auto en = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1033, &error);
    ASSERT_TRUE(en) << error;
    const auto ja = res::LoadDialogResource(static_cast<std::uint32_t>(id), 1041, &error);
    ASSERT_TRUE(ja) << error;
    EXPECT_EQ(TemplateControlIds(en->nodes), TemplateControlIds(ja->nodes));
  }
  for (std::uint32_t s : {103u, IDS_SD_DATA_TOO_SHORT, IDS_SD_CONDITION_CHANGED, IDS_SD_INVALID_EPOCH,
                          IDS_SD_CONTRADICTION, IDS_SD_START_CAPTION, IDS_SD_END_CAPTION, IDS_SD_TEXT_FILE_FILTER,
                          IDS_SD_COL_TIME, IDS_SD_COL_SENSITIVITY, IDS_SD_ON, IDS_SD_OFF}) {
    EXPECT_TRUE(res::HasString(s, res::Language::English)) << s;
    EXPECT_TRUE(res::HasString(s, res::Language::Japanese)) << s;
  }
}

}  // namespace
