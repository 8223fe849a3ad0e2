// The video player library: opens MPEG-1, MPEG-2, MPEG-4 Part 2 and H.264 files (in .mpg, .avi
// and .mp4 containers), shows single frames, steps, and plays a stretch of frames in real time
// on a thread of its own. Its notifications reach the video frame window as posted messages;
// pictures are drawn into the surface through the device-context handle it is given.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

#include "app/video/video_player_abi.h"
#include "video_decoder.h"

#define QX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// The library's notification message (posted to the video frame window) and its events.
constexpr std::uint32_t kNotifyMessage = 0x8000 + 0x0351;
constexpr long kEventComplete = 1;  // the stretch played to its stop frame
constexpr long kEventAbort = 2;     // playing ended without reaching it (a picture failed)

struct Event {
  long code;
  std::intptr_t p1;
  std::intptr_t p2;
};

struct Player {
  std::mutex lock;  // guards everything below but the decoder while the play thread runs
  bool initialised = false;
  bool built = false;
  QlmNativeWindow notifyWindow{};
  QlmNativeWindow surfaceWindow{};
  VideoDecoder decoder;
  std::vector<std::uint8_t> picture;
  int pictureWidth = 0;
  int pictureHeight = 0;
  std::int64_t current = 0;
  std::int64_t stop = 0;
  int x = 0, y = 0, width = 0, height = 0;
  bool shown = true;
  int rateCode = 2;
  std::deque<Event> events;
  // The play thread and its stop request.
  std::thread thread;
  bool stopRequested = false;
  std::condition_variable wake;

  ~Player() {
    {
      std::lock_guard g(lock);
      stopRequested = true;
    }
    wake.notify_all();
    if (thread.joinable()) thread.join();
  }
};

Player& P() {
  static Player p;
  return p;
}

void Post(const QlmNativeWindow& w, std::uint32_t message) {
  if (w.post != nullptr) w.post(w.window, message, 0, 0);
}

QlmNativeWindow CopyHandle(void* handle) {
  if (handle == nullptr) return QlmNativeWindow{};
  return *static_cast<const QlmNativeWindow*>(handle);
}

// Takes the decoder's current picture (caller holds the lock).
void TakePicture(Player& p) {
  p.picture = p.decoder.Picture();
  p.pictureWidth = p.decoder.Width();
  p.pictureHeight = p.decoder.Height();
  p.current = p.decoder.Current();
}

// Playing speed factor of a rate code: 2 normal, each step doubling or halving.
double SpeedOf(int rateCode) {
  const int code = std::clamp(rateCode, 0, 4);
  return static_cast<double>(1 << code) / 4.0;
}

void StopThread(Player& p) {
  {
    std::lock_guard g(p.lock);
    p.stopRequested = true;
  }
  p.wake.notify_all();
  if (p.thread.joinable()) p.thread.join();
  std::lock_guard g(p.lock);
  p.stopRequested = false;
}

void PlayLoop(Player* pp) {
  Player& p = *pp;
  using Clock = std::chrono::steady_clock;
  const auto started = Clock::now();
  std::int64_t first = 0;
  std::int64_t stop = 0;
  double frameSeconds = 0.0;
  double speed = 1.0;
  {
    std::lock_guard g(p.lock);
    first = p.current;
    stop = std::min(p.stop, p.decoder.FrameCount() - 1);
    frameSeconds = p.decoder.FrameDuration();
    speed = SpeedOf(p.rateCode);
  }
  long ending = kEventComplete;
  for (;;) {
    std::int64_t shown = 0;
    {
      std::lock_guard g(p.lock);
      shown = p.current;
    }
    if (shown >= stop) break;
    // The next picture is due at its place on the clock started with the run.
    const auto due = started + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                   static_cast<double>(shown + 1 - first) * frameSeconds / speed));
    const bool decoded = p.decoder.NextFrame();
    std::unique_lock g(p.lock);
    if (p.wake.wait_until(g, due, [&p] { return p.stopRequested; })) return;
    if (!decoded || p.decoder.Current() <= shown) {
      ending = p.decoder.Current() <= shown && shown + 1 >= p.decoder.FrameCount() ? kEventComplete : kEventAbort;
      break;
    }
    TakePicture(p);
    Post(p.surfaceWindow, p.surfaceWindow.repaintMessage);
  }
  std::lock_guard g(p.lock);
  p.events.push_back({ending, 0, 0});
  Post(p.notifyWindow, kNotifyMessage);
}

