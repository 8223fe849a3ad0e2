// Message boxes answered by script, with the texts and types recorded.
#include <gtest/gtest.h>

#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {

TEST(MessageBoxes, TakeScriptedAnswersAndRecordWhatWasShown) {
  testhooks::Reset();
  testhooks::AnswerMessageBox(ui::IDNO);
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  ui::MessageBeep(ui::MB_ICONQUESTION);
  EXPECT_EQ(ui::MessageBox("Save the results?", ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION), ui::IDNO);
  EXPECT_EQ(ui::MessageBox(nullptr, "Second", "Title", ui::MB_OKCANCEL), ui::IDCANCEL);

  const auto& shown = testhooks::ShownMessageBoxes();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Save the results?");
  EXPECT_EQ(shown[0].caption, ui::MessageBoxCaption());
  EXPECT_EQ(shown[0].type, ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION);
  EXPECT_EQ(shown[1].caption, "Title");
  EXPECT_TRUE(shown[1].scripted);
  EXPECT_EQ(testhooks::Beeps(), std::vector<std::uint32_t>{ui::MB_ICONQUESTION});
  EXPECT_EQ(testhooks::UnansweredCount(), 0);
}

TEST(MessageBoxes, UnansweredBoxesGetTheAnswerThatLosesNothing) {
  struct Case {
    std::uint32_t type;
    int expected;
  };
  const Case cases[] = {
      {ui::MB_OK, ui::IDOK},
      {ui::MB_OKCANCEL, ui::IDCANCEL},
      {ui::MB_YESNO, ui::IDNO},
      {ui::MB_YESNOCANCEL | ui::MB_ICONEXCLAMATION, ui::IDCANCEL},
  };
  testhooks::Reset();
  for (const Case& c : cases) EXPECT_EQ(ui::MessageBox("x", c.type), c.expected) << "type " << c.type;
  EXPECT_EQ(testhooks::UnansweredCount(), 4);
  EXPECT_FALSE(testhooks::ShownMessageBoxes().back().scripted);
  testhooks::Reset();
}

}  // namespace
