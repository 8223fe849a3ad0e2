#include "app/results/lyr_utility_hypnogram_frame.h"

#include <algorithm>

#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_tool.h"
#include "platform/system/file_system.h"

namespace {
constexpr std::uint32_t kCmdClose = 57602;
}

LyrUtilityHypnogramFrame::LyrUtilityHypnogramFrame() {
  MapCommand(kCmdClose, [this] { OnClose(); });
}

void LyrUtilityHypnogramFrame::OnClose() { DestroyWindow(); }

void LyrUtilityHypnogramFrame::PostNcDestroy() {
  ui::Frame::PostNcDestroy();
  if (Closed) Closed();
}

UtilityTimeScale LyrUtilityHypnogramFrame::TimeScale() const {
  return {LyrTrendTool::GetTimeScaleStep(std::max(m_TimeScaleMinutes, 1)) * 60, ClockTimeDisplay != 0};
}

void LyrUtilityHypnogramFrame::GetStageTypeParam(int file, StageTypeParam& out) const {
  Files.GetStageTypeParam(file, out);
}

int LyrUtilityHypnogramFrame::GetStage(int file, int mode, std::int32_t epoch, int slot) const {
  return Files.GetStage(file, mode, epoch, slot);
}

int LyrUtilityHypnogramFrame::EpochCount(int file) const {
  const UtilityResultFileRec* f = Files.File(file);
  return f != nullptr ? f->epochCount : 0;
}

std::int32_t LyrUtilityHypnogramFrame::GetTimeScaleStart(int file, std::int32_t epoch, std::int32_t& start,
                                                         std::int32_t& end) const {
  return Files.GetTimeScaleStart(file, epoch, TimeScale(), start, end);
}

int LyrUtilityHypnogramFrame::IsTimeScaleEpoch(int file, std::int32_t epoch) const {
  return Files.IsTimeScaleEpoch(file, epoch, TimeScale());
}

int LyrUtilityHypnogramFrame::GetTimeScaleOffset(int file, int, std::int32_t epoch, int width) const {
  return Files.GetTimeScaleOffset(file, epoch, width, TimeScale());
}

std::int32_t LyrUtilityHypnogramFrame::GetEpochMarker(int file, int mode) const {
  return Files.GetEpochMarker(file, mode);
}

void LyrUtilityHypnogramFrame::SetCursorEpoch(int file, int, std::int32_t epoch) { Files.SetCursorEpoch(file, epoch); }

void LyrUtilityHypnogramFrame::ClearEpochMarkers(int mode) { Files.ClearEpochMarkers(mode); }

void LyrUtilityHypnogramFrame::RedrawStageAreas() {
  ++StageAreaRedraws;
  for (ui::Window* w : StageAreas)
    if (w != nullptr && w->IsWindow()) w->Invalidate(false);
}

LyrUtilityHypnogramFrame::TimeParts LyrUtilityHypnogramFrame::GetEpochTimeParts(int file, std::int32_t epoch) const {
  return Files.GetEpochTimeParts(file, epoch, TimeScale());
}

std::string LyrUtilityHypnogramFrame::FileNameOf(int file) const {
  const UtilityResultFileRec* f = Files.File(file);
  return f != nullptr ? sys::FileNameOf(f->path) : std::string();
}
