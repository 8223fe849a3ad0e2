// The video player library through its 26 entry points, bound by name, over sample files of
// each supported codec and container.
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>

#include "video_fixture.h"

namespace {

using namespace video_fixture;

struct Library {
  sys::DynamicLibrary lib;
  VideoPlayerEntryPoints dll;
  Library() {
    EXPECT_TRUE(lib.Load(LibraryPath())) << lib.LastError();
    auto bind = [this](auto& slot, const char* name) {
      slot = lib.Function<std::remove_reference_t<decltype(slot)>>(name);
      EXPECT_NE(slot, nullptr) << name;
    };
    bind(dll.InitDll, "DLL_InitDll");
    bind(dll.CloseDll, "DLL_CloseDll");
    bind(dll.InitDShow, "DLL_InitDShow");
    bind(dll.EndDShow, "DLL_EndDShow");
    bind(dll.SetPlayMPEGFile, "DLL_SetPlayMPEGFile");
    bind(dll.GetMPEGFileDurationTimeSec, "DLL_GetMPEGFileDurationTimeSec");
    bind(dll.GetVideoWidth, "DLL_GetVideoWidth");
    bind(dll.GetVideoHeight, "DLL_GetVideoHeight");
    bind(dll.SetWindowPosition, "DLL_SetWindowPosition");
    bind(dll.VideoPaint, "DLL_VideoPaint");
    bind(dll.VideoDisp, "DLL_VideoDisp");
    bind(dll.SetVideoRate, "DLL_SetVideoRate");
    bind(dll.VideoRun, "DLL_VideoRun");
    bind(dll.VideoPause, "DLL_VideoPause");
    bind(dll.VideoStop, "DLL_VideoStop");
    bind(dll.GetCurrentBuffer, "DLL_GetCurrentBuffer");
    bind(dll.ConvertTime2Frame, "DLL_ConvertTime2Frame");
    bind(dll.ConvertFrame2Time, "DLL_ConvertFrame2Time");
    bind(dll.SetPositions, "DLL_SetPositions");
    bind(dll.GetPositions, "DLL_GetPositions");
    bind(dll.SetOneShot, "DLL_SetOneShot");
    bind(dll.StepFrame, "DLL_StepFrame");
    bind(dll.CheckNotify, "DLL_CheckNotify");
    bind(dll.GetEvent, "DLL_GetEvent");
    bind(dll.FreeEvent, "DLL_FreeEvent");
    bind(dll.CheckEventCode, "DLL_CheckEventCode");
  }
};

Library& L() {
  static Library l;
  return l;
}

// A window that records the messages posted to it (from any thread).
struct RecordingWindow {
  std::mutex lock;
  std::condition_variable arrived;
  std::vector<std::uint32_t> messages;
  static int Post(void* self, std::uint32_t message, std::uintptr_t, std::intptr_t) {
    auto& w = *static_cast<RecordingWindow*>(self);
    {
      std::lock_guard g(w.lock);
      w.messages.push_back(message);
    }
    w.arrived.notify_all();
    return 1;
  }
  static void Size(void*, int* w, int* h) {
    *w = 160;
    *h = 120;
  }
  QlmNativeWindow Handle() { return QlmNativeWindow{this, &Post, &Size, 0x8000 + 7}; }
  // Waits for a message other than the repaint request; returns it.
  std::uint32_t WaitNotification() {
    std::unique_lock g(lock);
    std::uint32_t found = 0;
    arrived.wait(g, [&] {
      for (std::uint32_t m : messages)
        if (m != 0x8000 + 7) found = m;
      return found != 0;
    });
    return found;
  }
};

struct Case {
  const char* name;
  const char* codec;
  int rateNum;
  int rateDen;
  int keyInterval;
  int frames;
};

const Case kCases[] = {
    {"mpeg1.mpg", "mpeg1video", 25, 1, 15, 40},        {"mpeg2.mpg", "mpeg2video", 30000, 1001, 15, 50},
    {"mpeg4.avi", "mpeg4", 25, 1, 250, 40},            {"h264.mp4", "libx264", 30000, 1001, 250, 50},
    {"h264.avi", "libx264", 25, 1, 15, 40},
};

std::string SampleOf(const Case& c) {
  SampleVideoSpec s;
  s.path = c.name;
  s.codec = c.codec;
  s.rateNum = c.rateNum;
  s.rateDen = c.rateDen;
  s.keyInterval = c.keyInterval;
  s.frames = c.frames;
  return Sample(s);
}

class PlayerLibrary : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    dll = &L().dll;
    ASSERT_EQ(dll->InitDll(0), 1);
    frameWindow = frame.Handle();
    surfaceWindow = surface.Handle();
    ASSERT_EQ(dll->InitDShow(&frameWindow, 0), 1);
  }
  void TearDown() override {
    dll->EndDShow(0);
    dll->CloseDll(0);
  }
  // Paints the whole picture into a surface of its size and reads the frame number it shows.
  int Shown() {
    MemoryDc dc(160, 120);
    QlmNativeDc h = dc.Handle();
    const std::uint16_t split[4] = {0, 0, 0, 0};
    dll->SetWindowPosition(0, 0, 160, 120, 0);
    dll->VideoPaint(&h, &surfaceWindow, split, 0);
    return dc.Code();
  }
  const VideoPlayerEntryPoints* dll = nullptr;
  RecordingWindow frame, surface;
  QlmNativeWindow frameWindow{}, surfaceWindow{};
};

