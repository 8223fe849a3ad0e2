// What opening and closing a recording does to the frame's other windows: the raw container
// becomes the active view, the workspace lists are filled and emptied, the trend information
// area starts afresh, and a recording with a video set opens it in the video pane.
#include <filesystem>
#include <fstream>

#include "app/frame/program_settings.h"
#include "app/video/cvp_info_exchange.h"
#include "app_shell/app_fixture.h"
#include "platform/ui/document.h"
#include "sample_recording.h"

namespace {

class RecordingPanes : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    EpochSeconds = 30;
    PageSeconds = 30;
    testhooks::Reset();
    samples::Options o;
    o.hours = 0.1;
    o.channels = 3;
    o.rateHz = 64;
    night_ = folder_->Path() + "/night.fyd";
    std::string error;
    ASSERT_TRUE(samples::WriteSampleRecording(o, night_, &error)) << error;
  }
  void TearDown() override {
    if (app_ && DocumentLoaded != 0) {
      sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
      Doc().OnNewDocument();
      sys::ClearKeyStateForTesting();
    }
    AppTest::TearDown();
  }
  LyrWorkspaceDummyView& Workspace() { return *Frame().WorkspaceView(); }
  std::string night_;
};

TEST_F(RecordingPanes, OpeningFillsTheWorkspaceAndClosingEmptiesIt) {
  Frame().SetActiveView(Frame().WorkspaceView());
  ASSERT_NE(app_->OpenDocumentFile(night_), nullptr);
  ASSERT_EQ(DocumentLoaded, 1);
  EXPECT_EQ(Frame().GetActiveView(), Frame().RawView());
  EXPECT_EQ(Workspace().ControlFills, 1);
  EXPECT_EQ(Workspace().ViewRefreshes, 1);
  EXPECT_EQ(Frame().TrendView()->InfoAreaResets, 1);
  EXPECT_EQ(Workspace().ListClears, 0);
  // No video set beside the recording: nothing is opened.
  EXPECT_TRUE(Workspace().VideoSetPath.empty());

  // Opening another recording over it empties the lists of the first one.
  const std::string second = folder_->Path() + "/second.fyd";
  std::filesystem::copy_file(night_, second);
  ASSERT_NE(app_->OpenDocumentFile(second), nullptr);
  EXPECT_EQ(Workspace().ListClears, 1);
  EXPECT_EQ(Workspace().ControlFills, 2);

  ASSERT_TRUE(Doc().OnNewDocument());
  EXPECT_EQ(DocumentLoaded, 0);
  EXPECT_EQ(Workspace().ListClears, 2);
}

TEST_F(RecordingPanes, RecordingWithAVideoSetOpensItInTheVideoPane) {
  const std::string range = CVPInfoExchange::RangeFilePathFor(night_);
  EXPECT_EQ(range, folder_->Path() + "/night/night.hdr");
  std::filesystem::create_directories(std::filesystem::path(range).parent_path());
  std::ofstream(range) << "set";
  ASSERT_NE(app_->OpenDocumentFile(night_), nullptr);
  EXPECT_EQ(Workspace().VideoSetPath, night_);
  EXPECT_TRUE(Workspace().VideoPane.FileOpen);
  EXPECT_EQ(Frame().WorkspaceTabs.CurrentPane, 12);
  EXPECT_EQ(Frame().WorkspaceTabs.VideoWindowShown, 1);
}

}  // namespace

namespace {

TEST_F(RecordingPanes, AbsolutePathOnTheCommandLineOpensTheRecording) {
  Stop();
  ASSERT_TRUE(Start({"/AutoPlay", "/3", night_}));
  EXPECT_EQ(DocumentLoaded, 1);
  EXPECT_EQ(Doc().RecordInfo.path, night_);
  EXPECT_EQ(Frame().AutoPlayEntry, 2);
}

}  // namespace
