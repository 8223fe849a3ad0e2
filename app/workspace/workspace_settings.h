#pragma once
// The stage-graph, vigilance-state and mark-output settings under the names of their panes;
// each lives in its settings-file slot (app/frame/program_settings.h).
#include <cstdint>

#include "app/frame/program_settings.h"

// Stage graph: 0 line, 1 bar, 2 band.
inline std::uint16_t& StageGraphType = StageGraphSearchSetting1;
// Stage graph's Y axis: 0 percent of the division, 1 time.
inline std::uint16_t& StageGraphYUnit = StageGraphSearchSetting2;
// Stage graph's X axis: 0 elapsed from the graph's first epoch, 1 time of the recording.
inline std::uint16_t& StageGraphXAxisMode = StageGraphSetting;
// Stage graph: minutes per division.
inline std::int32_t& StageGraphTimeDivision = StageGraphSearchLength;
// Lines per text output file: above 0 the limit is on; otherwise off, the magnitude kept.
inline std::int32_t& TextOutputMaxLine = OutputMaxLines;
// Mark "Sum up": minutes per division, the last one used.
inline std::uint32_t& MarkSumUpTimeDivision = WorkspaceViewSetting;
// Vigilance state: epochs per time division (shared with the reports).
inline std::int32_t& TextOutputTimeDivision = WorkspaceEpochSpan;
// Vigilance state: trimming, 0 manual, 1 auto.
inline std::uint32_t& VigilanceTrimmingMode = VigilanceSetting;
// Vigilance-state text kind: 0 episode transition, 1 episode count per duration.
inline std::uint16_t& VigilanceTextKind = VigilanceTextOutputSetting;

// The stage graph's ten stage flags (1 chosen), kept two to a stored 32-bit word.
int StageGraphStageFlag(int item);
void SetStageGraphStageFlag(int item, int value);
