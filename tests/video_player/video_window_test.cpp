// The video window over the real player library and three sample files with gaps of 1.5 s and
// 3 s: the surface shows the frame of the wave time, blue in the gaps, and playing crosses the
// short gap and stops at the long one.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/frame/frame_globals.h"
#include "app/video/lyr_workspace_video_frame.h"
#include "platform/draw/image.h"
#include "platform/system/file_io.h"
#include "platform/testing/ui_testing.h"
#include "video_fixture.h"

namespace {

using namespace video_fixture;

constexpr double kFd = 0.04;          // 25 frames per second
constexpr double kRecordStart = 1.0;  // the fastest channel starts at sample 500 of 500 Hz

// The video window of a recording whose fastest channel starts 1 s in, 20 s long.
struct TestVideoFrame : LyrWorkspaceVideoFrame {
  std::string name;
  double RecordingStartOffset() override { return 500.0 / 500.0; }
  double HighestSamplingRate() override { return 500.0; }
  double RecordingSeconds() override { return 20.0; }
  std::string VideoName() override { return name; }
  int waits = 0;
  int waitSteps = 0;
  void BeginWait(int count) override {
    ++waits;
    LyrWorkspaceVideoFrame::BeginWait(count);
  }
  void StepWait(int index) override {
    if (WaitShown()) ++waitSteps;
    LyrWorkspaceVideoFrame::StepWait(index);
  }
};

class VideoWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // a: 2 s from 1.0; b: 1 s from 4.5 (1.5 s later); c: 1 s from 8.5 (3 s later).
    const std::pair<const char*, int> files[] = {{"night/a.mpg", 50}, {"night/b.mpg", 25}, {"night/c.mpg", 25}};
    for (const auto& [name, frames] : files) {
      SampleVideoSpec s;
      s.path = name;
      s.frames = frames;
      Sample(s);
    }
  }
  void SetUp() override {
    // Lengths still to be measured (version 1, negative ends).
    std::vector<VideoFileRecord> r = {{1.0, -1.0, "night/a.mpg", {{0.0, -1.0}}},
                                      {4.5, -1.0, "night/b.mpg", {{0.0, -1.0}}},
                                      {8.5, -1.0, "night/c.mpg", {{0.0, -1.0}}}};
    std::string bytes = EncodeRangeFile(0, r);
    bytes = std::string("\x01\x00", 2) + bytes.substr(4);
    ASSERT_TRUE(sys::WriteFileAtomic((Folder() / "night" / "night.hdr").string(), bytes));
    DocumentLoaded = 1;
    frame.Video = &video;
    video.Host = &frame;
    frame.name = (Folder() / "night" / "night.hdr").string();
    // Room for the surface above the clock line and the location bar.
    ASSERT_TRUE(frame.Create(nullptr, 0, {0, 0, 240, 300}));
    frame.ShowWindow(ui::SW_SHOW);
    testhooks::ProcessMessages();
    ASSERT_EQ(video.LoadVideoDllFrom(LibraryPath()), 1);
    ASSERT_EQ(video.InitVideoDll(), 1);
    ASSERT_EQ(video.OpenVideo(1), 1);
    ASSERT_EQ(video.Records().size(), 3u);
  }
  void TearDown() override {
    video.UnloadVideoDll();
    video.Host = nullptr;
    DocumentLoaded = 0;
  }
  // The frame number the surface shows (-1: none readable), and its colour at a point.
  draw::Image Surface() { return testhooks::RenderWindow(*frame.Base()->Surface()); }
  static int CodeOf(const draw::Image& img) {
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(img.Width()) * img.Height() * 4);
    for (int y = 0; y < img.Height(); ++y)
      for (int x = 0; x < img.Width(); ++x) {
        const draw::ColorRef c = img.GetPixel(x, y);
        std::uint8_t* p = &bits[(static_cast<std::size_t>(y) * img.Width() + x) * 4];
        p[0] = static_cast<std::uint8_t>(draw::GetBValue(c));
        p[1] = static_cast<std::uint8_t>(draw::GetGValue(c));
        p[2] = static_cast<std::uint8_t>(draw::GetRValue(c));
      }
    return ReadFrameCode(bits.data(), img.Width(), img.Height(), img.Width() * 4);
  }
  // Runs the messages until a condition holds (the player's own thread posts them).
  template <class F>
  bool RunUntil(F done) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done() && std::chrono::steady_clock::now() < give_up) {
      testhooks::ProcessMessages();
      std::this_thread::yield();
    }
    return done();
  }
  CVPInfoExchange video;  // outlives the window that is its host
  TestVideoFrame frame;
};

TEST_F(VideoWindow, SetLengthsAreMeasuredAndTheSurfaceFollowsTheWaveTime) {
  EXPECT_EQ(frame.waits, 1) << "one wait dialog while the lengths were read";
  EXPECT_EQ(frame.waitSteps, 3);
  EXPECT_EQ(sys::ReadWholeFile(frame.name).value_or("").substr(0, 2), std::string("\x02\x00", 2)) << "rewritten";
  EXPECT_NEAR(video.Records()[0].endTime, 3.0, kFd);
  EXPECT_NEAR(video.Records()[2].endTime, 9.5, kFd);
  EXPECT_DOUBLE_EQ(video.AnalysisStartSeconds, kRecordStart);
  const struct {
    double t;
    int file;
    double fileStart;
  } cases[] = {{1.0, 0, 1.0}, {1.5, 0, 1.0}, {2.62, 0, 1.0}, {4.5, 1, 4.5}, {5.02, 1, 4.5}, {8.5, 2, 8.5}, {9.3, 2, 8.5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.t);
    video.ShowVideoAtTime(c.t);
    EXPECT_EQ(video.CurrentFile, c.file);
    const int shown = CodeOf(Surface());
    ASSERT_GE(shown, 0);
    EXPECT_NEAR(c.fileStart + shown * kFd, video.CurrentTime, kFd / 2 + 1e-6) << "the frame of the current time";
    EXPECT_NEAR(c.fileStart + shown * kFd, c.t, kFd + 1e-6) << "within one frame of the wave time";
  }
  // The gaps are blue.
  for (double gap : {3.8, 6.0, 7.9}) {
    video.ShowVideoAtTime(gap);
    const draw::Image img = Surface();
    EXPECT_EQ(img.GetPixel(img.Width() / 2, img.Height() / 2), draw::Rgb(0, 0, 250)) << gap;
  }
}

TEST_F(VideoWindow, PlayingCrossesTheShortGapAndStopsAtTheLongOne) {
  video.ShowVideoAtTime(2.6);
  frame.SetPlaying();
  ASSERT_TRUE(frame.Playing);
  ASSERT_TRUE(RunUntil([&] { return video.CurrentFile == 1; })) << "b after a's end, 1.5 s later";
  EXPECT_TRUE(frame.Playing);
  ASSERT_TRUE(RunUntil([&] { return !frame.Playing; })) << "c is 3 s after b";
  EXPECT_EQ(video.CurrentFile, 1);
  EXPECT_NEAR(video.CurrentTime, 5.5, kFd) << "b played to its end";
}

}  // namespace
