#include <fstream>

#include "app/frame/resume_file.h"
#include "platform/system/file_system.h"
#include "platform/ui/command.h"
#include "tests/navigation/nav_fixture.h"

TEST_F(NavTest, DividedFftNeedsAValidChannelAndSwitchesOffAtOnce) {
  Doc().Params.fftPageChannels.channels = {-1, 5, -1};  // 5 is beyond the one channel
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33077));
  EXPECT_EQ(DividedFftMode, 0) << "no valid channel: the mode stays off";
  Doc().Params.fftPageChannels.channels = {-1, 0, -1};
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33171));
  EXPECT_EQ(DividedFftMode, 1);
  EXPECT_EQ(ui::QueryCommandState(Frame(), 33077).Checked(), 1);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33077));
  EXPECT_EQ(DividedFftMode, 0);
  DocumentLoaded = 0;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 33077).IsEnabled());
}

TEST_F(NavTest, AnimalSettingAsksOnlyWhenSwitchingOn) {
  DocumentLoaded = 0;
  AnimalOnlyMode = 0;
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33165));
  EXPECT_EQ(AnimalOnlyMode, 0) << "Cancel keeps it off";
  testhooks::AnswerMessageBox(ui::IDOK);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33165));
  EXPECT_EQ(AnimalOnlyMode, 1);
  const std::size_t asked = testhooks::ShownMessageBoxes().size();
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33165));
  EXPECT_EQ(AnimalOnlyMode, 0);
  EXPECT_EQ(testhooks::ShownMessageBoxes().size(), asked) << "off without a question";
  DocumentLoaded = 1;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 33165).IsEnabled()) << "not with a recording open";
}

TEST_F(NavTest, InitializeEnvironmentRemovesTheSettingsFileOnYesOnly) {
  const std::string path = ResumeFile::Path();
  std::ofstream(path) << "x";
  testhooks::AnswerMessageBox(ui::IDNO);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33167));
  EXPECT_TRUE(sys::FileExists(path));
  EXPECT_EQ(testhooks::ShownMessageBoxes().back().type & ui::MB_DEFMASK, ui::MB_DEFBUTTON2);
}

TEST_F(NavTest, InitializeEnvironmentReportsASettingsFileThatCannotBeRemoved) {
  sys::DeleteFile(ResumeFile::Path());
  testhooks::AnswerMessageBox(ui::IDYES);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33167));
  EXPECT_EQ(testhooks::ShownMessageBoxes().back().text, "The settings file could not be removed.");
  EXPECT_TRUE(Frame().IsWindow());
}
