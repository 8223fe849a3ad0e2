#include "app/video/lyr_dlg_make_avi.h"

#include "platform/system/clock.h"

std::int64_t LyrDlgMakeAvi::NowMs() const { return sys::MultimediaTimeMs(); }

bool LyrDlgMakeAvi::CaptureFrame() {
  ++CapturedFrames;
  return true;
}

// No film writer is bound yet: the frame reports the film as not created.
bool LyrDlgMakeAvi::WriteAviFile() { return false; }