TEST_P(PlayerLibrary, MeasuresShowsStepsAndConvertsFrames) {
  const Case c = GetParam();
  const std::string path = SampleOf(c);
  const double fd = static_cast<double>(c.rateDen) / c.rateNum;
  double length = 0.0;
  ASSERT_EQ(dll->GetMPEGFileDurationTimeSec(path.c_str(), &length, 0), 1);
  EXPECT_NEAR(length, c.frames * fd, fd + 1e-9);
  ASSERT_EQ(dll->SetPlayMPEGFile(path.c_str(), &surfaceWindow, 0), 1);
  int w = 0, h = 0;
  dll->GetVideoWidth(&w, 0);
  dll->GetVideoHeight(&h, 0);
  EXPECT_EQ(w, 160);
  EXPECT_EQ(h, 120);
  const int key = std::min(c.keyInterval, c.frames - 2);
  for (std::int64_t f : {std::int64_t{0}, std::int64_t{key - 1}, std::int64_t{key}, std::int64_t{key + 1},
                         std::int64_t{c.frames - 1}, std::int64_t{3}}) {
    SCOPED_TRACE(f);
    std::int64_t at = -1;
    ASSERT_EQ(dll->ConvertTime2Frame((static_cast<double>(f) + 0.5) * fd, &at, 0), 1);
    EXPECT_EQ(at, f);
    ASSERT_EQ(dll->ConvertTime2Frame(static_cast<double>(f) * fd, &at, 0), 1);
    EXPECT_EQ(at, f);
    double start = -1.0;
    ASSERT_EQ(dll->ConvertFrame2Time(f, &start, 0), 1);
    EXPECT_NEAR(start, static_cast<double>(f) * fd, 1e-9);
    const std::int64_t stop = f + 1;
    ASSERT_EQ(dll->SetPositions(&f, &stop, 0), 1);
    dll->VideoPause(0);
    EXPECT_EQ(Shown(), f);
    std::int64_t cur = -1, st = -1;
    dll->GetPositions(&cur, &st, 0);
    EXPECT_EQ(cur, f);
    EXPECT_EQ(st, f + 1);
    if (f + 1 < c.frames) {
      ASSERT_EQ(dll->StepFrame(1, 0), 1);
      EXPECT_EQ(Shown(), f + 1);
    }
  }
  // Steps back, one at a time, through a group boundary.
  std::int64_t f = key + 2;
  const std::int64_t stop = c.frames - 1;
  ASSERT_EQ(dll->SetPositions(&f, &stop, 0), 1);
  for (std::int64_t back = key + 1; back >= key - 2; --back) {
    ASSERT_EQ(dll->SetPositions(&back, &stop, 0), 1);
    EXPECT_EQ(Shown(), back);
  }
}

INSTANTIATE_TEST_SUITE_P(Codecs, PlayerLibrary, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (char& ch : n)
                             if (ch == '.') ch = '_';
                           return n;
                         });

using PlayerRun = PlayerLibrary;

TEST_F(PlayerRun, PlaysInRealTimeToTheStopFrameThenNotifies) {
  const std::string path = SampleOf(kCases[0]);
  ASSERT_EQ(dll->SetPlayMPEGFile(path.c_str(), &surfaceWindow, 0), 1);
  const std::int64_t start = 5, stop = 15;
  dll->SetOneShot(0, 0);
  ASSERT_EQ(dll->SetPositions(&start, &stop, 0), 1);
  dll->SetVideoRate(2, 0);
  const auto began = std::chrono::steady_clock::now();
  ASSERT_EQ(dll->VideoRun(0), 1);
  const std::uint32_t message = frame.WaitNotification();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  EXPECT_GE(seconds, 0.9 * (stop - start) / 25.0);
  EXPECT_EQ(dll->CheckNotify(message), 1);
  EXPECT_EQ(dll->CheckNotify(message + 1), 0);
  long code = -1;
  std::intptr_t p1 = 0, p2 = 0;
  ASSERT_EQ(dll->GetEvent(&code, &p1, &p2, 0), 1);
  dll->FreeEvent(code, p1, p2, 0);
  EXPECT_EQ(dll->CheckEventCode(code), 0);
  EXPECT_EQ(dll->GetEvent(&code, &p1, &p2, 0), 0);
  EXPECT_EQ(Shown(), stop);
  std::int64_t cur = -1, st = -1;
  dll->GetPositions(&cur, &st, 0);
  EXPECT_EQ(cur, stop);
}

