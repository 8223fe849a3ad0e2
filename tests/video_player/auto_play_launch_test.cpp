// A launcher's "/AutoPlay /n": the program opens entry n's recording with its video set and
// plays the entry's stretch to its end, where the run ends with the auto-play dialog.
#include <chrono>
#include <filesystem>
#include <thread>

#include "app/video/cvp_info_exchange.h"
#include "app_shell/app_fixture.h"
#include "platform/system/file_io.h"
#include "sample_recording.h"
#include "video_fixture.h"

namespace {

class AutoPlayLaunch : public AppTest {};

TEST_F(AutoPlayLaunch, EntryPlaysToItsEndThenTheRunEnds) {
  const std::string dir = folder_->Path();
  std::filesystem::copy_file(video_fixture::LibraryPath(), dir + "/" + kVideoPlayerLibraryName);
  samples::Options o;
  o.hours = 0.1;
  o.channels = 2;
  o.rateHz = 64;
  const std::string raw = dir + "/night.fyd";
  std::string error;
  ASSERT_TRUE(samples::WriteSampleRecording(o, raw, &error)) << error;
  // The recording's video set: one file of 1.2 s at its start.
  SampleVideoSpec s;
  s.path = dir + "/night/night.mpg";
  s.frames = 30;
  std::filesystem::create_directories(dir + "/night");
  ASSERT_TRUE(WriteSampleVideo(s, &error)) << error;
  ASSERT_TRUE(sys::WriteFileAtomic(dir + "/night/night.hdr",
                                   EncodeRangeFile(0, {{0.0, 1.2, "night/night.mpg", {{0.0, 1.2}}}})));
  AutoPlayEntry e;
  e.rawPath = raw;
  e.startTime = 0.2;
  e.endTime = 0.8;
  e.splitKind = 1;
  e.splitColumn = 1;
  ASSERT_TRUE(sys::WriteFileAtomic(dir + "/AutoPlay.inf", EncodeAutoPlayList({AutoPlayEntry{}, e})));

  ASSERT_TRUE(Start({"/AutoPlay", "/2"}));
  EXPECT_TRUE(BoxTexts().empty()) << BoxTexts().front();
  LyrWorkspaceDummyView* ws = Frame().WorkspaceView();
  ASSERT_NE(ws, nullptr);
  CVPInfoExchange& video = ws->Video;
  ASSERT_TRUE(video.IsBound());
  EXPECT_EQ(video.ActiveAutoPlayEntry, 1);
  EXPECT_TRUE(ws->VideoPane.Playing);
  EXPECT_EQ(Doc().VideoSplit, (std::array<std::uint16_t, 3>{1, 1, 0})) << "the entry's split";
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (ws->VideoPane.AutoPlayDialogs == 0 && std::chrono::steady_clock::now() < giveUp) {
    testhooks::ProcessMessages();
    std::this_thread::yield();
  }
  EXPECT_EQ(ws->VideoPane.AutoPlayDialogs, 1);
  EXPECT_FALSE(ws->VideoPane.Playing);
  EXPECT_EQ(video.ActiveAutoPlayEntry, -1);
  EXPECT_EQ(video.AutoPlayRunning, 0);
  EXPECT_NEAR(video.CurrentTime, 0.8, 0.05) << "played to the entry's end";
}

}  // namespace
