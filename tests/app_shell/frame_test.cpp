#include "app/frame/program_settings.h"
#include "app_fixture.h"
#include "platform/ui/menu.h"
#include "platform/ui/messages.h"
#include "platform/ui/splitter.h"

using MainFrame = AppTest;

TEST(ResultFileName, OnlyTheRafExtensionInAnyCase) {
  EXPECT_TRUE(IsResultFileName("/data/night.raf"));
  EXPECT_TRUE(IsResultFileName("/data/night.RAF"));
  EXPECT_TRUE(IsResultFileName("/data/night.v2.Raf"));
  EXPECT_FALSE(IsResultFileName("/data/night.fyd"));
  EXPECT_FALSE(IsResultFileName("/data/night.raf.fyd"));
  EXPECT_FALSE(IsResultFileName("/data/raf"));
  EXPECT_FALSE(IsResultFileName("/data/night.rafx"));
}

TEST_F(MainFrame, DroppedResultFilesOpenAsResultsOthersAsRecordings) {
  ASSERT_TRUE(Start());
  testhooks::DropFiles(Frame(), {"/data/a.raf", "/data/b.RAF"});
  EXPECT_EQ(Doc().GetPathName(), "") << "a result file is not opened as a recording";
  // Both go to the result-file road, which cannot read them: nothing is taken.
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 2u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[1].text, "Cannot open this file.");
  EXPECT_EQ(Frame().ResultFilePath, "");

  // Any other file goes to the document's open, which tells why a missing one cannot open.
  testhooks::Reset();
  testhooks::DropFiles(Frame(), {"/data/night.fyd"});
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"/data/night.fyd\nThe file does not exist."});
  EXPECT_EQ(Frame().ResultFilePath, "");
}

TEST_F(MainFrame, AutoPlayGreysTheRecentFiles) {
  ASSERT_TRUE(Start({"/AutoPlay", "/1"}));
  app_->SetRecentFiles({"/data/one.fyd", "/data/two.fyd"});
  ui::Menu* file = Frame().OpenMenuPopup(0);
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->Contains(57616));
  ASSERT_TRUE(file->Contains(57617));
  EXPECT_FALSE(file->IsItemEnabled(57616));
  EXPECT_FALSE(file->IsItemEnabled(57617));
  EXPECT_NE(file->GetItemText(57617).find("/data/two.fyd"), std::string::npos);
  EXPECT_TRUE(file->IsItemEnabled(57665)) << "the other File commands keep their state";
}

TEST_F(MainFrame, RecentFilesAreOfferedWithoutAutoPlay) {
  ASSERT_TRUE(Start());
  ui::Menu* file = Frame().OpenMenuPopup(0);
  ASSERT_NE(file, nullptr);
  EXPECT_FALSE(file->IsItemEnabled(57616));
  EXPECT_EQ(file->GetItemText(57616), "Recent File") << "an empty list keeps the greyed placeholder";

  app_->SetRecentFiles({"/data/one.fyd", "/data/two.fyd"});
  file = Frame().OpenMenuPopup(0);
  EXPECT_TRUE(file->IsItemEnabled(57616));
  EXPECT_EQ(file->GetItemText(57616), "&1 /data/one.fyd");
  EXPECT_EQ(file->GetItemText(57617), "&2 /data/two.fyd");
  testhooks::Reset();
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 57617));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"/data/two.fyd\nThe file does not exist."}) << "the entry is opened (and is missing)";

  app_->SetRecentFiles({});
  file = Frame().OpenMenuPopup(0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->GetItemText(57616), "Recent File");
  EXPECT_FALSE(file->Contains(57617));
}

TEST_F(MainFrame, SleepDisturbanceItemFollowsTheRecordingsChannels) {
  ASSERT_TRUE(Start());
  ui::Menu* sleep = Frame().GetMenu()->GetSubMenu(2);
  ASSERT_NE(sleep, nullptr);
  DocumentLoaded = 1;
  Doc().RecordInfo.channelCount = 4;
  Doc().Params.sleepDstrb = SleepDstrbParam{};
  Doc().Params.sleepDstrb.snore.channel = 7;  // outside the recording
  Frame().UpdateSleepDisturbanceMenu();
  EXPECT_FALSE(sleep->Contains(32801));

  Doc().Params.sleepDstrb.arousal.channel = 3;
  Frame().UpdateSleepDisturbanceMenu();
  ASSERT_TRUE(sleep->Contains(32801));
  EXPECT_EQ(sleep->FindPosition(32801), sleep->FindPosition(32808) + 1);
  EXPECT_EQ(sleep->GetItemText(32801), "Sleep Disturbance");
  Frame().UpdateSleepDisturbanceMenu();
  EXPECT_EQ(sleep->FindPosition(32801), sleep->FindPosition(32808) + 1) << "inserted once";
}

TEST_F(MainFrame, DraggingASplitterBarStoresTheRatios) {
  ASSERT_TRUE(Start());
  CMainFrame& frame = Frame();
  frame.ShowWindow(ui::SW_SHOWNORMAL);
  frame.MoveWindow(ui::Rect{0, 0, 1000, 800});
  PaneRowRatio = 0.5;
  PaneColumnRatio = 0.6;
  TrendWindowDockState = WorkspaceWindowDockState = 1;
  frame.LayoutPanes();
  frame.OuterSplitter()->DragBar(true, 0, 200);
  const int H = frame.OuterSplitter()->GetClientRect().Height();
  const int h = frame.RawView()->GetClientRect().Height();
  EXPECT_DOUBLE_EQ(PaneRowRatio, (h + 1.0) / (H + 1.0));
  EXPECT_NEAR(PaneRowRatio, 200.0 / H, 0.02);
  EXPECT_DOUBLE_EQ(PaneColumnRatio, (frame.TrendView()->GetClientRect().Width() + 1.0) /
                                        (frame.OuterSplitter()->GetClientRect().Width() + 1.0));
}
