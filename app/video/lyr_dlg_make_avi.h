#pragma once
// The AVI output window (modeless, template 298). The main frame creates it and destroys it
// through CMainFrame::CloseAviDlg, and its timers 8104 (capture step) and 8107 (speed check)
// drive the film through the operations below: each step grabs the main window into memory,
// and the end of the capture writes the frames as an uncompressed film.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/dialog.h"

inline constexpr int IDD_MAKE_AVI = 298;

class LyrDlgMakeAvi : public ui::Dialog {
 public:
  explicit LyrDlgMakeAvi(ui::Window* parent = nullptr) : ui::Dialog(IDD_MAKE_AVI, parent), mainWindow_(parent) {}
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
  // Film file and the chosen frame rate (frames per second).
  std::string AviFilePath;
  std::int32_t FrameRate = 10;
  // Frames captured so far: bottom-up DIB rows of the main window, oldest first, with the
  // size and bit count of the last one grabbed.
  std::vector<std::vector<std::uint8_t>> Frames;
  std::int32_t FrameWidth = 0;
  std::int32_t FrameHeight = 0;
  std::uint16_t FrameBitsPerPixel = 0;

  // The clock the steps read.
  virtual std::int64_t NowMs() const;
  // Grabs the main window (the parent) as one frame and appends it; false when there is no
  // window to grab or no memory for the frame.
  virtual bool CaptureFrame();
  // Writes the film from the captured frames at the measured rate (the chosen rate before
  // any step was timed); true when written. A failure frees the frames.
  virtual bool WriteAviFile();
  // The rate the film is written with: steps per second measured by the capture timer.
  std::uint32_t FilmRate() const;
  virtual void ReleaseCompressor() {}
  virtual void FreeFrames() {
    Frames.clear();
    Frames.shrink_to_fit();
  }
  // Shows the frame rate measured by the speed check (by the progress position).
  virtual void ShowMeasuredRate() {}
  virtual void SetProgressPos(int percent) { ProgressPos = percent; }
  // Shows that the film is being written.
  virtual void ShowCapturingText(const std::string& text) { StatusText = text; }
  int ProgressPos = 0;
  std::string StatusText;

 private:
  // The window the film shows (the main frame).
  ui::Window* mainWindow_ = nullptr;
};
