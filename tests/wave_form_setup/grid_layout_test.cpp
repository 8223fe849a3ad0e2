// The template layout the settings window is built on: rows of a grid line up in columns, an
// empty cell keeps its column, and a report list can go without column titles.
#include <gtest/gtest.h>

#include "platform/res/ui_resource.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/dialog.h"

TEST(GridLayout, RowsOfAGridShareTheirColumns) {
  ui::EnsureToolkit();
  std::string error;
  const auto tmpl = res::ParseDialog(R"(caption "Grid"
grid
  row
    static 10 "A much longer heading"
    stretch
    static 12 "C"
  end
  row
    edit 20 chars=4
    edit 21 chars=4
    check 22 ""
  end
end
list 30 noheader chars=20 lines=3
)",
                                     &error);
  ASSERT_TRUE(tmpl) << error;
  ui::Dialog dlg(*tmpl);
  ASSERT_TRUE(dlg.CreateModeless(nullptr));
  testhooks::ProcessMessages();
  EXPECT_EQ(dlg.Item(10).GetRectInOwner().left, dlg.Item(20).GetRectInOwner().left);
  EXPECT_GE(dlg.Item(21).GetRectInOwner().left, dlg.Item(10).GetRectInOwner().right) << "the heading's column is as wide";
  EXPECT_EQ(dlg.Item(12).GetRectInOwner().left, dlg.Item(22).GetRectInOwner().left);
  dlg.Item(30).InsertColumn(0, "", 100);
  EXPECT_EQ(dlg.Item(30).GetColumnCount(), 1);
  dlg.DestroyWindow();
}
