// The video player library without a picture decoder: every entry point of the interface
// exists, the player keeps its play stretch and rate, and no file can be opened or measured.
#include <cstdint>

#include "app/video/video_player_abi.h"

#define QX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
struct PlayerState {
  bool initialised = false;
  bool built = false;
  int rate = 2;
  std::int64_t start = 0;
  std::int64_t stop = 0;
};
PlayerState g;
constexpr double kFrameSeconds = 1.0 / 30.0;
}  // namespace

QX_EXPORT int DLL_InitDll(int) {
  g = PlayerState{};
  g.initialised = true;
  return 1;
}
QX_EXPORT int DLL_CloseDll(int) {
  g = PlayerState{};
  return 1;
}
QX_EXPORT int DLL_InitDShow(void*, int) {
  g.built = true;
  return 1;
}
QX_EXPORT int DLL_EndDShow(int) {
  g.built = false;
  return 1;
}
QX_EXPORT int DLL_SetPlayMPEGFile(const char*, void*, int) { return 0; }
QX_EXPORT int DLL_GetMPEGFileDurationTimeSec(const char*, double* seconds, int) {
  if (seconds) *seconds = 0.0;
  return 0;
}
QX_EXPORT int DLL_GetVideoWidth(int* width, int) {
  if (width) *width = 0;
  return 1;
}
QX_EXPORT int DLL_GetVideoHeight(int* height, int) {
  if (height) *height = 0;
  return 1;
}
QX_EXPORT int DLL_SetWindowPosition(int, int, int, int, int) { return 1; }
QX_EXPORT int DLL_VideoPaint(void*, void*, const std::uint16_t*, int) { return 1; }
QX_EXPORT int DLL_VideoDisp(int) { return 1; }
QX_EXPORT int DLL_SetVideoRate(int rate, int) {
  g.rate = rate;
  return 1;
}
QX_EXPORT int DLL_VideoRun(int) { return 0; }
QX_EXPORT int DLL_VideoPause(int) { return 1; }
QX_EXPORT int DLL_VideoStop(int) { return 1; }
QX_EXPORT int DLL_GetCurrentBuffer(int) { return 1; }
QX_EXPORT int DLL_ConvertTime2Frame(double time, std::int64_t* frame, int) {
  if (frame) *frame = static_cast<std::int64_t>(time / kFrameSeconds);
  return 1;
}
QX_EXPORT int DLL_ConvertFrame2Time(std::int64_t frame, double* time, int) {
  if (time) *time = static_cast<double>(frame) * kFrameSeconds;
  return 1;
}
QX_EXPORT int DLL_SetPositions(const std::int64_t* start, const std::int64_t* stop, int) {
  if (start) g.start = *start;
  if (stop) g.stop = *stop;
  return 1;
}
QX_EXPORT int DLL_GetPositions(std::int64_t* current, std::int64_t* stop, int) {
  if (current) *current = g.start;
  if (stop) *stop = g.stop;
  return 1;
}
QX_EXPORT int DLL_SetOneShot(int, int) { return 1; }
QX_EXPORT int DLL_StepFrame(int frames, int) {
  g.start += frames;
  return 1;
}
QX_EXPORT int DLL_CheckNotify(std::uint32_t) { return 0; }
QX_EXPORT int DLL_GetEvent(long* code, std::intptr_t* p1, std::intptr_t* p2, int) {
  if (code) *code = 0;
  if (p1) *p1 = 0;
  if (p2) *p2 = 0;
  return 0;
}
QX_EXPORT int DLL_FreeEvent(long, std::intptr_t, std::intptr_t, int) { return 1; }
QX_EXPORT std::uint16_t DLL_CheckEventCode(long) { return 0xFFFF; }