bool HasFile(Player& p) { return p.decoder.IsOpen(); }

}  // namespace

QX_EXPORT int DLL_InitDll(int) {
  Player& p = P();
  StopThread(p);
  std::lock_guard g(p.lock);
  p.initialised = true;
  return 1;
}

QX_EXPORT int DLL_CloseDll(int) {
  Player& p = P();
  StopThread(p);
  std::lock_guard g(p.lock);
  p.decoder.Close();
  p.picture.clear();
  p.events.clear();
  p.built = false;
  p.initialised = false;
  return 1;
}

QX_EXPORT int DLL_InitDShow(void* videoFrameWindow, int) {
  Player& p = P();
  StopThread(p);
  std::lock_guard g(p.lock);
  p.notifyWindow = CopyHandle(videoFrameWindow);
  p.built = true;
  return 1;
}

QX_EXPORT int DLL_EndDShow(int) {
  Player& p = P();
  StopThread(p);
  std::lock_guard g(p.lock);
  p.decoder.Close();
  p.picture.clear();
  p.pictureWidth = p.pictureHeight = 0;
  p.current = p.stop = 0;
  p.events.clear();
  p.built = false;
  return 1;
}

QX_EXPORT int DLL_SetPlayMPEGFile(const char* path, void* surfaceWindow, int) {
  Player& p = P();
  if (path == nullptr) return 0;
  StopThread(p);
  std::lock_guard g(p.lock);
  p.surfaceWindow = CopyHandle(surfaceWindow);
  if (!p.decoder.Open(path)) {
    p.picture.clear();
    return 0;
  }
  TakePicture(p);
  p.stop = p.decoder.FrameCount() - 1;
  return 1;
}

QX_EXPORT int DLL_GetMPEGFileDurationTimeSec(const char* path, double* seconds, int) {
  if (seconds != nullptr) *seconds = 0.0;
  if (path == nullptr) return 0;
  VideoDecoder d;
  if (!d.Open(path)) return 0;
  if (seconds != nullptr) *seconds = d.LengthSeconds();
  return 1;
}

QX_EXPORT int DLL_GetVideoWidth(int* width, int) {
  Player& p = P();
  std::lock_guard g(p.lock);
  if (width != nullptr) *width = p.decoder.Width();
  return HasFile(p) ? 1 : 0;
}

QX_EXPORT int DLL_GetVideoHeight(int* height, int) {
  Player& p = P();
  std::lock_guard g(p.lock);
  if (height != nullptr) *height = p.decoder.Height();
  return HasFile(p) ? 1 : 0;
}

QX_EXPORT int DLL_SetWindowPosition(int x, int y, int width, int height, int) {
  Player& p = P();
  std::lock_guard g(p.lock);
  p.x = x;
  p.y = y;
  p.width = width;
  p.height = height;
  return 1;
}

QX_EXPORT int DLL_VideoPaint(void* dc, void* surfaceWindow, const std::uint16_t*, int) {
  Player& p = P();
  std::lock_guard g(p.lock);
  if (!p.shown || p.picture.empty() || dc == nullptr) return 1;
  const auto* d = static_cast<const QlmNativeDc*>(dc);
  if (d->drawBits == nullptr) return 0;
  int x = p.x, y = p.y, w = p.width, h = p.height;
  if (w <= 0 || h <= 0) {
    // No rectangle given: the whole surface.
    x = y = 0;
    const QlmNativeWindow surface = CopyHandle(surfaceWindow);
    if (surface.clientSize != nullptr) surface.clientSize(surface.window, &w, &h);
    if (w <= 0 || h <= 0) return 1;
  }
  return d->drawBits(d->dc, x, y, w, h, p.picture.data(), p.pictureWidth, p.pictureHeight) != 0 ? 1 : 0;
}

