#include "app/results/lyr_utility_hypnogram_frame.h"

#include <algorithm>

#include "app/document/epoch_parameter.h"
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

const UtilityHypnogramFile* LyrUtilityHypnogramFrame::File(int file) const {
  return file >= 0 && file < static_cast<int>(Files.size()) ? &Files[static_cast<std::size_t>(file)] : nullptr;
}

int LyrUtilityHypnogramFrame::StepSeconds() const {
  return LyrTrendTool::GetTimeScaleStep(std::max(m_TimeScaleMinutes, 1)) * 60;
}

void LyrUtilityHypnogramFrame::GetStageTypeParam(int file, StageTypeParam& out) const {
  if (const UtilityHypnogramFile* f = File(file)) out = f->stageType;
}

int LyrUtilityHypnogramFrame::GetStage(int file, int mode, std::int32_t epoch, int) const {
  const UtilityHypnogramFile* f = File(file);
  if (f == nullptr || epoch < 0 || epoch >= static_cast<std::int32_t>(f->stages.size())) return 0;
  return MergeStageCode(mode, f->stages[static_cast<std::size_t>(epoch)]);
}

int LyrUtilityHypnogramFrame::EpochCount(int file) const {
  const UtilityHypnogramFile* f = File(file);
  return f != nullptr ? static_cast<int>(f->stages.size()) : 0;
}

std::int32_t LyrUtilityHypnogramFrame::GetTimeScaleStart(int file, std::int32_t epoch, std::int32_t& start,
                                                         std::int32_t& end) const {
  const UtilityHypnogramFile* f = File(file);
  const std::int32_t seconds = f != nullptr ? std::max(f->epochSeconds, 1) : 30;
  start = ((f != nullptr ? f->startSecond : 0) + epoch * seconds) % 86400;
  end = start + seconds;
  const int step = StepSeconds();
  return end / step * step;
}

int LyrUtilityHypnogramFrame::IsTimeScaleEpoch(int file, std::int32_t epoch) const {
  std::int32_t start = 0, end = 0;
  GetTimeScaleStart(file, epoch, start, end);
  const int step = StepSeconds();
  // The epoch in which a step boundary falls, the boundary at its end included.
  return end / step != start / step ? 1 : 0;
}

int LyrUtilityHypnogramFrame::GetTimeScaleOffset(int file, int, std::int32_t epoch, int width) const {
  std::int32_t start = 0, end = 0;
  const std::int32_t tick = GetTimeScaleStart(file, epoch, start, end);
  if (end == start || tick < start) return 0;
  return (tick - start) * width / (end - start);
}

std::int32_t LyrUtilityHypnogramFrame::GetEpochMarker(int file, int mode) const {
  const UtilityHypnogramFile* f = File(file);
  if (f == nullptr) return -1;
  return mode == 0 ? f->marker : f->previousMarker;
}

void LyrUtilityHypnogramFrame::SetCursorEpoch(int file, int, std::int32_t epoch) {
  if (file < 0 || file >= static_cast<int>(Files.size())) return;
  UtilityHypnogramFile& f = Files[static_cast<std::size_t>(file)];
  f.previousMarker = f.marker;
  f.marker = epoch;
}

void LyrUtilityHypnogramFrame::ClearEpochMarkers(int mode) {
  for (UtilityHypnogramFile& f : Files) {
    if (mode != 1) f.marker = -1;
    if (mode != 0) f.previousMarker = -1;
  }
}

void LyrUtilityHypnogramFrame::RedrawStageAreas() {
  ++StageAreaRedraws;
  for (ui::Window* w : StageAreas)
    if (w != nullptr && w->IsWindow()) w->Invalidate(false);
}

LyrUtilityHypnogramFrame::TimeParts LyrUtilityHypnogramFrame::GetEpochTimeParts(int file, std::int32_t epoch) const {
  const UtilityHypnogramFile* f = File(file);
  if (f == nullptr) return {};
  const long long seconds = f->startSecond + static_cast<long long>(epoch) * std::max(f->epochSeconds, 1);
  const long long sod = seconds % 86400;
  return {std::to_string(f->day + seconds / 86400), std::to_string(f->month), std::to_string(f->year),
          std::to_string(sod / 3600),                std::to_string(sod / 60 % 60), std::to_string(sod % 60)};
}

std::string LyrUtilityHypnogramFrame::FileNameOf(int file) const {
  const UtilityHypnogramFile* f = File(file);
  return f != nullptr ? sys::FileNameOf(f->path) : std::string();
}
