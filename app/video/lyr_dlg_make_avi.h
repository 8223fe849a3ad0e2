#pragma once
// The AVI output window (modeless, template 298). The main frame creates it and destroys it
// through CMainFrame::CloseAviDlg, and its timers 8104 (capture step) and 8107 (speed check)
// drive the film through the operations below. This is the part the frame needs; the film
// itself (capture of the window, compressors, the AVI writer) is the video subsystem's work.
#include <cstdint>
#include <string>

#include "platform/ui/dialog.h"

inline constexpr int IDD_MAKE_AVI = 298;

class LyrDlgMakeAvi : public ui::Dialog {
 public:
  explicit LyrDlgMakeAvi(ui::Window* parent = nullptr) : ui::Dialog(IDD_MAKE_AVI, parent) {}
  // Non-zero while capturing.
  std::uint32_t m_Capturing = 0;

  // Time base of the capture and speed-check steps (milliseconds of the multimedia clock).
  std::int64_t StartTimeMs = 0;
  std::int64_t LastTimeMs = -1;  // -1 before the first step
  std::int64_t AccumulatedMs = 0;
  std::int64_t LargestIntervalMs = 0;
  std::uint16_t StepCount = 0;
  // Longest film in seconds.
  std::int32_t MaxFilmSeconds = 60;
  // Frames captured so far.
  int CapturedFrames = 0;

  // The clock the steps read.
  virtual std::int64_t NowMs() const;
  // Captures one frame of the main window; false on failure.
  virtual bool CaptureFrame();
  // Writes the film from the captured frames; true when written.
  virtual bool WriteAviFile();
  virtual void ReleaseCompressor() {}
  virtual void FreeFrames() { CapturedFrames = 0; }
  // Shows the frame rate measured by the speed check (by the progress position).
  virtual void ShowMeasuredRate() {}
  virtual void SetProgressPos(int percent) { ProgressPos = percent; }
  // Shows that the film is being written.
  virtual void ShowCapturingText(const std::string& text) { StatusText = text; }
  int ProgressPos = 0;
  std::string StatusText;
};