TEST_F(PlayerRun, StopEndAndCloseEndAPlayingRun) {
  const std::string path = SampleOf(kCases[0]);
  for (int how = 0; how < 3; ++how) {
    ASSERT_EQ(dll->InitDShow(&frameWindow, 0), 1);
    ASSERT_EQ(dll->SetPlayMPEGFile(path.c_str(), &surfaceWindow, 0), 1);
    const std::int64_t start = 0, stop = 39;
    dll->SetPositions(&start, &stop, 0);
    ASSERT_EQ(dll->VideoRun(0), 1);
    if (how == 0) dll->VideoStop(0);
    if (how == 1) dll->EndDShow(0);
    if (how == 2) dll->CloseDll(0);
    std::int64_t cur = -1, st = -1;
    dll->GetPositions(&cur, &st, 0);
    EXPECT_LT(cur, stop) << how;
    long code = 0;
    std::intptr_t p1 = 0, p2 = 0;
    EXPECT_EQ(dll->GetEvent(&code, &p1, &p2, 0), 0) << how;
    dll->InitDll(0);
  }
}

TEST_F(PlayerRun, PaintsItsRectangleOrNothingWhenHidden) {
  const std::string path = SampleOf(kCases[1]);
  ASSERT_EQ(dll->SetPlayMPEGFile(path.c_str(), &surfaceWindow, 0), 1);
  // (-w, 0, 2w, 2h): the top-right quarter fills the surface.
  MemoryDc dc(160, 120);
  QlmNativeDc h = dc.Handle();
  const std::uint16_t split[4] = {1, 1, 0, 0};
  dll->SetWindowPosition(-160, 0, 320, 240, 0);
  dll->VideoPaint(&h, &surfaceWindow, split, 0);
  EXPECT_TRUE(Near(dc.At(80, 100), SampleQuarterColour(1))) << std::hex << dc.At(80, 100);
  EXPECT_TRUE(Near(dc.At(10, 110), SampleQuarterColour(1)));
  dll->VideoDisp(0);
  MemoryDc hidden(160, 120);
  QlmNativeDc hh = hidden.Handle();
  dll->VideoPaint(&hh, &surfaceWindow, split, 0);
  EXPECT_EQ(hidden.draws, 0);
  dll->VideoDisp(1);
  dll->VideoPaint(&hh, &surfaceWindow, split, 0);
  EXPECT_EQ(hidden.draws, 1);
}

TEST_F(PlayerRun, MissingOrForeignFilesGiveNothingAndCutOffFilesWhatTheyHold) {
  double length = 1.0;
  const std::string missing = (Folder() / "none.mpg").string();
  EXPECT_EQ(dll->GetMPEGFileDurationTimeSec(missing.c_str(), &length, 0), 0);
  EXPECT_EQ(dll->SetPlayMPEGFile(missing.c_str(), &surfaceWindow, 0), 0);
  const std::string text = (Folder() / "text.mpg").string();
  {
    std::FILE* f = std::fopen(text.c_str(), "wb");
    std::fputs("not a video at all, only words\n", f);
    std::fclose(f);
  }
  EXPECT_EQ(dll->GetMPEGFileDurationTimeSec(text.c_str(), &length, 0), 0);
  EXPECT_EQ(dll->SetPlayMPEGFile(text.c_str(), &surfaceWindow, 0), 0);
  int w = 1;
  EXPECT_EQ(dll->GetVideoWidth(&w, 0), 0);

  // The first half of an MPEG-2 file holds about half its frames.
  const std::string full = SampleOf(kCases[1]);
  const std::string cut = (Folder() / "cut.mpg").string();
  std::filesystem::copy_file(full, cut, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::resize_file(cut, std::filesystem::file_size(full) / 2);
  ASSERT_EQ(dll->GetMPEGFileDurationTimeSec(cut.c_str(), &length, 0), 1);
  const double fd = 1001.0 / 30000.0;
  EXPECT_GT(length, 10 * fd);
  EXPECT_LT(length, 40 * fd);
  ASSERT_EQ(dll->SetPlayMPEGFile(cut.c_str(), &surfaceWindow, 0), 1);
  const std::int64_t last = static_cast<std::int64_t>(std::llround(length / fd)) - 1;
  const std::int64_t stop = last + 1;
  ASSERT_EQ(dll->SetPositions(&last, &stop, 0), 1);
  EXPECT_EQ(Shown(), last);
}

}  // namespace
