#pragma once
// A stand-in video player library at 25 frames per second: it records what the controller asks
// and answers file lengths from a table, so that the controller's arithmetic shows plainly.
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/video/cvp_info_exchange.h"

namespace fake_player {

struct State {
  std::map<std::string, double> lengths;  // by path
  std::vector<std::string> opened;
  std::int64_t start = 0, stop = 0;
  int x = 0, y = 0, w = 0, h = 0;
  int runs = 0, stops = 0, pauses = 0, ends = 0;
  int shown = 1;
  std::vector<long> events;
};

inline State& S() {
  static State s;
  return s;
}

extern "C" {
inline int Ok(int) { return 1; }
inline int InitDShow(void*, int) { return 1; }
inline int EndDShow(int) {
  ++S().ends;
  return 1;
}
inline int Open(const char* path, void*, int) {
  S().opened.push_back(path);
  return 1;
}
inline int Duration(const char* path, double* seconds, int) {
  auto it = S().lengths.find(path);
  if (it == S().lengths.end()) return 0;
  *seconds = it->second;
  return 1;
}
inline int Width(int* w, int) {
  *w = 320;
  return 1;
}
inline int Height(int* h, int) {
  *h = 240;
  return 1;
}
inline int WindowPosition(int x, int y, int w, int h, int) {
  S().x = x;
  S().y = y;
  S().w = w;
  S().h = h;
  return 1;
}
inline int Paint(void*, void*, const std::uint16_t*, int) { return 1; }
inline int Disp(int show) {
  S().shown = show;
  return 1;
}
inline int Rate(int, int) { return 1; }
inline int Run(int) {
  ++S().runs;
  return 1;
}
inline int Pause(int) {
  ++S().pauses;
  return 1;
}
inline int StopPlay(int) {
  ++S().stops;
  return 1;
}
inline int Time2Frame(double t, std::int64_t* f, int) {
  *f = static_cast<std::int64_t>(std::floor(t * 25.0 + 1e-6));
  return 1;
}
inline int Frame2Time(std::int64_t f, double* t, int) {
  *t = static_cast<double>(f) / 25.0;
  return 1;
}
inline int SetPositions(const std::int64_t* a, const std::int64_t* b, int) {
  S().start = *a;
  S().stop = *b;
  return 1;
}
inline int GetPositions(std::int64_t* a, std::int64_t* b, int) {
  *a = S().start;
  *b = S().stop;
  return 1;
}
inline int OneShot(int, int) { return 1; }
inline int Step(int n, int) {
  S().start += n;
  return 1;
}
inline int CheckNotify(std::uint32_t m) { return m == 77 ? 1 : 0; }
inline int GetEvent(long* code, std::intptr_t* a, std::intptr_t* b, int) {
  if (S().events.empty()) return 0;
  *code = S().events.front();
  S().events.erase(S().events.begin());
  *a = *b = 0;
  return 1;
}
inline int FreeEvent(long, std::intptr_t, std::intptr_t, int) { return 1; }
inline std::uint16_t EventCode(long code) { return static_cast<std::uint16_t>(code); }
}

inline VideoPlayerEntryPoints Table() {
  VideoPlayerEntryPoints t;
  t.InitDll = &Ok;
  t.CloseDll = &Ok;
  t.InitDShow = &InitDShow;
  t.EndDShow = &EndDShow;
  t.SetPlayMPEGFile = &Open;
  t.GetMPEGFileDurationTimeSec = &Duration;
  t.GetVideoWidth = &Width;
  t.GetVideoHeight = &Height;
  t.SetWindowPosition = &WindowPosition;
  t.VideoPaint = &Paint;
  t.VideoDisp = &Disp;
  t.SetVideoRate = &Rate;
  t.VideoRun = &Run;
  t.VideoPause = &Pause;
  t.VideoStop = &StopPlay;
  t.GetCurrentBuffer = &Ok;
  t.ConvertTime2Frame = &Time2Frame;
  t.ConvertFrame2Time = &Frame2Time;
  t.SetPositions = &SetPositions;
  t.GetPositions = &GetPositions;
  t.SetOneShot = &OneShot;
  t.StepFrame = &Step;
  t.CheckNotify = &CheckNotify;
  t.GetEvent = &GetEvent;
  t.FreeEvent = &FreeEvent;
  t.CheckEventCode = &EventCode;
  return t;
}

// The windows around the controller: a surface of a given size, the play/stop toggle of the
// video frame, and counts of what was shown.
struct Host : CVPHost {
  CVPInfoExchange* video = nullptr;
  int width = 100, height = 100;
  std::array<std::uint16_t, 3> split{0, 0, 0};
  bool playing = false;
  int noPicture = 0;
  int autoPlayDialogs = 0;
  double startOffset = 0.0, rate = 500.0, seconds = 100.0;
  std::string videoName;
  std::vector<double> waveSyncs;
  bool synchronised = true;
  void SurfaceClientSize(int& w, int& h) override {
    w = width;
    h = height;
  }
  void ShowNoPicture() override { ++noPicture; }
  bool IsPlaying() override { return playing; }
  void SetPlayingFlag(bool p) override { playing = p; }
  void TogglePlaying() override {
    if (playing) {
      playing = false;
      video->Stop();
    } else {
      playing = true;
      video->Play();
    }
  }
  bool VideoSynchronised() override { return synchronised; }
  void SetVideoSynchronised(bool on) override { synchronised = on; }
  void SyncWaveToVideo(double s) override { waveSyncs.push_back(s); }
  std::array<std::uint16_t, 3> SplitWords() override { return split; }
  void SetSplitWords(const std::array<std::uint16_t, 3>& w) override { split = w; }
  double RecordingStartOffset() override { return startOffset; }
  double HighestSamplingRate() override { return rate; }
  double RecordingSeconds() override { return seconds; }
  double EpochSeconds() override { return 2.0; }
  std::string VideoName() override { return videoName; }
  void ShowAutoPlayDialog(int) override { ++autoPlayDialogs; }
};

}  // namespace fake_player