QX_EXPORT int DLL_VideoDisp(int show) {
  Player& p = P();
  std::lock_guard g(p.lock);
  p.shown = show != 0;
  return 1;
}

QX_EXPORT int DLL_SetVideoRate(int rateCode, int) {
  Player& p = P();
  std::lock_guard g(p.lock);
  p.rateCode = rateCode;
  return 1;
}

QX_EXPORT int DLL_VideoRun(int) {
  Player& p = P();
  StopThread(p);
  std::lock_guard g(p.lock);
  if (!HasFile(p)) return 0;
  p.thread = std::thread(PlayLoop, &p);
  return 1;
}

QX_EXPORT int DLL_VideoPause(int) {
  StopThread(P());
  return 1;
}

QX_EXPORT int DLL_VideoStop(int) {
  StopThread(P());
  return 1;
}

QX_EXPORT int DLL_GetCurrentBuffer(int) {
  Player& p = P();
  std::lock_guard g(p.lock);
  return p.picture.empty() ? 0 : 1;
}

QX_EXPORT int DLL_ConvertTime2Frame(double time, std::int64_t* frame, int) {
  Player& p = P();
  std::lock_guard g(p.lock);
  if (frame == nullptr || !HasFile(p)) return 0;
  // The frame shown at a time: the one whose display interval holds it.
  *frame = static_cast<std::int64_t>(std::floor(time / p.decoder.FrameDuration() + 1e-6));
  return 1;
}

QX_EXPORT int DLL_ConvertFrame2Time(std::int64_t frame, double* time, int) {
  Player& p = P();
  std::lock_guard g(p.lock);
  if (time == nullptr || !HasFile(p)) return 0;
  *time = static_cast<double>(frame) * p.decoder.FrameDuration();
  return 1;
}

QX_EXPORT int DLL_SetPositions(const std::int64_t* start, const std::int64_t* stop, int) {
  Player& p = P();
  StopThread(p);
  std::lock_guard g(p.lock);
  if (!HasFile(p)) return 0;
  if (stop != nullptr) p.stop = *stop;
  if (start != nullptr) {
    if (!p.decoder.ShowFrame(*start)) return 0;
    TakePicture(p);
    Post(p.surfaceWindow, p.surfaceWindow.repaintMessage);
  }
  return 1;
}

QX_EXPORT int DLL_GetPositions(std::int64_t* current, std::int64_t* stop, int) {
  Player& p = P();
  std::lock_guard g(p.lock);
  if (current != nullptr) *current = p.current;
  if (stop != nullptr) *stop = p.stop;
  return HasFile(p) ? 1 : 0;
}

QX_EXPORT int DLL_SetOneShot(int, int) { return 1; }

QX_EXPORT int DLL_StepFrame(int frames, int) {
  Player& p = P();
  StopThread(p);
  std::lock_guard g(p.lock);
  if (!HasFile(p)) return 0;
  const bool ok = frames == 1 ? p.decoder.NextFrame() : p.decoder.ShowFrame(p.current + frames);
  if (!ok) return 0;
  TakePicture(p);
  Post(p.surfaceWindow, p.surfaceWindow.repaintMessage);
  return 1;
}

QX_EXPORT int DLL_CheckNotify(std::uint32_t message) { return message == kNotifyMessage ? 1 : 0; }

QX_EXPORT int DLL_GetEvent(long* code, std::intptr_t* p1, std::intptr_t* p2, int) {
  Player& p = P();
  std::lock_guard g(p.lock);
  if (p.events.empty()) return 0;
  const Event e = p.events.front();
  p.events.pop_front();
  if (code != nullptr) *code = e.code;
  if (p1 != nullptr) *p1 = e.p1;
  if (p2 != nullptr) *p2 = e.p2;
  return 1;
}

QX_EXPORT int DLL_FreeEvent(long, std::intptr_t, std::intptr_t, int) { return 1; }

QX_EXPORT std::uint16_t DLL_CheckEventCode(long code) {
  if (code == kEventComplete) return 0;
  if (code == kEventAbort) return 1;
  return 0xFFFF;
}
