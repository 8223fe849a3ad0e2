#pragma once
// The AVI output window (modeless, template 298): the film's file, its frame rate and the
// longest film that memory allows, a speed check of the frame grabs, and Start. The main frame
// creates it and destroys it through CMainFrame::CloseAviDlg, and its timers 8104 (capture
// step) and 8107 (speed check) drive the film through the operations below: each step grabs
// the main window into memory, and the end of the capture writes the frames with the chosen
// compressor (full frames or Motion-JPEG).
#include <cstdint>
#include <string>
#include <vector>

#include "app/video/lyr_dlg_avi_compressor.h"
#include "platform/ui/dialog.h"

inline constexpr int IDD_MAKE_AVI = 298;

class LyrDlgMakeAvi : public ui::Dialog {
 public:
  static constexpr int kPathButton = 1568;
  static constexpr int kPathText = 1569;
  static constexpr int kMaxTime = 9123;
  static constexpr int kRateCombo = 9124;
  static constexpr int kStatus = 9125;
  static constexpr int kProgress = 9126;
  static constexpr int kMaxFps = 9127;
  static constexpr int kCheck = 1767;

  // The frame rates offered, in combo order.
  struct RateEntry {
    const char* text;
    int rate;
  };
  static constexpr RateEntry kRates[] = {{" 5", 5}, {"10", 10}, {"15", 15}, {"20", 20}, {"30", 30}};

  explicit LyrDlgMakeAvi(ui::Window* parent = nullptr);
  // Non-zero while capturing or checking the speed.
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
  // The compressor the film is written with (chosen at Start).
  AviCompressorChoice Compressor;
  // Frames captured so far: bottom-up DIB rows of the main window's client area, oldest
  // first, with the size and bit count of the last one grabbed.
  std::vector<std::vector<std::uint8_t>> Frames;
  std::int32_t FrameWidth = 0;
  std::int32_t FrameHeight = 0;
  std::uint16_t FrameBitsPerPixel = 0;

  bool OnInitDialog() override;
  // Start: asks for the file when none is chosen, then for the compressor, and arms the
  // capture timer of the main frame.
  void OnOK() override;
  // Close; while the speed check runs it ends the check instead (the Esc key).
  void OnCancel() override;
  void OnChoosePath();
  void OnRateChange();
  void OnSpeedCheck();

  // The compressor choice and its test on the film's file: 0 usable, -1 cancelled, -2 the
  // choice cannot write this film.
  int ChooseCompressor();
  // Whether the chosen compressor can write a film of the main window into the chosen file
  // (nothing is left on disk by the test).
  bool TestCompressor() const;

  // Longest film in seconds at the rate: 80% of the available memory over the size of one
  // frame; for full frames also no longer than one file holds.
  std::int32_t MaxCaptureTime(int rate) const;
  static std::int64_t MaxCaptureSeconds(std::uint64_t availableBytes, std::uint64_t frameBytes, int rate);
  // Recomputes and shows the longest film (after a rate change or a new size of the main window).
  void UpdateMaxTime();
  // Period of the capture timer: a little faster than the rate.
  static std::uint32_t CapturePeriodMs(int rate) { return static_cast<std::uint32_t>(1000 / (rate + 1)); }
  // The table rate shown for the longest interval between speed-check grabs.
  static int RateForLongestInterval(std::int64_t longestMs);

  // The clock the steps read.
  virtual std::int64_t NowMs() const;
  // Grabs the main window's client area (the parent's) as one frame and appends it; false
  // when there is no window to grab or no memory for the frame.
  virtual bool CaptureFrame();
  // Writes the film from the captured frames at the measured rate (the chosen rate before
  // any step was timed) with the chosen compressor; true when written. A failure frees the
  // frames.
  virtual bool WriteAviFile();
  // The rate the film is written with: steps per second measured by the capture timer.
  std::uint32_t FilmRate() const;
  virtual void ReleaseCompressor() {}
  virtual void FreeFrames() {
    Frames.clear();
    Frames.shrink_to_fit();
  }
  // Shows the frame rate measured by the speed check (from the longest interval).
  virtual void ShowMeasuredRate();
  virtual void SetProgressPos(int percent);
  // Shows that the film is being written.
  virtual void ShowCapturingText(const std::string& text);
  int ProgressPos = 0;
  std::string StatusText;

 private:
  void ResetTiming();
  // The main window's size as the film will show it (each at least 1).
  void FilmSize(std::int32_t* width, std::int32_t* height) const;
  // The window the film shows (the main frame).
  ui::Window* mainWindow_ = nullptr;
};
