#pragma once
// The result-file comparison window ("Hypnogram Utility"): an overlapped frame of its own with
// menu 227, opened by the main frame's Result File Compare command. It holds one record per
// loaded result file, which its hypnogram panes (the trend window's hypnogram classes in
// utility mode) read their stages, times and cursor from.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/results/utility_result_file.h"
#include "platform/ui/frame.h"

inline constexpr std::uint32_t IDR_UTILITY_HYPNOGRAM = 227;

class LyrUtilityHypnogramFrame : public ui::Frame {
 public:
  LyrUtilityHypnogramFrame();
  // The time scale of the window's graphs in minutes.
  void SetTrendTimeScale(int minutes) { m_TimeScaleMinutes = minutes; }
  void OnClose() override;
  void PostNcDestroy() override;

  int m_TimeScaleMinutes = 0;
  // Told after the window is gone, so that its opener forgets it.
  std::function<void()> Closed;

  // The loaded result files (slots 0 .. Files.Count() - 1).
  UtilityResultFiles Files;
  // The windows that show the files' hypnograms (repainted by RedrawStageAreas).
  std::vector<ui::Window*> StageAreas;
  int StageAreaRedraws = 0;

  // ---- What the hypnogram panes ask of a file ----
  void GetStageTypeParam(int file, StageTypeParam& out) const;
  // Stage code of an epoch merged by mode; 0 out of range.
  int GetStage(int file, int mode, std::int32_t epoch, int slot) const;
  int EpochCount(int file) const;
  int IsTimeScaleEpoch(int file, std::int32_t epoch) const;
  int GetTimeScaleOffset(int file, int step, std::int32_t epoch, int width) const;
  std::int32_t GetTimeScaleStart(int file, std::int32_t epoch, std::int32_t& start, std::int32_t& end) const;
  std::int32_t GetEpochMarker(int file, int mode) const;
  void SetCursorEpoch(int file, int line, std::int32_t epoch);
  // 0: markers := -1; 1: previous markers := -1; other: both.
  void ClearEpochMarkers(int mode);
  void RedrawStageAreas();
  using TimeParts = UtilityTimeParts;
  TimeParts GetEpochTimeParts(int file, std::int32_t epoch) const;
  // The file's name with its extension.
  std::string FileNameOf(int file) const;

 private:
  // The time scale of the display minutes and the clock mode.
  UtilityTimeScale TimeScale() const;
};
