#pragma once
// The entry points of the video player library (QXVideoPlayerDX beside the program), bound
// by name. Every call but DLL_VideoDisp, DLL_CheckNotify and DLL_CheckEventCode ends with a
// reserved 0. Frames are signed 64-bit numbers; times are seconds from the open file's start.
// Window and device-context handles are the plain-C handles below, passed as void*.
#include <cstdint>

extern "C" {
// A window as the library sees it. post queues a message to the window and may be called from
// any thread; clientSize answers on the user-interface thread. repaintMessage, posted to the
// surface window, asks it to repaint itself (from any thread).
struct QlmNativeWindow {
  void* window;
  int (*post)(void* window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  void (*clientSize)(void* window, int* width, int* height);
  std::uint32_t repaintMessage;
};
// A device context as the library sees it: drawBits stretches 32-bit rows (blue, green, red,
// unused; top row first) of bitsWidth x bitsHeight into the rectangle (x, y, width, height),
// clipped to the device.
struct QlmNativeDc {
  void* dc;
  int (*drawBits)(void* dc, int x, int y, int width, int height, const std::uint8_t* bits, int bitsWidth,
                  int bitsHeight);
};

using DLL_InitDll_t = int (*)(int);
using DLL_CloseDll_t = int (*)(int);
using DLL_InitDShow_t = int (*)(void* videoFrameWindow, int);
using DLL_EndDShow_t = int (*)(int);
using DLL_SetPlayMPEGFile_t = int (*)(const char* path, void* surfaceWindow, int);
using DLL_GetMPEGFileDurationTimeSec_t = int (*)(const char* path, double* seconds, int);
using DLL_GetVideoWidth_t = int (*)(int* width, int);
using DLL_GetVideoHeight_t = int (*)(int* height, int);
using DLL_SetWindowPosition_t = int (*)(int x, int y, int width, int height, int);
// split: kind, column and row as three 16-bit values in one 8-byte block.
using DLL_VideoPaint_t = int (*)(void* dc, void* surfaceWindow, const std::uint16_t* split, int);
using DLL_VideoDisp_t = int (*)(int show);
using DLL_SetVideoRate_t = int (*)(int rateCode, int);
using DLL_VideoRun_t = int (*)(int);
using DLL_VideoPause_t = int (*)(int);
using DLL_VideoStop_t = int (*)(int);
using DLL_GetCurrentBuffer_t = int (*)(int);
using DLL_ConvertTime2Frame_t = int (*)(double time, std::int64_t* frame, int);
using DLL_ConvertFrame2Time_t = int (*)(std::int64_t frame, double* time, int);
using DLL_SetPositions_t = int (*)(const std::int64_t* start, const std::int64_t* stop, int);
using DLL_GetPositions_t = int (*)(std::int64_t* current, std::int64_t* stop, int);
using DLL_SetOneShot_t = int (*)(int oneShot, int);
using DLL_StepFrame_t = int (*)(int frames, int);
using DLL_CheckNotify_t = int (*)(std::uint32_t message);
using DLL_GetEvent_t = int (*)(long* code, std::intptr_t* param1, std::intptr_t* param2, int);
using DLL_FreeEvent_t = int (*)(long code, std::intptr_t param1, std::intptr_t param2, int);
using DLL_CheckEventCode_t = std::uint16_t (*)(long code);
}

// The bound entry points; each null while unbound or missing from the library.
struct VideoPlayerEntryPoints {
  DLL_InitDll_t InitDll = nullptr;
  DLL_CloseDll_t CloseDll = nullptr;
  DLL_InitDShow_t InitDShow = nullptr;
  DLL_EndDShow_t EndDShow = nullptr;
  DLL_SetPlayMPEGFile_t SetPlayMPEGFile = nullptr;
  DLL_GetMPEGFileDurationTimeSec_t GetMPEGFileDurationTimeSec = nullptr;
  DLL_GetVideoWidth_t GetVideoWidth = nullptr;
  DLL_GetVideoHeight_t GetVideoHeight = nullptr;
  DLL_SetWindowPosition_t SetWindowPosition = nullptr;
  DLL_VideoPaint_t VideoPaint = nullptr;
  DLL_VideoDisp_t VideoDisp = nullptr;
  DLL_SetVideoRate_t SetVideoRate = nullptr;
  DLL_VideoRun_t VideoRun = nullptr;
  DLL_VideoPause_t VideoPause = nullptr;
  DLL_VideoStop_t VideoStop = nullptr;
  DLL_GetCurrentBuffer_t GetCurrentBuffer = nullptr;
  DLL_ConvertTime2Frame_t ConvertTime2Frame = nullptr;
  DLL_ConvertFrame2Time_t ConvertFrame2Time = nullptr;
  DLL_SetPositions_t SetPositions = nullptr;
  DLL_GetPositions_t GetPositions = nullptr;
  DLL_SetOneShot_t SetOneShot = nullptr;
  DLL_StepFrame_t StepFrame = nullptr;
  DLL_CheckNotify_t CheckNotify = nullptr;
  DLL_GetEvent_t GetEvent = nullptr;
  DLL_FreeEvent_t FreeEvent = nullptr;
  DLL_CheckEventCode_t CheckEventCode = nullptr;
};
